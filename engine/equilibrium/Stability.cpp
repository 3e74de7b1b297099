#include "equilibrium/Stability.h"

#include "equilibrium/FlashError.h"

#include <cmath>

namespace tarnevo::engine::equilibrium {

namespace {

enum class Trial { Trivial, Negative, Undecided };

// Successive substitution on ln W_i = d_i - ln phi_i(w), accelerated by the dominant
// eigenvalue method. Stops as soon as the tangent-plane distance is negative.
Trial runTrial(const System& sys, double T, double p, const std::vector<double>& d,
               std::vector<double>& lnW) {
    const std::vector<int>& idx = sys.present();
    const std::vector<double>& z = sys.z();
    int n = sys.size();
    std::vector<double> w(n, 0.0), delta(n, 0.0), prevDelta(n, 0.0);
    LnPhi f, other;
    double rho = 0, rl = 0, rv = 0;
    Root side = Root::Stable;
    int rechecks = 0;
    // The root of lower Gibbs energy at w and its side, with ln phi in f; each root
    // searched afresh or followed from the last one.
    auto stableRoot = [&](bool freshL, bool freshV) {
        const bool one = !freshL && !freshV && std::fabs(rl - rv) <= 1e-9 * rv;
        rl = sys.density(T, p, w.data(), Root::Liquid, freshL ? 0 : rl);
        rv = one ? rl : sys.density(T, p, w.data(), Root::Vapour, freshV ? 0 : rv);
        sys.mixture().lnPhi(T, rv, w.data(), 0, f);
        rho = rv;
        side = Root::Vapour;
        if (rl > rv * (1 + 1e-9)) {
            sys.mixture().lnPhi(T, rl, w.data(), 0, other);
            double gl = 0, gv = 0;
            for (int i : idx) {
                gl += w[i] * other.lnphi[i];
                gv += w[i] * f.lnphi[i];
            }
            if (gl < gv) {
                std::swap(f, other);
                rho = rl;
                side = Root::Liquid;
            }
        }
    };
    // A decision on a followed root stands only if that root is still the stable one.
    auto rootChanged = [&]() {
        if (rechecks++ >= 3) return false;
        const double followed = rho;
        // The followed root is one of the two; the other side is searched afresh.
        (side == Root::Liquid ? rl : rv) = rho;
        stableRoot(side != Root::Liquid, side == Root::Liquid);
        return std::fabs(rho - followed) > 1e-9 * rho;
    };
    const int maxIterations = 400;
    for (int it = 0; it < maxIterations; ++it) {
        double sumW = 0;
        for (int i : idx) sumW += std::exp(lnW[i]);
        for (int i : idx) w[i] = std::exp(lnW[i]) / sumW;
        // The stable root over the first iterations (the large steps), then the root
        // found there followed from one iteration to the next.
        if (it < 3 || side == Root::Stable) {
            stableRoot(it == 0, it == 0);
        } else {
            rho = sys.density(T, p, w.data(), side, rho);
            sys.mixture().lnPhi(T, rho, w.data(), 0, f);
        }
        // Modified tangent-plane distance at the current W.
        double tm = 1, step = 0, dist = 0;
        for (int i : idx) {
            double Wi = std::exp(lnW[i]);
            double next = d[i] - f.lnphi[i];
            tm += Wi * (lnW[i] + f.lnphi[i] - d[i] - 1);
            prevDelta[i] = delta[i];
            delta[i] = next - lnW[i];
            step += delta[i] * delta[i];
            lnW[i] = next;
            double lz = std::log(z[i]);
            dist += (next - lz) * (next - lz);
        }
        if (tm < -1e-10) return Trial::Negative;
        if (dist < 1e-8) return Trial::Trivial;
        if ((dist < 1e-4 && step < 1e-10) || step < 1e-12) {
            if (rootChanged()) continue;
            if (dist < 1e-4 && step < 1e-10) return Trial::Trivial;
        }
        if (step < 1e-20) return Trial::Trivial;
        if (step < 1e-12) {
            // Converged to a stationary point: unstable when 1 - sum W < 0.
            double sumNext = 0;
            for (int i : idx) sumNext += std::exp(lnW[i]);
            return (1 - sumNext) < -1e-10 ? Trial::Negative : Trial::Trivial;
        }
        if (it % 6 == 5) {
            double num = 0, den = 0;
            for (int i : idx) {
                num += delta[i] * delta[i];
                den += prevDelta[i] * delta[i];
            }
            double lambda = den != 0 ? num / den : 0;
            if (lambda > 0 && lambda < 0.95) {
                double factor = lambda / (1 - lambda);
                for (int i : idx) lnW[i] += factor * delta[i];
            }
        }
    }
    return Trial::Undecided;
}

}  // namespace

StabilityResult testStability(const System& sys, double T, double p, const std::vector<double>& d,
                              const std::vector<double>* lnKextra, bool liquidLike, bool exhaustive) {
    StabilityResult out;
    if (sys.pure()) return out;
    const std::vector<int>& idx = sys.present();
    const std::vector<double>& z = sys.z();
    std::vector<double> lnK;
    sys.wilsonLnK(T, p, lnK);
    std::vector<std::vector<double>> starts;
    std::vector<bool> vapourLike;
    auto addStarts = [&](const std::vector<double>& k) {
        std::vector<double> v(sys.size(), 0.0), l(sys.size(), 0.0);
        for (int i : idx) {
            v[i] = std::log(z[i]) + k[i];
            l[i] = std::log(z[i]) - k[i];
        }
        starts.push_back(v);
        vapourLike.push_back(true);
        starts.push_back(l);
        vapourLike.push_back(false);
    };
    if (lnKextra) addStarts(*lnKextra);
    addStarts(lnK);
    if (liquidLike) {
        // Liquid-liquid splits: trial phases rich in each component.
        for (int k : idx) {
            std::vector<double> w(sys.size(), 0.0);
            for (int i : idx) w[i] = std::log(i == k ? 0.999 : 0.001 * z[i] / (1 - z[k] + 1e-300) + 1e-300);
            starts.push_back(w);
            vapourLike.push_back(false);
        }
    }
    bool undecided = false;
    for (size_t t = 0; t < starts.size(); ++t) {
        std::vector<double> lnW = starts[t];
        Trial r;
        try {
            r = runTrial(sys, T, p, d, lnW);
        } catch (const FlashError& e) {
            // No density root for this trial composition: the trial tells nothing.
            if (e.code() != FlashErrorCode::Model) throw;
            continue;
        }
        if (r == Trial::Negative) {
            out.stable = false;
            std::vector<double> k(sys.size(), 0.0);
            double sumW = 0;
            for (int i : idx) sumW += std::exp(lnW[i]);
            for (int i : idx) {
                double lw = lnW[i] - std::log(sumW);
                k[i] = vapourLike[t] ? lw - std::log(z[i]) : std::log(z[i]) - lw;
            }
            if (out.lnK.empty()) out.lnK = k;
            if (!exhaustive) return out;
            out.candidates.push_back(k);
        }
        if (r == Trial::Undecided) undecided = true;
    }
    if (!out.stable) return out;
    if (undecided) {
        // No decision near a critical point: let the phase split try Wilson's estimate.
        out.stable = false;
        out.lnK = lnK;
    }
    return out;
}

}  // namespace tarnevo::engine::equilibrium
