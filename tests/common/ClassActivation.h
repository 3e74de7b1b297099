// Wine activates only classes registered machine-wide. After DllRegisterServer (per user),
// a MachineClassMirror copies TARNEVO's keys from HKCU\Software\Classes to
// HKLM\Software\Classes so CoCreateInstance and CLSIDFromProgID find them, and removes
// those copies again when it goes out of scope. On Windows the per-user keys suffice.
//   ASSERT_EQ(DllRegisterServer(), S_OK);   // e.g. through the loaded module's export
//   tarnevo_test::MachineClassMirror mirror;
//   CoCreateInstance(CLSID_PropertyPackageManager, ...);
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "TARNEVO.h"

namespace tarnevo_test {

class MachineClassMirror {
public:
    MachineClassMirror() {
        for (const std::wstring& key : Keys()) {
            HKEY source = nullptr, target = nullptr;
            const std::wstring path = L"Software\\Classes\\" + key;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &source) != ERROR_SUCCESS) continue;
            if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target,
                                nullptr) == ERROR_SUCCESS) {
                if (RegCopyTreeW(source, nullptr, target) == ERROR_SUCCESS) mirrored_.push_back(path);
                RegCloseKey(target);
            }
            RegCloseKey(source);
        }
    }
    ~MachineClassMirror() {
        for (const std::wstring& path : mirrored_) RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str()),
                                                   RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
    }
    MachineClassMirror(const MachineClassMirror&) = delete;
    MachineClassMirror& operator=(const MachineClassMirror&) = delete;

    std::size_t MirroredKeys() const { return mirrored_.size(); }

private:
    static std::wstring Guid(const GUID& guid) {
        wchar_t text[40];
        StringFromGUID2(guid, text, 40);
        return text;
    }
    static std::vector<std::wstring> Keys() {
        return {L"TARNEVO.PropertyPackageManager", L"TARNEVO.PropertyPackageManager.1", L"TARNEVO.ThermoSystem",
                L"TARNEVO.ThermoSystem.1", L"CLSID\\" + Guid(CLSID_PropertyPackageManager),
                L"CLSID\\" + Guid(CLSID_ThermoSystem), L"TypeLib\\" + Guid(LIBID_TARNEVOLib),
                L"Interface\\" + Guid(IID_ICapeThermoNewPropertyPackage)};
    }

    std::vector<std::wstring> mirrored_;
};

}  // namespace tarnevo_test
