// Reading a phase's conditions from the host's material and writing property values to it,
// with the failure texts of the property routines.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TARNEVO.h"
#include "automation/VariantArray.h"

namespace tarnevo {

// GetTPFraction of `phaseLabel`: T (K), P (Pa) and the composition in material order.
// A refused call throws `failurePrefix` + the material's error text; a composition that is
// not a double array throws "Invalid values for composition from material object: " + the
// reason; one with other than `count` values throws `countMessage`.
void ReadPhaseState(ICapeThermoMaterial* material, BSTR phaseLabel, const std::wstring& failurePrefix,
                    std::size_t count, const wchar_t* countMessage, double& temperature, double& pressure,
                    std::vector<double>& fractions);

// Sizes `result` for `count` doubles (reused when it already has them) and locks it; the
// caller fills Elements<double>() and unlocks.
double* PrepareResult(VariantArray& result, std::size_t count);

// True when `label` is "Vapor" or "Liquid" (any case, whole BSTR); sets kph (2 or 1).
bool PhaseSelector(BSTR label, int& kph) noexcept;

}  // namespace tarnevo
