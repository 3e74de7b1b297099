// A fake host object for tests: implements ECapeUser and ECapeRoot (each optional) with
// configurable texts, and counts the QueryInterface calls it receives.
//   auto host = tarnevo_test::FakeCapeErrorSource::Create(L"description", L"name");
//   host->SetOffersUser(false);
//   GetCapeErrorText(host.Get(), hr) ...
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "TARNEVO.h"

namespace tarnevo_test {

class FakeCapeErrorSource : public ECapeUser, public ECapeRoot {
public:
    static Microsoft::WRL::ComPtr<FakeCapeErrorSource> Create(std::wstring description = L"",
                                                              std::wstring name = L"") {
        return Microsoft::WRL::ComPtr<FakeCapeErrorSource>(
            new FakeCapeErrorSource(std::move(description), std::move(name)));
    }

    void SetOffersUser(bool offers) { offersUser_ = offers; }
    void SetOffersRoot(bool offers) { offersRoot_ = offers; }
    void SetDescription(std::wstring text) { description_ = std::move(text); }
    void SetName(std::wstring text) { name_ = std::move(text); }
    void SetScope(std::wstring text) { scope_ = std::move(text); }
    void SetInterfaceName(std::wstring text) { interfaceName_ = std::move(text); }
    void SetCode(long code) { code_ = code; }
    int QueryCount() const { return queries_; }
    ULONG References() const { return refs_; }
    IUnknown* Identity() { return static_cast<ECapeUser*>(this); }

    // IUnknown (identity: ECapeUser)
    STDMETHODIMP QueryInterface(REFIID riid, void** result) override {
        if (!result) return E_POINTER;
        ++queries_;
        *result = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch) *result = static_cast<ECapeUser*>(this);
        else if (riid == __uuidof(ECapeUser) && offersUser_) *result = static_cast<ECapeUser*>(this);
        else if (riid == __uuidof(ECapeRoot) && offersRoot_) *result = static_cast<ECapeRoot*>(this);
        if (!*result) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG refs = --refs_;
        if (refs == 0) delete this;
        return refs;
    }
    // IDispatch: not offered for late binding
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    // ECapeRoot
    STDMETHODIMP get_name(BSTR* name) override { return Text(name_, name); }
    // ECapeUser
    STDMETHODIMP get_code(long* code) override {
        if (!code) return E_POINTER;
        *code = code_;
        return S_OK;
    }
    STDMETHODIMP get_description(BSTR* description) override { return Text(description_, description); }
    STDMETHODIMP get_scope(BSTR* scope) override { return Text(scope_, scope); }
    STDMETHODIMP get_interfaceName(BSTR* name) override { return Text(interfaceName_, name); }
    STDMETHODIMP get_operation(BSTR* operation) override { return Text(L"N/A", operation); }
    STDMETHODIMP get_moreInfo(BSTR* moreInfo) override { return Text(L"", moreInfo); }

private:
    FakeCapeErrorSource(std::wstring description, std::wstring name)
        : description_(std::move(description)), name_(std::move(name)) {}
    virtual ~FakeCapeErrorSource() = default;

    static HRESULT Text(const std::wstring& text, BSTR* out) {
        if (!out) return E_POINTER;
        *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return S_OK;
    }

    ULONG refs_ = 0;
    int queries_ = 0;
    bool offersUser_ = true;
    bool offersRoot_ = true;
    long code_ = 0;
    std::wstring description_, name_, scope_, interfaceName_;
};

}  // namespace tarnevo_test
