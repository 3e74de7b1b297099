#include "core/IdealGas.h"

#include <cmath>

namespace tarnevo::engine {

IdealGasCp::IdealGasCp(const Cp0Data& data) {
    c0_ = data.c0;
    power_ = data.power;
    planck_ = data.planck;
}

IdealGasValues IdealGasCp::evaluate(double T) const {
    IdealGasValues r;
    const double lnT = std::log(T);
    r.cp = c0_;
    r.h = c0_ * T;
    r.s = c0_ * lnT;
    for (const auto& [c, t] : power_) {
        const double Tt = std::pow(T, t);
        r.cp += c * Tt;
        r.h += t == -1 ? c * lnT : c * Tt * T / (t + 1);
        r.s += t == 0 ? c * lnT : c * Tt / t;
    }
    for (const auto& [v, u] : planck_) {
        // x = u/T; written with exp(-x) so that large x cannot overflow.
        const double x = u / T;
        const double em = std::exp(-x);
        const double d = 1 - em;
        const double bose = em / d;  // 1/(e^x - 1)
        r.cp += v * x * x * em / (d * d);
        r.h += v * u * bose;
        r.s += v * (x * bose - std::log1p(-em));
    }
    return r;
}

}  // namespace tarnevo::engine
