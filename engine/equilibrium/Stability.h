// Phase stability by tangent-plane analysis (Michelsen).
#pragma once

#include "equilibrium/System.h"

#include <vector>

namespace tarnevo::engine::equilibrium {

struct StabilityResult {
    bool stable = true;
    std::vector<double> lnK;   // when unstable: ln(y/x) estimate for the phase split
    std::vector<std::vector<double>> candidates;   // exhaustive: every trial with tpd < 0
};

// Tests the phase with bulk composition z whose ln(z_i phi_i) are d at (T, p).
// Trial phases start from Wilson's K-values (vapour-like and liquid-like) and
// from lnKextra when given (e.g. K-values of an earlier flash); for a liquid-like
// phase also from phases rich in each component (liquid-liquid splits).
// Stops at the first trial with a negative tangent-plane distance unless exhaustive.
StabilityResult testStability(const System& sys, double T, double p, const std::vector<double>& d,
                              const std::vector<double>* lnKextra = nullptr, bool liquidLike = false,
                              bool exhaustive = false);

}  // namespace tarnevo::engine::equilibrium
