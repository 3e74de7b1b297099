#include "package/SinglePhaseValues.h"

#include <cmath>

#include "capeobject/CapeFailure.h"

namespace tarnevo {
namespace {

double NonNegative(double value) {
    if (value < 0) throw CapeFailure(L"No data");
    return value;
}

}  // namespace

bool IsPerCompoundBase(std::int32_t base) noexcept {
    return base == kFugacity || base == kFugacityCoefficient || base == kLogFugacityCoefficient;
}

bool IsMolarBase(std::int32_t base) noexcept {
    switch (base) {
    case kDensity:
    case kEnthalpy:
    case kEntropy:
    case kGibbsEnergy:
    case kHeatCapacityCp:
    case kHeatCapacityCv:
    case kHelmholtzEnergy:
    case kInternalEnergy:
    case kVolume:
        return true;
    default:
        return false;
    }
}

std::size_t ValueCount(std::int32_t id, std::size_t nc) noexcept {
    if (id == kMolecularWeightId) return 1;
    const std::int32_t form = FormOf(id);
    const std::size_t perValue = IsPerCompoundBase(BaseOf(id)) ? nc : 1;
    return (form == kDMoles || form == kDMolFraction) ? perValue * nc : perValue;
}

void BaseValue(std::int32_t base, const EvaluationPoint& point, const std::vector<std::int32_t>& materialMap,
               double* out) {
    const double T = point.T, P = point.P, rho = point.rho;
    switch (base) {
    case kCompressibility: *out = NonNegative(point.xkappa) * 0.001; return;  // per Pa
    case kCompressibilityFactor: *out = P / (rho * kGasConstant * T); return;
    case kDensity: *out = rho * 1000.0; return;
    case kEnthalpy: *out = point.h; return;
    case kEntropy: *out = point.s; return;
    case kGibbsEnergy: *out = point.G; return;
    case kHeatCapacityCp: *out = point.cp; return;
    case kHeatCapacityCv: *out = point.cv; return;
    case kHelmholtzEnergy: *out = point.A; return;
    case kInternalEnergy: *out = point.e; return;
    case kJouleThomsonCoefficient: *out = point.hjt * 0.001; return;
    case kSpeedOfSound: *out = point.w; return;
    case kThermalConductivity: *out = NonNegative(point.tcx); return;
    case kViscosity: *out = NonNegative(point.eta) * 1e-6; return;
    case kVolume: *out = 0.001 / rho; return;
    case kFugacity:
        for (std::size_t i = 0; i < materialMap.size(); ++i) {
            const std::int32_t k = materialMap[i];
            out[i] = P * 1000.0 * point.x[k] * point.phi[k];
        }
        return;
    case kFugacityCoefficient:
        for (std::size_t i = 0; i < materialMap.size(); ++i) out[i] = point.phi[materialMap[i]];
        return;
    case kLogFugacityCoefficient:
        for (std::size_t i = 0; i < materialMap.size(); ++i) out[i] = std::log(point.phi[materialMap[i]]);
        return;
    default:
        throw CapeFailure(L"Unknown/unsupported single phase property");
    }
}

}  // namespace tarnevo
