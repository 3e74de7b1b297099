// Viscosity and thermal conductivity of gases and liquids by the method of
// Chung, Ajlan, Lee and Starling (Ind. Eng. Chem. Res. 27 (1988) 671), with its
// mixing rules.
#pragma once

#include "core/FluidFile.h"

#include <vector>

namespace tarnevo::engine {

class ChungTransport {
public:
    explicit ChungTransport(const std::vector<FluidData>& fluids);
    // T in K, rho in mol/L, cv0 the ideal-gas isochoric heat capacity of the mixture
    // in J/(mol K). Viscosity in uPa s, conductivity in W/(m K).
    void compute(double T, double rho, const double* x, double cv0, double& eta,
                 double& tcx) const;

private:
    int nc_;
    // Pair sums of the mixing rules, row-major nc x nc.
    std::vector<double> s3_, es3_, ws3_, ems2_, mu4_, kappa_;
};

}  // namespace tarnevo::engine
