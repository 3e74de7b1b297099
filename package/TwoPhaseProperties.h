// CalcTwoPhaseProp: K-values, their logarithms and surface tension between the vapour and
// liquid of the material, with their derivatives, in the material's compound order.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "package/SinglePhaseProperties.h"

namespace tarnevo {

// The state of both phases at one evaluation point (package order).
struct TwoPhasePoint {
    double T[2] = {};              // K, by phase (0 liquid, 1 vapour)
    double P[2] = {};              // kPa
    std::vector<double> x[2];
    double rho[2] = {};            // mol/L
    std::vector<double> phi[2];
    double sigma = 0;              // N/m
};

class TwoPhaseCalculation {
public:
    explicit TwoPhaseCalculation(PropertyCalculationContext& context) : context_(context) {}

    // Validates the labels and names, resolves the mapping via `resolveMapping`, reads both
    // phases, evaluates and writes every property. Throws CapeFailure.
    template <class Resolve>
    void Run(const VARIANT& props, const VARIANT& phaseLabels, Resolve&& resolveMapping) {
        ReadPhaseLabels(phaseLabels);
        ReadProperties(props);
        resolveMapping();
        Calculate(phaseLabels);
    }
    // The same evaluation at a state the caller gives, for the phase pair ("Vapor", "Liquid"):
    // the properties `ids` at T (K), P (Pa) and the vapour and liquid fractions (material
    // order). Throws CapeFailure; afterwards Result(k) holds the values of ids[k].
    void Compute(const std::vector<std::int32_t>& ids, double temperature, double pressure,
                 const std::vector<double>& vapor, const std::vector<double>& liquid);
    // The values of request item k in the result array of its shape (valid until the next call).
    const VARIANT& Result(std::size_t k);

private:
    void ReadPhaseLabels(const VARIANT& phaseLabels);
    void ReadProperties(const VARIANT& props);
    void Calculate(const VARIANT& phaseLabels);
    void SetPhaseState(int phase, double temperature, double pressure, const std::vector<double>& fractions);
    // The base point and every perturbed point the requested forms need.
    void EvaluatePoints();
    // Densities of the phases in `which` (bit 1 liquid, bit 2 vapour), then the fugacity
    // coefficients and surface tension of the properties asking for `formBit`. `kind`: 0 base,
    // 1 temperature, 2 pressure, 3 liquid composition, 4 vapour composition.
    void Evaluate(TwoPhasePoint& point, int kind, unsigned which, const TwoPhasePoint* guess, unsigned formBit);
    void Values(std::int32_t id, double* out) const;

    PropertyCalculationContext& context_;
    int phaseAt_[2] = {};          // phase (0 liquid, 1 vapour) at list position
    std::vector<std::int32_t> ids_;
    std::vector<BSTR> names_;
    VariantArray nameArray_;
    unsigned forms_[kTwoPhaseBaseCount] = {};
    TwoPhasePoint base_, temperature_, pressure_;
    std::vector<TwoPhasePoint> moles_[2], fractions_[2];  // by phase, per material compound
    std::vector<double> steps_[2];
    double dT_ = 0, dP_ = 0;
};

}  // namespace tarnevo
