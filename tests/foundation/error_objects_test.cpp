// CCapeOpenBaseObject through real COM objects: the twelve error interfaces, the error
// state after failures, the initialisation guard, identification, utilities, and the
// error idiom's handling of every kind of exception.
#include <gtest/gtest.h>
#include <windows.h>
#include <comdef.h>
#include <wrl/client.h>

#include <new>
#include <stdexcept>
#include <string>

#include "TARNEVO.h"
#include "capeobject/CapeOpenBaseObject.h"
#include "capeobject/ErrorTexts.h"
#include "capeobject/StoreInitializer.h"
#include "tests/common/FakeCapeHost.h"

namespace {

using Microsoft::WRL::ComPtr;

int g_storeCalls = 0;
std::wstring g_storeFailure;  // empty: the store initialises

bool FakeStore(std::wstring& message) {
    ++g_storeCalls;
    if (g_storeFailure.empty()) return true;
    message = g_storeFailure == L"<empty>" ? L"" : g_storeFailure;
    return false;
}

class CTestCapeObject : public tarnevo::CCapeOpenBaseObject {
public:
    TARNEVO_BEGIN_INTERFACE_MAP(CTestCapeObject)
        TARNEVO_INTERFACE_AS(IDispatch, ICapeIdentification)
        TARNEVO_CAPE_OPEN_BASE_INTERFACES()
    TARNEVO_END_INTERFACE_MAP()

    CTestCapeObject() : CCapeOpenBaseObject(L"Test Object", L"Test description") {}

    // A guarded operation that throws what it is told to.
    HRESULT Run(int kind) {
        return Guarded(L"Run", L"ITest", [kind]() -> HRESULT {
            switch (kind) {
                case 0: throw tarnevo::CapeFailure(L"plain failure");
                case 1: throw tarnevo::CapeFailure(L"not here", tarnevo::ECapeNoImplHR);
                case 2: throw std::bad_alloc();
                case 3: throw std::runtime_error("boom");
                case 4: throw 42;
                default: return S_OK;
            }
        });
    }
    int contextChanges = 0;

protected:
    void OnSimulationContextChanged() override { ++contextChanges; }
};

template <class I, class Getter>
std::wstring Read(I* object, Getter getter) {
    BSTR text = nullptr;
    EXPECT_EQ((object->*getter)(&text), S_OK);
    std::wstring result = text ? std::wstring(text) : std::wstring();
    SysFreeString(text);
    return result;
}

class CapeErrorObject : public ::testing::Test {
protected:
    void SetUp() override {
        g_storeCalls = 0;
        g_storeFailure.clear();
        tarnevo::SetStoreInitializer(&FakeStore);
        object = tarnevo::MakeComObject<CTestCapeObject>();
        ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&ident)), S_OK);
        ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&utilities)), S_OK);
        ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&user)), S_OK);
        ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&root)), S_OK);
    }
    void TearDown() override { tarnevo::SetStoreInitializer(nullptr); }

    void ExpectError(const std::wstring& description, const std::wstring& scope, const std::wstring& iface) {
        EXPECT_EQ(Read(user.Get(), &ECapeUser::get_description), description);
        EXPECT_EQ(Read(root.Get(), &ECapeRoot::get_name), description);
        EXPECT_EQ(Read(user.Get(), &ECapeUser::get_scope), scope);
        EXPECT_EQ(Read(user.Get(), &ECapeUser::get_interfaceName), iface);
    }

    ComPtr<tarnevo::ComObject<CTestCapeObject>> object;
    ComPtr<ICapeIdentification> ident;
    ComPtr<ICapeUtilities> utilities;
    ComPtr<ECapeUser> user;
    ComPtr<ECapeRoot> root;
};

TEST_F(CapeErrorObject, AnswersEveryErrorInterfaceFromTheObjectItself) {
    const IID* errorInterfaces[] = {
        &__uuidof(ECapeBadInvOrder),  &__uuidof(ECapeComputation),  &__uuidof(ECapeFailedInitialisation),
        &__uuidof(ECapeImplementation), &__uuidof(ECapeInvalidOperation), &__uuidof(ECapeLimitedImpl),
        &__uuidof(ECapeNoImpl),       &__uuidof(ECapeRoot),         &__uuidof(ECapeSolvingError),
        &__uuidof(ECapeThrmPropertyNotAvailable), &__uuidof(ECapeUnknown), &__uuidof(ECapeUser)};
    ComPtr<IUnknown> identity;
    ASSERT_EQ(ident.As(&identity), S_OK);
    void* previous = nullptr;
    for (const IID* iid : errorInterfaces) {
        ComPtr<IUnknown> found;
        ASSERT_EQ(object->QueryInterface(*iid, reinterpret_cast<void**>(found.GetAddressOf())), S_OK);
        EXPECT_NE(found.Get(), previous) << "each interface has its own pointer";
        previous = found.Get();
        ComPtr<IUnknown> back;
        ASSERT_EQ(found.As(&back), S_OK);
        EXPECT_EQ(back.Get(), identity.Get());
    }
    EXPECT_EQ(g_storeCalls, 0) << "answering needs no initialisation";
}

