// The program's side of the CAPE-OPEN conversation: the property package manager (or, for
// the 1.0 surface, the thermo system) activated through COM by its ProgID, and the packages it hands out, each initialised, given the
// host's simulation context and, for calculations, the host's material object.
//   Server server;                                   // CoCreateInstance + Initialize
//   std::unique_ptr<Package> gas = server.Open(L"NaturalGas", args);
//   auto material = gas->NewMaterial();              // the package's compounds
//   gas->SetMaterial(material.Get());
//   CheckCape(gas->Routine()->CalcSinglePhaseProp(...), gas->Routine(), ...);
// Every call goes through the published interfaces; a failure becomes a CapeFailure.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

#include "TARNEVO.h"
#include "tools/host/HostMaterial.h"
#include "tools/host/HostSimulationContext.h"

namespace tarnevo::cli {

class Arguments;

constexpr wchar_t kManagerProgId[] = L"TARNEVO.PropertyPackageManager";
constexpr wchar_t kThermoSystemProgId[] = L"TARNEVO.ThermoSystem";

// Which CAPE-OPEN surface a command uses: the 1.1 manager and package interfaces, or the 1.0
// thermo system and ICapeThermoPropertyPackage.
enum class Api { V11, V10 };
// The value of --api ("1.1", the default, or "1.0"); anything else is refused.
Api ApiOf(const Arguments& args);

struct CompoundList {
    std::vector<std::wstring> ids;
    std::vector<std::wstring> formulae;
    std::vector<double> boilingPoints;
    std::vector<double> molecularWeights;
    std::vector<std::wstring> casNumbers;
};

class Package {
public:
    Package(std::wstring name, Microsoft::WRL::ComPtr<IDispatch> object, host::CHostSimulationContext::Ptr context);
    ~Package();
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    const std::wstring& Name() const noexcept { return name_; }
    // ICapeIdentification::ComponentDescription, empty when not offered.
    std::wstring Description();

    ICapeThermoCompounds* Compounds() const noexcept { return compounds_.Get(); }
    ICapeThermoPropertyRoutine* Routine();
    ICapeThermoEquilibriumRoutine* Equilibrium();
    ICapeThermoPropertyPackage* Version10();

    // GetCompoundList, read once.
    const CompoundList& List();
    const std::vector<std::wstring>& CompoundIds() { return List().ids; }

    // A material of the package's compounds, made the package's current material.
    host::CHostMaterial::Ptr NewMaterial();

    // Diagnostics the package logged through the simulation context since the last call.
    std::vector<std::wstring> TakeMessages();

private:
    std::wstring name_;
    Microsoft::WRL::ComPtr<IDispatch> object_;
    Microsoft::WRL::ComPtr<ICapeThermoCompounds> compounds_;
    Microsoft::WRL::ComPtr<ICapeThermoPropertyRoutine> routine_;
    Microsoft::WRL::ComPtr<ICapeThermoEquilibriumRoutine> equilibrium_;
    Microsoft::WRL::ComPtr<ICapeThermoPropertyPackage> version10_;
    host::CHostSimulationContext::Ptr context_;
    std::unique_ptr<CompoundList> list_;
    bool materialSet_ = false;
};

class Server {
public:
    explicit Server(Api api = Api::V11);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    std::vector<std::wstring> PackageNames();
    // The initialised package `name`; a name not in the manager's list is refused with a
    // UsageError of `args`' command.
    std::unique_ptr<Package> Open(const std::wstring& name, const Arguments& args);
    // The package without checking the list (GetPropertyPackage + Initialize).
    std::unique_ptr<Package> OpenUnchecked(const std::wstring& name);

private:
    Microsoft::WRL::ComPtr<ICapeThermoPropertyPackageManager> manager_;
    Microsoft::WRL::ComPtr<ICapeThermoSystem> system_;   // instead of the manager for Api::V10
    host::CHostSimulationContext::Ptr context_;
};

// Prints the package's logged diagnostics to stderr.
void ReportMessages(Package& package);

}  // namespace tarnevo::cli
