#include "tests/refprop/support/TestStore.h"

#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "definition/PackageStore.h"

namespace tarnevo_test {
namespace {


void MakeFolder(const std::wstring& path) {
    if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("cannot create " + Narrow(path));
}

void CopyInto(const std::wstring& from, const std::wstring& to) {
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) throw std::runtime_error("cannot copy " + Narrow(from));
}

std::wstring NewRoot() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring root = std::wstring(temp) + L"tarnevo-rp-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(counter++);
    DeleteTree(root);
    MakeFolder(root);
    return root;
}

tarnevo::FolderSource Fixed(const std::wstring& folder) {
    return [folder](std::wstring& out) {
        out = folder;
        return true;
    };
}

}  // namespace

const char kTwoCompoundDefinition[] =
    "#TARNEVO PROPERTY PACKAGE\r\n"
    "description=Natural gas\r\n"
    "nfluid=2\r\n"
    "fluid1=fluids\\METHANE.FLD\r\n"
    "fluid2=fluids\\ETHANE.FLD\r\n"
    "MODELTYPE=DEFAULT\r\n";

std::wstring WindowsPath(const std::string& unixPath) {
    std::wstring path;
    for (char c : unixPath) path.push_back(c == '/' ? L'\\' : static_cast<unsigned char>(c));
    if (!path.empty() && path[0] == L'\\') path = L"Z:" + path;
    return path;
}

std::wstring EngineRefpropFolder() { return WindowsPath(TARNEVO_TEST_ENGINE_REFPROP); }
std::wstring FakeLibrary(const std::wstring& variant) {
    return WindowsPath(TARNEVO_TEST_FAKE_DIR) + L"\\fake_refprop_" + variant + L".dll";
}

TestStore::TestStore(const std::wstring& library) : root_(NewRoot()) {
    const std::wstring appData = root_ + L"\\AppData";
    const std::wstring programs = root_ + L"\\Programs";
    userFolder_ = appData + L"\\Tarnevo";
    refpropFolder_ = programs + L"\\REFPROP";
    temporary_ = root_ + L"\\Temp\\";
    MakeFolder(appData);
    MakeFolder(programs);
    MakeFolder(refpropFolder_);
    MakeFolder(refpropFolder_ + L"\\fluids");
    MakeFolder(root_ + L"\\Temp");
    const std::wstring fluids = EngineRefpropFolder() + L"\\fluids\\";
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((fluids + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                CopyInto(fluids + data.cFileName, refpropFolder_ + L"\\fluids\\" + data.cFileName);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    CopyInto(library, refpropFolder_ + L"\\refprop.dll");
    UseLibrary(library);

    tarnevo::SetStoreRoots(tarnevo::StoreRoots{Fixed(appData), Fixed(programs), Fixed(root_ + L"\\Temp")});
    tarnevo::ResetPackageStore();
    std::wstring message;
    if (!tarnevo::InitializeFolders(message)) throw std::runtime_error("store: " + Narrow(message));
}

TestStore::~TestStore() {
    tarnevo::ResetPackageStore();
    tarnevo::SetStoreRoots(tarnevo::StoreRoots{});
    DeleteTree(root_);
}

void TestStore::WritePackage(const std::wstring& name, const std::string& text) const {
    WriteFileBytes(PackageFile(name), text);
}

void TestStore::UseLibrary(const std::wstring& library) const {
    const std::wstring target = refpropFolder_ + L"\\refprp64.dll";
    DeleteFileW(target.c_str());
    if (!library.empty()) CopyInto(library, target);
}

std::vector<std::wstring> TestStore::PrivateCopies() const {
    std::vector<std::wstring> copies;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((temporary_ + L"REFPROP_*.DLL").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return copies;
    do {
        copies.push_back(temporary_ + data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return copies;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + Narrow(path));
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadFileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void DeleteTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

std::string Narrow(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], size, nullptr,
                            nullptr);
    return result;
}

}  // namespace tarnevo_test
