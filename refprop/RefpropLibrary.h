// Private copies of the REFPROP library: copy refprp64.dll into the temporary folder
// under REFPROP_<GUID>.DLL, load it, resolve its routines; unload and delete it again.
// Each copy has a companion REFPROP_<GUID>.LOCK that its owner creates first and keeps
// open without sharing (deleted on close). A copy whose lock can be opened, or that has
// none, belongs to no live process and is removed by the sweep before each load.
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

// Deletes the private copies in `temporaryFolder` whose owner is gone; returns how many.
int RemoveStaleCopies(const std::wstring& temporaryFolder) noexcept;

// Deletes a file with up to 10 attempts, 100 ms apart; true when it is gone.
bool DeleteFileWithRetries(const std::wstring& path) noexcept;

}  // namespace tarnevo
