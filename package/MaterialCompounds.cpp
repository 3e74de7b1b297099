// The material compound mapping: the package index of each compound of the current material.
#include "package/PropertyPackage.h"

#include <comdef.h>

#include "capeobject/ErrorTexts.h"
#include "package/CompoundListResolver.h"

namespace tarnevo {

bool CPropertyPackage::ResolveMaterialCompounds(std::wstring& error) {
    if (!materialCompoundMap.empty()) return true;
    if (!currentMaterial) {
        error = L"Material has not been set";
        return false;
    }
    Microsoft::WRL::ComPtr<ICapeThermoCompounds> materialCompounds;
    HRESULT hr = currentMaterial.As(&materialCompounds);
    if (FAILED(hr) || !materialCompounds) {
        error = L"Failed to get ICapeThermoCompounds from current material object: " +
                GetSystemErrorText(static_cast<DWORD>(FAILED(hr) ? hr : E_NOINTERFACE));
        return false;
    }

    _variant_t ids, formulae, names, boilingPoints, weights, casNumbers;
    // A material that answers with this package's own compounds is asked directly.
    const bool own = materialCompounds.Get() == static_cast<ICapeThermoCompounds*>(this);
    if (own)
        hr = CPropertyPackage::GetCompoundList(&ids, &formulae, &names, &boilingPoints, &weights, &casNumbers);
    else
        hr = materialCompounds->GetCompoundList(&ids, &formulae, &names, &boilingPoints, &weights, &casNumbers);
    if (FAILED(hr)) {
        error = L"GetCompoundList failed to current material object: " +
                GetCapeErrorText(materialCompounds.Get(), hr);
        return false;
    }
    materialCompounds.Reset();

    std::wstring reason;
    if (!ResolveCompoundList(ids, compoundNameMap, static_cast<std::int32_t>(compounds.size()), false,
                             materialCompoundMap, reason)) {
        materialCompoundMap.clear();
        error = L"Invalid list of compounds from current material object: " + reason;
        return false;
    }
    return true;
}

}  // namespace tarnevo
