// Interface maps, reference counting, aggregation, class factories and IDispatch through the
// embedded type library, on a small class built with the plumbing.
#include <gtest/gtest.h>
#include <windows.h>
#include <comdef.h>
#include <wrl/client.h>

#include <new>
#include <string>

#include "TARNEVO.h"
#include "com/ComObject.h"

namespace {

using Microsoft::WRL::ComPtr;
using tarnevo::DispatchImpl;

int g_destroyed = 0;
bool g_offerDiagnostic = true;
bool g_throwOnConstruction = false;

class CPlain : public DispatchImpl<ICapeIdentification>, public DispatchImpl<ICapeDiagnostic> {
public:
    TARNEVO_BEGIN_INTERFACE_MAP(CPlain)
        TARNEVO_INTERFACE_AS(IDispatch, ICapeIdentification)
        TARNEVO_INTERFACE(ICapeIdentification)
        TARNEVO_INTERFACE_FUNC(ICapeDiagnostic, DiagnosticIfOffered)
    TARNEVO_END_INTERFACE_MAP()

    CPlain() {
        if (g_throwOnConstruction) throw std::bad_alloc();
    }
    virtual ~CPlain() { ++g_destroyed; }

    IUnknown* DiagnosticIfOffered() { return g_offerDiagnostic ? static_cast<ICapeDiagnostic*>(this) : nullptr; }

    STDMETHODIMP get_ComponentName(BSTR* name) override {
        *name = SysAllocString(L"plain");
        return S_OK;
    }
    STDMETHODIMP put_ComponentName(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_ComponentDescription(BSTR* description) override {
        *description = SysAllocString(L"");
        return S_OK;
    }
    STDMETHODIMP put_ComponentDescription(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP PopUpMessage(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP LogMessage(BSTR message) override {
        logged = message ? message : L"";
        return S_OK;
    }

    std::wstring logged;
};

// An outer object that aggregates: counts its references and forwards nothing.
class FakeOuter : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** result) override {
        ++queries;
        if (riid == IID_IUnknown) {
            *result = this;
            AddRef();
            return S_OK;
        }
        *result = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    ULONG refs = 1;
    int queries = 0;
};

class ComPlumbing : public ::testing::Test {
protected:
    void SetUp() override {
        g_destroyed = 0;
        g_offerDiagnostic = true;
        g_throwOnConstruction = false;
        ASSERT_EQ(tarnevo::ModuleLockCount(), 0);
    }
};

TEST_F(ComPlumbing, StandAloneObjectHasOneIdentityAndRefusesWhatItLacks) {
    ComPtr<ICapeIdentification> ident;
    ASSERT_EQ(tarnevo::CreateComInstance<CPlain>(nullptr, IID_PPV_ARGS(&ident)), S_OK);
    EXPECT_EQ(tarnevo::ModuleLockCount(), 1);

    ComPtr<ICapeDiagnostic> diagnostic;
    ASSERT_EQ(ident.As(&diagnostic), S_OK);
    ComPtr<IUnknown> fromIdent, fromDiagnostic;
    ident.As(&fromIdent);
    diagnostic.As(&fromDiagnostic);
    EXPECT_EQ(fromIdent.Get(), fromDiagnostic.Get());

    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(diagnostic.As(&dispatch), S_OK);
    EXPECT_EQ(dispatch.Get(), static_cast<IDispatch*>(ident.Get())) << "IDispatch is answered by the first interface";

    ComPtr<ICapeUtilities> missing;
    EXPECT_EQ(ident.As(&missing), E_NOINTERFACE);
    EXPECT_EQ(missing.Get(), nullptr);
    EXPECT_EQ(ident->QueryInterface(IID_ICapeIdentification, nullptr), E_POINTER);

    g_offerDiagnostic = false;
    ComPtr<ICapeDiagnostic> refused;
    EXPECT_EQ(ident.As(&refused), E_NOINTERFACE);

    ident.Reset();
    diagnostic.Reset();
    fromIdent.Reset();
    fromDiagnostic.Reset();
    dispatch.Reset();
    EXPECT_EQ(g_destroyed, 1);
    EXPECT_EQ(tarnevo::ModuleLockCount(), 0);
}

TEST_F(ComPlumbing, AggregatedObjectDelegatesToItsOuter) {
    FakeOuter outer;
    ComPtr<IUnknown> inner;
    EXPECT_EQ(tarnevo::CreateComInstance<CPlain>(&outer, IID_ICapeIdentification,
                                                 reinterpret_cast<void**>(inner.GetAddressOf())),
              CLASS_E_NOAGGREGATION);
    ASSERT_EQ(tarnevo::CreateComInstance<CPlain>(&outer, IID_IUnknown, reinterpret_cast<void**>(inner.GetAddressOf())),
              S_OK);
    EXPECT_EQ(outer.refs, 1u) << "creating the inner object holds no reference on the outer";

    ICapeIdentification* ident = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_PPV_ARGS(&ident)), S_OK);
    EXPECT_EQ(outer.refs, 2u) << "interfaces of the inner object count on the outer";
    IUnknown* identity = nullptr;
    ASSERT_EQ(ident->QueryInterface(IID_PPV_ARGS(&identity)), S_OK);
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    EXPECT_EQ(outer.queries, 1);
    identity->Release();
    ident->Release();
    EXPECT_EQ(outer.refs, 1u);

