#include "core/MultiFluid.h"

#include <cmath>
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
