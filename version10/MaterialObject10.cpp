#include "version10/MaterialObject10.h"

#include "capeobject/CapeFailure.h"
#include "capeobject/ErrorTexts.h"
#include "package/CompoundListResolver.h"
#include "package/MaterialPhaseAccess.h"

namespace tarnevo {

MaterialObject10::MaterialObject10(IDispatch* object, const wchar_t* failurePrefix) {
    const HRESULT hr = object ? object->QueryInterface(IID_PPV_ARGS(&material_)) : E_POINTER;
    if (FAILED(hr)) throw CapeFailure(failurePrefix + GetSystemErrorText(static_cast<DWORD>(hr)));
    if (!material_) throw CapeFailure(failurePrefix + GetSystemErrorText(static_cast<DWORD>(E_NOINTERFACE)));
}

std::wstring MaterialObject10::ErrorText(HRESULT hr) const { return GetCapeErrorText(material_.Get(), hr); }

void MaterialObject10::ComponentIds(VariantArray& ids, const wchar_t* failurePrefix) const {
    const HRESULT hr = material_->get_ComponentIds(ids.ResetForOutput());
    if (FAILED(hr)) throw CapeFailure(failurePrefix + ErrorText(hr));
}

HRESULT MaterialObject10::GetProp(BSTR property, BSTR phase, BSTR calcType, BSTR basis, VariantArray& values) const {
    VARIANT allCompounds;
    VariantInit(&allCompounds);
    return material_->GetProp(property, phase, allCompounds, calcType, basis, values.ResetForOutput());
}

double MaterialObject10::GetScalar(BSTR property, BSTR phase, BSTR calcType, BSTR basis,
                                   const ScalarMessages& messages) const {
    VariantArray values;
    const HRESULT hr = GetProp(property, phase, calcType, basis, values);
    if (FAILED(hr)) throw CapeFailure(messages.failed + ErrorText(hr));
    std::wstring reason;
    if (!values.Validate(VT_R8, reason)) throw CapeFailure(messages.invalid + reason);
    if (values.Count() != 1) throw CapeFailure(std::wstring(messages.invalid) + L"scalar expected");
    return values.GetDouble(0);
}

HRESULT MaterialObject10::TrySetProp(BSTR property, BSTR phase, BSTR calcType, BSTR basis,
                                     const VARIANT& values) const {
    VARIANT allCompounds;
    VariantInit(&allCompounds);
    return material_->SetProp(property, phase, allCompounds, calcType, basis, values);
}

void MaterialObject10::SetProp(BSTR property, BSTR phase, BSTR calcType, BSTR basis, const VARIANT& values,
                               const std::wstring& failurePrefix) const {
    const HRESULT hr = TrySetProp(property, phase, calcType, basis, values);
    if (FAILED(hr)) throw CapeFailure(failurePrefix + ErrorText(hr));
}

std::vector<std::int32_t> ResolveMaterialObjectCompounds(const MaterialObject10& material, const NameMap& compoundNames,
                                                         std::size_t compoundCount, const wchar_t* readFailure,
                                                         const wchar_t* resolveFailure) {
    VariantArray ids;
    material.ComponentIds(ids, readFailure);
    std::vector<std::int32_t> map;
    std::wstring error;
    if (!ResolveCompoundList(ids.Value(), compoundNames, static_cast<std::int32_t>(compoundCount), true, map, error))
        throw CapeFailure(resolveFailure + error);
    return map;
}

const VARIANT& MaterialOrder(const std::vector<double>& values, const std::vector<std::int32_t>& map,
                             VariantArray& result) {
    {
        double* out = PrepareResult(result, map.size());
        const ArrayLock lock(result, std::adopt_lock);
        for (std::size_t i = 0; i < map.size(); ++i) out[i] = values[static_cast<std::size_t>(map[i])];
    }
    return result.Value();
}

}  // namespace tarnevo
