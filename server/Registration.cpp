#include "server/Registration.h"

#include <new>

#include "TARNEVO.h"
#include "capeobject/CapeFailure.h"
#include "server/ObjectMap.h"
#include "server/RegistryKey.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kClassesRoot[] = L"Software\\Classes";
constexpr const wchar_t kOleAutomationProxy[] = L"{00020424-0000-0000-C000-000000000046}";
constexpr const wchar_t kTypeLibVersion[] = L"1.0";

// The thread locale set to the system default for the duration of registration.
class SystemThreadLocale {
public:
    SystemThreadLocale() : saved_(GetThreadLocale()) { SetThreadLocale(GetSystemDefaultLCID()); }
    ~SystemThreadLocale() { SetThreadLocale(saved_); }
    SystemThreadLocale(const SystemThreadLocale&) = delete;
    SystemThreadLocale& operator=(const SystemThreadLocale&) = delete;

private:
    LCID saved_;
};

std::wstring ClassKey(const ClassScript& script) { return L"CLSID\\" + GuidString(*script.clsid); }

void RegisterAppId(HKEY classes) {
    const std::wstring appId = GuidString(kAppId);
    CreateRegistryKeyWithDefault(classes, L"AppID\\" + appId, kAppIdName);
    RegistryKey moduleKey = CreateRegistryKey(classes, std::wstring(L"AppID\\") + kAppIdModuleKey);
    SetRegistryString(moduleKey.get(), L"AppID", appId);
}

void RegisterProgIds(HKEY classes, const ClassScript& script, const std::wstring& clsid) {
    RegistryKey versioned = CreateRegistryKeyWithDefault(classes, script.versionedProgId, script.friendlyName);
    CreateRegistryKeyWithDefault(versioned.get(), L"CLSID", clsid);
    RegistryKey independent = CreateRegistryKeyWithDefault(classes, script.progId, script.friendlyName);
    CreateRegistryKeyWithDefault(independent.get(), L"CLSID", clsid);
    CreateRegistryKeyWithDefault(independent.get(), L"CurVer", script.versionedProgId);
}

void RegisterClassKey(HKEY classes, const ClassScript& script, const std::wstring& modulePath,
                      const std::wstring& versionString) {
    DeleteRegistryTree(classes, ClassKey(script));  // replaced whole
    RegistryKey key = CreateRegistryKeyWithDefault(classes, ClassKey(script), script.friendlyName);
    SetRegistryString(key.get(), L"AppID", GuidString(kAppId));
    CreateRegistryKeyWithDefault(key.get(), L"ProgID", script.versionedProgId);
    CreateRegistryKeyWithDefault(key.get(), L"VersionIndependentProgID", script.progId);
    CreateRegistryKey(key.get(), L"Programmable");
    RegistryKey server = CreateRegistryKeyWithDefault(key.get(), L"InprocServer32", modulePath);
    SetRegistryString(server.get(), L"ThreadingModel", L"Apartment");
    CreateRegistryKeyWithDefault(key.get(), L"Version", kTypeLibVersion);
    CreateRegistryKeyWithDefault(key.get(), L"TypeLib", GuidString(LIBID_TARNEVOLib));
    RegistryKey categories = CreateRegistryKey(key.get(), L"Implemented Categories");
    for (const wchar_t* category : script.categories) CreateRegistryKey(categories.get(), category);
    RegistryKey cape = CreateRegistryKey(key.get(), L"CapeDescription");
    SetRegistryString(cape.get(), L"Name", script.capeName);
    SetRegistryString(cape.get(), L"Description", script.capeDescription);
    SetRegistryString(cape.get(), L"CapeVersion", script.capeVersion);
    SetRegistryString(cape.get(), L"ComponentVersion", versionString);
    SetRegistryString(cape.get(), L"VendorURL", kVendorUrl);
    SetRegistryString(cape.get(), L"About", script.about);
}

void RemoveClass(HKEY classes, const ClassScript& script) {
    DeleteRegistryTree(classes, script.versionedProgId);
    DeleteRegistryTree(classes, script.progId);
    DeleteRegistryTree(classes, ClassKey(script));
}

