// The single-phase solver: two state values given, one density root (kph 1 liquid,
// 2 vapour), no phase equilibrium.
#pragma once

#include "equilibrium/FlashState.h"
#include "equilibrium/System.h"

#include <string>

namespace tarnevo::engine::equilibrium {

// code: "TD", "TH", "TS", "TE", "PD", "PH", "PS", "PE", "DH", "DS", "DE", "SH" (a = s,
// b = h) or "HS" (a = h, b = s), in either letter case. The result's density must lie
// within [Dmin, Dmax]. Tguess > 0 starts the temperature search there.
FlashState singlePhaseFlash(const System& sys, const std::string& code, double a, double b, int kph,
                            double Dmin, double Dmax, double Tguess = 0);

}  // namespace tarnevo::engine::equilibrium
