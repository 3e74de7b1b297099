// ICapeThermoCompounds of CPropertyPackage.
#include "package/PropertyPackage.h"

#include <cmath>

#include "com/ModuleState.h"
#include "package/CompoundConstants.h"
#include "package/CompoundListResolver.h"
#include "package/TDependentProperties.h"
#include "package/names/PropertyNameTables.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kInterface[] = L"ICapeThermoCompounds";

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// Replaces an [in, out] value with `value`, which the caller then owns.
void ReturnValue(VARIANT* out, VariantArray& value) {
    VariantClear(out);
    value.Detach(out);
}

// Reads `props` as strings and looks each up in `table`, into `ids`. The messages of the
// three failures are the caller's.
struct NameListMessages {
    const wchar_t* invalidList;   // followed by the conversion's reason
    const wchar_t* emptyName;
    const wchar_t* unknownName;   // followed by the quoted name
};

void ResolvePropertyNames(const VARIANT& props, const NameMap& table, const NameListMessages& messages,
                          std::vector<std::int32_t>& ids) {
    ids.clear();
    VariantArray names;
    names.Attach(props, false);
    std::wstring reason;
    if (!names.Validate(VT_BSTR, reason)) throw CapeFailure(messages.invalidList + reason);
    if (names.Count() == 0) return;
    names.Lock();
    ids.reserve(static_cast<size_t>(names.Count()));
    for (LONG k = 0; k < names.Count(); ++k) {
        const std::wstring name = names.StringAt(k);
        if (name.empty()) throw CapeFailure(messages.emptyName);
        const auto id = name.find(L'\0') == std::wstring::npos ? table.Find(name.c_str()) : std::nullopt;
        if (!id) throw CapeFailure(messages.unknownName + Quoted(name));
        ids.push_back(*id);
    }
}

// The identifiers of a T- or P-dependent props list into `ids`; false when the list or the
// compound list is empty (names are then only checked to be a list).
bool ResolveDependentNames(const VARIANT& props, bool noCompounds, const NameMap& table, const wchar_t* unknownName,
                           std::vector<std::int32_t>& ids) {
    const NameListMessages messages{L"Invalid list of property IDs: ",
                                    L"One or more empty strings in property ID list", unknownName};
    ids.clear();
    if (!noCompounds) {
        ResolvePropertyNames(props, table, messages, ids);
        return !ids.empty();
    }
    VariantArray names;
    names.Attach(props, false);
    std::wstring reason;
    if (!names.Validate(VT_BSTR, reason)) throw CapeFailure(messages.invalidList + reason);
    return false;
}

LONG ResultSize(size_t properties, size_t compounds) {
    const unsigned long long size = static_cast<unsigned long long>(properties) * compounds;
    if (size > 0x7FFFFFFFULL) throw CapeFailure(L"Out of memory", E_OUTOFMEMORY);
    return static_cast<LONG>(size);
}

}  // namespace

void CPropertyPackage::ResolveCompoundIds(const VARIANT& compIds, bool emptyMeansAll, const wchar_t* prefix) {
    std::wstring error;
    if (!ResolveCompoundList(compIds, compoundNameMap, static_cast<std::int32_t>(compounds.size()), emptyMeansAll,
                             resolvedCompounds, error))
        throw CapeFailure(prefix + error);
}

void CPropertyPackage::FillCompoundList(VARIANT* compIds, VARIANT* formulae, VARIANT* names, VARIANT* boilTemps,
                                        VARIANT* molwts, VARIANT* casnos) {
    for (VARIANT* out : {compIds, formulae, names, boilTemps, molwts, casnos}) CheckOutPointer(out);
    for (VARIANT* out : {compIds, formulae, names, boilTemps, molwts, casnos}) VariantClear(out);
    const LONG count = static_cast<LONG>(compounds.size());
    if (count == 0) return;

    VariantArray ids, formulaList, nameList, boilingPoints, weights, casNumbers;
    ids.Create(count, VT_BSTR);
    formulaList.Create(count, VT_BSTR);
    nameList.Create(count, VT_BSTR);
    boilingPoints.Create(count, VT_R8);
    weights.Create(count, VT_R8);
    casNumbers.Create(count, VT_BSTR);
    for (LONG i = 0; i < count; ++i) {
        const CompoundRecord& record = compounds[static_cast<size_t>(i)];
        ids.PutString(i, record.id);
        nameList.PutString(i, record.id);
        // Absent texts stay null strings.
        if (record.hasFormula) formulaList.PutString(i, record.formula);
        if (record.hasCasNumber) casNumbers.PutString(i, record.casNumber);
        boilingPoints.PutDouble(i, record.normalBoilingPoint);
        weights.PutDouble(i, record.molecularWeight);
    }
    ids.Detach(compIds);
    formulaList.Detach(formulae);
    nameList.Detach(names);
    boilingPoints.Detach(boilTemps);
    weights.Detach(molwts);
    casNumbers.Detach(casnos);
}

