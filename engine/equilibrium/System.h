// A mixture with one bulk composition: which components are present, estimates
// (pseudo-critical point, Wilson K-values) and checked phase evaluations.
#pragma once

#include "core/Mixture.h"
#include "equilibrium/FlashState.h"

#include <vector>

namespace tarnevo::engine::equilibrium {

class System {
public:
    // Checks z (finite, not negative, summing to one within 1e-4) and normalises it.
    System(const Mixture& mixture, const double* z);

    const Mixture& mixture() const { return mix_; }
    int size() const { return n_; }
    const std::vector<double>& z() const { return z_; }
    const std::vector<int>& present() const { return present_; }
    bool pure() const { return present_.size() == 1; }
    // Critical point of the pure fluid, or Kay's pseudo-critical point of the mixture.
    double Tc() const { return tc_; }
    double pc() const { return pc_; }

    // Wilson's estimate ln K_i = ln(pc_i / p) + 5.373 (1 + w_i) (1 - Tc_i / T).
    void wilsonLnK(double T, double p, std::vector<double>& lnK) const;

    // Density root; throws FlashError (Model) when there is none, and (NotConverged)
    // once one calculation has asked for kWorkLimit roots: no call runs for minutes.
    static constexpr long kWorkLimit = 4000000;
    double density(double T, double p, const double* x, Root root, double guess = 0) const;
    // True when the liquid and vapour roots at (T, p, x) are distinct.
    bool twoRoots(double T, double p, const double* x, double& rhoL, double& rhoV,
                  double guessL = 0, double guessV = 0) const;

    // One phase at (T, rho) as a flash result with x = y = z and q from classify().
    FlashState singlePhase(double T, double rho) const;
    // Two phases in equilibrium: molar vapour fraction beta, phase densities and compositions.
    FlashState twoPhase(double T, double p, double beta, double rhoL, double rhoV,
                        const std::vector<double>& x, const std::vector<double>& y) const;
    // q of one phase: 999 above the critical temperature and pressure, 998 above the
    // critical temperature only; below it -998 on the liquid branch of the isotherm
    // (d2p/drho2 > 0) and 998 on the vapour branch.
    double classify(double T, double p, const Properties& props) const;

private:
    const Mixture& mix_;
    int n_;
    std::vector<double> z_;
    std::vector<int> present_;
    double tc_ = 0, pc_ = 0;
    mutable long work_ = 0;
};

}  // namespace tarnevo::engine::equilibrium
