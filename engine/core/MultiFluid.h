// Multiparameter equations of state: one Helmholtz equation per fluid, combined by
// the multi-fluid mixture model (Kunz-Wagner reducing functions and departure
// functions scaled by F). A single fluid is its own equation with its own gas
// constant; a mixture uses kMixtureGasConstant.
#pragma once

#include "core/FluidFile.h"
#include "core/HelmholtzModel.h"
#include "core/HelmholtzTerms.h"

#include <string>
#include <vector>

namespace tarnevo::engine {

constexpr double kMixtureGasConstant = kGasConstant;

class MultiFluid : public HelmholtzModel<MultiFluid> {
public:
    // Every fluid must carry an equation. Pairs without binary data get the linear
    // rule (reducing temperature and volume averaged, no departure function); their
    // indices are listed by estimatedPairs().
    MultiFluid(const std::vector<FluidData>& fluids, const BinaryParameters& binaries);

    int components() const override { return nc_; }
    double gasConstant() const override { return R_; }
    double maxDensity(const double* x) const override;
    double liquidDensityGuess(double T, const double* x) const override;
    std::string name() const override { return nc_ == 1 ? "multiparameter" : "multi-fluid"; }
    std::vector<std::pair<int, int>> estimatedPairs() const override { return estimated_; }

    template <class N>
    N alphar(const N& T, const N& rho, const N* x) const {
        N Tr, vr;
        reducing(x, Tr, vr);
        const Reduced<N> r(Tr / T, rho * vr, maxPower_);
        N ar = 0.0;
        for (int i = 0; i < nc_; ++i) ar += x[i] * termSum(pure_[i], r);
        for (const Pair& p : pairs_)
            if (p.departure >= 0) ar += (x[p.i] * x[p.j]) * (p.F * termSum(departures_[p.departure], r));
        return ar;
    }

    // Density iterations: the tau factors of every term kept while T and x stay.
    void densityDerivatives(double T, double rho, const double* x, double& ar_rho,
                            double& ar_rhorho) const override;

private:
    // Reducing temperature and volume at x.
    template <class N>
    void reducing(const N* x, N& Tr, N& vr) const {
        Tr = 0.0;
        vr = 0.0;
        for (int i = 0; i < nc_; ++i) {
            const N xx = x[i] * x[i];
            ad::addScaled(Tr, tc_[i], xx);
            ad::addScaled(vr, vc_[i], xx);
        }
        for (const Pair& p : pairs_) {
            if (ad::value(x[p.i]) == 0 && ad::value(x[p.j]) == 0) continue;
            const N xij = x[p.i] * x[p.j];
            const N sum = x[p.i] + x[p.j];
            ad::addScaled(Tr, p.cT, xij * sum / (p.bT2 * x[p.i] + x[p.j]));
            ad::addScaled(vr, p.cV, xij * sum / (p.bV2 * x[p.i] + x[p.j]));
        }
    }

    struct Pair {
        int i, j;
        double cT, cV, bT2, bV2;  // 2 betaT gammaT sqrt(Tci Tcj), 2 betaV gammaV (..)^3/8, beta^2
        double F;
        int departure;  // index into departures_, -1 for none
    };
    int nc_;
    double R_;
    int maxPower_ = 0;
    std::vector<double> tc_, vc_, rhoMax_;
    std::vector<TermSet> pure_, departures_;
    std::vector<Pair> pairs_;
    std::vector<std::pair<int, int>> estimated_;
    std::vector<Ancillary> dl_;
    // Tau factors of the pure and departure term sets (in that order) at cacheT_, cacheX_.
    std::vector<int> factorOffset_;
    mutable std::vector<double> factors_, cacheX_;
    mutable double cacheT_ = -1, cacheVr_ = 0, cacheTau_ = 0;
};

}  // namespace tarnevo::engine
