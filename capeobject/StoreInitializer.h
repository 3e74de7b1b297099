// Seam for the package store's InitializeFolders, which the common Initialize runs.
#pragma once

#include <string>

namespace tarnevo {

// Returns true when the store is ready; on false `message` says why.
using StoreInitializer = bool (*)(std::wstring& message);

// Installs the store initializer; null restores the default, which always succeeds.
void SetStoreInitializer(StoreInitializer initializer) noexcept;

// Runs the installed initializer; an exception from it counts as a failure with its text.
bool RunStoreInitializer(std::wstring& message) noexcept;

}  // namespace tarnevo
