// ICapeThermoPropertyPackage of CPropertyPackage.
#include "package/PropertyPackage.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kInterface[] = L"ICapeThermoPropertyPackage";

}  // namespace

STDMETHODIMP CPropertyPackage::GetPhaseList(VARIANT*) {
    return GuardedInitialised(L"GetPhaseList", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetPhaseList"); });
}

STDMETHODIMP CPropertyPackage::GetComponentList(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
    return GuardedInitialised(L"GetComponentList", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetComponentList"); });
}

STDMETHODIMP CPropertyPackage::GetUniversalConstant(IDispatch*, VARIANT, VARIANT*) {
    return GuardedInitialised(L"GetUniversalConstant", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetUniversalConstant"); });
}

STDMETHODIMP CPropertyPackage::GetComponentConstant(IDispatch*, VARIANT, VARIANT*) {
    return GuardedInitialised(L"GetComponentConstant", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetComponentConstant"); });
}

STDMETHODIMP CPropertyPackage::CalcProp(IDispatch*, VARIANT, VARIANT, BSTR) {
    return GuardedInitialised(L"CalcProp", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"CalcProp"); });
}

STDMETHODIMP CPropertyPackage::CalcEquilibrium(IDispatch*, BSTR, VARIANT) {
    return GuardedInitialised(L"CalcEquilibrium", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"CalcEquilibrium"); });
}

STDMETHODIMP CPropertyPackage::PropCheck(IDispatch*, VARIANT, VARIANT*) {
    return GuardedInitialised(L"PropCheck", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"PropCheck"); });
}

STDMETHODIMP CPropertyPackage::ValidityCheck(IDispatch*, VARIANT, VARIANT*) {
    return GuardedInitialised(L"ValidityCheck", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"ValidityCheck"); });
}

STDMETHODIMP CPropertyPackage::GetPropList(VARIANT*) {
    return GuardedInitialised(L"GetPropList", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetPropList"); });
}

}  // namespace tarnevo
