// Flashes at given vapour fraction: T-Q and P-Q, molar (kq = 1) or mass (kq = 2) basis.
#pragma once

#include "equilibrium/FlashState.h"
#include "equilibrium/System.h"

namespace tarnevo::engine::equilibrium {

FlashState flashTQ(const System& sys, double T, double q, int kq);
FlashState flashPQ(const System& sys, double p, double q, int kq);

}  // namespace tarnevo::engine::equilibrium
