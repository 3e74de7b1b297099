#include "tools/host/HostMaterial10.h"

#include "tools/host/HostMaterial.h"
#include "tools/host/VariantValues.h"

namespace tarnevo::host {
namespace {

constexpr const wchar_t kMaterial10[] = L"ICapeThermoMaterialObject";

std::wstring Text(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

std::optional<std::wstring> OptionalText(BSTR text) {
    if (!text) return std::nullopt;
    return Text(text);
}

void Return(VARIANT* out, const VARIANT& value) {
    if (!out) throw HostFailure{E_POINTER, L"Invalid output pointer"};
    _variant_t copy(value);
    VariantClear(out);
    *out = copy.Detach();
}

// "GetProp(property,phase[,calcType][,basis])" in the call record.
MaterialCall PropCall(const wchar_t* method, BSTR property, BSTR phase, BSTR calcType, BSTR basis) {
    MaterialCall call{method, Text(property), {Text(phase)}, OptionalText(basis)};
    if (calcType && SysStringLen(calcType)) call.phases.push_back(Text(calcType));
    return call;
}

}  // namespace

CHostMaterial10::Ptr CHostMaterial10::Create(std::vector<std::wstring> compounds) {
    return MakeComObject<CHostMaterial10>(std::move(compounds));
}

std::vector<std::wstring> CHostMaterial10::KeyParts(const std::wstring& phase, const std::wstring& calcType,
                                                    const std::vector<std::wstring>& compounds) {
    std::wstring joined;
    for (const std::wstring& id : compounds) joined += id + L',';
    return {phase, calcType, joined};
}

void CHostMaterial10::Put(const std::wstring& property, const std::wstring& phase, const std::vector<double>& values,
                          const std::wstring& basis, const std::wstring& calcType,
                          const std::vector<std::wstring>& compounds) {
    PutRaw(property, phase, DoubleArray(values), basis, calcType, compounds);
}

void CHostMaterial10::PutRaw(const std::wstring& property, const std::wstring& phase, const VARIANT& values,
                             const std::wstring& basis, const std::wstring& calcType,
                             const std::vector<std::wstring>& compounds) {
    store_.Put(PropertyScope::SinglePhase, property, KeyParts(phase, calcType, compounds), basis, values);
}

std::optional<std::vector<double>> CHostMaterial10::Get(const std::wstring& property, const std::wstring& phase,
                                                        const std::wstring& basis, const std::wstring& calcType,
                                                        const std::vector<std::wstring>& compounds) const {
    const StoredProperty* stored =
        store_.Find(PropertyScope::SinglePhase, property, KeyParts(phase, calcType, compounds), basis);
    if (!stored) return std::nullopt;
    try {
        return ReadDoubles(stored->values);
    } catch (const ValueError&) {
        return std::nullopt;
    }
}

HRESULT CHostMaterial10::NotImplemented(const wchar_t* method) noexcept {
    return Run(kMaterial10, [&] { return MaterialCall{method}; }, [&](MaterialCall&) -> HRESULT {
        throw HostFailure{ECapeNoImplHR, std::wstring(method) + L" is not implemented by this material"};
    });
}

STDMETHODIMP CHostMaterial10::get_ComponentIds(VARIANT* compIds) {
    return Run(kMaterial10, [] { return MaterialCall{L"ComponentIds"}; }, [&](MaterialCall& call) {
        call.values = rawComponentIds_ ? *rawComponentIds_ : StringArray(compounds_);
        Return(compIds, call.values);
        return S_OK;
    });
}

STDMETHODIMP CHostMaterial10::get_PhaseIds(VARIANT* phaseIds) {
    return Run(kMaterial10, [] { return MaterialCall{L"PhaseIds"}; }, [&](MaterialCall&) {
        Return(phaseIds, StringArray({L"Vapor", L"Liquid"}));
        return S_OK;
    });
}

STDMETHODIMP CHostMaterial10::GetNumComponents(long* numComp) {
    return Run(kMaterial10, [] { return MaterialCall{L"GetNumComponents"}; }, [&](MaterialCall&) {
        if (!numComp) throw HostFailure{E_POINTER, L"Invalid output pointer"};
        *numComp = static_cast<long>(compounds_.size());
        return S_OK;
    });
}

STDMETHODIMP CHostMaterial10::GetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis,
                                      VARIANT* results) {
    return Run(kMaterial10, [&] { return PropCall(L"GetProp", property, phase, calcType, basis); },
               [&](MaterialCall& call) {
                   const std::vector<std::wstring> compounds = ReadStrings(compIds);
                   const StoredProperty* stored = store_.Find(PropertyScope::SinglePhase, Text(property),
                                                              KeyParts(Text(phase), Text(calcType), compounds),
                                                              Text(basis));
                   if (!stored)
                       throw HostFailure{ECapeThrmPropertyNotAvailableHR,
                                         L"Property \"" + Text(property) + L"\" is not set for phase \"" +
                                             Text(phase) + L"\""};
                   call.values = stored->values;
                   Return(results, stored->values);
                   return S_OK;
               });
}

STDMETHODIMP CHostMaterial10::SetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis,
                                      VARIANT values) {
    return Run(kMaterial10,
               [&] {
                   MaterialCall call = PropCall(L"SetProp", property, phase, calcType, basis);
                   call.values = CopyIndirect(values);
                   return call;
               },
               [&](MaterialCall&) {
                   const std::wstring name = Text(property);
                   if (name.empty()) throw HostFailure{ECapeInvalidArgumentHR, L"Property name is empty"};
                   if (Text(phase).empty()) throw HostFailure{ECapeInvalidArgumentHR, L"Phase is empty"};
                   const std::vector<std::wstring> compounds = ReadStrings(compIds);
                   std::vector<double> numbers;
                   try {
                       numbers = ReadDoubles(values);
                   } catch (const ValueError& error) {
                       throw HostFailure{ECapeInvalidArgumentHR,
                                         L"Invalid values for \"" + name + L"\": " + error.message()};
                   }
                   if (EqualsNoCase(name, L"fraction") && compounds.empty() && numbers.size() != compounds_.size())
                       throw HostFailure{ECapeInvalidArgumentHR, L"Invalid values for \"fraction\": " +
                                                                      std::to_wstring(compounds_.size()) +
                                                                      L" values expected"};
                   PutRaw(name, Text(phase), DoubleArray(numbers), Text(basis), Text(calcType), compounds);
                   return S_OK;
               });
}

