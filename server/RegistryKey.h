// Owned registry keys and the few registry operations registration needs. Failures throw
// CapeFailure carrying the Win32 error as HRESULT.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "com/OwnedHandles.h"

namespace tarnevo {

using RegistryKey = UniqueRegistryKey;

// Creates (or opens) `subKey` under `parent` for writing.
RegistryKey CreateRegistryKey(HKEY parent, const std::wstring& subKey);
// Sets a string value (`name` null or empty: the default value).
void SetRegistryString(HKEY key, const wchar_t* name, const std::wstring& value);
// Creates `subKey` under `parent` with the default value `value`.
RegistryKey CreateRegistryKeyWithDefault(HKEY parent, const std::wstring& subKey, const std::wstring& value);
// Deletes `subKey` and everything under it; a missing key is not an error.
void DeleteRegistryTree(HKEY parent, const std::wstring& subKey);
// Deletes `subKey` when it has no subkeys left; otherwise leaves it.
void DeleteRegistryKeyIfEmpty(HKEY parent, const std::wstring& subKey) noexcept;

}  // namespace tarnevo
