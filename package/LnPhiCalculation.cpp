#include "package/LnPhiCalculation.h"

#include <algorithm>
#include <cmath>

#include "automation/VariantArray.h"
#include "capeobject/CapeFailure.h"
#include "capeobject/CapeOpenBaseObject.h"
#include "package/Fugacity.h"
#include "package/MaterialPhaseAccess.h"
#include "package/PerturbationDerivatives.h"

namespace tarnevo {
namespace {

void CheckCondition(double value, const wchar_t* missing, const wchar_t* notPositive) {
    if (value == kUnsetValue || std::isnan(value)) throw CapeFailure(missing);
    if (!(value > 0)) throw CapeFailure(notPositive);
}

// Replaces the caller's [in, out] value with `values`.
void Return(VARIANT* out, const std::vector<double>& values) {
    VariantArray result;
    result.Create(static_cast<LONG>(values.size()), VT_R8);
    if (!values.empty()) {
        const ArrayLock lock(result);
        std::copy(values.begin(), values.end(), result.Elements<double>());
    }
    VariantClear(out);
    result.Detach(out);
}

}  // namespace

void CalculateLnPhi(RefpropBinding& refprop, ICapeDiagnostic* diagnostics, const std::vector<std::int32_t>& materialMap,
                    std::size_t packageCount, std::vector<double>& composition, const LnPhiRequest& request) {
    CheckCondition(request.temperature, L"Missing / unspecified value for temperature", L"Temperature must be positive");
    CheckCondition(request.pressure, L"Missing / unspecified value for pressure", L"Pressure must be positive");

    const std::size_t nc = materialMap.size();
    VariantArray numbers;
    numbers.Attach(*request.moleNumbers, false);
    std::wstring reason;
    if (!numbers.Validate(VT_R8, reason)) throw CapeFailure(L"Invalid values for composition: " + reason);
    if (static_cast<std::size_t>(numbers.Count()) != nc)
        throw CapeFailure(L"Invalid values for composition: invalid number of values");
    std::vector<double> n(nc);
    if (nc > 0) {
        const ArrayLock lock(numbers);
        std::copy(numbers.Elements<double>(), numbers.Elements<double>() + nc, n.begin());
    }
    if (!std::all_of(n.begin(), n.end(), [](double v) { return std::isfinite(v) && v >= 0; }))
        throw CapeFailure(L"Invalid values for composition: mole numbers must be finite and not negative");
    if (std::none_of(n.begin(), n.end(), [](double v) { return v > 0; }))
        throw CapeFailure(L"Invalid values for composition: all mole numbers are zero");
    composition.assign(packageCount, 0.0);
    for (std::size_t k = 0; k < nc; ++k) composition[materialMap[k]] = std::max(n[k], 1e-8);
    const int flags = request.flags;
    if (flags == 0) return;
    if ((flags & 1) && !request.lnPhi) throw CapeFailure(L"Invalid output pointer", E_POINTER);
    if ((flags & 2) && !request.lnPhiDT) throw CapeFailure(L"Invalid output pointer", E_POINTER);
    if ((flags & 4) && !request.lnPhiDP) throw CapeFailure(L"Invalid output pointer", E_POINTER);
    if ((flags & 8) && !request.lnPhiDn) throw CapeFailure(L"Invalid output pointer", E_POINTER);

    int kph = 0;
    if (!PhaseSelector(request.phaseLabel, kph))
        throw CapeFailure(std::wstring(L"Unknown phase label: ") +
                          (request.phaseLabel ? std::wstring(request.phaseLabel, SysStringLen(request.phaseLabel))
                                              : std::wstring(L"NULL")));

    // ln phi depends on the fractions only: the mole numbers are normalised, and the
    // mole-number derivatives scaled back by their total.
    double total = 0;
    for (double v : composition) total += v;
    if (!(total > 0) || !std::isfinite(total)) throw CapeFailure(L"Invalid values for composition: invalid number of values");
    for (double& v : composition) v /= total;

    const double T = request.temperature;
    const double P = request.pressure * 0.001;
    std::wstring error;
    double rho = kUnsetValue;
    std::vector<double> lnPhi0, lnPhi1;
    if (!ComputeLnPhi(refprop, diagnostics, kph, T, P, composition, rho, lnPhi0, error)) throw CapeFailure(error);
    std::vector<double> out(nc);
    if (flags & 1) {
        for (std::size_t i = 0; i < nc; ++i) out[i] = lnPhi0[materialMap[i]];
        Return(request.lnPhi, out);
    }
    if (flags & 2) {
        const double T1 = T * (1 + kRelativeStep);
        const double dT = T1 - T;
        double rho1 = rho;
        if (!ComputeLnPhi(refprop, diagnostics, kph, T1, P, composition, rho1, lnPhi1, error)) throw CapeFailure(error);
        for (std::size_t i = 0; i < nc; ++i) out[i] = (lnPhi1[materialMap[i]] - lnPhi0[materialMap[i]]) / dT;
        Return(request.lnPhiDT, out);
    }
    if (flags & 4) {
        const double P1 = P * (1 + kRelativeStep);
        const double dP = P1 - P;
        double rho1 = rho;
        if (!ComputeLnPhi(refprop, diagnostics, kph, T, P1, composition, rho1, lnPhi1, error)) throw CapeFailure(error);
        for (std::size_t i = 0; i < nc; ++i)
            out[i] = (lnPhi1[materialMap[i]] - lnPhi0[materialMap[i]]) / (dP * 1000.0);
        Return(request.lnPhiDP, out);
    }
    if (flags & 8) {
        std::vector<double> matrix(nc * nc), perturbed;
        for (std::size_t j = 0; j < nc; ++j) {
            const std::size_t k = static_cast<std::size_t>(materialMap[j]);
            const double step = CompositionStep(composition[k]);
            MoleNumberPoint(composition, k, step, perturbed);
            double rho1 = rho;
            if (!ComputeLnPhi(refprop, diagnostics, kph, T, P, perturbed, rho1, lnPhi1, error)) throw CapeFailure(error);
            for (std::size_t i = 0; i < nc; ++i)
                matrix[j * nc + i] = (lnPhi1[materialMap[i]] - lnPhi0[materialMap[i]]) / step / total;
        }
        Return(request.lnPhiDn, matrix);
    }
}

}  // namespace tarnevo
