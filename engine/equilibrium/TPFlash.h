// Flash at given temperature and pressure.
#pragma once

#include "equilibrium/FlashState.h"
#include "equilibrium/System.h"

#include <vector>

namespace tarnevo::engine::equilibrium {

// What an earlier flash of the same system found; speeds up a sequence of flashes.
struct TPHint {
    bool twoPhase = false;
    std::vector<double> lnK;
    double rhoL = 0, rhoV = 0;
};

// NoRoot: a phase composition on the way has no density root (that phase does not exist).
enum class SplitOutcome { TwoPhase, OnePhase, NotConverged, NoRoot };

struct SplitResult {
    SplitOutcome outcome = SplitOutcome::NotConverged;
    double beta = 0, rhoL = 0, rhoV = 0;
    std::vector<double> x, y, lnK;
    int iterations = 0;
};

// Two-phase split at (T, p) from the estimate lnK: successive substitution with
// Rachford-Rice, accelerated, then Newton on the vapour amounts. Each phase takes its
// liquid or vapour root, or with stableRoots the root of lower Gibbs energy (needed
// when both phases are liquids).
SplitResult splitPhases(const System& sys, double T, double p, std::vector<double> lnK, bool stableRoots = false);

// Stability test, then split when unstable. Throws FlashError when the split does not converge.
FlashState flashTP(const System& sys, double T, double p, TPHint* hint = nullptr);

// Largest |ln f_i(liquid) - ln f_i(vapour)| of a two-phase state (0 for one phase).
double fugacityResidual(const System& sys, const FlashState& st);

}  // namespace tarnevo::engine::equilibrium
