// ICapeThermoUniversalConstant of CPropertyPackage: five physical constants.
#include "package/PropertyPackage.h"

#include <iterator>

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

STDMETHODIMP CPropertyPackage::GetUniversalConstant(BSTR constantId, VARIANT* constantValue) {
    return GuardedInitialised(L"GetUniversalConstant", kInterface, [&]() -> HRESULT {
        CheckOutPointer(constantValue);
        if (constantId) {
            const int length = static_cast<int>(SysStringLen(constantId));
            for (const UniversalConstant& constant : kConstants) {
                if (CompareStringOrdinal(constantId, length, constant.name, -1, TRUE) == CSTR_EQUAL) {
                    VariantInit(constantValue);
                    constantValue->vt = VT_R8;
                    constantValue->dblVal = constant.value;
                    return S_OK;
                }
            }
        }
        throw CapeFailure(L"Unknown/unsupported constant");
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
