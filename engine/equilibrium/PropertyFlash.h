// Flashes from pairs of state values other than (T, p): an outer solver around the
// T-P flash (or around one density root, for the single-phase solver).
#pragma once

#include "equilibrium/FlashState.h"
#include "equilibrium/System.h"

namespace tarnevo::engine::equilibrium {

enum class Spec { H, S, E, D };

// Where states come from: phase equilibrium (no phase given), or one density root.
struct Phase {
    bool single = false;
    Root root = Root::Stable;
    static Phase equilibrium() { return {}; }
    static Phase only(Root r) { return {true, r}; }
};

// Engine range of the outer solvers.
constexpr double kTMin = 1.0, kTMax = 3000.0;        // K
constexpr double kPMin = 1e-6, kPMax = 1e6;          // kPa
// Highest pressure of the T-H, T-S and T-E searches. Along an isotherm h and e return
// to the same value at pressures of hundreds of MPa (beyond the Joule-Thomson
// inversion); those states are outside every practical range and would make kr = 2
// pick them for ordinary gases and two-phase states.
constexpr double kPMaxAtT = 1e5;                     // kPa

FlashState flashTD(const System& sys, double T, double D, Phase phase = Phase::equilibrium());
// Given pressure and h, s, e or D; Tguess > 0 starts the search there.
FlashState flashPX(const System& sys, double p, Spec spec, double value, Phase phase = Phase::equilibrium(),
                   double Tguess = 0);
// Given temperature and h, s, e or D. Where two states up to kPMaxAtT share the values,
// kr = 1 takes the one of lower density, kr = 2 the one of higher density.
FlashState flashTX(const System& sys, double T, Spec spec, double value, int kr,
                   Phase phase = Phase::equilibrium());
// Given density and h, s or e.
FlashState flashDX(const System& sys, double D, Spec spec, double value, Phase phase = Phase::equilibrium());
// Given entropy and h or e.
FlashState flashSX(const System& sys, double s, Spec spec, double value, Phase phase = Phase::equilibrium());

// The value of a state for spec (D as molar volume 1 / rho is what the solvers use).
double specValue(const FlashState& st, Spec spec);

}  // namespace tarnevo::engine::equilibrium
