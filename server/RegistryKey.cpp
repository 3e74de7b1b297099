#include "server/RegistryKey.h"

#include "capeobject/CapeFailure.h"

namespace tarnevo {
namespace {

[[noreturn]] void ThrowRegistryError(LONG status, const std::wstring& what) {
    throw CapeFailure(L"Registry update failed: " + what, HRESULT_FROM_WIN32(status));
}

}  // namespace

RegistryKey CreateRegistryKey(HKEY parent, const std::wstring& subKey) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(parent, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) ThrowRegistryError(status, subKey);
    return RegistryKey(key);
}

void SetRegistryString(HKEY key, const wchar_t* name, const std::wstring& value) {
    LONG status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) ThrowRegistryError(status, name ? name : L"(default)");
}

RegistryKey CreateRegistryKeyWithDefault(HKEY parent, const std::wstring& subKey, const std::wstring& value) {
    RegistryKey key = CreateRegistryKey(parent, subKey);
    SetRegistryString(key.get(), nullptr, value);
    return key;
}

void DeleteRegistryTree(HKEY parent, const std::wstring& subKey) {
    LONG status = RegDeleteTreeW(parent, subKey.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        // RegDeleteTree empties the key; make sure the key itself is gone as well.
        status = RegDeleteKeyW(parent, subKey.c_str());
        if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return;
    }
    ThrowRegistryError(status, subKey);
}

void DeleteRegistryKeyIfEmpty(HKEY parent, const std::wstring& subKey) noexcept {
    RegDeleteKeyW(parent, subKey.c_str());  // fails, harmlessly, while subkeys remain
}

}  // namespace tarnevo
