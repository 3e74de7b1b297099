// The result of every flash: temperature, pressure, phases and bulk properties.
#pragma once

#include "core/Mixture.h"

#include <vector>

namespace tarnevo::engine::equilibrium {

// q outside the two-phase region.
constexpr double kQLiquid = -998;
constexpr double kQVapour = 998;
constexpr double kQSupercritical = 999;
// cv, cp and w inside the two-phase region, where they are not defined.
constexpr double kUndefined = -9.99999e6;

struct FlashState {
    double T = 0, p = 0, rho = 0;      // K, kPa, mol/L (bulk)
    double rhoL = 0, rhoV = 0;         // phase densities (both = rho in one phase)
    std::vector<double> x, y;          // liquid and vapour compositions (both = z in one phase)
    bool twoPhase = false;
    double beta = 0;                   // molar vapour fraction when two-phase
    double q = 0;                      // beta, or -998 / 998 / 999 in one phase
    double e = 0, h = 0, s = 0;        // bulk, J/mol and J/(mol K)
    double cv = kUndefined, cp = kUndefined, w = kUndefined;
    engine::Properties props;          // the single phase's properties (one phase only)
};

}  // namespace tarnevo::engine::equilibrium
