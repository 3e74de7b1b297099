// ICapeThermoPropertyRoutine of CPropertyPackage.
#include "package/PropertyPackage.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kInterface[] = L"ICapeThermoPropertyRoutine";

}  // namespace

STDMETHODIMP CPropertyPackage::CalcAndGetLnPhi(BSTR, double, double, VARIANT, int, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
    return GuardedInitialised(L"CalcAndGetLnPhi", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"CalcAndGetLnPhi"); });
}

STDMETHODIMP CPropertyPackage::CalcSinglePhaseProp(VARIANT, BSTR) {
    return GuardedInitialised(L"CalcSinglePhaseProp", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"CalcSinglePhaseProp"); });
}

STDMETHODIMP CPropertyPackage::CalcTwoPhaseProp(VARIANT, VARIANT) {
    return GuardedInitialised(L"CalcTwoPhaseProp", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"CalcTwoPhaseProp"); });
}

STDMETHODIMP CPropertyPackage::CheckSinglePhasePropSpec(BSTR, BSTR, VARIANT_BOOL*) {
    return GuardedInitialised(L"CheckSinglePhasePropSpec", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"CheckSinglePhasePropSpec"); });
}

STDMETHODIMP CPropertyPackage::CheckTwoPhasePropSpec(BSTR, VARIANT, VARIANT_BOOL*) {
    return GuardedInitialised(L"CheckTwoPhasePropSpec", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"CheckTwoPhasePropSpec"); });
}

STDMETHODIMP CPropertyPackage::GetSinglePhasePropList(VARIANT*) {
    return GuardedInitialised(L"GetSinglePhasePropList", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetSinglePhasePropList"); });
}

STDMETHODIMP CPropertyPackage::GetTwoPhasePropList(VARIANT*) {
    return GuardedInitialised(L"GetTwoPhasePropList", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetTwoPhasePropList"); });
}

}  // namespace tarnevo
