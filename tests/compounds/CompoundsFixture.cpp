#include "tests/compounds/CompoundsFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "definition/PackageStore.h"
#include "tools/host/VariantValues.h"

namespace tarnevo_test {

const std::vector<std::wstring> kThreeCompounds = {L"PROPANE", L"BUTANE", L"PENTANE"};

namespace {

// Never shows a dialog: the REFPROP folder is always found.
class NoDialogs : public tarnevo::StoreUserInterface {
public:
    tarnevo::FileChoice ChooseRefpropLibrary(HWND, const std::wstring&, std::wstring&) override {
        return tarnevo::FileChoice::Cancelled;
    }
    void ShowError(HWND, const std::wstring&, const std::wstring&) override {}
    void ShowInformation(HWND, const std::wstring&, const std::wstring&) override {}
};

// "Z:\dir\file" for the Unix path "/dir/file" as seen under Wine.
std::wstring WindowsPath(const char* unixPath) {
    std::wstring path;
    for (const char* p = unixPath; *p; ++p) path.push_back(*p == '/' ? L'\\' : static_cast<unsigned char>(*p));
    if (!path.empty() && path[0] == L'\\') path = L"Z:" + path;
    return path;
}

std::wstring MakeFolder(const std::wstring& path) {
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(static_cast<char>(c));
    return out;
}

// Removes a folder with everything in it.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        std::unique_ptr<void, decltype(&FindClose)> owner(search, &FindClose);
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &entry));
    }
    RemoveDirectoryW(folder.c_str());
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << Utf8(path);
}

}  // namespace

CompoundsStore& CompoundsStore::Get() {
    static CompoundsStore store;
    return store;
}

CompoundsStore::CompoundsStore() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    root_ = MakeFolder(std::wstring(temp) + L"tarnevo-compounds-" + std::to_wstring(GetCurrentProcessId()));
    const std::wstring appData = MakeFolder(root_ + L"\\AppData");
    temporary_ = MakeFolder(root_ + L"\\Temp") + L"\\";
    // The build folder plays the program-files folder: its REFPROP folder holds the engine.
    const std::wstring build = WindowsPath(TARNEVO_TEST_BUILD_DIR);
    refpropFolder_ = build + L"\\REFPROP";
    static NoDialogs ui;
    tarnevo::SetStoreUserInterface(&ui);
    tarnevo::StoreRoots roots;
    roots.applicationData = [appData](std::wstring& folder) { folder = appData; return true; };
    roots.programFiles = [build](std::wstring& folder) { folder = build; return true; };
    roots.temporary = [this](std::wstring& folder) { folder = temporary_; return true; };
    tarnevo::SetStoreRoots(roots);
    std::wstring message;
    if (!tarnevo::InitializeFolders(message)) ADD_FAILURE() << "store: " << Utf8(message);
    WritePackage(L"Three", {FluidFile(L"PROPANE"), FluidFile(L"BUTANE"), FluidFile(L"PENTANE")});
}

CompoundsStore::~CompoundsStore() { RemoveTree(root_); }

std::wstring CompoundsStore::WriteFluidFile(const std::wstring& name, const std::string& text) const {
    const std::wstring path = root_ + L"\\" + name + L".FLD";
    WriteFile(path, text);
    return path;
}

void CompoundsStore::WritePackage(const std::wstring& name, const std::vector<std::wstring>& fluidFiles) const {
    std::string text = "#TARNEVO PROPERTY PACKAGE\r\ndescription=compound tests\r\nnfluid=" +
                       std::to_string(fluidFiles.size()) + "\r\n";
    for (size_t i = 0; i < fluidFiles.size(); ++i)
        text += "fluid" + std::to_string(i + 1) + "=" + Narrow(fluidFiles[i]) + "\r\n";
    text += "MODELTYPE=DEFAULT\r\nMIX=" + Narrow(refpropFolder_) + "\\fluids\\hmx.bnc\r\n";
    WriteFile(tarnevo::PackageFilePath(name), text);
}

PackagePtr CompoundsStore::Package(const std::wstring& name) const {
    PackagePtr package = tarnevo::MakeComObject<TestPackage>();
    package->SetPackageName(name);
    const HRESULT hr = package->Initialize();
    EXPECT_EQ(hr, S_OK) << Utf8(package->InitialisationMessage());
    return package;
}

std::vector<std::wstring> Strings(const VARIANT& value) { return tarnevo::host::ReadStrings(value); }
std::vector<double> Doubles(const VARIANT& value) { return tarnevo::host::ReadDoubles(value); }

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

}  // namespace tarnevo_test