TEST_F(CapeErrorObject, FailedCallIsDescribedByTheErrorInterfaces) {
    EXPECT_EQ(ident->put_ComponentName(nullptr), tarnevo::ECapeUnknownHR);
    ExpectError(L"Name cannot be empty", L"put_ComponentName", L"ICapeIdentification");
    EXPECT_EQ(Read(user.Get(), &ECapeUser::get_operation), L"N/A");
    EXPECT_EQ(Read(user.Get(), &ECapeUser::get_moreInfo), L"More information is not available");
    ComPtr<ECapeBadInvOrder> order;
    ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&order)), S_OK);
    EXPECT_EQ(Read(order.Get(), &ECapeBadInvOrder::get_requestedOperation), L"N/A");
    long code = 0;
    EXPECT_EQ(user->get_code(&code), S_OK);
    EXPECT_EQ(code, tarnevo::ECapeUnknownHR) << "code reports the HRESULT of the last failure";
    // A host reading our failure gets the same text.
    EXPECT_EQ(tarnevo::GetCapeErrorText(ident.Get(), tarnevo::ECapeUnknownHR), L"Name cannot be empty");

    BSTR empty = SysAllocString(L"");
    EXPECT_EQ(ident->put_ComponentName(empty), tarnevo::ECapeUnknownHR);
    SysFreeString(empty);
}

TEST_F(CapeErrorObject, GettersRejectNullOutputs) {
    long* noCode = nullptr;
    EXPECT_EQ(user->get_code(noCode), E_POINTER);
    EXPECT_EQ(user->get_description(nullptr), E_POINTER);
    EXPECT_EQ(user->get_scope(nullptr), E_POINTER);
    EXPECT_EQ(user->get_interfaceName(nullptr), E_POINTER);
    EXPECT_EQ(user->get_operation(nullptr), E_POINTER);
    EXPECT_EQ(user->get_moreInfo(nullptr), E_POINTER);
    EXPECT_EQ(root->get_name(nullptr), E_POINTER);
    ComPtr<ECapeBadInvOrder> order;
    ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&order)), S_OK);
    EXPECT_EQ(order->get_requestedOperation(nullptr), E_POINTER);
    EXPECT_EQ(ident->get_ComponentName(nullptr), E_POINTER);
    EXPECT_EQ(ident->get_ComponentDescription(nullptr), E_POINTER);
    EXPECT_EQ(utilities->get_parameters(nullptr), E_POINTER);
}

TEST_F(CapeErrorObject, IdentificationDefaultsAndRules) {
    EXPECT_EQ(Read(ident.Get(), &ICapeIdentification::get_ComponentName), L"Test Object");
    EXPECT_EQ(Read(ident.Get(), &ICapeIdentification::get_ComponentDescription), L"Test description");
    EXPECT_EQ(g_storeCalls, 0) << "reading needs no initialisation";

    BSTR name = SysAllocString(L"Renamed");
    EXPECT_EQ(ident->put_ComponentName(name), S_OK);
    SysFreeString(name);
    EXPECT_EQ(g_storeCalls, 1) << "a put initialises on demand";
    EXPECT_EQ(Read(ident.Get(), &ICapeIdentification::get_ComponentName), L"Renamed");

    EXPECT_EQ(ident->put_ComponentDescription(nullptr), S_OK);
    EXPECT_EQ(Read(ident.Get(), &ICapeIdentification::get_ComponentDescription), L"");
    EXPECT_EQ(g_storeCalls, 1);
}

TEST_F(CapeErrorObject, ParametersAreNotImplemented) {
    IDispatch* parameters = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(utilities->get_parameters(&parameters), tarnevo::ECapeNoImplHR);
    EXPECT_EQ(parameters, nullptr);
    ExpectError(L"No parameters are exported", L"get_parameters", L"ICapeUtilities");
    EXPECT_EQ(utilities->Edit(), tarnevo::ECapeNoImplHR);
    ExpectError(L"No GUI implemented for this object", L"Edit", L"ICapeUtilities");
}

