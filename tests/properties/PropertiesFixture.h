// Packages and materials for the property routine tests: a private package store whose
// REFPROP folder is the call-recording build of the engine, package objects with their
// REFPROP instance in reach (the engine called directly), and a recorder of engine calls.
//   auto package = PropertiesStore::Get().Package(L"Gas5");
//   auto material = GasMaterial(package);          // five-component gas, set on the package
//   CallRecorder calls;                            // records until Stop()
//   package->CalcSinglePhaseProp(Names({L"enthalpy"}), _bstr_t(L"Vapor"));
//   EXPECT_THAT(calls.Stop(), ElementsAre("TPRHOdll", "THERMdll"));
#pragma once

#include <windows.h>
#include <comdef.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "package/PropertyPackage.h"
#include "tools/host/HostMaterial.h"
#include "tools/host/HostSimulationContext.h"

namespace tarnevo_test {

class TestPackage : public tarnevo::CPropertyPackage {
public:
    tarnevo::RefpropBinding& Refprop() { return refprop; }
    const std::vector<tarnevo::CompoundRecord>& Records() const { return compounds; }
    std::vector<tarnevo::CompoundRecord>& MutableRecords() { return compounds; }
    int PackageIndex(const std::wstring& id) const {
        for (size_t i = 0; i < compounds.size(); ++i)
            if (compounds[i].id == id) return static_cast<int>(i);
        return -1;
    }
};
using PackagePtr = Microsoft::WRL::ComPtr<tarnevo::ComObject<TestPackage>>;
using MaterialPtr = tarnevo::host::CHostMaterial::Ptr;

// "Gas5": METHANE, ETHANE, PROPANE, NITROGEN, CO2. "Three": PROPANE, BUTANE, PENTANE.
extern const std::vector<std::wstring> kGas5;
extern const std::vector<double> kGas5Fractions;
extern const std::vector<std::wstring> kThree;

class PropertiesStore {
public:
    static PropertiesStore& Get();
    // A new initialised package object (the test fails if it does not initialise).
    PackagePtr Package(const std::wstring& name) const;
    // Writes a package definition of `fluidFiles` (paths or bare names of engine fluids).
    void WritePackage(const std::wstring& name, const std::vector<std::wstring>& fluidFiles) const;
    // A fluid file written into the scratch folder; its full path.
    std::wstring WriteFluidFile(const std::wstring& name, const std::string& text) const;
    std::wstring FluidFile(const std::wstring& name) const { return refpropFolder_ + L"\\fluids\\" + name + L".FLD"; }
    const std::wstring& ScratchFolder() const { return root_; }

private:
    PropertiesStore();
    std::wstring root_;
    std::wstring refpropFolder_;
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
std::wstring ErrorDescription(tarnevo::CPropertyPackage* package);
std::string Utf8(const std::wstring& text);

// The engine's own results at (T K, P kPa, x package order, kph), through the routine table.
struct EngineState {
    double rho = 0;
    double p, e, h, s, cv, cp, w, Z, hjt, A, G, xkappa, beta, dPdD, d2PdD2, dPdT, dDdT, dDdP, o1, o2, o3, o4;
    double eta = 0, tcx = 0;
    std::vector<double> phi;
};
EngineState EngineAt(const PackagePtr& package, double T, double PkPa, std::vector<double> x, int kph);

}  // namespace tarnevo_test
