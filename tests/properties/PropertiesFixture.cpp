#include "tests/properties/PropertiesFixture.h"

#include <gtest/gtest.h>

#include <fstream>

#include "definition/PackageStore.h"
#include "tests/common/TestPaths.h"
#include "tools/host/VariantValues.h"

namespace tarnevo_test {

const std::vector<std::wstring> kGas5 = {L"METHANE", L"ETHANE", L"PROPANE", L"NITROGEN", L"CO2"};
const std::vector<double> kGas5Fractions = {0.85, 0.06, 0.03, 0.04, 0.02};
const std::vector<std::wstring> kThree = {L"PROPANE", L"BUTANE", L"PENTANE"};

namespace {

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

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(static_cast<char>(c));
    return out;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << Utf8(path);
}

}  // namespace

PropertiesStore& PropertiesStore::Get() {
    static PropertiesStore store;
    return store;
}

PropertiesStore::PropertiesStore() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    root_ = MakeFolder(std::wstring(temp) + L"tarnevo-properties-" + std::to_wstring(GetCurrentProcessId()));
    const std::wstring appData = MakeFolder(root_ + L"\\AppData");
    const std::wstring temporary = MakeFolder(root_ + L"\\Temp") + L"\\";
    const std::wstring build = WindowsPath(TARNEVO_TEST_BUILD_DIR);
    // The recording build of the engine: it records only while TARNEVO_RECORD_FILE is set.
    refpropFolder_ = build + L"\\REFPROP-recording";
    static NoDialogs ui;
    tarnevo::SetStoreUserInterface(&ui);
    tarnevo::StoreRoots roots;
    roots.applicationData = [appData](std::wstring& folder) { folder = appData; return true; };
    roots.programFiles = [build](std::wstring& folder) { folder = build; return true; };
    roots.temporary = [temporary](std::wstring& folder) { folder = temporary; return true; };
    tarnevo::SetStoreRoots(roots);
    std::wstring message;
    if (!tarnevo::InitializeFolders(message)) ADD_FAILURE() << "store: " << Utf8(message);
    WriteBytes(tarnevo::ConfigurationFilePath(), "REFPROP_FOLDER=" + Narrow(refpropFolder_) + "\r\n");
    tarnevo::ResetPackageStore();
    tarnevo::SetStoreRoots(roots);
    if (!tarnevo::InitializeFolders(message)) ADD_FAILURE() << "store: " << Utf8(message);
    EXPECT_EQ(tarnevo::RefpropFolder(), refpropFolder_);
    std::vector<std::wstring> gas, three;
    for (const auto& id : kGas5) gas.push_back(FluidFile(id));
    for (const auto& id : kThree) three.push_back(FluidFile(id));
    WritePackage(L"Gas5", gas);
    WritePackage(L"Three", three);
}

std::wstring PropertiesStore::WriteFluidFile(const std::wstring& name, const std::string& text) const {
    const std::wstring path = root_ + L"\\" + name + L".FLD";
    WriteBytes(path, text);
    return path;
}

void PropertiesStore::WritePackage(const std::wstring& name, const std::vector<std::wstring>& fluidFiles) const {
    std::string text = "#TARNEVO PROPERTY PACKAGE\r\ndescription=property tests\r\nnfluid=" +
                       std::to_string(fluidFiles.size()) + "\r\n";
    for (size_t i = 0; i < fluidFiles.size(); ++i)
        text += "fluid" + std::to_string(i + 1) + "=" + Narrow(fluidFiles[i]) + "\r\n";
    text += "MODELTYPE=DEFAULT\r\nMIX=" + Narrow(refpropFolder_) + "\\fluids\\hmx.bnc\r\n";
    WriteBytes(tarnevo::PackageFilePath(name), text);
}

PackagePtr PropertiesStore::Package(const std::wstring& name) const {
    PackagePtr package = tarnevo::MakeComObject<TestPackage>();
    package->SetPackageName(name);
    const HRESULT hr = package->Initialize();
    EXPECT_EQ(hr, S_OK) << Utf8(package->InitialisationMessage());
    return package;
}

MaterialPtr SetMaterial(const PackagePtr& package, const std::vector<std::wstring>& compounds,
                        const std::wstring& phase, double temperature, double pressure, const std::vector<double>& x) {
    MaterialPtr material = tarnevo::host::CHostMaterial::Create(compounds);
    material->PutPhaseState(phase, temperature, pressure, x);
    EXPECT_EQ(package->SetMaterial(material->Dispatch()), S_OK);
    return material;
}

CallRecorder::CallRecorder() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    file_ = std::string(temp) + "tarnevo-properties-calls-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(file_.c_str());
    SetEnvironmentVariableA("TARNEVO_RECORD_FILE", file_.c_str());
}

CallRecorder::~CallRecorder() {
    if (!stopped_) Stop();
}

std::vector<std::string> CallRecorder::Stop() {
    stopped_ = true;
    SetEnvironmentVariableA("TARNEVO_RECORD_FILE", nullptr);
    std::vector<std::string> lines;
    {
        std::ifstream in(file_);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
    }
    DeleteFileA(file_.c_str());
    return lines;
}

_variant_t Names(const std::vector<std::wstring>& names) { return tarnevo::host::StringArray(names); }

std::vector<double> Written(const MaterialPtr& material, const std::wstring& property, const std::wstring& phase,
                            const std::wstring& basis) {
    auto values = material->SinglePhase(property, phase, basis);
    return values ? *values : std::vector<double>();
}

std::wstring ErrorDescription(tarnevo::CPropertyPackage* package) {
    _bstr_t description;
    static_cast<ECapeUser*>(package)->get_description(description.GetAddress());
    return description.length() ? std::wstring(static_cast<const wchar_t*>(description)) : std::wstring();
}

std::string Utf8(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

EngineState EngineAt(const PackagePtr& package, double T, double PkPa, std::vector<double> x, int kph) {
    EngineState r;
    tarnevo::RefpropBinding& rp = package->Refprop();
    r.rho = tarnevo::kUnsetValue;
    EXPECT_LE(rp.TPRHO(T, PkPa, x.data(), kph, r.rho), 0);
    auto& t = rp.routines;
    t.THERM2dll(&T, &r.rho, x.data(), &r.p, &r.e, &r.h, &r.s, &r.cv, &r.cp, &r.w, &r.Z, &r.hjt, &r.A, &r.G,
                &r.xkappa, &r.beta, &r.dPdD, &r.d2PdD2, &r.dPdT, &r.dDdT, &r.dDdP, &r.o1, &r.o2, &r.o3, &r.o4);
    EXPECT_LE(rp.TRNPRP(T, r.rho, x.data(), r.eta, r.tcx), 0);
    r.phi.assign(x.size(), 0.0);
    EXPECT_LE(rp.FUGCOF(T, r.rho, x.data(), r.phi.data()), 0);
    return r;
}

}  // namespace tarnevo_test
