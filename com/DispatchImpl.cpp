#include "com/DispatchImpl.h"

#include <wrl/client.h>

#include <cstring>
#include <cwctype>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

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

namespace {

// The dual interfaces of the library, in library order; the position is the ordinal of the
// synthetic DISPIDs.
struct DualInterface {
    GUID iid;
    ITypeInfo* info;  // vtable side, cached by InterfaceTypeInfo
};

const std::vector<DualInterface>& DualInterfaces() {
    static const std::vector<DualInterface> interfaces = [] {
        std::vector<DualInterface> found;
        ITypeLib* library = nullptr;
        if (FAILED(EmbeddedTypeLibrary(&library))) return found;
        for (UINT i = 0, n = library->GetTypeInfoCount(); i < n; ++i) {
            ComPtr<ITypeInfo> info;
            TYPEATTR* attributes = nullptr;
            if (FAILED(library->GetTypeInfo(i, &info)) || FAILED(info->GetTypeAttr(&attributes))) continue;
            const bool dual = attributes->typekind == TKIND_DISPATCH && (attributes->wTypeFlags & TYPEFLAG_FDUAL);
            const GUID iid = attributes->guid;
            info->ReleaseTypeAttr(attributes);
            ITypeInfo* vtableInfo = nullptr;
            if (dual && SUCCEEDED(InterfaceTypeInfo(iid, false, &vtableInfo))) found.push_back({iid, vtableInfo});
        }
        return found;
    }();
    return interfaces;
}

// A FUNCDESC of a type info, released with it.
class FunctionDescription {
public:
    FunctionDescription(ITypeInfo* info, UINT index) : info_(info) {
        if (FAILED(info->GetFuncDesc(index, &desc_))) desc_ = nullptr;
    }
    ~FunctionDescription() {
        if (desc_) info_->ReleaseFuncDesc(desc_);
    }
    FunctionDescription(const FunctionDescription&) = delete;
    FunctionDescription& operator=(const FunctionDescription&) = delete;
    const FUNCDESC* operator->() const noexcept { return desc_; }
    explicit operator bool() const noexcept { return desc_ != nullptr; }

private:
    ITypeInfo* info_;
    FUNCDESC* desc_ = nullptr;
};

// Index of the first function of `info` with `memid` whose kind is one of `flags`; -1 when none.
int FunctionIndex(ITypeInfo* info, MEMBERID memid, WORD flags) {
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes))) return -1;
    const UINT count = attributes->cFuncs;
    info->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < count; ++i) {
        FunctionDescription function(info, i);
        if (function && function->memid == memid && (function->invkind & flags)) return static_cast<int>(i);
    }
    return -1;
}

// Where a member name is declared: ordinal of the dual interface, index of its first function.
struct Declaration {
    size_t ordinal;
    int index;
};

// Every dual interface declaring `name` (any case), in library order. Names that are found are
// remembered, so a script's repeated calls do not search the library again.
std::vector<Declaration> Declarations(const wchar_t* name) {
    static std::mutex mutex;
    static std::map<std::wstring, std::vector<Declaration>> known;
    std::wstring key(name);
    for (wchar_t& c : key) c = towlower(c);
    std::lock_guard<std::mutex> lock(mutex);
    const auto found = known.find(key);
    if (found != known.end()) return found->second;
    std::vector<Declaration> declarations;
    const std::vector<DualInterface>& interfaces = DualInterfaces();
    for (size_t ordinal = 0; ordinal < interfaces.size(); ++ordinal) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        MEMBERID memid = DISPID_UNKNOWN;
        if (FAILED(interfaces[ordinal].info->GetIDsOfNames(names, 1, &memid))) continue;
        const int index = FunctionIndex(interfaces[ordinal].info, memid, 0xFFFF);
        if (index >= 0) declarations.push_back({ordinal, index});
    }
    if (!declarations.empty()) known.emplace(key, declarations);
    return declarations;
}

