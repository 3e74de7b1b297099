#include "equilibrium/TPFlash.h"

#include "equilibrium/FlashError.h"
#include "equilibrium/LinearSolve.h"
#include "equilibrium/RachfordRice.h"
#include "equilibrium/Stability.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tarnevo::engine::equilibrium {

namespace {

double gibbsOf(const std::vector<int>& idx, const std::vector<double>& x, const LnPhi& f) {
    double g = 0;
    for (int i : idx)
        if (x[i] > 0) g += x[i] * (std::log(x[i]) + f.lnphi[i]);
    return g;
}

// Newton on the vapour amounts v_i with l_i = z_i - v_i. Returns true when converged.
bool newtonSplit(const System& sys, double T, double p, SplitResult& r, Root liquidRoot, Root vapourRoot) {
    const std::vector<int>& idx = sys.present();
    const std::vector<double>& z = sys.z();
    int n = sys.size(), m = static_cast<int>(idx.size());
    std::vector<double> v(n, 0.0), l(n, 0.0);
    for (int i : idx) {
        v[i] = r.beta * r.y[i];
        l[i] = z[i] - v[i];
    }
    LnPhi fl, fv;
    std::vector<double> A(m * m), g(m), x(n, 0.0), y(n, 0.0);
    double rhoL = r.rhoL, rhoV = r.rhoV;
    double prevNorm = 1e300;
    for (int it = 0; it < 30; ++it) {
        double beta = 0;
        for (int i : idx) beta += v[i];
        if (!(beta > 0 && beta < 1)) return false;
        for (int i : idx) {
            y[i] = v[i] / beta;
            x[i] = l[i] / (1 - beta);
        }
        rhoL = sys.density(T, p, x.data(), liquidRoot, rhoL);
        rhoV = sys.density(T, p, y.data(), vapourRoot, rhoV);
        sys.mixture().lnPhi(T, rhoL, x.data(), 2, fl);
        sys.mixture().lnPhi(T, rhoV, y.data(), 2, fv);
        double norm = 0;
        for (int a = 0; a < m; ++a) {
            int i = idx[a];
            g[a] = std::log(y[i]) + fv.lnphi[i] - std::log(x[i]) - fl.lnphi[i];
            norm = std::max(norm, std::fabs(g[a]));
        }
        ++r.iterations;
        // Below 1e-7 a residual that no longer falls is the rounding of the model
        // (liquids at very low pressure).
        if (norm < 1e-12 || (norm < 1e-7 && norm >= prevNorm * 0.5)) {
            r.beta = beta;
            r.rhoL = rhoL;
            r.rhoV = rhoV;
            r.x = x;
            r.y = y;
            for (int i : idx) r.lnK[i] = std::log(y[i] / x[i]);
            return true;
        }
        if (it > 3 && norm > prevNorm) return false;
        prevNorm = norm;
        for (int a = 0; a < m; ++a) {
            int i = idx[a];
            for (int b = 0; b < m; ++b) {
                int j = idx[b];
                double dij = a == b ? 1.0 : 0.0;
                A[a * m + b] = (dij / y[i] - 1 + fv.dn[i * n + j]) / beta +
                               (dij / x[i] - 1 + fl.dn[i * n + j]) / (1 - beta);
            }
            g[a] = -g[a];
        }
        if (!solveLinear(A, g, m)) return false;
        double alpha = 1;
        for (int a = 0; a < m; ++a) {
            int i = idx[a];
            double nv = v[i] + g[a];
            if (nv <= 0) alpha = std::min(alpha, 0.8 * v[i] / -g[a]);
            if (nv >= z[i]) alpha = std::min(alpha, 0.8 * l[i] / g[a]);
        }
        for (int a = 0; a < m; ++a) {
            int i = idx[a];
            v[i] += alpha * g[a];
            l[i] = z[i] - v[i];
        }
    }
    return false;
}

// Successive substitution with Rachford-Rice from lnK, Newton once close.
SplitResult splitFrom(const System& sys, double T, double p, std::vector<double> lnK, bool stableRoots) {
    const Root liquidRoot = stableRoots ? Root::Stable : Root::Liquid;
    const Root vapourRoot = stableRoots ? Root::Stable : Root::Vapour;
    SplitResult r;
    const std::vector<int>& idx = sys.present();
    const std::vector<double>& z = sys.z();
    int n = sys.size();
    std::vector<double> K(n, 1.0), delta(n, 0.0), prevDelta(n, 0.0);
    LnPhi fl, fv;
    r.lnK = lnK;
    int newtonAttempts = 0;
    double lastNewtonStep = 1e300;
    double bestStep = 1e300;
    int sinceBest = 0, outsideRun = 0;
    double lastStep = 1e300, lastBeta = 0;
    const int maxIterations = 1000;
    for (int it = 0; it < maxIterations; ++it) {
        for (int i : idx) K[i] = std::exp(r.lnK[i]);
        double beta = solveRachfordRice(z, K, idx);
        double b = std::min(std::max(beta, 0.0), 1.0);
        splitCompositions(z, K, b, r.x, r.y);
        r.rhoL = sys.density(T, p, r.x.data(), liquidRoot, r.rhoL);
        r.rhoV = sys.density(T, p, r.y.data(), vapourRoot, r.rhoV);
        sys.mixture().lnPhi(T, r.rhoL, r.x.data(), 0, fl);
        sys.mixture().lnPhi(T, r.rhoV, r.y.data(), 0, fv);
        double step = 0, trivial = 0;
        for (int i : idx) {
            double next = fl.lnphi[i] - fv.lnphi[i];
            prevDelta[i] = delta[i];
            delta[i] = next - r.lnK[i];
            step += delta[i] * delta[i];
            trivial += next * next;
            r.lnK[i] = next;
        }
        r.beta = beta;
        ++r.iterations;
        if (trivial < 1e-10 * idx.size()) {
            r.outcome = SplitOutcome::OnePhase;
            return r;
        }
        bool inside = beta > 0 && beta < 1;
        outsideRun = inside ? 0 : outsideRun + 1;
        double prevStep = lastStep;
        lastStep = step;
        // Settling outside [0, 1] (a negative flash), too slowly to come back: one phase.
        double outside = beta < 0 ? -beta : beta - 1;
        bool settled = outside > 50 * std::fabs(beta - lastBeta);
        lastBeta = beta;
        if (outsideRun >= 25 && it >= 40 && settled) {
            r.outcome = SplitOutcome::OnePhase;
            return r;
        }
        if (step < 1e-20 && !inside) {
            r.outcome = SplitOutcome::OnePhase;
            return r;
        }
        // Newton once close, again whenever substitution has gained two orders since.
        if (inside && newtonAttempts < 4 && (step < 1e-6 || it == 40) && step < 1e-2 * lastNewtonStep) {
            ++newtonAttempts;
            lastNewtonStep = step;
            SplitResult trial = r;
            for (int i : idx) K[i] = std::exp(r.lnK[i]);
            trial.beta = solveRachfordRice(z, K, idx);
            if (trial.beta > 0 && trial.beta < 1) {
                splitCompositions(z, K, trial.beta, trial.x, trial.y);
                if (newtonSplit(sys, T, p, trial, liquidRoot, vapourRoot)) {
                    trial.outcome = SplitOutcome::TwoPhase;
                    return trial;
                }
            }
            r.iterations = trial.iterations;
        }
        if (step < bestStep) {
            bestStep = step;
            sinceBest = 0;
        } else {
            ++sinceBest;
        }
        bool stalled = sinceBest >= 20 && bestStep < 1e-14;
        if (inside && (step < 1e-20 || stalled)) {
            for (int i : idx) K[i] = std::exp(r.lnK[i]);
            r.beta = solveRachfordRice(z, K, idx);
            splitCompositions(z, K, r.beta, r.x, r.y);
            r.outcome = SplitOutcome::TwoPhase;
            return r;
        }
        if (it % 5 == 4 && step < prevStep) {
            double num = 0, den = 0;
            for (int i : idx) {
                num += delta[i] * delta[i];
                den += prevDelta[i] * delta[i];
            }
            double lambda = den != 0 ? num / den : 0;
            if (lambda > 0 && lambda < 0.99) {
                // Extrapolate along the dominant eigenvector, at most 0.5 in any ln K.
                double factor = std::min(lambda / (1 - lambda), 100.0), biggest = 0;
                for (int i : idx) biggest = std::max(biggest, std::fabs(factor * delta[i]));
                if (biggest > 0.5) factor *= 0.5 / biggest;
                for (int i : idx) r.lnK[i] += factor * delta[i];
            }
        }
    }
    r.outcome = SplitOutcome::NotConverged;
    return r;
}

}  // namespace

