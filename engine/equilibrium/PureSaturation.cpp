#include "equilibrium/FlashError.h"
#include "equilibrium/Saturation.h"

#include <cmath>
#include <string>

namespace tarnevo::engine::equilibrium {

namespace {

// Branch of a single root below the critical temperature: liquid where p(rho) is convex.
bool onLiquidBranch(const System& sys, double T, double rho) {
    Properties pr;
    sys.mixture().properties(T, rho, sys.z().data(), pr);
    return pr.d2Pdrho2 > 0;
}

const ComponentConstants& pureConstants(const System& sys) {
    return sys.mixture().component(sys.present()[0]);
}

}  // namespace

SaturationPoint pureSaturationT(const System& sys, double T) {
    const ComponentConstants& c = pureConstants(sys);
    if (!(T > 0) || !std::isfinite(T))
        throw FlashError(FlashErrorCode::BadInput, "temperature must be positive");
    if (T >= c.tCritical)
        throw FlashError(FlashErrorCode::NoSolution, "temperature is at or above the critical temperature (" +
                                                         num(c.tCritical) + " K)");
    const double* x = sys.z().data();
    // f(ln p) = ln phi_L - ln phi_V falls with p; bracketed Newton with d f / d ln p = Z_L - Z_V.
    double lo = -1e300, hi = 1e300;   // ln p bounds
    double lnp = std::log(sys.mixture().vapourPressureGuess(sys.present()[0], T));
    double rhoL = 0, rhoV = 0;
    LnPhi fl, fv;
    const double R = sys.mixture().model().gasConstant();
    auto result = [&](double p) {
        SaturationPoint s;
        s.T = T;
        s.p = p;
        s.rhoL = rhoL;
        s.rhoV = rhoV;
        s.x = s.y = sys.z();
        return s;
    };
    for (int it = 0; it < 300; ++it) {
        double p = std::exp(lnp);
        double next;
        bool two = sys.twoRoots(T, p, x, rhoL, rhoV, rhoL, rhoV);
        if (two) {
            sys.mixture().lnPhi(T, rhoL, x, 0, fl);
            sys.mixture().lnPhi(T, rhoV, x, 0, fv);
            int k = sys.present()[0];
            double f = fl.lnphi[k] - fv.lnphi[k];
            // ln phi carries rounding of about 1e-13.
            if (std::fabs(f) < 1e-12) return result(p);
            if (f > 0) lo = lnp; else hi = lnp;
            // Z_L - Z_V (kPa L = J).
            double slope = p * (1.0 / rhoL - 1.0 / rhoV) / (R * T);
            next = lnp - f / slope;
            if (std::fabs(next - lnp) < 1e-13) return result(std::exp(next));
        } else {
            if (onLiquidBranch(sys, T, rhoL)) hi = lnp; else lo = lnp;
            next = lnp;
        }
        if (!(next > lo && next < hi)) {
            if (lo > -1e299 && hi < 1e299) next = 0.5 * (lo + hi);
            else if (lo > -1e299) next = lo + 1.0;
            else next = hi - 1.0;
        }
        if (hi - lo < 1e-13 * std::max(1.0, std::fabs(lnp))) {
            if (two) return result(p);
            throw FlashError(FlashErrorCode::NoSolution,
                             "no two-phase region at this temperature (too close to the critical point)");
        }
        lnp = next;
    }
    throw FlashError(FlashErrorCode::NotConverged, "vapour pressure " + iterationsMessage(300));
}

SaturationPoint pureSaturationP(const System& sys, double p) {
    const ComponentConstants& c = pureConstants(sys);
    if (!(p > 0) || !std::isfinite(p))
        throw FlashError(FlashErrorCode::BadInput, "pressure must be positive");
    if (p >= c.pCritical)
        throw FlashError(FlashErrorCode::NoSolution, "pressure is at or above the critical pressure (" +
                                                         num(c.pCritical) + " kPa)");
    // Newton on 1/T for ln psat(T) = ln p, with the vapour pressure routine inside.
    double lo = 0, hi = c.tCritical;
    double T = c.tCritical / (1 - std::log(p / c.pCritical) / (5.373 * (1 + c.acentric)));
    if (!(T > 0 && T < hi)) T = 0.7 * c.tCritical;
    SaturationPoint last;
    bool haveLast = false;
    for (int it = 0; it < 100; ++it) {
        SaturationPoint s;
        bool ok = true;
        try {
            s = pureSaturationT(sys, T);
        } catch (const FlashError& e) {
            if (e.code() != FlashErrorCode::NoSolution) throw;
            ok = false;   // too close to Tc: T is too high
        }
        double next;
        if (ok) {
            double f = std::log(s.p / p);
            if (std::fabs(f) < 1e-12) return s;
            last = s;
            haveLast = true;
            if (f > 0) hi = T; else lo = T;
            Properties l, v;
            sys.mixture().properties(T, s.rhoL, sys.z().data(), l);
            sys.mixture().properties(T, s.rhoV, sys.z().data(), v);
            // Clausius-Clapeyron: d ln p / dT = (hV - hL) / (T p (vV - vL)).
            double slope = (v.h - l.h) / (T * s.p * (1.0 / s.rhoV - 1.0 / s.rhoL));
            next = T - f / slope;
        } else {
            hi = T;
            next = T;
        }
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (ok && std::fabs(next - T) < 1e-12 * T) return s;
        if (hi - lo < 1e-12 * T) {
            if (haveLast && std::fabs(std::log(last.p / p)) < 1e-9) return last;
            throw FlashError(FlashErrorCode::NoSolution, "no saturation temperature at this pressure");
        }
        T = next;
    }
    throw FlashError(FlashErrorCode::NotConverged, "saturation temperature " + iterationsMessage(100));
}

}  // namespace tarnevo::engine::equilibrium
