// Values of the single-phase base properties in CAPE-OPEN SI units, from the REFPROP
// outputs stored at one evaluation point, and the evaluation points of one request.
#pragma once

#include <cstdint>
#include <vector>

#include "package/PhaseEvaluation.h"

namespace tarnevo {

constexpr double kGasConstant = 8.31447215;  // J/(mol K)

// The points of one request: the base and the perturbed points that were evaluated.
struct SinglePhasePoints {
    EvaluationPoint base;
    EvaluationPoint temperature;
    EvaluationPoint pressure;
    std::vector<EvaluationPoint> moles;      // per material compound
    std::vector<EvaluationPoint> fractions;  // per material compound
    std::vector<double> steps;               // composition step per material compound
    double dT = 0;                           // K
    double dP = 0;                           // kPa
    bool enthalpyDerivatives = false;        // DHD1dll ran at the base point
};

// "fugacity", "fugacityCoefficient" and "logFugacityCoefficient": one value per compound.
bool IsPerCompoundBase(std::int32_t base) noexcept;
// Properties reported with basis "mole".
bool IsMolarBase(std::int32_t base) noexcept;
// Number of values of a single-phase identifier for `nc` material compounds.
std::size_t ValueCount(std::int32_t id, std::size_t nc) noexcept;

// SI value(s) of `base` at `point` into `out` (1 value, or one per material compound in
// material order). Throws CapeFailure "No data" for a negative density, viscosity,
// thermal conductivity or compressibility.
void BaseValue(std::int32_t base, const EvaluationPoint& point, const std::vector<std::int32_t>& materialMap,
               double* out);

}  // namespace tarnevo
