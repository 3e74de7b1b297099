#include "core/ReferenceState.h"

#include <cmath>
#include <vector>

namespace tarnevo::engine {

bool pureSaturation(const Mixture& mixture, int i, double T, double& p, double& rhoL,
                    double& rhoV) {
    const ComponentConstants& c = mixture.component(i);
    if (!(T > 0) || T >= c.tCritical) return false;
    std::vector<double> x(mixture.size(), 0.0);
    x[i] = 1;
    // Successive substitution on p.
    p = mixture.vapourPressureGuess(i, T);
    ResidualDerivatives r;
    for (int it = 0; it < 500; ++it) {
        
        if (!mixture.density(T, p, x.data(), Root::Liquid, rhoL) ||
            !mixture.density(T, p, x.data(), Root::Vapour, rhoV))
            return false;
        if (std::fabs(rhoL - rhoV) <= 1e-9 * rhoL) {
            // One root only: move p towards the side where the other root appears.
            const double Z = p / (rhoL * mixture.model().gasConstant() * T);
            p *= Z < 0.3 ? 0.5 : 1.5;
            continue;
        }
        // ln phi with ln Z = ln(p / (rho R T)) from the known p: 1 + rho ar_rho loses
        // its digits on a liquid at low pressure.
        mixture.model().evaluate(T, rhoL, x.data(), 1, r);
        const double lnPhiL = r.n_ar_n[i] - std::log(p / (rhoL * mixture.model().gasConstant() * T));
        mixture.model().evaluate(T, rhoV, x.data(), 1, r);
        const double lnPhiV = r.n_ar_n[i] - std::log(p / (rhoV * mixture.model().gasConstant() * T));
        const double d = lnPhiL - lnPhiV;
        p *= std::exp(d);
        if (std::fabs(d) < 1e-11) return true;  // ln phi carries ~1e-13 of rounding
    }
    return false;
}

bool applyReferenceState(HelmholtzMixture& mixture, const ReferenceChoice& choice,
                         std::string& message) {
    const int nc = mixture.size();
    for (int i = 0; i < nc; ++i) mixture.setReferenceOffsets(i, 0, 0);
    std::vector<double> x(nc, 0.0);
    for (int i = 0; i < nc; ++i) {
        const ComponentConstants& c = mixture.component(i);
        std::fill(x.begin(), x.end(), 0.0);
        x[i] = 1;
        double T = 0, h = 0, s = 0, rho = 0;
        bool saturated = true;
        if (choice.code == "DEF" || choice.code == "NBP") {
            // Fluids without a normal boiling point above the triple point (CO2):
            // the saturated liquid at the triple point.
            T = c.tNormalBoiling > c.tTriple ? c.tNormalBoiling : c.tTriple;
        } else if (choice.code == "ASH" || choice.code == "IIR") {
            T = choice.code == "ASH" ? 233.15 : 273.15;
            if (choice.code == "IIR") {
                h = 200.0 * c.molarMass;
                s = 1.0 * c.molarMass;
            }
            // A fluid without liquid at that temperature keeps the default reference.
            if (T >= c.tCritical || T <= c.tTriple) {
                T = c.tNormalBoiling > c.tTriple ? c.tNormalBoiling : c.tTriple;
                h = s = 0;
            }
        } else if (choice.code == "OTH") {
            T = choice.t0;
            h = choice.h0;
            s = choice.s0;
            saturated = false;
        } else {
            message = "unknown reference state \"" + choice.code + "\"";
            return false;
        }
        if (saturated) {
            double p, rhoV;
            if (!pureSaturation(mixture, i, T, p, rho, rhoV)) {
                message = "no saturated liquid of " + c.name + " at " + std::to_string(T) +
                          " K for the reference state " + choice.code;
                return false;
            }
        } else if (!mixture.density(T, choice.p0, x.data(), Root::Stable, rho)) {
            message = "no density of " + c.name + " at the reference state (T = " +
                      std::to_string(choice.t0) + " K, p = " + std::to_string(choice.p0) + " kPa)";
            return false;
        }
        Properties pr;
        mixture.properties(T, rho, x.data(), pr);
        mixture.setReferenceOffsets(i, h - pr.h, s - pr.s);
    }
    return true;
}

}  // namespace tarnevo::engine
