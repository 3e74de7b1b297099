#include "package/PerturbationDerivatives.h"

namespace tarnevo {

double CompositionStep(double x) noexcept {
    const double delta = x > 0.5 ? -kCompositionStep : kCompositionStep;
    return (x + delta) - x;
}

void MoleNumberPoint(const std::vector<double>& base, std::size_t k, double step, std::vector<double>& out) {
    out = base;
    out[k] += step;
    double sum = 0;
    for (double v : out) sum += v;
    for (double& v : out) v /= sum;
}

void EvaluatePerturbedPoints(PhaseEvaluator& evaluator, const PropertyRequest& request,
                             const std::vector<std::int32_t>& materialMap, SinglePhasePoints& points) {
    const unsigned forms = request.PointForms();
    const EvaluationPoint& base = points.base;
    if (forms & kTemperatureBit) {
        EvaluationPoint& point = points.temperature;
        point.T = base.T + kRelativeStep * base.T;
        point.P = base.P;
        point.x = base.x;
        points.dT = point.T - base.T;
        evaluator.Evaluate(point, PointKind::Temperature, base.rho, request, kTemperatureBit);
    }
    if (forms & kPressureBit) {
        EvaluationPoint& point = points.pressure;
        point.T = base.T;
        point.P = base.P + kRelativeStep * base.P;
        point.x = base.x;
        points.dP = point.P - base.P;
        evaluator.Evaluate(point, PointKind::Pressure, base.rho, request, kPressureBit);
    }
    if (!(forms & (kMolesBit | kMolFractionBit))) return;

    const std::size_t nc = materialMap.size();
    points.steps.resize(nc);
    for (std::size_t j = 0; j < nc; ++j) points.steps[j] = CompositionStep(base.x[materialMap[j]]);
    if (forms & kMolesBit) {
        points.moles.resize(nc);
        for (std::size_t j = 0; j < nc; ++j) {
            EvaluationPoint& point = points.moles[j];
            point.T = base.T;
            point.P = base.P;
            MoleNumberPoint(base.x, static_cast<std::size_t>(materialMap[j]), points.steps[j], point.x);
            evaluator.Evaluate(point, PointKind::Composition, base.rho, request, kMolesBit);
        }
    }
    if (forms & kMolFractionBit) {
        points.fractions.resize(nc);
        for (std::size_t j = 0; j < nc; ++j) {
            EvaluationPoint& point = points.fractions[j];
            point.T = base.T;
            point.P = base.P;
            point.x = base.x;
            point.x[materialMap[j]] += points.steps[j];  // not renormalised
            evaluator.Evaluate(point, PointKind::Composition, base.rho, request, kMolFractionBit);
        }
    }
}

namespace {

// Derivatives REFPROP gives at the base point; false for the perturbation forms.
bool AnalyticDerivative(std::int32_t base, std::int32_t form, const SinglePhasePoints& points, double* out) {
    if (form != kDTemperature && form != kDPressure) return false;
    const EvaluationPoint& b = points.base;
    const double T = b.T, P = b.P, rho = b.rho, R = kGasConstant;
    const bool dT = form == kDTemperature;
    switch (base) {
    case kCompressibilityFactor:
        *out = dT ? -P * (T * b.dDdT + rho) / (R * rho * rho * T * T)
                  : (rho - P * b.dDdP) * 0.001 / (R * rho * rho * T);
        return true;
    case kDensity:
        *out = dT ? b.dDdT * 1000.0 : b.dDdP;  // mol/L per kPa is mol/m3 per Pa
        return true;
    case kVolume:
        *out = dT ? -0.001 * b.dDdT / (rho * rho) : -1e-6 * b.dDdP / (rho * rho);
        return true;
    case kEnthalpy:
        if (dT) *out = points.enthalpyDerivatives ? b.dhdTp : b.cp;
        else *out = b.dhdpT * 0.001;
        return true;
    default:
        return false;
    }
}

}  // namespace

void FormDerivative(std::int32_t base, std::int32_t form, const SinglePhasePoints& points,
                    const std::vector<std::int32_t>& materialMap, double* out) {
    if (AnalyticDerivative(base, form, points, out)) return;
    const std::size_t nc = materialMap.size();
    const std::size_t width = IsPerCompoundBase(base) ? nc : 1;
    // Values at the base and at a perturbed point; on the stack for up to 16 compounds.
    double small0[16], small1[16];
    std::vector<double> large0, large1;
    if (width > 16) {
        large0.resize(width);
        large1.resize(width);
    }
    double* f0 = width > 16 ? large0.data() : small0;
    double* f1 = width > 16 ? large1.data() : small1;
    BaseValue(base, points.base, materialMap, f0);

    if (form == kDTemperature) {
        BaseValue(base, points.temperature, materialMap, f1);
        for (std::size_t i = 0; i < width; ++i) out[i] = (f1[i] - f0[i]) / points.dT;
        return;
    }
    if (form == kDPressure) {
        const EvaluationPoint& b = points.base;
        if (base == kFugacity) {
            // d(P x phi)/dP with phi differenced: dimensionless.
            const EvaluationPoint& p = points.pressure;
            for (std::size_t i = 0; i < nc; ++i) {
                const std::int32_t k = materialMap[i];
                out[i] = b.x[k] * (b.phi[k] + b.P * (p.phi[k] - b.phi[k]) / points.dP);
            }
            return;
        }
        BaseValue(base, points.pressure, materialMap, f1);
        for (std::size_t i = 0; i < width; ++i) out[i] = (f1[i] - f0[i]) / (points.dP * 1000.0);
        return;
    }
    const std::vector<EvaluationPoint>& perturbed = form == kDMoles ? points.moles : points.fractions;
    for (std::size_t j = 0; j < nc; ++j) {
        BaseValue(base, perturbed[j], materialMap, f1);
        for (std::size_t i = 0; i < width; ++i) out[j * width + i] = (f1[i] - f0[i]) / points.steps[j];
    }
}

}  // namespace tarnevo