// What OLE Automation would crash on or silently accept: missing arrays, null references,
// more arguments than the member takes.
HRESULT CheckArguments(ITypeInfo* info, MEMBERID memid, WORD flags, const DISPPARAMS* params, UINT* argError) {
    if (!params) return E_INVALIDARG;
    if ((params->cArgs > 0 && !params->rgvarg) || params->cNamedArgs > params->cArgs ||
        (params->cNamedArgs > 0 && !params->rgdispidNamedArgs))
        return E_INVALIDARG;
    for (UINT i = 0; i < params->cArgs; ++i) {
        const VARIANT& argument = params->rgvarg[i];
        if ((argument.vt & VT_BYREF) && !argument.byref) {
            if (argError) *argError = i;
            return DISP_E_TYPEMISMATCH;
        }
    }
    const int index = FunctionIndex(info, memid, flags);
    if (index < 0) return S_OK;  // Invoke reports the unknown member
    FunctionDescription function(info, static_cast<UINT>(index));
    if (!function) return S_OK;
    UINT accepted = 0;
    for (SHORT i = 0; i < function->cParams; ++i) {
        const USHORT paramFlags = function->lprgelemdescParam[i].paramdesc.wParamFlags;
        if (!(paramFlags & (PARAMFLAG_FRETVAL | PARAMFLAG_FLCID))) ++accepted;
    }
    if (function->cParamsOpt >= 0 && params->cArgs > accepted) return DISP_E_BADPARAMCOUNT;
    return S_OK;
}

}  // namespace

HRESULT DispatchGetIDsOfNames(REFIID iid, IUnknown* self, REFIID riid, LPOLESTR* names, UINT count,
                              DISPID* ids) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids || count == 0) return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i) {
        if (names[i]) continue;
        for (UINT k = 0; k < count; ++k) ids[k] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    ITypeInfo* typeInfo = nullptr;
    HRESULT hr = InterfaceTypeInfo(iid, false, &typeInfo);
    if (FAILED(hr)) return hr;
    hr = typeInfo->GetIDsOfNames(names, count, ids);
    if (hr != DISP_E_UNKNOWNNAME || ids[0] != DISPID_UNKNOWN) return hr;
    try {
        const std::vector<DualInterface>& interfaces = DualInterfaces();
        for (const Declaration& declaration : Declarations(names[0])) {
            const DualInterface& other = interfaces[declaration.ordinal];
            ComPtr<IUnknown> offered;
            if (other.iid == iid ||
                FAILED(self->QueryInterface(other.iid, reinterpret_cast<void**>(offered.GetAddressOf()))))
                continue;
            // Parameter names are looked up in that interface.
            const HRESULT found = count > 1 ? other.info->GetIDsOfNames(names, count, ids) : S_OK;
            ids[0] = kFirstForwardedDispId + static_cast<DISPID>(declaration.ordinal) * kForwardedDispIdStride +
                     declaration.index;
            return found;
        }
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    return hr;
}

HRESULT DispatchInvoke(REFIID iid, IUnknown* self, DISPID id, REFIID riid, WORD flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* exception, UINT* argError) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* typeInfo = nullptr;
    ComPtr<IUnknown> target = self;
    MEMBERID memid = id;
    const std::vector<DualInterface>* interfaces = nullptr;
    try {
        interfaces = &DualInterfaces();
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    const size_t ordinal =
        id >= kFirstForwardedDispId ? static_cast<size_t>((id - kFirstForwardedDispId) / kForwardedDispIdStride) : 0;
    if (id >= kFirstForwardedDispId && ordinal < interfaces->size()) {
        const UINT index = static_cast<UINT>((id - kFirstForwardedDispId) % kForwardedDispIdStride);
        const DualInterface& other = (*interfaces)[ordinal];
        FunctionDescription function(other.info, index);
        if (!function) return DISP_E_MEMBERNOTFOUND;
        memid = function->memid;
        target.Reset();
        if (FAILED(self->QueryInterface(other.iid, reinterpret_cast<void**>(target.GetAddressOf()))))
            return DISP_E_MEMBERNOTFOUND;
        typeInfo = other.info;
    } else {
        HRESULT hr = InterfaceTypeInfo(iid, false, &typeInfo);
        if (FAILED(hr)) return hr;
    }
    const HRESULT checked = CheckArguments(typeInfo, memid, flags, params, argError);
    if (checked != S_OK) return checked;
    return typeInfo->Invoke(target.Get(), memid, flags, params, result, exception, argError);
}

}  // namespace tarnevo
