// ICapeThermoPhases of CPropertyPackage: the two phases "Vapor" and "Liquid".
#include "package/PropertyPackage.h"

#include "package/names/PropertyNameTables.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kInterface[] = L"ICapeThermoPhases";
constexpr const wchar_t kInvalidAttribute[] = L"Invalid or unsupported phase attribute";

bool EqualsNoCase(const std::wstring& a, const wchar_t* b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b, -1, TRUE) == CSTR_EQUAL;
}

// A string array of the two phases' labels, or of two null strings.
void PutPhaseStrings(VARIANT* out, bool labels) {
    VariantArray strings;
    strings.Create(2, VT_BSTR);
    if (labels) {
        strings.PutString(0, NameTables().Word(Keyword::Vapor));
        strings.PutString(1, NameTables().Word(Keyword::Liquid));
    }
    strings.Detach(out);
}

}  // namespace

STDMETHODIMP CPropertyPackage::GetNumPhases(long* num) {
    return GuardedInitialised(L"GetNumPhases", kInterface, [&]() -> HRESULT {
        CheckOutPointer(num);
        *num = 2;
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::GetPhaseList(VARIANT* phaseLabels, VARIANT* stateOfAggregation,
                                            VARIANT* keyCompoundId) {
    return GuardedInitialised(L"GetPhaseList", kInterface, [&]() -> HRESULT {
        for (VARIANT* out : {phaseLabels, stateOfAggregation, keyCompoundId}) CheckOutPointer(out);
        for (VARIANT* out : {phaseLabels, stateOfAggregation, keyCompoundId}) VariantClear(out);
        PutPhaseStrings(phaseLabels, true);
        PutPhaseStrings(stateOfAggregation, true);
        PutPhaseStrings(keyCompoundId, false);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::GetPhaseInfo(BSTR phaseLabel, BSTR phaseAttribute, VARIANT* value) {
    return GuardedInitialised(L"GetPhaseInfo", kInterface, [&]() -> HRESULT {
        CheckOutPointer(value);
        const wchar_t* vapor = NameTables().Word(Keyword::Vapor);
        const wchar_t* liquid = NameTables().Word(Keyword::Liquid);
        const std::wstring label = BstrToString(phaseLabel);
        const wchar_t* phase = nullptr;
        if (phaseLabel && EqualsNoCase(label, vapor)) phase = vapor;
        else if (phaseLabel && EqualsNoCase(label, liquid)) phase = liquid;
        if (!phase) throw CapeFailure(L"Invalid phase ID");
        if (!phaseAttribute) throw CapeFailure(kInvalidAttribute);

        const std::wstring attribute = BstrToString(phaseAttribute);
        if (EqualsNoCase(attribute, L"StateOfAggregation")) {
            _variant_t state(phase);
            *value = state.Detach();
            return S_OK;
        }
        for (const wchar_t* empty :
             {L"KeyCompoundId", L"ExcludedCompoundId", L"DensityDescription", L"UserDescription", L"TypeOfSolid"}) {
            if (EqualsNoCase(attribute, empty)) {
                VariantInit(value);
                return S_OK;
            }
        }
        throw CapeFailure(kInvalidAttribute);
    });
}

}  // namespace tarnevo
