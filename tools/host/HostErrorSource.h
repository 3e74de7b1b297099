// ECapeUser and ECapeRoot for a host object: the details of its last failure, read by the
// package through GetCapeErrorText. A host class derives from it, lists
// TARNEVO_HOST_ERROR_INTERFACES() in its interface map and calls Fail() when a call fails.
#pragma once

#include <windows.h>

#include <string>

#include "TARNEVO.h"
#include "com/ComObject.h"

namespace tarnevo::host {

// What a host method throws to fail with `hr` and an ECapeUser description.
struct HostFailure {
    HRESULT hr;
    std::wstring description;
};

#define TARNEVO_HOST_ERROR_INTERFACES() \
    TARNEVO_INTERFACE(ECapeUser)        \
    TARNEVO_INTERFACE(ECapeRoot)

class CHostErrorSource : public DispatchImpl<ECapeUser>, public DispatchImpl<ECapeRoot> {
public:
    // ECapeRoot: the description, as CAPE-OPEN samples report it.
    STDMETHODIMP get_name(BSTR* name) override;
    // ECapeUser
    STDMETHODIMP get_code(long* code) override;
    STDMETHODIMP get_description(BSTR* description) override;
    STDMETHODIMP get_scope(BSTR* scope) override;
    STDMETHODIMP get_interfaceName(BSTR* interfaceName) override;
    STDMETHODIMP get_operation(BSTR* operation) override;
    STDMETHODIMP get_moreInfo(BSTR* moreInfo) override;

    const std::wstring& ErrorDescription() const noexcept { return description_; }
    const std::wstring& ErrorScope() const noexcept { return scope_; }
    const std::wstring& ErrorInterfaceName() const noexcept { return interfaceName_; }
    HRESULT ErrorCode() const noexcept { return code_; }

protected:
    CHostErrorSource() = default;
    ~CHostErrorSource() = default;

    // Records the failure and returns `hr`.
    HRESULT Fail(HRESULT hr, const std::wstring& description, const wchar_t* scope,
                 const wchar_t* interfaceName) noexcept;
    // Records the exception being handled (HostFailure, ValueError as ECapeInvalidArgumentHR,
    // bad_alloc, anything else) and returns its HRESULT. Call only inside a catch block.
    HRESULT RecordCurrentException(const wchar_t* scope, const wchar_t* interfaceName) noexcept;

private:
    std::wstring description_;
    std::wstring scope_;
    std::wstring interfaceName_;
    HRESULT code_ = S_OK;
};

}  // namespace tarnevo::host