SplitResult splitPhases(const System& sys, double T, double p, std::vector<double> lnK, bool stableRoots) {
    try {
        return splitFrom(sys, T, p, std::move(lnK), stableRoots);
    } catch (const FlashError& e) {
        // A phase composition without a density root: this start leads nowhere.
        if (e.code() != FlashErrorCode::Model) throw;
        SplitResult r;
        r.outcome = SplitOutcome::NoRoot;
        return r;
    }
}

FlashState flashTP(const System& sys, double T, double p, TPHint* hint) {
    if (!(T > 0) || !std::isfinite(T))
        throw FlashError(FlashErrorCode::BadInput, "temperature must be positive");
    if (!(p > 0) || !std::isfinite(p))
        throw FlashError(FlashErrorCode::BadInput, "pressure must be positive");
    const std::vector<double>& z = sys.z();
    const std::vector<int>& idx = sys.present();
    if (sys.pure()) {
        double rho = sys.density(T, p, z.data(), Root::Stable);
        if (hint) hint->twoPhase = false;
        return sys.singlePhase(T, rho);
    }
    double rhoZ = sys.density(T, p, z.data(), Root::Stable);
    LnPhi fz;
    sys.mixture().lnPhi(T, rhoZ, z.data(), 0, fz);
    double gz = gibbsOf(idx, z, fz);

    auto accept = [&](const SplitResult& s) {
        LnPhi fl, fv;
        sys.mixture().lnPhi(T, s.rhoL, s.x.data(), 0, fl);
        sys.mixture().lnPhi(T, s.rhoV, s.y.data(), 0, fv);
        double g2 = (1 - s.beta) * gibbsOf(idx, s.x, fl) + s.beta * gibbsOf(idx, s.y, fv);
        return g2 < gz - 1e-12;
    };
    auto twoPhaseState = [&](const SplitResult& s) {
        std::vector<double> x = s.x, y = s.y;
        double beta = s.beta, rl = s.rhoL, rv = s.rhoV;
        if (rl < rv) {
            std::swap(x, y);
            std::swap(rl, rv);
            beta = 1 - beta;
        }
        if (hint) {
            hint->twoPhase = true;
            hint->lnK.assign(sys.size(), 0.0);
            for (int i : idx) hint->lnK[i] = std::log(y[i] / x[i]);
            hint->rhoL = rl;
            hint->rhoV = rv;
        }
        return sys.twoPhase(T, p, beta, rl, rv, x, y);
    };

    if (hint && hint->twoPhase && hint->lnK.size() == z.size()) {
        SplitResult s = splitPhases(sys, T, p, hint->lnK);
        if (s.outcome == SplitOutcome::TwoPhase && accept(s)) return twoPhaseState(s);
    }
    std::vector<double> d(sys.size(), 0.0);
    for (int i : idx) d[i] = std::log(z[i]) + fz.lnphi[i];
    const std::vector<double>* extra = hint && hint->lnK.size() == z.size() ? &hint->lnK : nullptr;
    bool liquidLike = T < sys.Tc() || p / (rhoZ * sys.mixture().model().gasConstant() * T) < 0.3;
    StabilityResult stab = testStability(sys, T, p, d, extra, liquidLike);
    if (!stab.stable) {
        // From the stability test's estimate, then from Wilson's: a split that does not
        // lower the Gibbs energy is a saddle point, not the equilibrium.
        std::vector<double> wilson;
        sys.wilsonLnK(T, p, wilson);
        int notConverged = 0, noRoot = 0, iterations = 0;
        for (const std::vector<double>* start : {&stab.lnK, &wilson}) {
            SplitResult s = splitPhases(sys, T, p, *start);
            iterations += s.iterations;
            if (s.outcome == SplitOutcome::NotConverged) ++notConverged;
            if (s.outcome == SplitOutcome::NoRoot) ++noRoot;
            if (s.outcome == SplitOutcome::TwoPhase && accept(s)) return twoPhaseState(s);
        }
        // Every trial phase with a negative distance (liquid-liquid splits hide behind
        // a vapour-like trial that leads to a saddle point).
        StabilityResult all = testStability(sys, T, p, d, nullptr, true, true);
        for (const std::vector<double>& start : all.candidates) {
            SplitResult s = splitPhases(sys, T, p, start, true);
            iterations += s.iterations;
            if (s.outcome == SplitOutcome::NotConverged) ++notConverged;
            if (s.outcome == SplitOutcome::NoRoot) ++noRoot;
            if (s.outcome == SplitOutcome::TwoPhase && accept(s)) return twoPhaseState(s);
        }
        // Failing only for want of density roots of the other phase: one phase.
        if (notConverged > 0 && notConverged + noRoot == 2 + static_cast<int>(all.candidates.size()))
            throw FlashError(FlashErrorCode::NotConverged, "phase split " + iterationsMessage(iterations));
    }
    if (hint) {
        hint->twoPhase = false;
        if (!stab.stable) hint->lnK.clear();
    }
    return sys.singlePhase(T, rhoZ);
}

double fugacityResidual(const System& sys, const FlashState& st) {
    if (!st.twoPhase) return 0;
    LnPhi fl, fv;
    sys.mixture().lnPhi(st.T, st.rhoL, st.x.data(), 0, fl);
    sys.mixture().lnPhi(st.T, st.rhoV, st.y.data(), 0, fv);
    double worst = 0;
    for (int i : sys.present()) {
        double r = std::log(st.x[i]) + fl.lnphi[i] - std::log(st.y[i]) - fv.lnphi[i];
        worst = std::max(worst, std::fabs(r));
    }
    return worst;
}

}  // namespace tarnevo::engine::equilibrium
