// ICapeThermoMaterialContext of CPropertyPackage.
#include "package/PropertyPackage.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kInterface[] = L"ICapeThermoMaterialContext";

}  // namespace

STDMETHODIMP CPropertyPackage::SetMaterial(IDispatch*) {
    return GuardedInitialised(L"SetMaterial", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"SetMaterial"); });
}

STDMETHODIMP CPropertyPackage::UnsetMaterial() {
    return GuardedInitialised(L"UnsetMaterial", kInterface,
                              []() -> HRESULT { ThrowNotImplementedYet(L"UnsetMaterial"); });
}

}  // namespace tarnevo
