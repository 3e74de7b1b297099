#include "tests/flash/FlashFixture.h"

#include <fstream>
#include <stdexcept>

#include "tools/host/VariantValues.h"

namespace tarnevo_test {

using tarnevo::host::CHostMaterial;

const std::vector<std::wstring> kPropane = {L"PROPANE"};
const std::vector<std::wstring> kNaturalGas = {L"METHANE", L"ETHANE", L"PROPANE", L"NITROGEN", L"CO2"};
const std::vector<std::wstring> kThree = {L"PROPANE", L"BUTANE", L"PENTANE"};
const std::vector<double> kNaturalGasFractions = {0.80, 0.08, 0.05, 0.04, 0.03};

FlashPackage::Overall FlashPackage::EngineTP(double t, double pressurePa, std::vector<double> z) {
    Overall o{};
    o.x.resize(z.size());
    o.y.resize(z.size());
    double p = pressurePa * 0.001, D = 0, scratch = 0;
    const int ierr = refprop.Flash(refprop.routines.TPFLSHdll, &t, &p, z.data(), &D, &scratch, &scratch, o.x.data(),
                                   o.y.data(), &o.q, &o.e, &o.h, &o.s, &scratch, &scratch, &scratch);
    if (ierr > 0) throw std::runtime_error("engine T-P flash: " + Narrow(tarnevo::GetRefpropMessage(refprop)));
    o.volume = 0.001 / D;
    return o;
}

FlashPackage::Overall FlashPackage::EngineTQ(double t, double q, std::vector<double> z) {
    Overall o{};
    o.q = q;
    o.x.resize(z.size());
    o.y.resize(z.size());
    double p = 0, D = 0, scratch = 0;
    int kq = 1;
    const int ierr = refprop.Flash(refprop.routines.TQFLSHdll, &t, &q, z.data(), &kq, &p, &D, &scratch, &scratch,
                                   o.x.data(), o.y.data(), &o.e, &o.h, &o.s, &scratch, &scratch, &scratch);
    if (ierr > 0) throw std::runtime_error("engine T-Q flash: " + Narrow(tarnevo::GetRefpropMessage(refprop)));
    o.volume = 0.001 / D;
    return o;
}

FlashStore& FlashStore::Get(const wchar_t* engineFolder) {
    static FlashStore store(engineFolder);
    return store;
}

FlashStore::FlashStore(const wchar_t* engineFolder) : ScratchPackageStore(L"flash", engineFolder, ThrowFailure) {
    WritePackage(L"Propane", FluidFiles(kPropane), "flash tests");
    WritePackage(L"NaturalGas", FluidFiles(kNaturalGas), "flash tests");
    WritePackage(L"Three", FluidFiles(kThree), "flash tests");
}

std::vector<std::string> TakeRecordedCalls() {
    const std::wstring& path = FlashStore::Get().RecordFile();
    std::vector<std::string> calls;
    {
        std::ifstream in(path.c_str());
        std::string line;
        while (std::getline(in, line)) calls.push_back(line);
    }
    DeleteFileW(path.c_str());
    return calls;
}

_variant_t Given(const wchar_t* property, const wchar_t* basis, const wchar_t* phase) {
    return tarnevo::host::StringArray({property, basis, phase});
}

_variant_t VaporFraction(const wchar_t* basis) { return Given(L"PhaseFraction", basis, L"Vapor"); }

MaterialPtr MakeMaterial(const std::vector<std::wstring>& compounds, double t, double pressure,
                         const std::vector<double>& fractions, const std::vector<std::wstring>& phases) {
    MaterialPtr material = CHostMaterial::Create(compounds);
    material->PutOverallState(t, pressure, fractions);
    material->PutPresentPhases(phases);
    return material;
}

HRESULT Flash(const PackagePtr& package, const MaterialPtr& material, const VARIANT& spec1, const VARIANT& spec2,
              const wchar_t* solutionType) {
    Microsoft::WRL::ComPtr<ICapeThermoMaterialContext> context;
    Microsoft::WRL::ComPtr<ICapeThermoEquilibriumRoutine> routine;
    package.As(&context);
    package.As(&routine);
    const HRESULT set = context->SetMaterial(material ? material->Dispatch() : nullptr);
    if (FAILED(set)) return set;
    _bstr_t solution(solutionType);
    return routine->CalcEquilibrium(spec1, spec2, solution);
}

std::vector<double> PhaseValues(const MaterialPtr& material, const wchar_t* property, const wchar_t* phase,
                                const wchar_t* basis) {
    return material->SinglePhase(property, phase, basis).value_or(std::vector<double>{});
}

std::vector<double> OverallValues(const MaterialPtr& material, const wchar_t* property, const wchar_t* basis) {
    return material->Overall(property, basis).value_or(std::vector<double>{});
}

}  // namespace tarnevo_test
