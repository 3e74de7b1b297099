#include "equilibrium/QualityFlash.h"

#include "equilibrium/FlashError.h"
#include "equilibrium/Saturation.h"

#include <cmath>

namespace tarnevo::engine::equilibrium {

namespace {

// Saturation at molar vapour fraction beta, at given T (atT) or p.
SaturationPoint saturate(const System& sys, bool atT, double v, double beta) {
    return atT ? saturationAtT(sys, v, beta) : saturationAtP(sys, v, beta);
}

double massFraction(const System& sys, const SaturationPoint& s, double beta) {
    double ml = sys.mixture().molarMass(s.x.data()), mv = sys.mixture().molarMass(s.y.data());
    return beta * mv / (beta * mv + (1 - beta) * ml);
}

FlashState flashQ(const System& sys, bool atT, double v, double q, int kq) {
    if (kq != 1 && kq != 2) throw FlashError(FlashErrorCode::BadInput, "kq must be 1 (molar) or 2 (mass)");
    if (!(q >= 0 && q <= 1)) throw FlashError(FlashErrorCode::BadInput, "vapour fraction must be within 0 and 1");
    if (kq == 1 || q == 0 || q == 1 || sys.pure()) {
        SaturationPoint s = saturate(sys, atT, v, q);
        return stateWithQuality(sys, s, q);
    }
    // Mass basis: secant on the molar fraction until the phases' mass fraction is q.
    double b0 = q, b1 = 0;
    SaturationPoint s0 = saturate(sys, atT, v, b0);
    double f0 = massFraction(sys, s0, b0) - q;
    {
        double ml = sys.mixture().molarMass(s0.x.data()), mv = sys.mixture().molarMass(s0.y.data());
        b1 = q * ml / (q * ml + (1 - q) * mv);   // molar fraction for these phase masses
    }
    for (int it = 0; it < 50; ++it) {
        SaturationPoint s1 = saturate(sys, atT, v, b1);
        double f1 = massFraction(sys, s1, b1) - q;
        if (std::fabs(f1) < 1e-13) return stateWithQuality(sys, s1, b1);
        double next = f1 != f0 ? b1 - f1 * (b1 - b0) / (f1 - f0) : 0.5 * (b0 + b1);
        if (!(next > 0 && next < 1)) next = 0.5 * (b1 + (f1 > 0 ? 0.0 : 1.0));
        b0 = b1;
        f0 = f1;
        b1 = next;
    }
    throw FlashError(FlashErrorCode::NotConverged, "mass-basis vapour fraction " + iterationsMessage(50));
}

}  // namespace

FlashState flashTQ(const System& sys, double T, double q, int kq) { return flashQ(sys, true, T, q, kq); }
FlashState flashPQ(const System& sys, double p, double q, int kq) { return flashQ(sys, false, p, q, kq); }

}  // namespace tarnevo::engine::equilibrium
