// ICapeThermoCompounds of the host material: the compound list and its size. Constants and
// temperature- or pressure-dependent properties are the property package's business.
#include "tools/host/HostMaterial.h"

#include "tools/host/VariantValues.h"

namespace tarnevo::host {
namespace {

constexpr const wchar_t kCompounds[] = L"ICapeThermoCompounds";

void Return(VARIANT* out, _variant_t value) {
    if (!out) return;
    VariantClear(out);
    *out = value.Detach();
}

HRESULT NotImplemented(const wchar_t* method) {
    throw HostFailure{ECapeNoImplHR, std::wstring(method) + L" is not implemented by this material"};
}

}  // namespace

void CHostMaterial::SetCompoundIdsRaw(const VARIANT& ids) { rawCompoundIds_ = CopyIndirect(ids); }

STDMETHODIMP CHostMaterial::GetCompoundConstant(VARIANT, VARIANT, VARIANT*) {
    return Run(kCompounds, [] { return MaterialCall{L"GetCompoundConstant"}; },
               [](MaterialCall&) { return NotImplemented(L"GetCompoundConstant"); });
}

STDMETHODIMP CHostMaterial::GetCompoundList(VARIANT* compIds, VARIANT* formulae, VARIANT* names, VARIANT* boilTemps,
                                            VARIANT* molwts, VARIANT* casnos) {
    return Run(kCompounds, [] { return MaterialCall{L"GetCompoundList"}; }, [&](MaterialCall& call) {
        // An empty list goes back as UNDEFINED, like every empty array.
        auto strings = [](const std::vector<std::wstring>& v) { return v.empty() ? _variant_t() : StringArray(v); };
        auto doubles = [](const std::vector<double>& v) { return v.empty() ? _variant_t() : DoubleArray(v); };
        call.values = rawCompoundIds_ ? *rawCompoundIds_ : strings(compounds_);
        Return(compIds, call.values);
        Return(formulae, strings(compoundData_.formulae));
        Return(names, call.values);
        Return(boilTemps, doubles(compoundData_.boilingPoints));
        Return(molwts, doubles(compoundData_.molecularWeights));
        Return(casnos, strings(compoundData_.casNumbers));
        return S_OK;
    });
}

STDMETHODIMP CHostMaterial::GetConstPropList(VARIANT*) {
    return Run(kCompounds, [] { return MaterialCall{L"GetConstPropList"}; },
               [](MaterialCall&) { return NotImplemented(L"GetConstPropList"); });
}

STDMETHODIMP CHostMaterial::GetNumCompounds(long* num) {
    return Run(kCompounds, [] { return MaterialCall{L"GetNumCompounds"}; }, [&](MaterialCall&) {
        if (!num) throw HostFailure{E_POINTER, L"Invalid output pointer"};
        *num = static_cast<long>(compounds_.size());
        return S_OK;
    });
}

STDMETHODIMP CHostMaterial::GetPDependentProperty(VARIANT, double, VARIANT, VARIANT*) {
    return Run(kCompounds, [] { return MaterialCall{L"GetPDependentProperty"}; },
               [](MaterialCall&) { return NotImplemented(L"GetPDependentProperty"); });
}

STDMETHODIMP CHostMaterial::GetPDependentPropList(VARIANT*) {
    return Run(kCompounds, [] { return MaterialCall{L"GetPDependentPropList"}; },
               [](MaterialCall&) { return NotImplemented(L"GetPDependentPropList"); });
}

STDMETHODIMP CHostMaterial::GetTDependentProperty(VARIANT, double, VARIANT, VARIANT*) {
    return Run(kCompounds, [] { return MaterialCall{L"GetTDependentProperty"}; },
               [](MaterialCall&) { return NotImplemented(L"GetTDependentProperty"); });
}

STDMETHODIMP CHostMaterial::GetTDependentPropList(VARIANT*) {
    return Run(kCompounds, [] { return MaterialCall{L"GetTDependentPropList"}; },
               [](MaterialCall&) { return NotImplemented(L"GetTDependentPropList"); });
}

}  // namespace tarnevo::host
