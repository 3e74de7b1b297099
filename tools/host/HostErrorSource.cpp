#include "tools/host/HostErrorSource.h"

#include <new>

#include "com/CapeHResults.h"
#include "tools/host/VariantValues.h"

namespace tarnevo::host {
namespace {

HRESULT ReturnText(const std::wstring& text, BSTR* out) noexcept {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

HRESULT CHostErrorSource::Fail(HRESULT hr, const std::wstring& description, const wchar_t* scope,
                               const wchar_t* interfaceName) noexcept {
    code_ = hr;
    try {
        description_ = description;
        scope_ = scope ? scope : L"";
        interfaceName_ = interfaceName ? interfaceName : L"";
    } catch (...) {
        description_.clear();
        scope_.clear();
        interfaceName_.clear();
    }
    return hr;
}

HRESULT CHostErrorSource::RecordCurrentException(const wchar_t* scope, const wchar_t* interfaceName) noexcept {
    try {
        throw;
    } catch (const HostFailure& failure) {
        return Fail(failure.hr, failure.description, scope, interfaceName);
    } catch (const ValueError& error) {
        return Fail(ECapeInvalidArgumentHR, error.message(), scope, interfaceName);
    } catch (const std::bad_alloc&) {
        return Fail(E_OUTOFMEMORY, L"Out of memory", scope, interfaceName);
    } catch (...) {
        return Fail(E_UNEXPECTED, L"Internal error of the host", scope, interfaceName);
    }
}

STDMETHODIMP CHostErrorSource::get_name(BSTR* name) { return ReturnText(description_, name); }

STDMETHODIMP CHostErrorSource::get_code(long* code) {
    if (!code) return E_POINTER;
    *code = static_cast<long>(code_);
    return S_OK;
}

STDMETHODIMP CHostErrorSource::get_description(BSTR* description) { return ReturnText(description_, description); }
STDMETHODIMP CHostErrorSource::get_scope(BSTR* scope) { return ReturnText(scope_, scope); }
STDMETHODIMP CHostErrorSource::get_interfaceName(BSTR* name) { return ReturnText(interfaceName_, name); }
STDMETHODIMP CHostErrorSource::get_operation(BSTR* operation) { return ReturnText(L"N/A", operation); }
STDMETHODIMP CHostErrorSource::get_moreInfo(BSTR* moreInfo) { return ReturnText(L"", moreInfo); }

}  // namespace tarnevo::host
