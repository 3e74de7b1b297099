// Saturation states: pure-fluid vapour pressure and saturation temperature, and
// points of given vapour fraction of mixtures (bubble q = 0, dew q = 1).
#pragma once

#include "equilibrium/FlashState.h"
#include "equilibrium/System.h"

#include <vector>

namespace tarnevo::engine::equilibrium {

struct SaturationPoint {
    double T = 0, p = 0, rhoL = 0, rhoV = 0;
    std::vector<double> x, y;   // liquid and vapour compositions
};

// Pure fluid (the one component present in sys): equal Gibbs energies of the two roots.
SaturationPoint pureSaturationT(const System& sys, double T);
SaturationPoint pureSaturationP(const System& sys, double p);

// Mixture state with molar vapour fraction q (0 bubble, 1 dew) at given T (or p),
// by Newton on the fugacity equalities. Pure fluids go to the routines above.
SaturationPoint saturationAtT(const System& sys, double T, double q);
SaturationPoint saturationAtP(const System& sys, double p, double q);

// Two-phase state with vapour fraction q from a saturation point of the bulk composition.
FlashState stateWithQuality(const System& sys, const SaturationPoint& sat, double q);

}  // namespace tarnevo::engine::equilibrium
