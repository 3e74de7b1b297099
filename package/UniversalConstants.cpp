// ICapeThermoUniversalConstant of CPropertyPackage: five physical constants.
#include "package/UniversalConstants.h"

#include <iterator>

#include "package/PropertyPackage.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kInterface[] = L"ICapeThermoUniversalConstant";

struct UniversalConstant {
    const wchar_t* name;
    double value;
};

constexpr UniversalConstant kConstants[] = {
    {L"avogadroConstant", 6.0221419947e23},         // 1/mol
    {L"boltzmannConstant", 1.380650324e-23},        // J/K
    {L"molarGasConstant", 8.31447215},              // J/(mol K)
    {L"speedOfLightInVacuum", 299792458.1},         // m/s
    {L"standardAccelerationOfGravity", 9.80665},    // m/s2
};

}  // namespace

std::optional<double> UniversalConstantValue(BSTR name) noexcept {
    if (!name) return std::nullopt;
    const int length = static_cast<int>(SysStringLen(name));
    for (const UniversalConstant& constant : kConstants)
        if (CompareStringOrdinal(name, length, constant.name, -1, TRUE) == CSTR_EQUAL) return constant.value;
    return std::nullopt;
}

STDMETHODIMP CPropertyPackage::GetUniversalConstant(BSTR constantId, VARIANT* constantValue) {
    return GuardedInitialised(L"GetUniversalConstant", kInterface, [&]() -> HRESULT {
        CheckOutPointer(constantValue);
        const std::optional<double> value = UniversalConstantValue(constantId);
        if (!value) throw CapeFailure(L"Unknown/unsupported constant");
        VariantInit(constantValue);
        constantValue->vt = VT_R8;
        constantValue->dblVal = *value;
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::GetUniversalConstantList(VARIANT* constantIds) {
    return GuardedInitialised(L"GetUniversalConstantList", kInterface, [&]() -> HRESULT {
        CheckOutPointer(constantIds);
        VariantArray names;
        names.Create(static_cast<LONG>(std::size(kConstants)), VT_BSTR);
        for (LONG i = 0; i < static_cast<LONG>(std::size(kConstants)); ++i) names.PutString(i, kConstants[i].name);
        names.Detach(constantIds);
        return S_OK;
    });
}

}  // namespace tarnevo
