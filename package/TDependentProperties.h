// Temperature- and pressure-dependent pure-compound properties computed with the package's REFPROP
// instance, one compound at a time as a pure fluid.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "TARNEVO.h"
#include "definition/CompoundRecord.h"
#include "refprop/RefpropBinding.h"

namespace tarnevo {

// The package state an evaluation works on: the REFPROP instance, the host's diagnostic
// interface for warnings (may be null), and the work arrays (one element per compound).
struct TDependentWorkspace {
    RefpropBinding& refprop;
    ICapeDiagnostic* diagnostics;
    std::vector<double>& composition;
    std::vector<double>& liquidComposition;
    std::vector<double>& vaporComposition;
    std::vector<double>& fugacityCoefficients;
};

struct TDependentCounts {
    std::size_t valued = 0;   // elements that received a value
    std::size_t missing = 0;  // elements set to the missing value (NaN)
};

// Evaluates `properties` (TDependentId) at `temperature` (K) for `compounds` (package indices)
// into values[k * compounds.size() + i], in CAPE-OPEN SI units; elements without a value are
// NaN. The composition array ends all zeros. A REFPROP error stops the evaluation with a
// CapeFailure carrying REFPROP's message; warnings go to the diagnostics.
TDependentCounts EvaluateTDependentProperties(TDependentWorkspace& workspace, double temperature,
                                              const std::vector<std::int32_t>& compounds,
                                              const std::vector<std::int32_t>& properties, double* values);

// Evaluates `properties` (PDependentId) at `pressure` (Pa) like EvaluateTDependentProperties.
// boilingPointTemperature (K) is the saturated liquid of the pure compound (a P-Q flash at
// q = 0); missing at or above the compound's critical pressure (`records`, package order).
TDependentCounts EvaluatePDependentProperties(TDependentWorkspace& workspace, const std::vector<CompoundRecord>& records,
                                              double pressure, const std::vector<std::int32_t>& compounds,
                                              const std::vector<std::int32_t>& properties, double* values);

}  // namespace tarnevo