STDMETHODIMP CPropertyPackage::GetCompoundList(VARIANT* compIds, VARIANT* formulae, VARIANT* names,
                                               VARIANT* boilTemps, VARIANT* molwts, VARIANT* casnos) {
    return GuardedInitialised(L"GetCompoundList", kInterface, [&]() -> HRESULT {
        FillCompoundList(compIds, formulae, names, boilTemps, molwts, casnos);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::GetNumCompounds(long* num) {
    return GuardedInitialised(L"GetNumCompounds", kInterface, [&]() -> HRESULT {
        CheckOutPointer(num);
        *num = static_cast<long>(compounds.size());
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::GetConstPropList(VARIANT* props) {
    return GuardedInitialised(L"GetConstPropList", kInterface, [&]() -> HRESULT {
        CheckOutPointer(props);
        *props = NameTables().CompoundConstants().list.Copy().Detach();
        return S_OK;
    });
}

bool CPropertyPackage::CompoundConstantArray(const VARIANT& props, const VARIANT& compIds, VariantArray& result) {
    ResolveCompoundIds(compIds, true, L"");
    ResolvePropertyNames(props, NameTables().CompoundConstants().map,
                         {L"Invalid list of constant identifiers: ", L"Property ID list contains empty strings",
                          L"Unknown or unsupported compound constant ID "},
                         resolvedProperties);

    const size_t nCompounds = resolvedCompounds.size();
    result.Create(ResultSize(resolvedProperties.size(), nCompounds), VT_VARIANT);
    bool missing = false;
    if (result.Count() > 0) {
        const ArrayLock lock(result);
        VARIANT* elements = result.Elements<VARIANT>();
        for (size_t k = 0; k < resolvedProperties.size(); ++k) {
            for (size_t i = 0; i < nCompounds; ++i) {
                const CompoundRecord& record = compounds[static_cast<size_t>(resolvedCompounds[i])];
                if (!GetCompoundConstantValue(record, resolvedProperties[k], elements[k * nCompounds + i]))
                    missing = true;
            }
        }
    }
    return missing;
}

STDMETHODIMP CPropertyPackage::GetCompoundConstant(VARIANT props, VARIANT compIds, VARIANT* propVals) {
    return GuardedInitialised(L"GetCompoundConstant", kInterface, [&]() -> HRESULT {
        CheckOutPointer(propVals);
        VariantArray result;
        const bool missing = CompoundConstantArray(props, compIds, result);
        result.Detach(propVals);
        return missing ? ECapeThrmPropertyNotAvailableHR : S_OK;
    });
}

STDMETHODIMP CPropertyPackage::GetTDependentPropList(VARIANT* props) {
    return GuardedInitialised(L"GetTDependentPropList", kInterface, [&]() -> HRESULT {
        CheckOutPointer(props);
        *props = NameTables().TDependentProperties().list.Copy().Detach();
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::GetTDependentProperty(VARIANT props, double temperature, VARIANT compIds,
                                                     VARIANT* propVals) {
    return GuardedInitialised(L"GetTDependentProperty", kInterface,
                              [&] { return DependentProperties(props, temperature, compIds, propVals, false); });
}

STDMETHODIMP CPropertyPackage::GetPDependentPropList(VARIANT* props) {
    return GuardedInitialised(L"GetPDependentPropList", kInterface, [&]() -> HRESULT {
        CheckOutPointer(props);
        *props = NameTables().PDependentProperties().list.Copy().Detach();
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::GetPDependentProperty(VARIANT props, double pressure, VARIANT compIds,
                                                     VARIANT* propVals) {
    return GuardedInitialised(L"GetPDependentProperty", kInterface,
                              [&] { return DependentProperties(props, pressure, compIds, propVals, true); });
}

HRESULT CPropertyPackage::DependentProperties(const VARIANT& props, double condition, const VARIANT& compIds,
                                              VARIANT* propVals, bool pressureDependent) {
    CheckOutPointer(propVals);
    if (condition == kUnsetValue || std::isnan(condition))
        throw CapeFailure(pressureDependent ? L"Missing / unspecified value for pressure"
                                            : L"Missing / unspecified value for temperature");
    if (!(condition > 0.0))
        throw CapeFailure(pressureDependent ? L"Pressure must be positive" : L"Temperature must be positive");
    ResolveCompoundIds(compIds, true, L"Invalid list of compound IDs: ");
    VariantArray result;
    bool missing = false;
    const NameTable& table =
        pressureDependent ? NameTables().PDependentProperties() : NameTables().TDependentProperties();
    if (ResolveDependentNames(props, resolvedCompounds.empty(), table.map,
                              pressureDependent ? L"Invalid or unsupported pressure dependent property "
                                                : L"Invalid or unsupported temperature dependent property ",
                              resolvedProperties)) {
        result.Create(ResultSize(resolvedProperties.size(), resolvedCompounds.size()), VT_R8);
        TDependentWorkspace workspace{refprop, contextDiagnostics.Get(), composition, liquidComposition,
                                      vaporComposition, fugacityCoefficients};
        const TDependentCounts counts = [&] {
            const ArrayLock lock(result);
            return pressureDependent
                       ? EvaluatePDependentProperties(workspace, compounds, condition, resolvedCompounds,
                                                      resolvedProperties, result.Elements<double>())
                       : EvaluateTDependentProperties(workspace, condition, resolvedCompounds, resolvedProperties,
                                                      result.Elements<double>());
        }();
        if (counts.valued == 0) throw CapeFailure(L"No data");
        missing = counts.missing > 0;
    }
    ReturnValue(propVals, result);
    return missing ? ECapeThrmPropertyNotAvailableHR : S_OK;
}

}  // namespace tarnevo
