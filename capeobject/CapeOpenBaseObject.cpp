#include "capeobject/CapeOpenBaseObject.h"

#include <exception>
#include <new>
#include <utility>

#include "capeobject/StoreInitializer.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kUtilities[] = L"ICapeUtilities";
constexpr const wchar_t kIdentification[] = L"ICapeIdentification";

// Copies `text` into a new BSTR at `out`; E_POINTER / E_OUTOFMEMORY without throwing.
HRESULT ReturnText(const std::wstring& text, BSTR* out) noexcept {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

std::wstring Widen(const char* text) {
    std::wstring wide;
    for (; text && *text; ++text) wide.push_back(static_cast<unsigned char>(*text));
    return wide;
}

// The thread's COM error info: `description` from `source`. Nothing when it cannot be made.
void SetComErrorInfo(const std::wstring& description, const wchar_t* source) noexcept {
    Microsoft::WRL::ComPtr<ICreateErrorInfo> created;
    Microsoft::WRL::ComPtr<IErrorInfo> info;
    if (FAILED(CreateErrorInfo(&created)) || FAILED(created.As(&info))) return;
    created->SetDescription(const_cast<LPOLESTR>(description.c_str()));
    created->SetSource(const_cast<LPOLESTR>(source ? source : L""));
    SetErrorInfo(0, info.Get());
}

}  // namespace

BSTR AllocateBstr(const std::wstring& text) {
    BSTR result = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!result) throw std::bad_alloc();
    return result;
}

CCapeOpenBaseObject::CCapeOpenBaseObject(std::wstring componentName, std::wstring componentDescription)
    : componentName_(std::move(componentName)), componentDescription_(std::move(componentDescription)) {}

CCapeOpenBaseObject::~CCapeOpenBaseObject() = default;

void CCapeOpenBaseObject::SetCapeError(const std::wstring& message, const wchar_t* scope,
                                       const wchar_t* interfaceName, HRESULT code) noexcept {
    code_ = code;
    try {
        description_ = message;
        scope_ = scope ? scope : L"";
        interfaceName_ = interfaceName ? interfaceName : L"";
    } catch (...) {
        // No memory for the texts: keep a consistent, empty state rather than a mix.
        description_.clear();
        scope_.clear();
        interfaceName_.clear();
    }
    SetComErrorInfo(description_, interfaceName);
}

void CCapeOpenBaseObject::SetInitialisationError(const std::wstring& message) noexcept {
    try {
        initialisationError_ = message;
    } catch (...) {
        initialisationError_.clear();
    }
}

HRESULT CCapeOpenBaseObject::RecordCurrentException(const wchar_t* scope, const wchar_t* interfaceName) noexcept {
    try {
        throw;
    } catch (const CapeFailure& failure) {
        SetCapeError(failure.message(), scope, interfaceName, failure.hr());
        return failure.hr();
    } catch (const std::bad_alloc&) {
        SetCapeError(L"Out of memory", scope, interfaceName, E_OUTOFMEMORY);
        return E_OUTOFMEMORY;
    } catch (const std::exception& exception) {
        std::wstring message;
        try {
            message = L"Internal error: " + Widen(exception.what());
        } catch (...) {
        }
        SetCapeError(message, scope, interfaceName, ECapeUnknownHR);
        return ECapeUnknownHR;
    } catch (...) {
        SetCapeError(L"Unexpected internal error", scope, interfaceName, ECapeUnknownHR);
        return ECapeUnknownHR;
    }
}

bool CCapeOpenBaseObject::CheckInitialised(const wchar_t* scope, const wchar_t* interfaceName) noexcept {
    if (initialised_) return false;
    if (initialisationError_.empty()) {
        if (SUCCEEDED(Initialize()) && initialised_) return false;
        if (initialisationError_.empty()) SetInitialisationError(L"Unknown initialization error");
    }
    SetCapeError(initialisationError_, scope, interfaceName, ECapeFailedInitialisationHR);
    return true;
}

HRESULT CCapeOpenBaseObject::InitializeCommon() noexcept {
    if (initialised_) return S_OK;
    std::wstring message;
    if (!RunStoreInitializer(message)) {
        SetInitialisationError(message.empty() ? std::wstring(L"Unknown initialization error") : message);
        SetCapeError(initialisationError_, L"Initialize", kUtilities, ECapeFailedInitialisationHR);
        return ECapeFailedInitialisationHR;
    }
    initialisationError_.clear();
    initialised_ = true;
    return S_OK;
}

