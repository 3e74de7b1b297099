#include "tests/flash/FlashFixture.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "definition/PackageStore.h"
#include "tests/common/TestPaths.h"
#include "tools/host/VariantValues.h"

namespace tarnevo_test {

using tarnevo::host::CHostMaterial;

const std::vector<std::wstring> kPropane = {L"PROPANE"};
const std::vector<std::wstring> kNaturalGas = {L"METHANE", L"ETHANE", L"PROPANE", L"NITROGEN", L"CO2"};
const std::vector<std::wstring> kThree = {L"PROPANE", L"BUTANE", L"PENTANE"};
const std::vector<double> kNaturalGasFractions = {0.80, 0.08, 0.05, 0.04, 0.03};

namespace {

// Never shows a dialog.
class NoDialogs : public tarnevo::StoreUserInterface {
public:
    tarnevo::FileChoice ChooseRefpropLibrary(HWND, const std::wstring&, std::wstring&) override {
        return tarnevo::FileChoice::Cancelled;
    }
    void ShowError(HWND, const std::wstring&, const std::wstring&) override {}
    void ShowInformation(HWND, const std::wstring&, const std::wstring&) override {}
};

std::wstring MakeFolder(const std::wstring& path) {
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.good()) throw std::runtime_error("cannot write " + Narrow(path));
}

std::wstring ReadError(const PackagePtr& package, HRESULT (STDMETHODCALLTYPE ECapeUser::*get)(BSTR*)) {
    _bstr_t text;
    (static_cast<ECapeUser*>(package.Get())->*get)(text.GetAddress());
    return text.length() ? std::wstring(static_cast<const wchar_t*>(text)) : std::wstring();
}

}  // namespace

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

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

FlashStore::FlashStore(const wchar_t* engineFolder) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    root_ = MakeFolder(std::wstring(temp) + L"tarnevo-flash-" + std::to_wstring(GetCurrentProcessId()));
    const std::wstring appData = MakeFolder(root_ + L"\\AppData");
    temporary_ = MakeFolder(root_ + L"\\Temp") + L"\\";
    recordFile_ = root_ + L"\\calls.txt";
    const std::wstring build = WindowsPath(TARNEVO_TEST_BUILD_DIR);
    engine_ = build + L"\\" + engineFolder;
    // The configuration file names the engine folder.
    MakeFolder(appData + L"\\Tarnevo");
    WriteFile(appData + L"\\Tarnevo\\TARNEVO.conf", "REFPROP_FOLDER=" + Narrow(engine_) + "\r\n");
    static NoDialogs ui;
    tarnevo::SetStoreUserInterface(&ui);
    tarnevo::StoreRoots roots;
    roots.applicationData = [appData](std::wstring& folder) { folder = appData; return true; };
    roots.programFiles = [build](std::wstring& folder) { folder = build; return true; };
    roots.temporary = [this](std::wstring& folder) { folder = temporary_; return true; };
    tarnevo::SetStoreRoots(roots);
    std::wstring message;
    if (!tarnevo::InitializeFolders(message)) throw std::runtime_error("store: " + Narrow(message));
    WritePackage(L"Propane", kPropane);
    WritePackage(L"NaturalGas", kNaturalGas);
    WritePackage(L"Three", kThree);
}

FlashStore::~FlashStore() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(root_), ignored);
}

void FlashStore::WritePackage(const std::wstring& name, const std::vector<std::wstring>& fluids) const {
    std::string text = "#TARNEVO PROPERTY PACKAGE\r\ndescription=flash tests\r\nnfluid=" +
                       std::to_string(fluids.size()) + "\r\n";
    for (size_t i = 0; i < fluids.size(); ++i)
        text += "fluid" + std::to_string(i + 1) + "=" + Narrow(engine_ + L"\\fluids\\" + fluids[i]) + ".FLD\r\n";
    text += "MODELTYPE=DEFAULT\r\nMIX=" + Narrow(engine_) + "\\fluids\\hmx.bnc\r\n";
    WriteFile(tarnevo::PackageFilePath(name), text);
}

PackagePtr FlashStore::Package(const std::wstring& name) const {
    PackagePtr package = tarnevo::MakeComObject<FlashPackage>();
    package->SetPackageName(name);
    if (package->Initialize() != S_OK)
        throw std::runtime_error("package " + Narrow(name) + ": " + Narrow(package->InitialisationMessage()));
    return package;
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

std::wstring ErrorDescription(const PackagePtr& package) { return ReadError(package, &ECapeUser::get_description); }
std::wstring ErrorScope(const PackagePtr& package) { return ReadError(package, &ECapeUser::get_scope); }
std::wstring ErrorInterface(const PackagePtr& package) { return ReadError(package, &ECapeUser::get_interfaceName); }

std::vector<double> PhaseValues(const MaterialPtr& material, const wchar_t* property, const wchar_t* phase,
                                const wchar_t* basis) {
    return material->SinglePhase(property, phase, basis).value_or(std::vector<double>{});
}

std::vector<double> OverallValues(const MaterialPtr& material, const wchar_t* property, const wchar_t* basis) {
    return material->Overall(property, basis).value_or(std::vector<double>{});
}

}  // namespace tarnevo_test