    ComPtr<IUnknown> innerAgain;
    ASSERT_EQ(inner.As(&innerAgain), S_OK);
    EXPECT_EQ(innerAgain.Get(), inner.Get()) << "the non-delegating IUnknown answers IUnknown itself";
    innerAgain.Reset();
    inner.Reset();
    EXPECT_EQ(g_destroyed, 1);
    EXPECT_EQ(tarnevo::ModuleLockCount(), 0);
}

TEST_F(ComPlumbing, FailedConstructionGivesOutOfMemory) {
    g_throwOnConstruction = true;
    ComPtr<ICapeIdentification> ident;
    EXPECT_EQ(tarnevo::CreateComInstance<CPlain>(nullptr, IID_PPV_ARGS(&ident)), E_OUTOFMEMORY);
    EXPECT_EQ(ident.Get(), nullptr);
    EXPECT_EQ(tarnevo::ModuleLockCount(), 0);
    EXPECT_EQ(tarnevo::CreateComInstance<CPlain>(nullptr, IID_ICapeIdentification, nullptr), E_POINTER);
}

TEST_F(ComPlumbing, ClassFactoryCreatesInstancesAndLocksTheServer) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(tarnevo::CreateClassObject<CPlain>(&factory), S_OK);
    ComPtr<ICapeIdentification> ident;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(&ident)), S_OK);
    EXPECT_EQ(tarnevo::ModuleLockCount(), 1);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(tarnevo::ModuleLockCount(), 2);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    ident.Reset();
    EXPECT_EQ(tarnevo::ModuleLockCount(), 0);
    FakeOuter outer;
    EXPECT_EQ(factory->CreateInstance(&outer, IID_PPV_ARGS(&ident)), CLASS_E_NOAGGREGATION);
}

TEST_F(ComPlumbing, LateBoundCallsReachEveryInterfaceTheObjectOffers) {
    auto plain = tarnevo::MakeComObject<CPlain>();
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(plain->QueryInterface(IID_PPV_ARGS(&dispatch)), S_OK);
    UINT count = 0;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(dispatch->GetTypeInfo(0, 0, &info), S_OK);
    _bstr_t name;
    info->GetDocumentation(MEMBERID_NIL, name.GetAddress(), nullptr, nullptr, nullptr);
    EXPECT_EQ(std::wstring(name), L"ICapeIdentification");

    // LogMessage is ICapeDiagnostic's: found and invoked there while the object offers it.
    LPOLESTR member = const_cast<LPOLESTR>(L"LogMessage");
    DISPID id = 0;
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &member, 1, 0, &id), S_OK);
    _variant_t argument(L"hello"), result;
    DISPPARAMS one = {&argument, nullptr, 1, 0};
    ASSERT_EQ(dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &one, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(plain->logged, L"hello");
    g_offerDiagnostic = false;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &member, 1, 0, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &one, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);

    DISPPARAMS none = {};
    ASSERT_EQ(dispatch->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(std::wstring(result.bstrVal), L"plain");
    EXPECT_EQ(dispatch->Invoke(1, IID_ICapeIdentification, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
}

}  // namespace
