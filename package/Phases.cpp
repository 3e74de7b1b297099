// ICapeThermoPhases of CPropertyPackage.
#include "package/PropertyPackage.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kInterface[] = L"ICapeThermoPhases";

}  // namespace

STDMETHODIMP CPropertyPackage::GetNumPhases(long*) {
    return GuardedInitialised(L"GetNumPhases", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetNumPhases"); });
}

STDMETHODIMP CPropertyPackage::GetPhaseInfo(BSTR, BSTR, VARIANT*) {
    return GuardedInitialised(L"GetPhaseInfo", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetPhaseInfo"); });
}

STDMETHODIMP CPropertyPackage::GetPhaseList(VARIANT*, VARIANT*, VARIANT*) {
    return GuardedInitialised(L"GetPhaseList", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetPhaseList"); });
}

}  // namespace tarnevo
