// ICapeThermoEquilibriumRoutine of CPropertyPackage.
#include "package/PropertyPackage.h"

#include "package/FlashSpecification.h"
#include "package/MaterialEquilibrium.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kInterface[] = L"ICapeThermoEquilibriumRoutine";

}  // namespace

STDMETHODIMP CPropertyPackage::CalcEquilibrium(VARIANT specification1, VARIANT specification2, BSTR solutionType) {
    return GuardedInitialised(L"CalcEquilibrium", kInterface, [&]() -> HRESULT {
        std::wstring error;
        if (!ResolveMaterialCompounds(error)) throw CapeFailure(error);
        FlashBases bases;
        const FlashType type = ParseFlashSpecification(specification1, specification2, solutionType, error, &bases);
        if (type == FlashType::None) throw CapeFailure(error);
        EquilibriumContext context{refprop,           contextDiagnostics.Get(), currentMaterial.Get(),
                                   compounds,         materialCompoundMap,      composition,
                                   liquidComposition, vaporComposition,         scalarResult,
                                   compoundResult};
        CalcMaterialEquilibrium(context, type, bases);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::CheckEquilibriumSpec(VARIANT specification1, VARIANT specification2,
                                                    BSTR solutionType, VARIANT_BOOL* isSupported) {
    return GuardedInitialised(L"CheckEquilibriumSpec", kInterface, [&]() -> HRESULT {
        CheckOutPointer(isSupported);
        std::wstring message;   // not reported
        FlashType type = ParseFlashSpecification(specification1, specification2, solutionType, message);
        if (IsVaporFractionFlash(type) && !MaterialHasTwoPresentPhases(currentMaterial.Get())) type = FlashType::None;
        *isSupported = type != FlashType::None ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

}  // namespace tarnevo
