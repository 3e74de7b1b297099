// ICapeThermoPropertyPackage of CPropertyPackage: the CAPE-OPEN 1.0 package interface, an
// adapter over the package's 1.1 code (queries here, CalcProp and CalcEquilibrium in
// PropertyCalculation10.cpp and Equilibrium10.cpp).
#include "package/PropertyPackage.h"

#include <iterator>

#include "package/UniversalConstants.h"
#include "package/names/PropertyNameTables.h"
#include "version10/Equilibrium10.h"
#include "version10/MaterialObject10.h"
#include "version10/PropertyCalculation10.h"

namespace tarnevo {

// The package's parts that the 1.0 adapter works on.
struct Package10Access {
    static Package10Context Context(CPropertyPackage& package);
};

namespace {

constexpr const wchar_t kInterface[] = L"ICapeThermoPropertyPackage";

const wchar_t* const kPhaseLabels10[] = {L"Vapor", L"Liquid", L"VaporLiquid"};

// The names of `props` (validated as strings) with `invalidPrefix` before a validation message.
void ReadNames(const VARIANT& props, const wchar_t* invalidPrefix, VariantArray& names) {
    names.Attach(props, false);
    std::wstring reason;
    if (!names.Validate(VT_BSTR, reason)) throw CapeFailure(invalidPrefix + reason);
}

// A name found in the 1.0 maps and accepted by CalcProp.
bool CalculableName(BSTR name) {
    if (!name || wcslen(name) != SysStringLen(name)) return false;
    const PropertyNameTables& tables = NameTables();
    if (tables.TDependentProperties().map.Find(name) || tables.SinglePhaseProperties().map.Find(name)) return true;
    const auto id = tables.TwoPhaseProperties().map.Find(name);
    return id && FormOf(*id) != kDMoles && FormOf(*id) != kDMolFraction;
}

}  // namespace

Package10Context Package10Access::Context(CPropertyPackage& package) {
    return {package.refprop,
            package.contextDiagnostics.Get(),
            package.compounds,
            package.compoundNameMap,
            package.composition,
            package.liquidComposition,
            package.vaporComposition,
            package.fugacityCoefficients,
            package.scalarResult,
            package.compoundResult,
            package.matrixResult,
            [&package](const wchar_t* scope, const wchar_t* interfaceName, const std::function<void()>& body) {
                return package.Guarded(scope, interfaceName, [&] {
                    body();
                    return S_OK;
                });
            },
            package.version10Storage};
}

STDMETHODIMP CPropertyPackage::GetPhaseList(VARIANT* phases) {
    return GuardedInitialised(L"GetPhaseList", kInterface, [&]() -> HRESULT {
        CheckOutPointer(phases);
        VariantArray labels;
        labels.Create(static_cast<LONG>(std::size(kPhaseLabels10)), VT_BSTR);
        for (LONG i = 0; i < static_cast<LONG>(std::size(kPhaseLabels10)); ++i)
            labels.PutString(i, kPhaseLabels10[i]);
        labels.Detach(phases);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::GetComponentList(VARIANT* compIds, VARIANT* formulae, VARIANT* names,
                                                VARIANT* boilTemps, VARIANT* molWts, VARIANT* casNos) {
    return GuardedInitialised(L"GetComponentList", kInterface, [&]() -> HRESULT {
        FillCompoundList(compIds, formulae, names, boilTemps, molWts, casNos);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::GetUniversalConstant(IDispatch*, VARIANT props, VARIANT* results) {
    return GuardedInitialised(L"GetUniversalConstant", kInterface, [&]() -> HRESULT {
        CheckOutPointer(results);
        VariantArray names;
        ReadNames(props, L"Invalid list of properties: ", names);
        VariantArray values;
        values.Create(names.Count(), VT_VARIANT);
        if (names.Count() == 0) {
            values.Detach(results);
            return S_OK;
        }
        names.Lock();
        values.Lock();
        const BSTR* elements = names.Elements<BSTR>();
        for (LONG k = 0; k < names.Count(); ++k) {
            const std::optional<double> value = UniversalConstantValue(elements[k]);
            if (!value) {
                const std::wstring name = elements[k] ? BstrToString(elements[k]) : std::wstring(L"NULL");
                return Guarded(L"GetUniversalConstant", L"ICapeThermoUniversalConstant", [&]() -> HRESULT {
                    throw CapeFailure(L"Unknown/unsupported constant: " + name);
                });
            }
            VARIANT& element = values.Elements<VARIANT>()[k];
            element.vt = VT_R8;
            element.dblVal = *value;
        }
        values.Detach(results);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::GetComponentConstant(IDispatch* materialObject, VARIANT props, VARIANT* propVals) {
    return GuardedInitialised(L"GetComponentConstant", kInterface, [&]() -> HRESULT {
        CheckOutPointer(materialObject);
        CheckOutPointer(propVals);
        VariantArray ids;
        {
            const MaterialObject10 material(
                materialObject, L"Failed to get ICapeThermoMaterialObject interface from material object: ");
            material.ComponentIds(ids, L"Failed to get list of components from material object: ");
        }
        VariantArray result;
        CompoundConstantArray(props, ids.Value(), result);
        // Elements not available stay empty; the 1.0 call still succeeds.
        if (!resolvedProperties.empty()) result.Detach(propVals);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::CalcProp(IDispatch* materialObject, VARIANT props, VARIANT phases, BSTR calcType) {
    return GuardedInitialised(L"CalcProp", kInterface, [&]() -> HRESULT {
        Package10Context context = Package10Access::Context(*this);
        return CalcProp10(context, materialObject, props, phases, calcType);
    });
}

STDMETHODIMP CPropertyPackage::CalcEquilibrium(IDispatch* materialObject, BSTR flashType, VARIANT props) {
    return GuardedInitialised(L"CalcEquilibrium", kInterface, [&]() -> HRESULT {
        Package10Context context = Package10Access::Context(*this);
        const std::vector<BSTR> phases = CalcEquilibrium10(context, materialObject, flashType, props);
        VariantArray names;
        names.Attach(props, false);
        std::wstring reason;
        if (!names.Validate(VT_BSTR, reason) || names.Count() == 0) return S_OK;
        VariantArray phaseList;
        phaseList.Create(static_cast<LONG>(phases.size()), VT_BSTR);
        for (std::size_t i = 0; i < phases.size(); ++i)
            phaseList.PutString(static_cast<LONG>(i), BstrToString(phases[i]));
        // Its failure is recorded by CalcProp itself.
        return CalcProp(materialObject, props, phaseList.Value(), NameTables().Word(Keyword::Mixture));
    });
}

STDMETHODIMP CPropertyPackage::PropCheck(IDispatch*, VARIANT props, VARIANT* valid) {
    return GuardedInitialised(L"PropCheck", kInterface, [&]() -> HRESULT {
        CheckOutPointer(valid);
        VariantArray names;
        ReadNames(props, L"Invalid list of properties: ", names);
        if (names.Count() == 0) return S_OK;
        VariantArray answers;
        answers.Create(names.Count(), VT_BOOL);
        names.Lock();
        answers.Lock();
        const BSTR* elements = names.Elements<BSTR>();
        VARIANT_BOOL* flags = answers.Elements<VARIANT_BOOL>();
        for (LONG k = 0; k < names.Count(); ++k) flags[k] = CalculableName(elements[k]) ? VARIANT_TRUE : VARIANT_FALSE;
        answers.Detach(valid);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::ValidityCheck(IDispatch*, VARIANT, VARIANT* relList) {
    return GuardedInitialised(L"ValidityCheck", kInterface, [&]() -> HRESULT {
        CheckOutPointer(relList);
        throw CapeFailure(L"ValidityCheck is not implemented, see specification for details", ECapeNoImplHR);
    });
}

STDMETHODIMP CPropertyPackage::GetPropList(VARIANT* props) {
    return GuardedInitialised(L"GetPropList", kInterface, [&]() -> HRESULT {
        CheckOutPointer(props);
        *props = NameTables().Version10Properties().Copy().Detach();
        return S_OK;
    });
}

}  // namespace tarnevo
