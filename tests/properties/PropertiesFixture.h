// Packages and materials for the property routine tests: a private package store whose
// REFPROP folder is the call-recording build of the engine, package objects with their
// REFPROP instance in reach (the engine called directly), and a recorder of engine calls.
//   auto package = PropertiesStore::Get().Package(L"Gas5");
//   auto material = GasMaterial(package);          // five-component gas, set on the package
//   CallRecorder calls;                            // records until Stop()
//   package->CalcSinglePhaseProp(Names({L"enthalpy"}), _bstr_t(L"Vapor"));
//   EXPECT_THAT(calls.Stop(), ElementsAre("TPRHOdll", "THERMdll"));
#pragma once

#include <string>
#include <vector>

#include "tests/common/ScratchPackageStore.h"
#include "tools/host/HostMaterial.h"
#include "tools/host/HostSimulationContext.h"

namespace tarnevo_test {

using PackagePtr = PackageObject<TestPackage>;
using MaterialPtr = tarnevo::host::CHostMaterial::Ptr;

// "Gas5": METHANE, ETHANE, PROPANE, NITROGEN, CO2. "Three": PROPANE, BUTANE, PENTANE.
extern const std::vector<std::wstring> kGas5;
extern const std::vector<double> kGas5Fractions;
extern const std::vector<std::wstring> kThree;

// The scratch package store on the call-recording engine, with "Gas5" and "Three" written.
class PropertiesStore : public ScratchPackageStore {
public:
    static PropertiesStore& Get();

private:
    PropertiesStore();
};

// A host material of `compounds` set on `package`, holding `phase` at T (K), P (Pa), x.
MaterialPtr SetMaterial(const PackagePtr& package, const std::vector<std::wstring>& compounds,
                        const std::wstring& phase, double temperature, double pressure, const std::vector<double>& x);

// Appends the engine's calls to a scratch file between construction and Stop().
class CallRecorder {
public:
    CallRecorder();
    ~CallRecorder();
    std::vector<std::string> Stop();

private:
    std::string file_;
    bool stopped_ = false;
};

// Request and result helpers.
_variant_t Names(const std::vector<std::wstring>& names);
std::vector<double> Written(const MaterialPtr& material, const std::wstring& property, const std::wstring& phase,
                            const std::wstring& basis);

// The engine's own results at (T K, P kPa, x package order, kph), through the routine table.
struct EngineState {
    double rho = 0;
    double p, e, h, s, cv, cp, w, Z, hjt, A, G, xkappa, beta, dPdD, d2PdD2, dPdT, dDdT, dDdP, o1, o2, o3, o4;
    double eta = 0, tcx = 0;
    std::vector<double> phi;
};
EngineState EngineAt(const PackagePtr& package, double T, double PkPa, std::vector<double> x, int kph);

}  // namespace tarnevo_test
