#include "equilibrium/Saturation.h"

#include "equilibrium/FlashError.h"
#include "equilibrium/LinearSolve.h"
#include "equilibrium/TPFlash.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tarnevo::engine::equilibrium {

namespace {

// Wilson estimate of the pressure (or temperature) where the K-values give vapour fraction q.
double wilsonResidual(const System& sys, double T, double p, double q) {
    std::vector<double> lnK;
    sys.wilsonLnK(T, p, lnK);
    double g = 0;
    for (int i : sys.present()) {
        double K = std::exp(lnK[i]);
        g += sys.z()[i] * (K - 1) / (1 + q * (K - 1));
    }
    return g;   // falls with p, rises with T
}

double wilsonPressure(const System& sys, double T, double q) {
    double lo = std::log(1e-10), hi = std::log(1e9);
    for (int it = 0; it < 200 && hi - lo > 1e-10; ++it) {
        double mid = 0.5 * (lo + hi);
        if (wilsonResidual(sys, T, std::exp(mid), q) > 0) lo = mid; else hi = mid;
    }
    return std::exp(0.5 * (lo + hi));
}

double wilsonTemperature(const System& sys, double p, double q) {
    double lo = 1.0, hi = 5000.0;
    for (int it = 0; it < 200 && hi - lo > 1e-9 * hi; ++it) {
        double mid = 0.5 * (lo + hi);
        if (wilsonResidual(sys, mid, p, q) > 0) hi = mid; else lo = mid;
    }
    return 0.5 * (lo + hi);
}

// Vapour-fraction residual of K-values scaled as K_i * c_i(u) (u = ln p or 1/T shift).
double scaledResidual(const System& sys, const std::vector<double>& lnK, const std::vector<double>& shift,
                      double u, double q) {
    double g = 0;
    for (int i : sys.present()) {
        double K = std::exp(lnK[i] + shift[i] * u);
        g += sys.z()[i] * (K - 1) / (1 + q * (K - 1));
    }
    return g;
}

// Successive substitution on K with the pressure (or temperature) moved so that the
// K-values give vapour fraction q, K_i taken proportional to 1/p (or to Wilson's T-dependence).
void substitute(const System& sys, double& T, double& p, double q, bool pressureUnknown, std::vector<double>& lnK) {
    const std::vector<int>& idx = sys.present();
    const std::vector<double>& z = sys.z();
    int n = sys.size();
    std::vector<double> x(n, 0.0), y(n, 0.0), shift(n, 0.0);
    for (int i : idx) {
        const ComponentConstants& c = sys.mixture().component(i);
        shift[i] = pressureUnknown ? -1.0 : 5.373 * (1 + c.acentric) * c.tCritical;
    }
    LnPhi fl, fv;
    double rhoL = 0, rhoV = 0;
    for (int it = 0; it < 60; ++it) {
        // Move p (or 1/T) to balance the current K-values: u = ln(p'/p) or 1/T - 1/T'.
        double a = pressureUnknown ? -30.0 : 1 / T - 1.0, b = pressureUnknown ? 30.0 : 1 / T - 1 / 5000.0;
        for (int k = 0; k < 100; ++k) {
            double mid = 0.5 * (a + b);
            bool rises = scaledResidual(sys, lnK, shift, mid, q) > 0;
            if (rises == pressureUnknown) a = mid; else b = mid;
        }
        double u = 0.5 * (a + b);
        for (int i : idx) lnK[i] += shift[i] * u;
        if (pressureUnknown) p *= std::exp(u);
        else T = 1 / (1 / T - u);
        double sx = 0, sy = 0;
        for (int i : idx) {
            double K = std::exp(lnK[i]);
            x[i] = z[i] / (1 + q * (K - 1));
            y[i] = K * x[i];
            sx += x[i];
            sy += y[i];
        }
        for (int i : idx) { x[i] /= sx; y[i] /= sy; }
        rhoL = sys.density(T, p, x.data(), Root::Liquid, rhoL);
        rhoV = sys.density(T, p, y.data(), Root::Vapour, rhoV);
        sys.mixture().lnPhi(T, rhoL, x.data(), 0, fl);
        sys.mixture().lnPhi(T, rhoV, y.data(), 0, fv);
        double step = 0;
        for (int i : idx) {
            double next = fl.lnphi[i] - fv.lnphi[i];
            step += (next - lnK[i]) * (next - lnK[i]);
            lnK[i] = next;
        }
        if (step < 1e-6) return;
    }
}

// Newton on ln K_i and ln p (pressureUnknown) or ln T.
SaturationPoint newtonSaturation(const System& sys, double T, double p, double q, bool pressureUnknown,
                                 bool substituteFirst, const std::vector<double>* start = nullptr) {
    const std::vector<int>& idx = sys.present();
    const std::vector<double>& z = sys.z();
    int n = sys.size(), m = static_cast<int>(idx.size());
    std::vector<double> lnK;
    if (start) lnK = *start;
    else sys.wilsonLnK(T, p, lnK);
    if (substituteFirst) substitute(sys, T, p, q, pressureUnknown, lnK);
    std::vector<double> x(n, 0.0), y(n, 0.0), xn(n, 0.0), yn(n, 0.0), dx(n, 0.0), dy(n, 0.0);
    std::vector<double> A((m + 1) * (m + 1)), F(m + 1);
    LnPhi fl, fv;
    double rhoL = 0, rhoV = 0, prevNorm = 1e300;
    const int maxIterations = 100;
    for (int it = 0; it < maxIterations; ++it) {
        double sx = 0, sy = 0;
        for (int i : idx) {
            double K = std::exp(lnK[i]);
            double D = 1 + q * (K - 1);
            x[i] = z[i] / D;
            y[i] = K * x[i];
            dx[i] = -x[i] * q * K / D;
            dy[i] = y[i] * (1 - q) / D;
            sx += x[i];
            sy += y[i];
        }
        for (int i : idx) {
            xn[i] = x[i] / sx;
            yn[i] = y[i] / sy;
        }
        rhoL = sys.density(T, p, xn.data(), Root::Liquid, rhoL);
        rhoV = sys.density(T, p, yn.data(), Root::Vapour, rhoV);
        sys.mixture().lnPhi(T, rhoL, xn.data(), 2, fl);
        sys.mixture().lnPhi(T, rhoV, yn.data(), 2, fv);
        double norm = 0, trivial = 0;
        for (int a = 0; a < m; ++a) {
            int i = idx[a];
            F[a] = lnK[i] + fv.lnphi[i] - fl.lnphi[i];
            norm = std::max(norm, std::fabs(F[a]));
            trivial += lnK[i] * lnK[i];
        }
        F[m] = sy - sx;
        norm = std::max(norm, std::fabs(F[m]));
        if (it > 0 && trivial < 1e-8 * m)
            throw FlashError(FlashErrorCode::NoSolution,
                             "converged to the trivial solution (no two-phase state there, or too close to the critical point)");
        bool stalled = norm < 1e-8 && norm >= 0.5 * prevNorm;
        prevNorm = norm;
        if (norm < 1e-12 || stalled) {
            SaturationPoint s;
            s.T = T;
            s.p = p;
            s.rhoL = rhoL;
            s.rhoV = rhoV;
            s.x = xn;
            s.y = yn;
            return s;
        }
        int N = m + 1;
        for (int a = 0; a < m; ++a) {
            int i = idx[a];
            for (int b = 0; b < m; ++b) {
                int j = idx[b];
                A[a * N + b] = (a == b ? 1.0 : 0.0) + fv.dn[i * n + j] / sy * dy[j] -
                               fl.dn[i * n + j] / sx * dx[j];
            }
            A[a * N + m] = pressureUnknown ? p * (fv.dP[i] - fl.dP[i]) : T * (fv.dT[i] - fl.dT[i]);
        }
        for (int b = 0; b < m; ++b) A[m * N + b] = dy[idx[b]] - dx[idx[b]];
        A[m * N + m] = 0;
        for (double& v : F) v = -v;
        if (!solveLinear(A, F, N))
            throw FlashError(FlashErrorCode::NotConverged, "singular Newton matrix (too close to the critical point)");
        double scale = 1;
        double big = std::fabs(F[m]) / 0.2;
        for (int a = 0; a < m; ++a) big = std::max(big, std::fabs(F[a]) / 2.0);
        if (big > 1) scale = 1 / big;
        for (int a = 0; a < m; ++a) lnK[idx[a]] += scale * F[a];
        if (pressureUnknown) p *= std::exp(scale * F[m]);
        else T *= std::exp(scale * F[m]);
        if (!(p > 0 && p < 1e8 && T > 1 && T < 1e4))
            throw FlashError(FlashErrorCode::NoSolution, "no saturation state (the iteration left the range)");
    }
    throw FlashError(FlashErrorCode::NotConverged, iterationsMessage(maxIterations));
}

void checkQuality(double q) {
    if (!(q >= 0 && q <= 1)) throw FlashError(FlashErrorCode::BadInput, "vapour fraction must be within 0 and 1");
}

// Phases of the T-P flash of the bulk: 1 two phases, 0 one phase, -1 no answer.
int phasesAt(const System& sys, double T, double p, TPHint* hint = nullptr, std::vector<double>* lnK = nullptr,
             FlashState* state = nullptr) {
    try {
        FlashState st = flashTP(sys, T, p, hint);
        if (st.twoPhase && lnK) {
            lnK->assign(sys.size(), 0.0);
            for (int i : sys.present()) (*lnK)[i] = std::log(st.y[i] / st.x[i]);
        }
        if (state) *state = st;
        return st.twoPhase ? 1 : 0;
    } catch (const FlashError&) {
        return -1;
    }
}

double distance(const System& sys, const std::vector<double>& a, const std::vector<double>& b) {
    double d = 0;
    for (int i : sys.present()) d += std::fabs(a[i] - b[i]);
    return d;
}

// Relative step to either side of a bubble or dew point where the bulk must be one
// phase (outside) and two phases (inside).
constexpr double kSide = 1e-4;

// The variable moved (T, or p when atT) and the direction into the two-phase region of
// the branch returned: bubble points at the lowest T (highest p) of two phases, dew
// points at the highest T (lowest p).
double insideDirection(bool atT, double q) {
    bool dew = q == 1;
    if (atT) return dew ? 1.0 : -1.0;
    return dew ? -1.0 : 1.0;
}

// Why sat is not the bubble (q = 0) or dew (q = 1) point asked for ("" when it is).
std::string rejection(const System& sys, const SaturationPoint& sat, bool atT, double q) {
    double biggest = 0;
    for (int i : sys.present()) biggest = std::max(biggest, std::fabs(std::log(sat.y[i] / sat.x[i])));
    if (biggest < 1e-3) return "the phases are nearly identical (too close to the critical point)";
    if (!(sat.rhoL > sat.rhoV * (1 + 1e-6))) return "the liquid is not denser than the vapour";
    if (q != 0 && q != 1) {
        // A split the T-P flash does not find is not the equilibrium (a vapour fraction
        // near 0 or 1 may be too small for its stability test).
        if (q > 0.01 && q < 0.99 && phasesAt(sys, sat.T, sat.p) == 0) return "the bulk is one phase at this state";
        return "";
    }
    double s = insideDirection(atT, q) * kSide;
    double Tin = atT ? sat.T : sat.T * (1 + s), Tout = atT ? sat.T : sat.T * (1 - s);
    double pin = atT ? sat.p * (1 + s) : sat.p, pout = atT ? sat.p * (1 - s) : sat.p;
    if (phasesAt(sys, Tin, pin) != 1)
        return "the state is not on the boundary of the two-phase region on the side asked for";
    // Outside: one phase, or a split into other phases (a liquid-liquid split beside a
    // bubble point), not into the bulk and the incipient phase.
    FlashState out;
    int ph = phasesAt(sys, Tout, pout, nullptr, nullptr, &out);
    if (ph < 0) return "no T-P flash beside the state";
    if (ph == 1) {
        const std::vector<double>& incipient = q == 0 ? sat.y : sat.x;
        double own = distance(sys, incipient, sys.z());
        if (std::min(distance(sys, incipient, out.x), distance(sys, incipient, out.y)) < 0.5 * own)
            return "the state is not on the boundary of the two-phase region on the side asked for";
    }
    return "";
}

const char* pointName(double q) { return q == 0 ? "bubble point" : q == 1 ? "dew point" : "saturation state"; }

// Bubble or dew point by a scan of the T-P flash along T (or ln p) from the one-phase
// side, bisection of the first change to two phases, and Newton from the K-values of
// the two-phase end.
SaturationPoint scanSaturation(const System& sys, bool atT, double v, double q, double estimate) {
    double dir = insideDirection(atT, q);
    double Tc = 0, TcMin = 1e300;
    for (int i : sys.present()) {
        Tc = std::max(Tc, sys.mixture().component(i).tCritical);
        TcMin = std::min(TcMin, sys.mixture().component(i).tCritical);
    }
    // u: T, or ln p; start on the one-phase side of the estimate and move inwards.
    double lo = atT ? std::log(1e-8) : 0.3 * TcMin, hi = atT ? std::log(2e5) : 1.5 * Tc;
    // Bubble points lie below dew points in T (above them in p): the other kind's
    // estimate bounds the scan, which keeps it away from liquid-liquid splits.
    double other = atT ? wilsonPressure(sys, v, 1 - q) : wilsonTemperature(sys, v, 1 - q);
    if (std::isfinite(other) && other > 0) {
        double bound = atT ? std::log(other) + dir * std::log(3.0) : other * (1 + dir * 0.1);
        if (dir > 0) hi = std::min(hi, bound); else lo = std::max(lo, bound);
    }
    double u = dir > 0 ? lo : hi;
    if (std::isfinite(estimate) && estimate > 0) {
        double e = atT ? std::log(estimate) - dir * 2.3 : estimate * (1 - dir * 0.3);
        if (e > lo && e < hi) u = e;
    }
    double step = atT ? 0.05 : 0.01 * u;
    auto at = [&](double w, TPHint* hint, std::vector<double>* lnK) {
        return atT ? phasesAt(sys, v, std::exp(w), hint, lnK) : phasesAt(sys, w, v, hint, lnK);
    };
    TPHint hint;
    int ph = at(u, &hint, nullptr);
    // Back out to the one-phase side when the start is two-phase.
    for (int k = 0; k < 200 && ph != 0; ++k) {
        u -= dir * step;
        if (u < lo || u > hi)
            throw FlashError(FlashErrorCode::NoSolution,
                             std::string("no one-phase state to start the search for the ") + pointName(q));
        ph = at(u, &hint, nullptr);
    }
    double outside = u, inside = 0;
    bool found = false;
    for (int k = 0; k < 2000; ++k) {
        double next = outside + dir * step;
        if (next < lo || next > hi) break;
        int r = at(next, &hint, nullptr);
        if (r == 1) {
            inside = next;
            found = true;
            break;
        }
        outside = next;   // one phase, or no answer: keep going
        if (!atT) step = 0.01 * outside;
    }
    if (!found)
        throw FlashError(FlashErrorCode::NoSolution, std::string("no ") + pointName(q) + " (no two-phase state at this " +
                                                         (atT ? "temperature" : "pressure") + ")");
    std::vector<double> lnK;
    for (int k = 0; k < 40; ++k) {
        double mid = 0.5 * (outside + inside);
        double width = std::fabs(inside - outside) / (atT ? 1.0 : std::fabs(inside));
        std::vector<double> trial;
        int r = at(mid, nullptr, &trial);
        if (r == 1) {
            inside = mid;
            lnK = trial;
        } else {
            outside = mid;
        }
        if (width < 1e-7) break;
        if (width < 1e-3 && !lnK.empty()) {
            double T = atT ? v : inside, p = atT ? std::exp(inside) : v;
            try {
                SaturationPoint s = newtonSaturation(sys, T, p, q, atT, false, &lnK);
                if (rejection(sys, s, atT, q).empty()) return s;
            } catch (const FlashError& e) {
                if (e.code() == FlashErrorCode::BadInput) throw;
            }
        }
    }
    if (lnK.empty()) {
        std::vector<double> trial;
        if (at(inside, nullptr, &trial) == 1) lnK = trial;
    }
    if (!lnK.empty()) {
        double T = atT ? v : inside, p = atT ? std::exp(inside) : v;
        std::string near = std::string("no converged ") + pointName(q) + " near " +
                           (atT ? "P = " + num(p) + " kPa" : "T = " + num(T) + " K") + ": ";
        std::string why;
        try {
            SaturationPoint s = newtonSaturation(sys, T, p, q, atT, false, &lnK);
            why = rejection(sys, s, atT, q);
            if (why.empty()) return s;
        } catch (const FlashError& e) {
            if (e.code() == FlashErrorCode::BadInput) throw;
            throw FlashError(e.code(), near + e.what());
        }
        throw FlashError(FlashErrorCode::NoSolution, near + why);
    }
    throw FlashError(FlashErrorCode::NoSolution, std::string("no ") + pointName(q) + " found (no two-phase state there, or too close to the critical point)");
}

// Newton from Wilson's estimate, checked; a scan of the T-P flash when that fails.
SaturationPoint saturation(const System& sys, bool atT, double v, double q) {
    double start = atT ? wilsonPressure(sys, v, q) : wilsonTemperature(sys, v, q);
    double T0 = atT ? v : start, p0 = atT ? start : v;
    std::string why;
    for (bool substituteFirst : {false, true}) {
        try {
            SaturationPoint s = newtonSaturation(sys, T0, p0, q, atT, substituteFirst);
            why = rejection(sys, s, atT, q);
            if (why.empty()) return s;
        } catch (const FlashError& e) {
            if (e.code() == FlashErrorCode::BadInput) throw;
            why = e.what();
        }
    }
    if (q != 0 && q != 1) throw FlashError(FlashErrorCode::NoSolution, why);
    return scanSaturation(sys, atT, v, q, start);
}

}  // namespace

SaturationPoint saturationAtT(const System& sys, double T, double q) {
    checkQuality(q);
    if (!(T > 0) || !std::isfinite(T)) throw FlashError(FlashErrorCode::BadInput, "temperature must be positive");
    if (sys.pure()) return pureSaturationT(sys, T);
    return saturation(sys, true, T, q);
}

SaturationPoint saturationAtP(const System& sys, double p, double q) {
    checkQuality(q);
    if (!(p > 0) || !std::isfinite(p)) throw FlashError(FlashErrorCode::BadInput, "pressure must be positive");
    if (sys.pure()) return pureSaturationP(sys, p);
    return saturation(sys, false, p, q);
}

FlashState stateWithQuality(const System& sys, const SaturationPoint& sat, double q) {
    return sys.twoPhase(sat.T, sat.p, q, sat.rhoL, sat.rhoV, sat.x, sat.y);
}

}  // namespace tarnevo::engine::equilibrium
