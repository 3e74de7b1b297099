// Peng-Robinson residual model with van der Waals one-fluid mixing.
#pragma once

#include "core/Mixture.h"

#include <vector>

namespace tarnevo::engine {

struct PengRobinsonComponent {
    double tc = 0, pc = 0, omega = 0;  // K, kPa, -
};

class PengRobinson : public ResidualModel {
public:
    // kij: nc x nc row-major, symmetric, zero diagonal.
    PengRobinson(std::vector<PengRobinsonComponent> components, std::vector<double> kij);

    int components() const override { return nc_; }
    void evaluate(double T, double rho, const double* x, int order,
                  ResidualDerivatives& out) const override;
    double maxDensity(const double* x) const override;
    std::string name() const override { return "Peng-Robinson"; }
    int densityRoots(double T, double p, const double* x, double roots[3]) const override;

private:
    struct Mix {
        double a, aT, aTT, b;
    };
    // Fills s_ (sqrt alpha), ds_, d2s_ at T; returns the mixture a, its T derivatives and b.
    Mix mix(double T, const double* x) const;

    int nc_;
    std::vector<double> b_, m_, sqrtTc_;
    std::vector<double> A_;  // sqrt(ac_i ac_j) (1 - kij)
    // Scratch of one evaluation: a model object is used by one thread at a time.
    mutable std::vector<double> s_, ds_, d2s_, abar_, abarT_, c_, r_;
};

}  // namespace tarnevo::engine