TEST_F(CapeErrorObject, FailedInitialisationIsReportedByEveryGuardedCallWithoutRetrying) {
    g_storeFailure = L"The package store is broken";
    IDispatch* parameters = nullptr;
    EXPECT_EQ(utilities->get_parameters(&parameters), tarnevo::ECapeFailedInitialisationHR);
    ExpectError(L"The package store is broken", L"get_parameters", L"ICapeUtilities");
    BSTR name = SysAllocString(L"x");
    EXPECT_EQ(ident->put_ComponentName(name), tarnevo::ECapeFailedInitialisationHR);
    ExpectError(L"The package store is broken", L"put_ComponentName", L"ICapeIdentification");
    EXPECT_EQ(utilities->Terminate(), tarnevo::ECapeFailedInitialisationHR);
    EXPECT_EQ(g_storeCalls, 1) << "one failed initialisation is not retried by guarded calls";

    // An explicit Initialize retries; once it succeeds, guarded calls work again.
    EXPECT_EQ(utilities->Initialize(), tarnevo::ECapeFailedInitialisationHR);
    ExpectError(L"The package store is broken", L"Initialize", L"ICapeUtilities");
    g_storeFailure.clear();
    EXPECT_EQ(utilities->Initialize(), S_OK);
    EXPECT_EQ(ident->put_ComponentName(name), S_OK);
    EXPECT_EQ(g_storeCalls, 3);
    SysFreeString(name);
}

TEST_F(CapeErrorObject, InitialisationFailureWithoutMessageIsUnknown) {
    g_storeFailure = L"<empty>";
    IDispatch* parameters = nullptr;
    EXPECT_EQ(utilities->get_parameters(&parameters), tarnevo::ECapeFailedInitialisationHR);
    ExpectError(L"Unknown initialization error", L"get_parameters", L"ICapeUtilities");
}

TEST_F(CapeErrorObject, SimulationContextIsHeldAndTheHookCalled) {
    auto context = tarnevo_test::FakeCapeErrorSource::Create();
    ComPtr<IDispatch> contextDispatch;
    ASSERT_EQ(context->QueryInterface(IID_PPV_ARGS(&contextDispatch)), S_OK);
    const ULONG before = context->References();
    EXPECT_EQ(utilities->put_simulationContext(contextDispatch.Get()), S_OK);
    EXPECT_EQ(context->References(), before + 1);
    EXPECT_EQ(object->contextChanges, 1);
    EXPECT_EQ(utilities->put_simulationContext(nullptr), S_OK);
    EXPECT_EQ(context->References(), before);
    EXPECT_EQ(object->contextChanges, 2);
    EXPECT_EQ(g_storeCalls, 0) << "setting the context needs no initialisation";
}

TEST_F(CapeErrorObject, TerminateReleasesTheContextAndNeedsANewInitialisation) {
    auto context = tarnevo_test::FakeCapeErrorSource::Create();
    ComPtr<IDispatch> contextDispatch;
    ASSERT_EQ(context->QueryInterface(IID_PPV_ARGS(&contextDispatch)), S_OK);
    const ULONG before = context->References();
    ASSERT_EQ(utilities->Initialize(), S_OK);
    ASSERT_EQ(utilities->Initialize(), S_OK);
    EXPECT_EQ(g_storeCalls, 1) << "an initialised object is not initialised again";
    ASSERT_EQ(utilities->put_simulationContext(contextDispatch.Get()), S_OK);
    EXPECT_EQ(utilities->Terminate(), S_OK);
    EXPECT_EQ(context->References(), before);
    BSTR name = SysAllocString(L"again");
    EXPECT_EQ(ident->put_ComponentName(name), S_OK);
    SysFreeString(name);
    EXPECT_EQ(g_storeCalls, 2);
}

TEST_F(CapeErrorObject, ErrorIdiomTurnsEveryExceptionIntoARecordedFailure) {
    struct Case {
        int kind;
        HRESULT hr;
        const wchar_t* message;
    } cases[] = {{0, tarnevo::ECapeUnknownHR, L"plain failure"},
                 {1, tarnevo::ECapeNoImplHR, L"not here"},
                 {2, E_OUTOFMEMORY, L"Out of memory"},
                 {3, tarnevo::ECapeUnknownHR, L"Internal error: boom"},
                 {4, tarnevo::ECapeUnknownHR, L"Unexpected internal error"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(object->Run(c.kind), c.hr);
        ExpectError(c.message, L"Run", L"ITest");
        // COM error info, for hosts that read it (#import, VBA, scripts).
        ComPtr<IErrorInfo> info;
        _bstr_t description, source;
        ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
        info->GetDescription(description.GetAddress());
        info->GetSource(source.GetAddress());
        EXPECT_EQ(std::wstring(description) + L" | " + std::wstring(source), std::wstring(c.message) + L" | ITest");
        long code = 0;
        user->get_code(&code);
        EXPECT_EQ(code, c.hr);
    }
    EXPECT_EQ(object->Run(9), S_OK);
    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(object->QueryInterface(IID_PPV_ARGS(&support)), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(__uuidof(ICapeUtilities)), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(__uuidof(ICapeThermoCompounds)), S_FALSE);
}

}  // namespace
