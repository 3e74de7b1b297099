// Peng-Robinson residual model with van der Waals one-fluid mixing.
#pragma once

#include "core/HelmholtzModel.h"

#include <vector>

namespace tarnevo::engine {

struct PengRobinsonComponent {
    double tc = 0, pc = 0, omega = 0;  // K, kPa, -
};

class PengRobinson : public HelmholtzModel<PengRobinson> {
public:
    // kij: nc x nc row-major, symmetric, zero diagonal.
    PengRobinson(std::vector<PengRobinsonComponent> components, std::vector<double> kij);

    int components() const override { return nc_; }
    double gasConstant() const override { return kGasConstant; }
    double maxDensity(const double* x) const override;
    std::string name() const override { return "Peng-Robinson"; }
    int densityRoots(double T, double p, const double* x, double roots[3]) const override;

    template <class N>
    N alphar(const N& T, const N& rho, const N* x) const {
        using std::log;
        N a, b;
        mix(T, x, a, b);
        const N beta = b * rho;
        // Lambda(beta) = ln((1 + d1 beta)/(1 + d2 beta)) / (d1 - d2)
        const N lambda = log((1.0 + kD1 * beta) / (1.0 + kD2 * beta)) * (1 / (kD1 - kD2));
        return -log(1.0 - beta) - a / (b * T * kGasConstant) * lambda;
    }

private:
    static constexpr double kD1 = 2.4142135623730951, kD2 = -0.41421356237309515;

    // a = sum x_i x_j sqrt(a_i a_j) (1 - kij) s_i s_j with sqrt(alpha) s = 1 + m (1 - sqrt(T/Tc)).
    template <class N>
    void mix(const N& T, const N* x, N& a, N& b) const {
        using std::sqrt;
        N xs[kMaxModelComponents];  // x_i s_i
        const N sqrtT = sqrt(T);
        b = 0.0;
        for (int i = 0; i < nc_; ++i) {
            xs[i] = x[i] * (1.0 + m_[i] * (1.0 - sqrtT * (1 / sqrtTc_[i])));
            b += x[i] * b_[i];
        }
        a = 0.0;
        for (int i = 0; i < nc_; ++i) {
            N row = xs[0] * A_[i * nc_];
            for (int j = 1; j < nc_; ++j) ad::addScaled(row, A_[i * nc_ + j], xs[j]);
            a += xs[i] * row;
        }
    }

    int nc_;
    std::vector<double> b_, m_, sqrtTc_;
    std::vector<double> A_;  // sqrt(ac_i ac_j) (1 - kij)
};

}  // namespace tarnevo::engine
