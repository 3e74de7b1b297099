// Small host-side fakes for the binding, package and manager tests: a simulation context
// with ICapeDiagnostic that records LogMessage, a property bag, an error log and a stream
// whose writes fail.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <map>
#include <string>
#include <vector>

#include "TARNEVO.h"

namespace tarnevo_test {

// IUnknown for a test object with one or more interfaces: `Find` returns the interface or null.
template <class Derived>
class FakeUnknown {
public:
    ULONG AddRefImpl() { return ++refs_; }
    ULONG ReleaseImpl() {
        ULONG refs = --refs_;
        if (refs == 0) delete static_cast<Derived*>(this);
        return refs;
    }
    HRESULT QueryImpl(REFIID riid, void** result) {
        if (!result) return E_POINTER;
        *result = static_cast<Derived*>(this)->Find(riid);
        if (!*result) return E_NOINTERFACE;
        AddRefImpl();
        return S_OK;
    }

private:
    ULONG refs_ = 0;
};

#define TARNEVO_FAKE_UNKNOWN()                                                                           \
    STDMETHODIMP QueryInterface(REFIID riid, void** result) override { return QueryImpl(riid, result); } \
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }                                      \
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }

// Simulation context; `offersDiagnostic` false gives a context without ICapeDiagnostic.
class FakeContext final : public ICapeDiagnostic, public FakeUnknown<FakeContext> {
public:
    static Microsoft::WRL::ComPtr<FakeContext> Create(bool offersDiagnostic = true);
    TARNEVO_FAKE_UNKNOWN()
    void* Find(REFIID riid);
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP PopUpMessage(BSTR message) override;
    STDMETHODIMP LogMessage(BSTR message) override;

    std::vector<std::wstring> logged;
    bool offersDiagnostic = true;
};

class FakeErrorLog final : public IErrorLog, public FakeUnknown<FakeErrorLog> {
public:
    static Microsoft::WRL::ComPtr<FakeErrorLog> Create();
    TARNEVO_FAKE_UNKNOWN()
    void* Find(REFIID riid);
    STDMETHODIMP AddError(LPCOLESTR property, EXCEPINFO* info) override;

    struct Entry {
        std::wstring property, source, description;
    };
    std::vector<Entry> entries;
};

class FakePropertyBag final : public IPropertyBag, public FakeUnknown<FakePropertyBag> {
public:
    static Microsoft::WRL::ComPtr<FakePropertyBag> Create();
    ~FakePropertyBag();
    TARNEVO_FAKE_UNKNOWN()
    void* Find(REFIID riid);
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;

    std::map<std::wstring, VARIANT> values;
    bool failWrites = false;
};

// A stream that accepts `capacity` bytes, then fails every write.
class FailingStream final : public IStream, public FakeUnknown<FailingStream> {
public:
    static Microsoft::WRL::ComPtr<FailingStream> Create(ULONG capacity);
    TARNEVO_FAKE_UNKNOWN()
    void* Find(REFIID riid);
    STDMETHODIMP Read(void*, ULONG, ULONG* read) override {
        if (read) *read = 0;
        return S_FALSE;
    }
    STDMETHODIMP Write(const void*, ULONG size, ULONG* written) override;
    STDMETHODIMP Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP Commit(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Revert() override { return E_NOTIMPL; }
    STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

    ULONG capacity = 0;
};

// A memory stream holding `bytes`, positioned at its start.
Microsoft::WRL::ComPtr<IStream> MemoryStream(const std::string& bytes = std::string());
// All bytes of a memory stream.
std::string StreamBytes(IStream* stream);

// Description of the object's last CAPE-OPEN error (ECapeUser).
std::wstring ErrorDescription(IUnknown* object);
std::wstring ErrorScope(IUnknown* object);
std::wstring ErrorInterface(IUnknown* object);

}  // namespace tarnevo_test
