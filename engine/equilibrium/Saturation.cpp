#include "equilibrium/Saturation.h"

#include "equilibrium/FlashError.h"
#include "equilibrium/LinearSolve.h"

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
                                 bool substituteFirst) {
    const std::vector<int>& idx = sys.present();
    const std::vector<double>& z = sys.z();
    int n = sys.size(), m = static_cast<int>(idx.size());
    std::vector<double> lnK;
    sys.wilsonLnK(T, p, lnK);
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
                             "converged to the trivial solution (too close to the critical point)");
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

}  // namespace

SaturationPoint saturationAtT(const System& sys, double T, double q) {
    checkQuality(q);
    if (!(T > 0) || !std::isfinite(T)) throw FlashError(FlashErrorCode::BadInput, "temperature must be positive");
    if (sys.pure()) return pureSaturationT(sys, T);
    double p0 = wilsonPressure(sys, T, q);
    try {
        return newtonSaturation(sys, T, p0, q, true, false);
    } catch (const FlashError&) {
        return newtonSaturation(sys, T, p0, q, true, true);
    }
}

SaturationPoint saturationAtP(const System& sys, double p, double q) {
    checkQuality(q);
    if (!(p > 0) || !std::isfinite(p)) throw FlashError(FlashErrorCode::BadInput, "pressure must be positive");
    if (sys.pure()) return pureSaturationP(sys, p);
    double T0 = wilsonTemperature(sys, p, q);
    try {
        return newtonSaturation(sys, T0, p, q, false, false);
    } catch (const FlashError&) {
        return newtonSaturation(sys, T0, p, q, false, true);
    }
}

FlashState stateWithQuality(const System& sys, const SaturationPoint& sat, double q) {
    return sys.twoPhase(sat.T, sat.p, q, sat.rhoL, sat.rhoV, sat.x, sat.y);
}

}  // namespace tarnevo::engine::equilibrium
