// The host's CAPE-OPEN 1.0 material as the 1.0 package uses it: component identifiers,
// GetProp reads and SetProp writes, every failure a CapeFailure with the caller's text
// followed by the material's error text. Every call names all compounds of the material
// (an empty compound-identifier argument).
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TARNEVO.h"
#include "automation/VariantArray.h"
#include "package/names/NameMap.h"

namespace tarnevo {

// The two messages of a scalar read: a refused call (followed by the material's error
// text) and an invalid value (followed by the validation message, or "scalar expected").
struct ScalarMessages {
    const wchar_t* failed;
    const wchar_t* invalid;
};

class MaterialObject10 {
public:
    // Queries `object` for ICapeThermoMaterialObject; throws `failurePrefix` + the system
    // text of the failure (a null object fails as E_POINTER).
    MaterialObject10(IDispatch* object, const wchar_t* failurePrefix);

    ICapeThermoMaterialObject* Get() const noexcept { return material_.Get(); }

    // get_ComponentIds into `ids`; a refusal throws `failurePrefix` + the error text.
    void ComponentIds(VariantArray& ids, const wchar_t* failurePrefix) const;
    // GetProp into `values`; the material's HRESULT.
    HRESULT GetProp(BSTR property, BSTR phase, BSTR calcType, BSTR basis, VariantArray& values) const;
    // GetProp of one double.
    double GetScalar(BSTR property, BSTR phase, BSTR calcType, BSTR basis, const ScalarMessages& messages) const;
    // SetProp; the material's HRESULT.
    HRESULT TrySetProp(BSTR property, BSTR phase, BSTR calcType, BSTR basis, const VARIANT& values) const;
    // SetProp; a refusal throws `failurePrefix` + the error text.
    void SetProp(BSTR property, BSTR phase, BSTR calcType, BSTR basis, const VARIANT& values,
                 const std::wstring& failurePrefix) const;
    // The material's error text of a refused call.
    std::wstring ErrorText(HRESULT hr) const;

private:
    Microsoft::WRL::ComPtr<ICapeThermoMaterialObject> material_;
};

// The package indices of the material's compounds (material order; an empty list means all
// compounds of the package). Throws `readFailure` + the error text when the identifiers
// cannot be read, and `resolveFailure` + the resolver's text when they do not resolve.
std::vector<std::int32_t> ResolveMaterialObjectCompounds(const MaterialObject10& material, const NameMap& compoundNames,
                                                         std::size_t compoundCount, const wchar_t* readFailure,
                                                         const wchar_t* resolveFailure);

// `values` of the material's compounds (material order, `map` giving package positions)
// taken from a package-order array, as a double array in `result`.
const VARIANT& MaterialOrder(const std::vector<double>& values, const std::vector<std::int32_t>& map,
                             VariantArray& result);

}  // namespace tarnevo
