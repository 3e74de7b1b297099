#include "definition/PackageStore.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <cwctype>
#include <memory>
#include <new>
#include <vector>

#include "com/OwnedHandles.h"
#include "definition/AnsiText.h"
#include "definition/FileAccess.h"
#include "definition/KeyValueReader.h"
#include "capeobject/ErrorTexts.h"

namespace tarnevo {

namespace {

// The fixed path buffers hold 520 characters including the terminating zero.
constexpr size_t kPathBufferLength = 520;

struct StorePaths {
    std::wstring userFolder;
    std::wstring refpropFolder;
    std::wstring temporaryFolder;
    StoreRoots roots;
    StoreUserInterface* ui = nullptr;
};

StorePaths& Store() {
    static StorePaths paths;
    return paths;
}

bool GetKnownFolder(REFKNOWNFOLDERID id, std::wstring& folder) {
    wchar_t* raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &raw);
    UniqueTaskMem<wchar_t> owner(raw);
    if (FAILED(hr) || !raw) return false;
    folder.assign(raw);
    return !folder.empty();
}

std::wstring WithBackslash(std::wstring path) {
    if (path.empty() || path.back() != L'\\') path.push_back(L'\\');
    return path;
}

std::wstring TooLongMessage(const std::wstring& path) {
    return L"Path is too long (at most 519 characters): " + path;
}

bool CreateFolder(const std::wstring& path) {
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// The value of an environment variable; empty when it is not set.
std::wstring EnvironmentValue(const wchar_t* name) {
    std::vector<wchar_t> buffer(kPathBufferLength, L'\0');
    DWORD length = GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.assign(length + 1, L'\0');
        length = GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    }
    return length < buffer.size() ? std::wstring(buffer.data(), length) : std::wstring();
}

// The system's temporary path; on failure `reason` names the error and the variable
// the path comes from.
bool SystemTemporaryPath(std::wstring& folder, std::wstring& reason) {
    std::vector<wchar_t> buffer(kPathBufferLength, L'\0');
    DWORD length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length >= buffer.size()) {
        // Too long for the fixed buffer: fetch it whole so the failure can name it.
        buffer.assign(length + 1, L'\0');
        length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
    }
    if (length > 0 && length < buffer.size()) {
        folder.assign(buffer.data(), length);
        return true;
    }
    reason = L": " + GetSystemErrorText(GetLastError());
    for (const wchar_t* variable : {L"TMP", L"TEMP"}) {
        const std::wstring value = EnvironmentValue(variable);
        if (value.empty()) continue;
        reason += L" (" + std::wstring(variable) + L" is " + std::to_wstring(value.size()) + L" characters long: " +
                  value + L")";
        break;
    }
    return false;
}

bool GetRoot(const FolderSource& source, REFKNOWNFOLDERID id, std::wstring& folder) {
    if (source) return source(folder) && !folder.empty();
    return GetKnownFolder(id, folder);
}

bool SetUserFolder(StorePaths& store, std::wstring& message) {
    std::wstring appData;
    if (!GetRoot(store.roots.applicationData, FOLDERID_RoamingAppData, appData)) {
        message = L"Failed to get location of Application Data folder";
        return false;
    }
    if (appData.size() >= kPathBufferLength) {
        message = TooLongMessage(appData);
        return false;
    }
    store.userFolder = WithBackslash(appData) + L"Tarnevo";
    if (!PathExists(store.userFolder) && !CreateFolder(store.userFolder)) {
        message = L"Failed to create REFPROP User folder: " + store.userFolder;
        store.userFolder.clear();
        return false;
    }
    return true;
}

bool SetTemporaryFolder(StorePaths& store, std::wstring& message) {
    std::wstring temporary, reason;
    const bool found =
        store.roots.temporary ? store.roots.temporary(temporary) : SystemTemporaryPath(temporary, reason);
    if (!found || temporary.empty()) {
        message = L"Failed to get location of temporary folder" + reason;
        return false;
    }
    if (temporary.size() >= kPathBufferLength) {
        message = TooLongMessage(temporary);
        return false;
    }
    store.temporaryFolder = WithBackslash(temporary);
    return true;
}

// The folder recorded in TARNEVO.conf when it holds refprop.dll; empty otherwise.
bool ReadConfiguredFolder(const std::wstring& configurationFile, std::wstring& folder, std::wstring& message) {
    folder.clear();
    if (!PathExists(configurationFile)) return true;
    KeyValueReader reader(L"configuration file " + configurationFile);
    if (!reader.ReadKeyValueFile(configurationFile, message)) return false;
    for (const KeyValueEntry& entry : reader.entries()) {
        if (entry.key == L"REFPROP_FOLDER") {
            if (PathExists(entry.value + L"\\refprop.dll")) folder = entry.value;
            break;
        }
    }
    return true;
}

std::wstring DefaultRefpropFolder(const StorePaths& store) {
    std::wstring programFiles;
    if (!GetRoot(store.roots.programFiles, FOLDERID_ProgramFiles, programFiles)) return std::wstring();
    const std::wstring folder = WithBackslash(programFiles) + L"REFPROP";
    return PathExists(folder + L"\\refprop.dll") ? folder : std::wstring();
}

