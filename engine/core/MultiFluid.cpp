#include "core/MultiFluid.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <map>

namespace tarnevo::engine {

MultiFluid::MultiFluid(const std::vector<FluidData>& fluids, const BinaryParameters& binaries)
    : nc_(static_cast<int>(fluids.size())),
      R_(fluids.size() == 1 ? fluids[0].eqR : kMixtureGasConstant) {
    std::map<std::string, int> departureIndex;
    for (const FluidData& f : fluids) {
        tc_.push_back(f.eqTred);
        vc_.push_back(1 / f.eqRhored);
        pure_.push_back(f.eqTerms);
        maxPower_ = std::max(maxPower_, f.eqTerms.maxPower);
        dl_.push_back(f.dl);
        // Upper bound of the density search: well above the liquid at the triple point.
        const double rhoTriple = f.dl.present ? f.dl(f.constants.tTriple) : 3 * f.eqRhored;
        rhoMax_.push_back(1.5 * std::max(rhoTriple, 2.5 * f.eqRhored));
    }
    for (int i = 0; i < nc_; ++i) {
        for (int j = i + 1; j < nc_; ++j) {
            const FluidData& a = fluids[i];
            const FluidData& b = fluids[j];
            MultiFluidPair m;
            if (!binaries.pair(a.constants.cas, b.constants.cas, m)) {
                // Linear rule, with critical values: T_r and v_r become mole-fraction averages.
                const double tci = a.constants.tCritical, tcj = b.constants.tCritical;
                const double vci = 1 / a.constants.rhoCritical, vcj = 1 / b.constants.rhoCritical;
                const double c = std::cbrt(vci) + std::cbrt(vcj);
                m = MultiFluidPair{1, (tci + tcj) / (2 * std::sqrt(tci * tcj)), 1,
                                   4 * (vci + vcj) / (c * c * c), 0, std::string()};
                estimated_.emplace_back(i, j);
            }
            const double cv = std::cbrt(vc_[i]) + std::cbrt(vc_[j]);
            Pair p{i, j, 2 * m.betaT * m.gammaT * std::sqrt(tc_[i] * tc_[j]),
                   2 * m.betaV * m.gammaV * cv * cv * cv / 8, m.betaT * m.betaT, m.betaV * m.betaV,
                   m.F, -1};
            if (!m.departure.empty() && m.F != 0) {
                auto [it, added] = departureIndex.emplace(m.departure, static_cast<int>(departures_.size()));
                if (added) {
                    departures_.push_back(binaries.departures.at(m.departure));
                    maxPower_ = std::max(maxPower_, departures_.back().maxPower);
                }
                p.departure = it->second;
            }
            pairs_.push_back(p);
        }
    }
    size_t total = 0;
    for (const TermSet& t : pure_) factorOffset_.push_back(static_cast<int>(std::exchange(total, total + t.terms.size())));
    for (const TermSet& t : departures_) factorOffset_.push_back(static_cast<int>(std::exchange(total, total + t.terms.size())));
    factors_.assign(total, 0.0);
}

void MultiFluid::densityDerivatives(double T, double rho, const double* x, double& ar_rho,
                                    double& ar_rhorho) const {
    if (T != cacheT_ || !std::equal(x, x + nc_, cacheX_.begin())) {
        double Tr, vr;
        reducing(x, Tr, vr);
        cacheT_ = T;
        cacheX_.assign(x, x + nc_);
        cacheVr_ = vr;
        cacheTau_ = Tr / T;
        for (int s = 0; s < nc_; ++s) tauFactors(pure_[s], cacheTau_, &factors_[factorOffset_[s]]);
        for (size_t d = 0; d < departures_.size(); ++d)
            tauFactors(departures_[d], cacheTau_, &factors_[factorOffset_[nc_ + d]]);
    }
    using N = ad::Partial<1, 1>;
    const Reduced<N> r(N(cacheTau_), N::variable(rho, 0) * cacheVr_, maxPower_);
    N ar = 0.0;
    for (int i = 0; i < nc_; ++i)
        if (x[i] != 0) ad::addScaled(ar, x[i], termSumAtTau(pure_[i], &factors_[factorOffset_[i]], r));
    for (const Pair& p : pairs_)
        if (p.departure >= 0 && x[p.i] * x[p.j] != 0)
            ad::addScaled(ar, x[p.i] * x[p.j] * p.F,
                          termSumAtTau(departures_[p.departure], &factors_[factorOffset_[nc_ + p.departure]], r));
    ar_rho = ar.g[0];
    ar_rhorho = ar.h[0][0];
}

double MultiFluid::maxDensity(const double* x) const {
    double v = 0;
    for (int i = 0; i < nc_; ++i) v += x[i] / rhoMax_[i];
    return 1 / v;
}

double MultiFluid::liquidDensityGuess(double T, const double* x) const {
    // Ideal mixing of the saturated liquids from the ancillary equations (at
    // 0.98 Tr above that); the densest root lies near it below the critical point.
    double v = 0;
    for (int i = 0; i < nc_; ++i) {
        const Ancillary& a = dl_[i];
        const double rho = a.present ? a(std::min(T, 0.98 * a.Tr)) : 2.5 / vc_[i];
        v += x[i] / rho;
    }
    return std::min(1 / v, 0.9 * maxDensity(x));
}

}  // namespace tarnevo::engine
