// Per-user registration under HKEY_CURRENT_USER\Software\Classes: the AppID, each class of
// the object map, and the type library (the library and ICapeThermoNewPropertyPackage only;
// the standard CAPE-OPEN Interface keys belong to the CO-LaN library and are never touched).
#pragma once

#include <windows.h>

#include <string>

namespace tarnevo {

// Writes every key; stops at the first failure and returns its HRESULT. A class whose
// script fails part-way is removed again, so no half-written class key remains.
HRESULT RegisterServer(const std::wstring& modulePath, const std::wstring& versionString) noexcept;

// Deletes exactly the keys RegisterServer writes (never Software, Classes, CLSID, AppID,
// TypeLib or Interface themselves). Missing keys are not an error.
HRESULT UnregisterServer() noexcept;

// "{XXXXXXXX-XXXX-...}" in upper case.
std::wstring GuidString(const GUID& guid);

}  // namespace tarnevo