bool WriteConfiguration(const std::wstring& configurationFile, const std::wstring& refpropFolder,
                        std::wstring& message) {
    const std::wstring prefix = L"Failed to create RefProp Configuration File (" + configurationFile + L"): ";
    std::string text;
    if (!BuildConfigurationText(refpropFolder, text)) {
        message = prefix + L"the REFPROP folder " + refpropFolder +
                  L" cannot be written in the ANSI code page";
        return false;
    }
    return WriteWholeFile(configurationFile, text, prefix, message);
}

StoreUserInterface& UserInterface() {
    StoreUserInterface* ui = Store().ui;
    return ui ? *ui : SystemStoreUserInterface();
}

bool InitializeFoldersLocked(std::wstring& message) {
    StorePaths& store = Store();
    if (store.userFolder.empty() && !SetUserFolder(store, message)) return false;

    const std::wstring packageFolder = store.userFolder + L"\\PropertyPackages";
    if (!PathExists(packageFolder) && !CreateFolder(packageFolder)) {
        message = L"Failed to create REFPROP Property Packages folder: " + packageFolder;
        store.userFolder.clear();
        return false;
    }

    if (store.temporaryFolder.empty() && !SetTemporaryFolder(store, message)) return false;

    if (!store.refpropFolder.empty()) return true;

    const std::wstring configurationFile = store.userFolder + L"\\TARNEVO.conf";
    std::wstring configured;
    if (!ReadConfiguredFolder(configurationFile, configured, message)) return false;
    if (!configured.empty()) {
        store.refpropFolder = configured;
        return true;
    }

    std::wstring folder = DefaultRefpropFolder(store);
    if (folder.empty() && !AskForRefpropFolder(UserInterface(), GetActiveWindow(), L"refprop.dll", folder)) {
        message = L"Unable to locate refprop.dll";
        return false;
    }
    store.refpropFolder = folder;
    return WriteConfiguration(configurationFile, folder, message);
}

}  // namespace

bool InitializeFolders(std::wstring& message) {
    try {
        StoreLockGuard lock;
        return InitializeFoldersLocked(message);
    } catch (const std::bad_alloc&) {
        message = L"Out of memory";
    } catch (...) {
        message = L"Unexpected failure while setting up the package store";
    }
    return false;
}

std::wstring UserFolder() {
    StoreLockGuard lock;
    return Store().userFolder;
}

std::wstring RefpropFolder() {
    StoreLockGuard lock;
    return Store().refpropFolder;
}

std::wstring TemporaryFolder() {
    StoreLockGuard lock;
    return Store().temporaryFolder;
}

std::wstring PackageFolder() { return UserFolder() + L"\\PropertyPackages"; }

std::wstring PackageSearchPattern() { return UserFolder() + L"\\PropertyPackages\\*.rpp"; }

std::wstring PackageFilePath(const std::wstring& packageName) {
    return PackageFolder() + L"\\" + packageName + L".rpp";
}

std::wstring ConfigurationFilePath() { return UserFolder() + L"\\TARNEVO.conf"; }

std::wstring RefpropLibraryPath() { return RefpropFolder() + L"\\refprop.dll"; }

bool IsPlainPackageName(const std::wstring& name) {
    if (name.empty() || name == L"." || name == L".." || IsDeviceName(name)) return false;
    for (wchar_t c : name) {
        if (c < 0x20 || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos) return false;
    }
    return true;
}

bool BuildConfigurationText(const std::wstring& refpropFolder, std::string& text) {
    std::string folder;
    if (!WideToAnsi(refpropFolder, folder)) return false;
    text = "REFPROP_FOLDER=" + folder + "\r\n";
    return true;
}

RefpropFolderChange ChangeRefpropFolder(HWND owner, const std::function<void(const std::wstring&)>& showFolder) {
    StoreUserInterface& ui = UserInterface();
    try {
        const std::wstring current = RefpropFolder();
        const std::wstring initial =
            !current.empty() && PathExists(RefpropLibraryPath()) ? RefpropLibraryPath() : L"refprop.dll";
        std::wstring folder;
        if (!AskForRefpropFolder(ui, owner, initial, folder)) return RefpropFolderChange::Cancelled;

        std::wstring message;
        {
            StoreLockGuard lock;
            StorePaths& store = Store();
            if (store.userFolder.empty()) {
                message = L"The package store is not initialised";
            } else if (WriteConfiguration(store.userFolder + L"\\TARNEVO.conf", folder, message)) {
                store.refpropFolder = folder;
            }
        }
        if (!message.empty()) {
            ui.ShowError(owner, message, L"Error:");
            return RefpropFolderChange::Failed;
        }
        if (showFolder) showFolder(folder);
        ui.ShowInformation(owner, L"Property packages created from this point on will use the new REFPROP location",
                           L"REFPROP Folder change:");
        return RefpropFolderChange::Changed;
    } catch (const std::bad_alloc&) {
        ui.ShowError(owner, L"Out of memory", L"Error:");
        return RefpropFolderChange::Failed;
    }
}

void SetStoreRoots(const StoreRoots& roots) {
    StoreLockGuard lock;
    Store().roots = roots;
}

void SetStoreUserInterface(StoreUserInterface* ui) {
    StoreLockGuard lock;
    Store().ui = ui;
}

void ResetPackageStore() {
    StoreLockGuard lock;
    StorePaths& store = Store();
    store.userFolder.clear();
    store.refpropFolder.clear();
    store.temporaryFolder.clear();
}

}  // namespace tarnevo
