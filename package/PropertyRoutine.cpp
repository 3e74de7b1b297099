// ICapeThermoPropertyRoutine of CPropertyPackage.
#include "package/PropertyPackage.h"

#include "package/LnPhiCalculation.h"
#include "package/MaterialPhaseAccess.h"
#include "package/SinglePhaseProperties.h"
#include "package/TwoPhaseProperties.h"
#include "package/names/PropertyNameTables.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kInterface[] = L"ICapeThermoPropertyRoutine";

// A name found in `map`: given, non-empty and without embedded zeros.
bool KnownName(BSTR name, const NameMap& map) {
    if (SysStringLen(name) == 0 || !IsPlainBstr(name)) return false;
    return map.Find(name).has_value();
}

}  // namespace

STDMETHODIMP CPropertyPackage::CalcAndGetLnPhi(BSTR phaseLabel, double temperature, double pressure,
                                               VARIANT moleNumbers, int fFlags, VARIANT* lnPhi, VARIANT* lnPhiDT,
                                               VARIANT* lnPhiDP, VARIANT* lnPhiDn) {
    return GuardedInitialised(L"CalcAndGetLnPhi", kInterface, [&]() -> HRESULT {
        std::wstring error;
        if (!ResolveMaterialCompounds(error)) throw CapeFailure(error);
        const LnPhiRequest request{phaseLabel, temperature, pressure, &moleNumbers, fFlags,
                                   lnPhi,      lnPhiDT,     lnPhiDP,  lnPhiDn};
        CalculateLnPhi(refprop, contextDiagnostics.Get(), materialCompoundMap, compounds.size(), composition,
                       request);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::CalcSinglePhaseProp(VARIANT props, BSTR phaseLabel) {
    return GuardedInitialised(L"CalcSinglePhaseProp", kInterface, [&]() -> HRESULT {
        std::wstring error;
        if (!ResolveMaterialCompounds(error)) throw CapeFailure(error);
        const PropertyCalculationContext context{refprop,      nullptr,  nullptr,      compounds,   materialCompoundMap,
                                                 composition,  scalarResult, compoundResult, matrixResult};
        if (!singlePhaseCalculation) singlePhaseCalculation = std::make_shared<SinglePhaseCalculation>(context);
        // A material calling back into this package gets storage of its own.
        std::shared_ptr<SinglePhaseCalculation> calculation =
            singlePhaseCalculation->Busy() ? std::make_shared<SinglePhaseCalculation>(context) : singlePhaseCalculation;
        calculation->Run(currentMaterial.Get(), contextDiagnostics.Get(), props, phaseLabel);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::CalcTwoPhaseProp(VARIANT props, VARIANT phaseLabels) {
    return GuardedInitialised(L"CalcTwoPhaseProp", kInterface, [&]() -> HRESULT {
        PropertyCalculationContext context{refprop,         contextDiagnostics.Get(), currentMaterial.Get(),
                                           compounds,       materialCompoundMap,      composition,
                                           scalarResult,    compoundResult,           matrixResult};
        TwoPhaseCalculation calculation(context);
        calculation.Run(props, phaseLabels, [&] {
            std::wstring error;
            if (!ResolveMaterialCompounds(error)) throw CapeFailure(error);
            context.material = currentMaterial.Get();
        });
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::CheckSinglePhasePropSpec(BSTR property, BSTR phaseLabel, VARIANT_BOOL* valid) {
    return GuardedInitialised(L"CheckSinglePhasePropSpec", kInterface, [&]() -> HRESULT {
        CheckOutPointer(valid);
        int kph = 0;
        const bool known = PhaseSelector(phaseLabel, kph) && KnownName(property, NameTables().SinglePhaseProperties().map);
        *valid = known ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::CheckTwoPhasePropSpec(BSTR property, VARIANT phaseLabels, VARIANT_BOOL* valid) {
    return GuardedInitialised(L"CheckTwoPhasePropSpec", kInterface, [&]() -> HRESULT {
        CheckOutPointer(valid);
        *valid = VARIANT_FALSE;
        if (!KnownName(property, NameTables().TwoPhaseProperties().map)) return S_OK;
        VariantArray labels;
        labels.Attach(phaseLabels, false);
        std::wstring reason;
        if (!labels.Validate(VT_BSTR, reason) || labels.Count() != 2) return S_OK;
        labels.Lock();
        int first = 0, second = 0;
        const BSTR* elements = labels.Elements<BSTR>();
        if (PhaseSelector(elements[0], first) && PhaseSelector(elements[1], second) && first != second)
            *valid = VARIANT_TRUE;
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::GetSinglePhasePropList(VARIANT* props) {
    return GuardedInitialised(L"GetSinglePhasePropList", kInterface, [&]() -> HRESULT {
        CheckOutPointer(props);
        *props = NameTables().SinglePhaseProperties().list.Copy().Detach();
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::GetTwoPhasePropList(VARIANT* props) {
    return GuardedInitialised(L"GetTwoPhasePropList", kInterface, [&]() -> HRESULT {
        CheckOutPointer(props);
        *props = NameTables().TwoPhaseProperties().list.Copy().Detach();
        return S_OK;
    });
}

}  // namespace tarnevo
