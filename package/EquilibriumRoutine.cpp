// ICapeThermoEquilibriumRoutine of CPropertyPackage.
#include "package/PropertyPackage.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kInterface[] = L"ICapeThermoEquilibriumRoutine";

}  // namespace

STDMETHODIMP CPropertyPackage::CalcEquilibrium(VARIANT, VARIANT, BSTR) {
    return GuardedInitialised(L"CalcEquilibrium", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"CalcEquilibrium"); });
}

STDMETHODIMP CPropertyPackage::CheckEquilibriumSpec(VARIANT, VARIANT, BSTR, VARIANT_BOOL*) {
    return GuardedInitialised(L"CheckEquilibriumSpec", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"CheckEquilibriumSpec"); });
}

}  // namespace tarnevo
