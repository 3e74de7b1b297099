#include "module/DispatchImpl.h"

#include <wrl/client.h>

#include <cstring>
#include <map>
#include <mutex>
#include <utility>

namespace tarnevo {
namespace {

using Microsoft::WRL::ComPtr;

HMODULE ThisModule() noexcept {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

struct KeyLess {
    bool operator()(const std::pair<GUID, bool>& a, const std::pair<GUID, bool>& b) const {
        int c = memcmp(&a.first, &b.first, sizeof(GUID));
        return c != 0 ? c < 0 : a.second < b.second;
    }
};

struct LibraryCache {
    std::once_flag once;
    HRESULT hr = E_UNEXPECTED;
    ComPtr<ITypeLib> library;
    std::mutex mutex;
    std::map<std::pair<GUID, bool>, ComPtr<ITypeInfo>, KeyLess> infos;
};

LibraryCache& Cache() {
    static LibraryCache cache;
    return cache;
}

}  // namespace

HRESULT EmbeddedTypeLibrary(ITypeLib** library) noexcept {
    if (!library) return E_POINTER;
    *library = nullptr;
    LibraryCache& cache = Cache();
    std::call_once(cache.once, [&cache] {
        wchar_t path[1024];
        DWORD length = GetModuleFileNameW(ThisModule(), path, 1024);
        if (length == 0 || length >= 1024) {
            cache.hr = HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_INSUFFICIENT_BUFFER);
            return;
        }
        cache.hr = LoadTypeLibEx(path, REGKIND_NONE, cache.library.GetAddressOf());
    });
    if (FAILED(cache.hr)) return cache.hr;
    *library = cache.library.Get();
    return S_OK;
}

HRESULT InterfaceTypeInfo(REFIID iid, bool dispatchKind, ITypeInfo** info) noexcept {
    if (!info) return E_POINTER;
    *info = nullptr;
    ITypeLib* library = nullptr;
    HRESULT hr = EmbeddedTypeLibrary(&library);
    if (FAILED(hr)) return hr;
    LibraryCache& cache = Cache();
    try {
        std::lock_guard<std::mutex> lock(cache.mutex);
        auto key = std::make_pair(iid, dispatchKind);
        auto found = cache.infos.find(key);
        if (found != cache.infos.end()) {
            *info = found->second.Get();
            return S_OK;
        }
        ComPtr<ITypeInfo> typeInfo;
        hr = library->GetTypeInfoOfGuid(iid, &typeInfo);
        if (FAILED(hr)) return hr;
        if (!dispatchKind) {
            // A dual interface is found as its dispinterface; the vtable side is its reference -1.
            HREFTYPE vtableRef = 0;
            ComPtr<ITypeInfo> vtableInfo;
            if (SUCCEEDED(typeInfo->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef)) &&
                SUCCEEDED(typeInfo->GetRefTypeInfo(vtableRef, &vtableInfo)))
                typeInfo = vtableInfo;
        }
        *info = typeInfo.Get();
        cache.infos.emplace(key, std::move(typeInfo));
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT DispatchGetTypeInfo(REFIID iid, UINT index, ITypeInfo** info) noexcept {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* typeInfo = nullptr;
    HRESULT hr = InterfaceTypeInfo(iid, true, &typeInfo);
    if (FAILED(hr)) return hr;
    typeInfo->AddRef();
    *info = typeInfo;
    return S_OK;
}

HRESULT DispatchGetIDsOfNames(REFIID iid, REFIID riid, LPOLESTR* names, UINT count, DISPID* ids) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* typeInfo = nullptr;
    HRESULT hr = InterfaceTypeInfo(iid, false, &typeInfo);
    if (FAILED(hr)) return hr;
    return typeInfo->GetIDsOfNames(names, count, ids);
}

HRESULT DispatchInvoke(REFIID iid, void* self, DISPID id, REFIID riid, WORD flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* exception, UINT* argError) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* typeInfo = nullptr;
    HRESULT hr = InterfaceTypeInfo(iid, false, &typeInfo);
    if (FAILED(hr)) return hr;
    return typeInfo->Invoke(self, id, flags, params, result, exception, argError);
}

}  // namespace tarnevo
