// ICapeThermoMaterialContext of CPropertyPackage.
#include "package/PropertyPackage.h"

#include "capeobject/ErrorTexts.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kInterface[] = L"ICapeThermoMaterialContext";

}  // namespace

STDMETHODIMP CPropertyPackage::SetMaterial(IDispatch* material) {
    return GuardedInitialised(L"SetMaterial", kInterface, [&]() -> HRESULT {
        materialCompoundMap.clear();
        currentMaterial.Reset();
        if (!material) return S_OK;
        Microsoft::WRL::ComPtr<ICapeThermoMaterial> thermoMaterial;
        const HRESULT hr = material->QueryInterface(IID_PPV_ARGS(&thermoMaterial));
        if (FAILED(hr) || !thermoMaterial)
            throw CapeFailure(L"Failed to get ICapeThermoMaterial interface: " +
                              GetSystemErrorText(static_cast<DWORD>(FAILED(hr) ? hr : E_NOINTERFACE)));
        currentMaterial = std::move(thermoMaterial);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::UnsetMaterial() {
    return GuardedInitialised(L"UnsetMaterial", kInterface, [&]() -> HRESULT {
        materialCompoundMap.clear();
        currentMaterial.Reset();
        return S_OK;
    });
}

}  // namespace tarnevo
