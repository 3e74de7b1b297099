// Ideal-gas heat capacity of one component and its integrals.
#pragma once

#include "core/FluidFile.h"

namespace tarnevo::engine {

struct IdealGasValues {
    double cp = 0;  // cp0 / R
    double h = 0;   // integral of cp0/R dT (K), up to a constant
    double s = 0;   // integral of cp0/(R T) dT, up to a constant
};

// cp0 / R of one fluid in the data's reduced form; a mixture multiplies it by the
// model's gas constant (for a pure fluid with its own equation, the data's R).
class IdealGasCp {
public:
    explicit IdealGasCp(const Cp0Data& data);
    IdealGasValues evaluate(double T) const;

private:
    double c0_ = 0;
    std::vector<std::pair<double, double>> power_, planck_;
};

}  // namespace tarnevo::engine
