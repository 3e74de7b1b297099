// DllMain and the five exports of TARNEVO64.dll.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <wrl/client.h>

#include <mutex>

#include "capeobject/StoreInitializer.h"
#include "com/ComObject.h"
#include "com/ModuleLock.h"
#include "com/ModuleState.h"
#include "manager/ManagerDialogSeam.h"
#include "server/ObjectMap.h"
#include "server/Registration.h"

namespace {

using Microsoft::WRL::ComPtr;

// Class objects, created once under the lock and then cached (one slot per object-map entry).
struct ClassObjects {
    std::mutex lock;
    ComPtr<IClassFactory> factories[8];
};
static_assert(sizeof(ClassObjects::factories) / sizeof(ComPtr<IClassFactory>) >= 2, "object map slots");

ClassObjects& Classes() {
    static ClassObjects classes;
    return classes;
}

void InitializeListViewControls() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        tarnevo::InitializeModuleState(instance);  // handle, path, version string
        InitializeListViewControls();
        return tarnevo::ModuleInitialised() ? TRUE : FALSE;
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() { return tarnevo::ModuleLockCount() == 0 ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (!tarnevo::ModuleInitialised()) return E_UNEXPECTED;
    for (std::size_t i = 0; i < tarnevo::kObjectMapSize && i < 8; ++i) {
        const tarnevo::ObjectMapEntry& entry = tarnevo::kObjectMap[i];
        if (*entry.script.clsid != clsid) continue;
        if (!entry.createClassObject) break;
        ClassObjects& classes = Classes();
        try {
            std::lock_guard<std::mutex> guard(classes.lock);
            if (!classes.factories[i]) {
                HRESULT hr = entry.createClassObject(classes.factories[i].ReleaseAndGetAddressOf());
                if (FAILED(hr)) return hr;
            }
            return classes.factories[i]->QueryInterface(riid, result);
        } catch (...) {
            return E_UNEXPECTED;  // the lock could not be taken
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllRegisterServer() {
    if (!tarnevo::ModuleInitialised()) return E_UNEXPECTED;
    return tarnevo::RegisterServer(tarnevo::ModulePath(), tarnevo::ModuleVersionString());
}

STDAPI DllUnregisterServer() {
    if (!tarnevo::ModuleInitialised()) return E_UNEXPECTED;
    return tarnevo::UnregisterServer();
}

// Stand-alone configuration (rundll32 TARNEVO64.dll,DllConfigure): the package manager
// dialog outside any simulator, after the package store is established.
extern "C" HRESULT STDAPICALLTYPE DllConfigure() {
    std::wstring message;
    if (!tarnevo::RunStoreInitializer(message)) {
        MessageBoxW(GetActiveWindow(), message.c_str(), L"TARNEVO:", MB_OK | MB_ICONERROR);
        return 1;
    }
    // The folder browser of the dialogs needs COM on this thread.
    struct Apartment {
        bool entered;
        ~Apartment() {
            if (entered) CoUninitialize();
        }
    } const apartment{SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))};
    tarnevo::RunManagerDialog(GetActiveWindow());
    return S_OK;
}
