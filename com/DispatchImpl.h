// IDispatch for one dual interface, answered from the type library embedded in the module
// that contains this code (loaded once, without registration). Names are looked up in that
// interface first, then in every other dual interface of the library that the object answers
// QueryInterface for; members found there get synthetic DISPIDs (kFirstForwardedDispId and
// above, outside the library's own) and are invoked on that interface.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace tarnevo {

// The embedded type library (TYPELIB resource 1 of the module holding this code), or null
// with the failure HRESULT. Not AddRef'ed: it lives as long as the module.
HRESULT EmbeddedTypeLibrary(ITypeLib** library) noexcept;

// Type information of the interface `iid`: `dispatchKind` selects the dispinterface side of a
// dual interface (what clients get from GetTypeInfo), otherwise the vtable side (for Invoke).
// Cached for the life of the module; not AddRef'ed.
HRESULT InterfaceTypeInfo(REFIID iid, bool dispatchKind, ITypeInfo** info) noexcept;

// Synthetic DISPIDs: kFirstForwardedDispId + interface ordinal * kForwardedDispIdStride + function index.
constexpr DISPID kFirstForwardedDispId = 0x20000000;
constexpr DISPID kForwardedDispIdStride = 0x1000;

HRESULT DispatchGetTypeInfo(REFIID iid, UINT index, ITypeInfo** info) noexcept;
// `self` is the object's pointer of interface `iid`.
HRESULT DispatchGetIDsOfNames(REFIID iid, IUnknown* self, REFIID riid, LPOLESTR* names, UINT count,
                              DISPID* ids) noexcept;
HRESULT DispatchInvoke(REFIID iid, IUnknown* self, DISPID id, REFIID riid, WORD flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* exception, UINT* argError) noexcept;

template <class I>
class DispatchImpl : public I {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        return DispatchGetTypeInfo(__uuidof(I), index, info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return DispatchGetIDsOfNames(__uuidof(I), static_cast<I*>(this), riid, names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override {
        return DispatchInvoke(__uuidof(I), static_cast<I*>(this), id, riid, flags, params, result, exception,
                              argError);
    }

protected:
    DispatchImpl() = default;
    ~DispatchImpl() = default;
};

}  // namespace tarnevo
