// Private copies of the REFPROP library: copy refprp64.dll into the temporary folder
// under REFPROP_<GUID>.DLL, load it, resolve its routines; unload and delete it again.
#pragma once

#include <string>

#include "refprop/RefpropBinding.h"

namespace tarnevo {

// Unloads any previous instance, makes a new private copy of
// `refpropFolder`\refprp64.dll in `temporaryFolder` (which ends in a backslash), loads
// it and resolves the routines; sets libraryReady. Throws CapeFailure with the message
// on failure; whatever was done before the failure stays until the next load or unload.
void LoadRefpropLibrary(RefpropBinding& binding, const std::wstring& refpropFolder,
                        const std::wstring& temporaryFolder);

// Resolves the 39 required routines in order, then the optional FUGCOFdll. Throws
// CapeFailure "Failed to load <NAME> from REFPROP dll: <system text>".
void ResolveRefpropRoutines(RefpropBinding& binding);

// Frees the loaded library and deletes the private copy (up to 10 attempts, 100 ms
// apart); clears libraryReady and the routine table.
void UnloadRefpropLibrary(RefpropBinding& binding) noexcept;

// Deletes a file with up to 10 attempts, 100 ms apart; true when it is gone.
bool DeleteFileWithRetries(const std::wstring& path) noexcept;

}  // namespace tarnevo
