// Packages and materials for the flash tests and the flash benchmark: a private package
// store whose REFPROP folder is the engine of this build (the call-recording copy for the
// tests), three packages, and helpers to run CalcEquilibrium on the test host's material.
//   FlashStore& store = FlashStore::Get();
//   auto package = store.Package(L"NaturalGas");
//   auto material = NaturalGasMaterial(190, 3e6);
//   HRESULT hr = Flash(package, material, Given(L"temperature"), Given(L"pressure"));
#pragma once

#include <string>
#include <vector>

#include "tests/common/ScratchPackageStore.h"
#include "tools/host/HostMaterial.h"

namespace tarnevo_test {

// The test package with engine flashes on the same fluid system.
class FlashPackage : public TestPackage {
public:
    // Engine T-P flash on a package-order composition: h, s, e, D (molar volume in m3/mol).
    struct Overall {
        double q, h, s, e, volume;
        std::vector<double> x, y;
    };
    Overall EngineTP(double t, double pressurePa, std::vector<double> z);
    // Engine T-Q flash (mole basis).
    Overall EngineTQ(double t, double q, std::vector<double> z);
};
using PackagePtr = PackageObject<FlashPackage>;
using MaterialPtr = tarnevo::host::CHostMaterial::Ptr;

// Package compounds of the three packages.
extern const std::vector<std::wstring> kPropane;      // "Propane"
extern const std::vector<std::wstring> kNaturalGas;   // "NaturalGas": METHANE, ETHANE, PROPANE, NITROGEN, CO2
extern const std::vector<std::wstring> kThree;        // "Three": PROPANE, BUTANE, PENTANE
extern const std::vector<double> kNaturalGasFractions;

// The scratch package store with the three packages written; set-up failures throw.
class FlashStore : public ScratchPackageStore {
public:
    // The process's store on <build>\<engineFolder> (set up on first use; later calls get it).
    static FlashStore& Get(const wchar_t* engineFolder = L"REFPROP-recording");
    // A new package object, initialised; throws std::runtime_error when it is not.
    PackagePtr Package(const std::wstring& name) const { return ScratchPackageStore::Package<FlashPackage>(name); }
    // Path of the engine's call record (TARNEVO_RECORD_FILE).
    std::wstring RecordFile() const { return ScratchFolder() + L"\\calls.txt"; }

private:
    explicit FlashStore(const wchar_t* engineFolder);
};

// Routine names the engine recorded while `body` ran.
template <class Body>
std::vector<std::string> RecordedCalls(Body&& body);

// A flash specification naming a given property: {property, basis, phase}.
_variant_t Given(const wchar_t* property, const wchar_t* basis = L"", const wchar_t* phase = L"Overall");
_variant_t VaporFraction(const wchar_t* basis = L"mole");

// A material of `compounds` with overall T, P and composition and both phases listed.
MaterialPtr MakeMaterial(const std::vector<std::wstring>& compounds, double t, double pressure,
                         const std::vector<double>& fractions,
                         const std::vector<std::wstring>& phases = {L"Vapor", L"Liquid"});

// CalcEquilibrium through the vtable after SetMaterial.
HRESULT Flash(const PackagePtr& package, const MaterialPtr& material, const VARIANT& spec1, const VARIANT& spec2,
              const wchar_t* solutionType = L"Unspecified");

// Stored values of the material (empty when not set).
std::vector<double> PhaseValues(const MaterialPtr& material, const wchar_t* property, const wchar_t* phase,
                                const wchar_t* basis = L"");
std::vector<double> OverallValues(const MaterialPtr& material, const wchar_t* property, const wchar_t* basis = L"");

// Reads and empties the record file.
std::vector<std::string> TakeRecordedCalls();

template <class Body>
std::vector<std::string> RecordedCalls(Body&& body) {
    TakeRecordedCalls();
    SetEnvironmentVariableW(L"TARNEVO_RECORD_FILE", FlashStore::Get().RecordFile().c_str());
    body();
    SetEnvironmentVariableW(L"TARNEVO_RECORD_FILE", nullptr);
    return TakeRecordedCalls();
}

}  // namespace tarnevo_test
