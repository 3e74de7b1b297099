// Terms of multiparameter Helmholtz equations (pure fluids and departure functions)
// and their sum, generic in the number type, at reduced tau = Tr/T, delta = rho/rho_r.
#pragma once

#include "core/Autodiff.h"

#include <cmath>
#include <utility>
#include <vector>

namespace tarnevo::engine {

struct HelmholtzTerm {
    enum Kind { Exponential, GaoB, NonAnalytic } kind = Exponential;
    // Exponential: n delta^d tau^t exp(-gd delta^ld - gt tau^lt - eta (delta-eps)^2 - beta (tau-gam)^2)
    // GaoB: n delta^d tau^t exp(-eta (delta-eps)^2 + 1/(beta (tau-gam)^2 + b))
    double n = 0, t = 0, gd = 0, ld = 0, gt = 0, lt = 0, eta = 0, eps = 0, beta = 0, gam = 0, b = 0;
    int d = 0;
    // NonAnalytic: n Delta^nb delta psi, theta = (1-tau) + A ((delta-1)^2)^(1/(2 nbeta)),
    // Delta = theta^2 + B ((delta-1)^2)^a, psi = exp(-C (delta-1)^2 - D (tau-1)^2)
    double a = 0, nb = 0, nbeta = 0, A = 0, B = 0, C = 0, D = 0;
};

struct TermSet {
    std::vector<HelmholtzTerm> terms;
    int maxPower = 0;  // highest integer power of delta used (d, and ld where integral)
};

// tau, delta and what every term set evaluated at them shares.
template <class N>
struct Reduced {
    static constexpr int kMaxPower = 24;
    N tau, delta, lnTau;
    N deltaPow[kMaxPower + 1];
    int powers = 0;

    Reduced(const N& tau_, const N& delta_, int maxPower) : tau(tau_), delta(delta_) {
        using std::log;
        lnTau = log(tau);
        deltaPow[0] = 1.0;
        powers = maxPower < kMaxPower ? maxPower : kMaxPower;
        for (int k = 1; k <= powers; ++k) deltaPow[k] = deltaPow[k - 1] * delta;
    }
    N power(double e) const {
        using std::exp;
        using std::log;
        const int k = static_cast<int>(e);
        if (k == e && k >= 0 && k <= powers) return deltaPow[k];
        return exp(log(delta) * e);
    }
};

// Adds the tau-dependent exponent of an exponential or Gao B term, beyond t ln tau, to e.
template <class N>
void addTauExponent(const HelmholtzTerm& k, const N& tau, const N& lnTau, N& e) {
    using std::exp;
    if (k.gt != 0) ad::addScaled(e, -k.gt, exp(k.lt * lnTau));
    if (k.kind == HelmholtzTerm::GaoB) {
        const N tg = tau - k.gam;
        e += 1.0 / (k.beta * (tg * tg) + k.b);
    } else if (k.beta != 0) {
        const N tg = tau - k.gam;
        ad::addScaled(e, -k.beta, tg * tg);
    }
}

// Adds the delta-dependent exponent of an exponential or Gao B term to e; false
// when the term has none.
template <class N>
bool addDeltaExponent(const HelmholtzTerm& k, const Reduced<N>& r, N& e) {
    if (k.gd == 0 && k.eta == 0) return false;
    if (k.gd != 0) ad::addScaled(e, -k.gd, r.power(k.ld));
    if (k.eta != 0) {
        const N dd = r.delta - k.eps;
        ad::addScaled(e, -k.eta, dd * dd);
    }
    return true;
}

template <class N>
N nonAnalyticTerm(const HelmholtzTerm& k, const Reduced<N>& r) {
    using std::exp;
    using std::pow;
    const N dm = r.delta - 1.0;
    const N dm2 = dm * dm;
    const N theta = (1.0 - r.tau) + k.A * pow(dm2, 1 / (2 * k.nbeta));
    const N Delta = theta * theta + k.B * pow(dm2, k.a);
    const N tm = r.tau - 1.0;
    const N psi = exp(-k.C * dm2 - k.D * (tm * tm));
    return k.n * (pow(Delta, k.nb) * r.delta * psi);
}

template <class N>
N termSum(const TermSet& set, const Reduced<N>& r) {
    using std::exp;
    N sum = 0.0;
    for (const HelmholtzTerm& k : set.terms) {
        if (k.kind == HelmholtzTerm::NonAnalytic) {
            sum += nonAnalyticTerm(k, r);
            continue;
        }
        N e = k.t * r.lnTau;
        addTauExponent(k, r.tau, r.lnTau, e);
        addDeltaExponent(k, r, e);
        ad::addScaled(sum, k.n, r.deltaPow[k.d] * exp(e));
    }
    return sum;
}

// n exp(tau exponent) of every term at a fixed tau (0 for non-analytic terms): what
// stays the same while only delta changes.
inline void tauFactors(const TermSet& set, double tau, double* out) {
    const double lnTau = std::log(tau);
    for (size_t i = 0; i < set.terms.size(); ++i) {
        const HelmholtzTerm& k = set.terms[i];
        double e = k.t * lnTau;
        addTauExponent(k, tau, lnTau, e);
        out[i] = k.kind == HelmholtzTerm::NonAnalytic ? 0 : k.n * std::exp(e);
    }
}

// The term sum at the tau of r with its tau factors given; derivatives in delta only.
template <class N>
N termSumAtTau(const TermSet& set, const double* factors, const Reduced<N>& r) {
    using std::exp;
    N sum = 0.0;
    for (size_t i = 0; i < set.terms.size(); ++i) {
        const HelmholtzTerm& k = set.terms[i];
        N e = 0.0;
        if (k.kind == HelmholtzTerm::NonAnalytic) sum += nonAnalyticTerm(k, r);
        else if (addDeltaExponent(k, r, e)) ad::addScaled(sum, factors[i], r.deltaPow[k.d] * exp(e));
        else ad::addScaled(sum, factors[i], r.deltaPow[k.d]);
    }
    return sum;
}

// Ancillary equation of a saturation property, theta = 1 - T/Tr: exponential form
// value exp(f sum n theta^t) (f = Tr/T when overT), or linear form value (1 + sum n theta^t).
struct Ancillary {
    bool present = false, exponential = true, overT = false;
    double Tr = 0, value = 0;
    std::vector<std::pair<double, double>> terms;  // (n, t)

    double operator()(double T) const {
        const double theta = T < Tr ? 1 - T / Tr : 0;
        double s = 0;
        for (const auto& [n, t] : terms) s += n * std::pow(theta, t);
        if (!exponential) return value * (1 + s);
        return value * std::exp(overT ? s * Tr / T : s);
    }
};

}  // namespace tarnevo::engine
