// The package store: user folder, REFPROP folder and temporary folder of the process,
// the paths derived from them and TARNEVO.conf, which records the REFPROP folder.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "definition/StoreLock.h"
#include "definition/StoreUserInterface.h"

namespace tarnevo {

// Establishes the folders on first use (later calls only re-check the package folder).
// On false `message` holds the text to report; nothing is thrown.
bool InitializeFolders(std::wstring& message);

// Store paths; empty until InitializeFolders succeeded.
std::wstring UserFolder();
std::wstring RefpropFolder();
std::wstring TemporaryFolder();  // always ends in a backslash

// Derived paths.
std::wstring PackageFolder();
std::wstring PackageSearchPattern();
std::wstring PackageFilePath(const std::wstring& packageName);
std::wstring ConfigurationFilePath();
std::wstring RefpropLibraryPath();

// A package name that can only name a file directly inside the package folder: not
// empty, "." or "..", no character below 0x20 or of \ / : * ? " < > |, and not a device
// name (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1-9, LPT1-9) before its first dot.
bool IsPlainPackageName(const std::wstring& name);

// The "REFPROP_FOLDER=<folder>\r\n" line of TARNEVO.conf, in the ANSI code page.
bool BuildConfigurationText(const std::wstring& refpropFolder, std::string& text);

enum class RefpropFolderChange { Changed, Cancelled, Failed };

// File side of the manager dialog's "Refprop Folder" button: asks for refprop.dll,
// records its folder in TARNEVO.conf and then in memory. `showFolder` (may be empty)
// is called with the new folder before the information message is shown.
RefpropFolderChange ChangeRefpropFolder(HWND owner, const std::function<void(const std::wstring&)>& showFolder);

// Seams for tests: where the folder roots come from (an empty function means the
// system's folder; a function returning false is a failure to obtain it), the user
// interface (null means the system's), and forgetting the three paths.
using FolderSource = std::function<bool(std::wstring& folder)>;
struct StoreRoots {
    FolderSource applicationData;
    FolderSource programFiles;
    FolderSource temporary;
};
void SetStoreRoots(const StoreRoots& roots);
void SetStoreUserInterface(StoreUserInterface* ui);
void ResetPackageStore();

}  // namespace tarnevo
