// ICapeThermoUniversalConstant of CPropertyPackage.
#include "package/PropertyPackage.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kInterface[] = L"ICapeThermoUniversalConstant";

}  // namespace

STDMETHODIMP CPropertyPackage::GetUniversalConstant(BSTR, VARIANT*) {
    return GuardedInitialised(L"GetUniversalConstant", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetUniversalConstant"); });
}

STDMETHODIMP CPropertyPackage::GetUniversalConstantList(VARIANT*) {
    return GuardedInitialised(L"GetUniversalConstantList", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"GetUniversalConstantList"); });
}

}  // namespace tarnevo
