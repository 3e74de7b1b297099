#include "tests/common/ScratchPackageStore.h"

#include <fstream>
#include <memory>
#include <stdexcept>
#include <utility>

#include "definition/PackageStore.h"
#include "tests/common/TestPaths.h"

namespace tarnevo_test {
namespace {

// Never shows a dialog: the REFPROP folder comes from TARNEVO.conf.
class NoDialogs : public tarnevo::StoreUserInterface {
public:
    tarnevo::FileChoice ChooseRefpropLibrary(HWND, const std::wstring&, std::wstring&) override {
        return tarnevo::FileChoice::Cancelled;
    }
    void ShowError(HWND, const std::wstring&, const std::wstring&) override {}
    void ShowInformation(HWND, const std::wstring&, const std::wstring&) override {}
};

std::wstring ReadError(tarnevo::CPropertyPackage* package, HRESULT (STDMETHODCALLTYPE ECapeUser::*get)(BSTR*)) {
    _bstr_t text;
    (static_cast<ECapeUser*>(package)->*get)(text.GetAddress());
    return text.length() ? std::wstring(static_cast<const wchar_t*>(text)) : std::wstring();
}

}  // namespace

void ThrowFailure(const std::string& message) { throw std::runtime_error(message); }

ScratchPackageStore::ScratchPackageStore(const std::wstring& tag, const std::wstring& engineFolder,
                                         FailureReport report)
    : report_(std::move(report)) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    root_ = MakeFolder(std::wstring(temp) + L"tarnevo-" + tag + L"-" + std::to_wstring(GetCurrentProcessId()));
    const std::wstring appData = MakeFolder(root_ + L"\\AppData");
    temporary_ = MakeFolder(root_ + L"\\Temp") + L"\\";
    // The build folder plays the program-files folder; the configuration file names the engine folder.
    const std::wstring build = WindowsPath(TARNEVO_TEST_BUILD_DIR);
    refpropFolder_ = build + L"\\" + engineFolder;
    const std::wstring configuration = MakeFolder(appData + L"\\Tarnevo") + L"\\TARNEVO.conf";
    if (!WriteBytes(configuration, "REFPROP_FOLDER=" + Narrow(refpropFolder_) + "\r\n"))
        Fail("cannot write " + Narrow(configuration));
    static NoDialogs ui;
    tarnevo::SetStoreUserInterface(&ui);
    tarnevo::StoreRoots roots;
    roots.applicationData = [appData](std::wstring& folder) { folder = appData; return true; };
    roots.programFiles = [build](std::wstring& folder) { folder = build; return true; };
    roots.temporary = [temporary = temporary_](std::wstring& folder) { folder = temporary; return true; };
    tarnevo::SetStoreRoots(roots);
    std::wstring message;
    if (!tarnevo::InitializeFolders(message)) Fail("store: " + Narrow(message));
    if (tarnevo::RefpropFolder() != refpropFolder_)
        Fail("store: REFPROP folder " + Narrow(tarnevo::RefpropFolder()) + ", not " + Narrow(refpropFolder_));
}

ScratchPackageStore::~ScratchPackageStore() { RemoveTree(root_); }

std::vector<std::wstring> ScratchPackageStore::FluidFiles(const std::vector<std::wstring>& names) const {
    std::vector<std::wstring> files;
    for (const auto& name : names) files.push_back(FluidFile(name));
    return files;
}

std::wstring ScratchPackageStore::WriteFluidFile(const std::wstring& name, const std::string& text) const {
    const std::wstring path = root_ + L"\\" + name + L".FLD";
    if (!WriteBytes(path, text)) Fail("cannot write " + Narrow(path));
    return path;
}

void ScratchPackageStore::WritePackage(const std::wstring& name, const std::vector<std::wstring>& fluidFiles,
                                       const std::string& description) const {
    std::string text = "#TARNEVO PROPERTY PACKAGE\r\ndescription=" + description +
                       "\r\nnfluid=" + std::to_string(fluidFiles.size()) + "\r\n";
    for (size_t i = 0; i < fluidFiles.size(); ++i)
        text += "fluid" + std::to_string(i + 1) + "=" + Narrow(fluidFiles[i]) + "\r\n";
    text += "MODELTYPE=DEFAULT\r\nMIX=" + Narrow(refpropFolder_) + "\\fluids\\hmx.bnc\r\n";
    const std::wstring path = tarnevo::PackageFilePath(name);
    if (!WriteBytes(path, text)) Fail("cannot write " + Narrow(path));
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

std::wstring ErrorDescription(tarnevo::CPropertyPackage* package) {
    return ReadError(package, &ECapeUser::get_description);
}
std::wstring ErrorScope(tarnevo::CPropertyPackage* package) { return ReadError(package, &ECapeUser::get_scope); }
std::wstring ErrorInterface(tarnevo::CPropertyPackage* package) {
    return ReadError(package, &ECapeUser::get_interfaceName);
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
    return out.good();
}

std::wstring MakeFolder(const std::wstring& path) {
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

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

}  // namespace tarnevo_test
