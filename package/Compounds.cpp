// ICapeThermoCompounds of CPropertyPackage.
#include "package/PropertyPackage.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kInterface[] = L"ICapeThermoCompounds";

}  // namespace

STDMETHODIMP CPropertyPackage::GetCompoundConstant(VARIANT, VARIANT, VARIANT*) {
    return GuardedInitialised(L"GetCompoundConstant", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetCompoundConstant"); });
}

STDMETHODIMP CPropertyPackage::GetCompoundList(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
    return GuardedInitialised(L"GetCompoundList", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetCompoundList"); });
}

STDMETHODIMP CPropertyPackage::GetConstPropList(VARIANT*) {
    return GuardedInitialised(L"GetConstPropList", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetConstPropList"); });
}

STDMETHODIMP CPropertyPackage::GetNumCompounds(long*) {
    return GuardedInitialised(L"GetNumCompounds", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetNumCompounds"); });
}

STDMETHODIMP CPropertyPackage::GetPDependentProperty(VARIANT, double, VARIANT, VARIANT*) {
    return GuardedInitialised(L"GetPDependentProperty", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetPDependentProperty"); });
}

STDMETHODIMP CPropertyPackage::GetPDependentPropList(VARIANT*) {
    return GuardedInitialised(L"GetPDependentPropList", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetPDependentPropList"); });
}

STDMETHODIMP CPropertyPackage::GetTDependentProperty(VARIANT, double, VARIANT, VARIANT*) {
    return GuardedInitialised(L"GetTDependentProperty", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetTDependentProperty"); });
}

STDMETHODIMP CPropertyPackage::GetTDependentPropList(VARIANT*) {
    return GuardedInitialised(L"GetTDependentPropList", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetTDependentPropList"); });
}

}  // namespace tarnevo