HRESULT CCapeOpenBaseObject::TerminateCommon() noexcept {
    if (CheckInitialised(L"Terminate", kUtilities)) return ECapeFailedInitialisationHR;
    initialised_ = false;
    simulationContext_.Reset();
    return S_OK;
}

// --- error interfaces ---------------------------------------------------------------------

STDMETHODIMP CCapeOpenBaseObject::get_requestedOperation(BSTR* requestedOperation) {
    return ReturnText(L"N/A", requestedOperation);
}
STDMETHODIMP CCapeOpenBaseObject::get_name(BSTR* name) { return ReturnText(description_, name); }
STDMETHODIMP CCapeOpenBaseObject::get_code(long* code) {
    if (!code) return E_POINTER;
    *code = code_;
    return S_OK;
}
STDMETHODIMP CCapeOpenBaseObject::get_description(BSTR* description) { return ReturnText(description_, description); }
STDMETHODIMP CCapeOpenBaseObject::get_scope(BSTR* scope) { return ReturnText(scope_, scope); }
STDMETHODIMP CCapeOpenBaseObject::get_interfaceName(BSTR* interfaceName) {
    return ReturnText(interfaceName_, interfaceName);
}
STDMETHODIMP CCapeOpenBaseObject::get_operation(BSTR* operation) { return ReturnText(L"N/A", operation); }
STDMETHODIMP CCapeOpenBaseObject::get_moreInfo(BSTR* moreInfo) {
    return ReturnText(L"More information is not available", moreInfo);
}

STDMETHODIMP CCapeOpenBaseObject::InterfaceSupportsErrorInfo(REFIID riid) {
    Microsoft::WRL::ComPtr<IUnknown> offered;
    ISupportErrorInfo* self = this;
    if (riid == IID_IUnknown || FAILED(self->QueryInterface(riid, reinterpret_cast<void**>(offered.GetAddressOf()))))
        return S_FALSE;
    return S_OK;
}

// --- ICapeIdentification ------------------------------------------------------------------

STDMETHODIMP CCapeOpenBaseObject::get_ComponentName(BSTR* name) { return ReturnText(componentName_, name); }

STDMETHODIMP CCapeOpenBaseObject::put_ComponentName(BSTR name) {
    return GuardedInitialised(L"put_ComponentName", kIdentification, [&] {
        if (!name || SysStringLen(name) == 0) throw CapeFailure(L"Name cannot be empty");
        componentName_ = BstrToString(name);
        return S_OK;
    });
}

STDMETHODIMP CCapeOpenBaseObject::get_ComponentDescription(BSTR* description) {
    return ReturnText(componentDescription_, description);
}

STDMETHODIMP CCapeOpenBaseObject::put_ComponentDescription(BSTR description) {
    return GuardedInitialised(L"put_ComponentDescription", kIdentification, [&] {
        componentDescription_ = BstrToString(description);
        return S_OK;
    });
}

// --- ICapeUtilities -----------------------------------------------------------------------

STDMETHODIMP CCapeOpenBaseObject::get_parameters(IDispatch** parameters) {
    return GuardedInitialised(L"get_parameters", kUtilities, [&]() -> HRESULT {
        CheckOutPointer(parameters);
        *parameters = nullptr;
        throw CapeFailure(L"No parameters are exported", ECapeNoImplHR);
    });
}

STDMETHODIMP CCapeOpenBaseObject::put_simulationContext(IDispatch* context) {
    simulationContext_ = context;
    return Guarded(L"put_simulationContext", kUtilities, [&] {
        OnSimulationContextChanged();
        return S_OK;
    });
}

STDMETHODIMP CCapeOpenBaseObject::Initialize() { return InitializeCommon(); }

STDMETHODIMP CCapeOpenBaseObject::Terminate() { return TerminateCommon(); }

STDMETHODIMP CCapeOpenBaseObject::Edit() {
    SetCapeError(L"No GUI implemented for this object", L"Edit", kUtilities, ECapeNoImplHR);
    return ECapeNoImplHR;
}

}  // namespace tarnevo
