// Reference states: the enthalpy and entropy offsets of each component.
#pragma once

#include "core/HelmholtzMixture.h"

#include <string>

namespace tarnevo::engine {

// code: "DEF" or "NBP" (h = 0, s = 0 for the saturated liquid at the normal boiling
// point), "ASH" (h = 0, s = 0 for the saturated liquid at -40 C), "IIR" (h = 200 kJ/kg,
// s = 1 kJ/(kg K) for the saturated liquid at 0 C; fluids without liquid there keep
// the default), "OTH" (h0, s0 at t0, p0).
struct ReferenceChoice {
    std::string code = "DEF";
    double h0 = 0, s0 = 0, t0 = 0, p0 = 0;  // J/mol, J/(mol K), K, kPa
};

// Applies the reference state to every component; false with a message naming the
// fluid when its reference state cannot be computed.
bool applyReferenceState(HelmholtzMixture& mixture, const ReferenceChoice& choice,
                         std::string& message);

// Saturation of pure component i at T: pressure and the two densities.
bool pureSaturation(const Mixture& mixture, int i, double T, double& p, double& rhoL,
                    double& rhoV);

}  // namespace tarnevo::engine