void RegisterClass(HKEY classes, const ClassScript& script, const std::wstring& modulePath,
                   const std::wstring& versionString) {
    const std::wstring clsid = GuidString(*script.clsid);
    try {
        RegisterProgIds(classes, script, clsid);
        RegisterClassKey(classes, script, modulePath, versionString);
    } catch (...) {
        try {
            RemoveClass(classes, script);
        } catch (...) {
        }
        throw;
    }
}

std::wstring TypeLibKey() { return L"TypeLib\\" + GuidString(LIBID_TARNEVOLib); }
std::wstring OwnInterfaceKey() { return L"Interface\\" + GuidString(IID_ICapeThermoNewPropertyPackage); }

void RegisterTypeLibrary(HKEY classes, const std::wstring& modulePath) {
    const std::wstring folder = modulePath.substr(0, modulePath.find_last_of(L'\\') + 1);
    RegistryKey version =
        CreateRegistryKeyWithDefault(classes, TypeLibKey() + L"\\" + kTypeLibVersion, L"TARNEVO 1.0 Type Library");
    CreateRegistryKeyWithDefault(version.get(), L"0\\win64", modulePath);
    CreateRegistryKeyWithDefault(version.get(), L"FLAGS", L"0");
    CreateRegistryKeyWithDefault(version.get(), L"HELPDIR", folder);

    RegistryKey iface = CreateRegistryKeyWithDefault(classes, OwnInterfaceKey(), L"ICapeThermoNewPropertyPackage");
    CreateRegistryKeyWithDefault(iface.get(), L"ProxyStubClsid", kOleAutomationProxy);
    CreateRegistryKeyWithDefault(iface.get(), L"ProxyStubClsid32", kOleAutomationProxy);
    RegistryKey typeLib = CreateRegistryKeyWithDefault(iface.get(), L"TypeLib", GuidString(LIBID_TARNEVOLib));
    SetRegistryString(typeLib.get(), L"Version", kTypeLibVersion);
}

void RemoveTypeLibrary(HKEY classes) {
    DeleteRegistryTree(classes, TypeLibKey() + L"\\" + kTypeLibVersion);
    DeleteRegistryKeyIfEmpty(classes, TypeLibKey());  // other versions may still be there
    DeleteRegistryTree(classes, OwnInterfaceKey());
}

HRESULT CurrentHResult() noexcept {
    try {
        throw;
    } catch (const CapeFailure& failure) {
        return failure.hr();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace

std::wstring GuidString(const GUID& guid) {
    wchar_t text[40];
    int length = StringFromGUID2(guid, text, 40);
    return std::wstring(text, length > 0 ? length - 1 : 0);
}

HRESULT RegisterServer(const std::wstring& modulePath, const std::wstring& versionString) noexcept {
    try {
        SystemThreadLocale locale;
        RegistryKey classes = CreateRegistryKey(HKEY_CURRENT_USER, kClassesRoot);
        RegisterAppId(classes.get());
        for (std::size_t i = 0; i < kObjectMapSize; ++i)
            RegisterClass(classes.get(), kObjectMap[i].script, modulePath, versionString);
        RegisterTypeLibrary(classes.get(), modulePath);
        return S_OK;
    } catch (...) {
        return CurrentHResult();
    }
}

HRESULT UnregisterServer() noexcept {
    HRESULT result = S_OK;
    auto step = [&result](auto&& action) {
        try {
            action();
        } catch (...) {
            if (SUCCEEDED(result)) result = CurrentHResult();
        }
    };
    try {
        SystemThreadLocale locale;
        RegistryKey classes = CreateRegistryKey(HKEY_CURRENT_USER, kClassesRoot);
        HKEY root = classes.get();
        step([&] { DeleteRegistryTree(root, L"AppID\\" + GuidString(kAppId)); });
        step([&] { DeleteRegistryTree(root, std::wstring(L"AppID\\") + kAppIdModuleKey); });
        for (std::size_t i = 0; i < kObjectMapSize; ++i) step([&] { RemoveClass(root, kObjectMap[i].script); });
        step([&] { RemoveTypeLibrary(root); });
        return result;
    } catch (...) {
        return CurrentHResult();
    }
}

}  // namespace tarnevo