STDMETHODIMP CHostMaterial10::GetUniversalConstant(VARIANT, VARIANT*) { return NotImplemented(L"GetUniversalConstant"); }
STDMETHODIMP CHostMaterial10::GetComponentConstant(VARIANT, VARIANT, VARIANT*) {
    return NotImplemented(L"GetComponentConstant");
}
STDMETHODIMP CHostMaterial10::CalcProp(VARIANT, VARIANT, BSTR) { return NotImplemented(L"CalcProp"); }
STDMETHODIMP CHostMaterial10::CalcEquilibrium(BSTR, VARIANT) { return NotImplemented(L"CalcEquilibrium"); }
STDMETHODIMP CHostMaterial10::SetIndependentVar(VARIANT, VARIANT) { return NotImplemented(L"SetIndependentVar"); }
STDMETHODIMP CHostMaterial10::GetIndependentVar(VARIANT, VARIANT*) { return NotImplemented(L"GetIndependentVar"); }
STDMETHODIMP CHostMaterial10::PropCheck(VARIANT, VARIANT*) { return NotImplemented(L"PropCheck"); }
STDMETHODIMP CHostMaterial10::AvailableProps(VARIANT*) { return NotImplemented(L"AvailableProps"); }
STDMETHODIMP CHostMaterial10::RemoveResults(VARIANT) { return NotImplemented(L"RemoveResults"); }
STDMETHODIMP CHostMaterial10::CreateMaterialObject(IDispatch**) { return NotImplemented(L"CreateMaterialObject"); }
STDMETHODIMP CHostMaterial10::Duplicate(IDispatch**) { return NotImplemented(L"Duplicate"); }
STDMETHODIMP CHostMaterial10::ValidityCheck(VARIANT, VARIANT*) { return NotImplemented(L"ValidityCheck"); }
STDMETHODIMP CHostMaterial10::GetPropList(VARIANT*) { return NotImplemented(L"GetPropList"); }

}  // namespace tarnevo::host
