// Common base of the CAPE-OPEN COM classes: the twelve ECape* error interfaces answered
// by the object itself, ICapeIdentification, the common ICapeUtilities, the error state,
// the initialisation guard and the one error idiom every interface method uses:
//
//   STDMETHODIMP CThing::GetNumCompounds(long* num) {
//       return GuardedInitialised(L"GetNumCompounds", L"ICapeThermoCompounds", [&] {
//           CheckOutPointer(num);
//           *num = ...;             // internal code throws tarnevo::CapeFailure on failure
//           return S_OK;
//       });
//   }
//
// Guarded() catches everything (CapeFailure, std::bad_alloc, anything else), records it with
// SetCapeError and returns its HRESULT; GuardedInitialised() runs CheckInitialised first.
// SetCapeError also hands the failure to COM's error info (description, source = interface
// name), which ISupportErrorInfo announces for every interface of the object.
// Derived classes list TARNEVO_CAPE_OPEN_BASE_INTERFACES() in their interface map.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "TARNEVO.h"
#include "capeobject/CapeFailure.h"
#include "com/ComObject.h"

namespace tarnevo {

// The base's interfaces in interface-map order: the twelve error interfaces, then
// ICapeIdentification, ICapeUtilities and ISupportErrorInfo.
#define TARNEVO_CAPE_OPEN_ERROR_INTERFACES()         \
    TARNEVO_INTERFACE(ECapeBadInvOrder)              \
    TARNEVO_INTERFACE(ECapeComputation)              \
    TARNEVO_INTERFACE(ECapeFailedInitialisation)     \
    TARNEVO_INTERFACE(ECapeImplementation)           \
    TARNEVO_INTERFACE(ECapeInvalidOperation)         \
    TARNEVO_INTERFACE(ECapeLimitedImpl)              \
    TARNEVO_INTERFACE(ECapeNoImpl)                   \
    TARNEVO_INTERFACE(ECapeRoot)                     \
    TARNEVO_INTERFACE(ECapeSolvingError)             \
    TARNEVO_INTERFACE(ECapeThrmPropertyNotAvailable) \
    TARNEVO_INTERFACE(ECapeUnknown)                  \
    TARNEVO_INTERFACE(ECapeUser)
#define TARNEVO_CAPE_OPEN_BASE_INTERFACES() \
    TARNEVO_CAPE_OPEN_ERROR_INTERFACES()    \
    TARNEVO_INTERFACE(ICapeIdentification)  \
    TARNEVO_INTERFACE(ICapeUtilities)       \
    TARNEVO_INTERFACE(ISupportErrorInfo)

// Throws CapeFailure(E_POINTER) for a null output pointer.
template <class T>
void CheckOutPointer(T* pointer) {
    if (!pointer) throw CapeFailure(L"Invalid output pointer", E_POINTER);
}

// A wide string of a possibly null BSTR (null counts as empty).
inline std::wstring BstrToString(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

// False for a BSTR with a zero before its end: such a name is no known name.
inline bool IsPlainBstr(BSTR text) { return !text || wcslen(text) == SysStringLen(text); }

// A new BSTR copy of `text`; throws std::bad_alloc when it cannot be allocated.
BSTR AllocateBstr(const std::wstring& text);

class CCapeOpenBaseObject : public DispatchImpl<ECapeBadInvOrder>,
                            public DispatchImpl<ECapeComputation>,
                            public DispatchImpl<ECapeFailedInitialisation>,
                            public DispatchImpl<ECapeImplementation>,
                            public DispatchImpl<ECapeInvalidOperation>,
                            public DispatchImpl<ECapeLimitedImpl>,
                            public DispatchImpl<ECapeNoImpl>,
                            public DispatchImpl<ECapeRoot>,
                            public DispatchImpl<ECapeSolvingError>,
                            public DispatchImpl<ECapeThrmPropertyNotAvailable>,
                            public DispatchImpl<ECapeUnknown>,
                            public DispatchImpl<ECapeUser>,
                            public DispatchImpl<ICapeIdentification>,
                            public DispatchImpl<ICapeUtilities>,
                            public ISupportErrorInfo {
public:
    virtual ~CCapeOpenBaseObject();

    // ECapeBadInvOrder
    STDMETHODIMP get_requestedOperation(BSTR* requestedOperation) override;
    // ECapeRoot
    STDMETHODIMP get_name(BSTR* name) override;
    // ECapeUser
    STDMETHODIMP get_code(long* code) override;
    STDMETHODIMP get_description(BSTR* description) override;
    STDMETHODIMP get_scope(BSTR* scope) override;
    STDMETHODIMP get_interfaceName(BSTR* interfaceName) override;
    STDMETHODIMP get_operation(BSTR* operation) override;
    STDMETHODIMP get_moreInfo(BSTR* moreInfo) override;
    // ICapeIdentification
    STDMETHODIMP get_ComponentName(BSTR* name) override;
    STDMETHODIMP put_ComponentName(BSTR name) override;
    STDMETHODIMP get_ComponentDescription(BSTR* description) override;
    STDMETHODIMP put_ComponentDescription(BSTR description) override;
    // ICapeUtilities (Initialize, Terminate and Edit are the common versions; classes extend them)
    STDMETHODIMP get_parameters(IDispatch** parameters) override;
    STDMETHODIMP put_simulationContext(IDispatch* context) override;
    STDMETHODIMP Initialize() override;
    STDMETHODIMP Terminate() override;
    STDMETHODIMP Edit() override;
    // ISupportErrorInfo: every interface the object answers.
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;

protected:
    CCapeOpenBaseObject(std::wstring componentName, std::wstring componentDescription);

    // Called after the simulation context was replaced; does nothing here.
    virtual void OnSimulationContextChanged() {}

    // Records a failure: description, scope and interface name replaced as a whole; `code`
    // is what ECapeUser.code reports. The thread's COM error info gets the description.
    void SetCapeError(const std::wstring& message, const wchar_t* scope, const wchar_t* interfaceName,
                      HRESULT code = ECapeUnknownHR) noexcept;

    // The initialisation guard: true when it failed (the error is recorded; return
    // ECapeFailedInitialisationHR). Initialises on demand once; a stored initialisation
    // error is reported without retrying.
    bool CheckInitialised(const wchar_t* scope, const wchar_t* interfaceName) noexcept;

    // Runs `body` (returning HRESULT); anything it throws is recorded and turned into an HRESULT.
    template <class Body>
    HRESULT Guarded(const wchar_t* scope, const wchar_t* interfaceName, Body&& body) noexcept {
        try {
            return body();
        } catch (...) {
            return RecordCurrentException(scope, interfaceName);
        }
    }

    // CheckInitialised, then Guarded.
    template <class Body>
    HRESULT GuardedInitialised(const wchar_t* scope, const wchar_t* interfaceName, Body&& body) noexcept {
        if (CheckInitialised(scope, interfaceName)) return ECapeFailedInitialisationHR;
        return Guarded(scope, interfaceName, std::forward<Body>(body));
    }

    // Records the exception being handled; returns its HRESULT. Call only inside a catch block.
    HRESULT RecordCurrentException(const wchar_t* scope, const wchar_t* interfaceName) noexcept;

    // Common part of Initialize: S_OK when initialised; otherwise the package store
    // (InitializeFolders); a failure is stored as the initialisation error and recorded.
    HRESULT InitializeCommon() noexcept;
    // Common Terminate: guard, then clear the initialised flag and release the context.
    HRESULT TerminateCommon() noexcept;

    bool IsInitialised() const noexcept { return initialised_; }
    void SetInitialised(bool initialised) noexcept { initialised_ = initialised; }
    const std::wstring& InitialisationError() const noexcept { return initialisationError_; }
    void SetInitialisationError(const std::wstring& message) noexcept;
    IDispatch* SimulationContext() const noexcept { return simulationContext_.Get(); }
    const std::wstring& ComponentNameText() const noexcept { return componentName_; }
    void SetComponentNameText(const std::wstring& name) { componentName_ = name; }

private:
    std::wstring componentName_;
    std::wstring componentDescription_;
    Microsoft::WRL::ComPtr<IDispatch> simulationContext_;
    bool initialised_ = false;
    std::wstring initialisationError_;
    // Error state of the last recorded failure.
    std::wstring description_;
    std::wstring scope_;
    std::wstring interfaceName_;
    HRESULT code_ = S_OK;
};

}  // namespace tarnevo
