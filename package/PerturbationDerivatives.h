// Derivative forms of single-phase properties: the perturbed points (temperature,
// pressure, mole numbers, mole fractions) and the one-sided differences formed from them,
// plus the derivatives REFPROP gives analytically.
#pragma once

#include <cstdint>
#include <vector>

#include "package/SinglePhaseValues.h"

namespace tarnevo {

// Relative step of temperature and pressure, and the composition step.
constexpr double kRelativeStep = 1e-4;
constexpr double kCompositionStep = 1e-5;

// The represented composition step for a fraction x: +1e-5, or -1e-5 above 0.5.
double CompositionStep(double x) noexcept;
// `base` with element k raised by `step`, then divided by its sum (a mole-number point).
void MoleNumberPoint(const std::vector<double>& base, std::size_t k, double step, std::vector<double>& out);

// Evaluates, after the base point, every perturbed point whose form the request asks for:
// temperature, pressure, then the mole-number and mole-fraction points per material compound.
void EvaluatePerturbedPoints(PhaseEvaluator& evaluator, const PropertyRequest& request,
                             const std::vector<std::int32_t>& materialMap, SinglePhasePoints& points);

// The values of derivative form `form` (1 to 4) of `base` into `out`: one value, one per
// material compound, or nc x nc (element j * nc + i: compound i, perturbed compound j).
void FormDerivative(std::int32_t base, std::int32_t form, const SinglePhasePoints& points,
                    const std::vector<std::int32_t>& materialMap, double* out);

}  // namespace tarnevo
