#include "package/MaterialPhaseAccess.h"

#include <cwchar>

#include "capeobject/CapeFailure.h"
#include "capeobject/CapeOpenBaseObject.h"
#include "capeobject/ErrorTexts.h"

namespace tarnevo {

void ReadPhaseState(ICapeThermoMaterial* material, BSTR phaseLabel, const std::wstring& failurePrefix,
                    std::size_t count, const wchar_t* countMessage, double& temperature, double& pressure,
                    std::vector<double>& fractions) {
    VariantArray composition;
    temperature = 0;
    pressure = 0;
    const HRESULT hr = material->GetTPFraction(phaseLabel, &temperature, &pressure, composition.ResetForOutput());
    if (FAILED(hr)) throw CapeFailure(failurePrefix + GetCapeErrorText(material, hr));
    std::wstring reason;
    if (!composition.Validate(VT_R8, reason))
        throw CapeFailure(L"Invalid values for composition from material object: " + reason);
    if (static_cast<std::size_t>(composition.Count()) != count) throw CapeFailure(countMessage);
    fractions.resize(count);
    if (count == 0) return;
    const ArrayLock lock(composition);
    const double* values = composition.Elements<double>();
    fractions.assign(values, values + count);
}

double* PrepareResult(VariantArray& result, std::size_t count) {
    SizeCompoundResult(result, static_cast<LONG>(count));
    if (count == 0) return nullptr;
    result.Lock();
    return result.Elements<double>();
}

bool PhaseSelector(BSTR label, int& kph) noexcept {
    if (!label || !IsPlainBstr(label)) return false;
    if (_wcsicmp(label, L"Vapor") == 0) {
        kph = 2;
        return true;
    }
    if (_wcsicmp(label, L"Liquid") == 0) {
        kph = 1;
        return true;
    }
    return false;
}

}  // namespace tarnevo
