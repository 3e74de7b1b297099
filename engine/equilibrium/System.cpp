#include "equilibrium/System.h"

#include "equilibrium/FlashError.h"

#include <cmath>

namespace tarnevo::engine::equilibrium {

System::System(const Mixture& mixture, const double* z) : mix_(mixture), n_(mixture.size()) {
    if (n_ <= 0) throw FlashError(FlashErrorCode::BadInput, "no components are set up");
    double sum = 0;
    for (int i = 0; i < n_; ++i) {
        if (!std::isfinite(z[i]) || z[i] < 0)
            throw FlashError(FlashErrorCode::BadInput, "composition holds a negative or non-finite value");
        sum += z[i];
    }
    if (!(std::fabs(sum - 1) <= 1e-4))
        throw FlashError(FlashErrorCode::BadInput, "composition does not sum to one");
    z_.assign(z, z + n_);
    for (int i = 0; i < n_; ++i) {
        z_[i] /= sum;
        if (z_[i] > 0) {
            present_.push_back(i);
            const ComponentConstants& c = mix_.component(i);
            tc_ += z_[i] * c.tCritical;
            pc_ += z_[i] * c.pCritical;
        }
    }
}

void System::wilsonLnK(double T, double p, std::vector<double>& lnK) const {
    lnK.assign(n_, 0.0);
    for (int i = 0; i < n_; ++i) {
        const ComponentConstants& c = mix_.component(i);
        lnK[i] = std::log(c.pCritical / p) + 5.373 * (1 + c.acentric) * (1 - c.tCritical / T);
    }
}

double System::density(double T, double p, const double* x, Root root, double guess) const {
    if (++work_ > kWorkLimit)
        throw FlashError(FlashErrorCode::NotConverged,
                         "gave up after " + std::to_string(kWorkLimit) + " density evaluations");
    double rho = 0;
    if (!mix_.density(T, p, x, root, rho, guess) || !(rho > 0) || !std::isfinite(rho))
        throw FlashError(FlashErrorCode::Model, "no density root at T = " + num(T) +
                                                    " K, P = " + num(p) + " kPa");
    return rho;
}

bool System::twoRoots(double T, double p, const double* x, double& rhoL, double& rhoV,
                      double guessL, double guessV) const {
    rhoL = density(T, p, x, Root::Liquid, guessL);
    rhoV = density(T, p, x, Root::Vapour, guessV);
    return rhoL > rhoV * (1 + 1e-9);
}

double System::classify(double T, double p, const Properties& props) const {
    if (T >= tc_) return p >= pc_ ? kQSupercritical : kQVapour;
    return props.d2Pdrho2 > 0 ? kQLiquid : kQVapour;
}

FlashState System::singlePhase(double T, double rho) const {
    FlashState st;
    mix_.properties(T, rho, z_.data(), st.props);
    const Properties& pr = st.props;
    st.T = T;
    st.p = pr.p;
    st.rho = st.rhoL = st.rhoV = rho;
    st.x = st.y = z_;
    st.twoPhase = false;
    st.q = classify(T, pr.p, pr);
    st.beta = st.q < 0 ? 0.0 : 1.0;
    st.e = pr.e;
    st.h = pr.h;
    st.s = pr.s;
    st.cv = pr.cv;
    st.cp = pr.cp;
    st.w = pr.w;
    return st;
}

FlashState System::twoPhase(double T, double p, double beta, double rhoL, double rhoV,
                            const std::vector<double>& x, const std::vector<double>& y) const {
    FlashState st;
    Properties l, v;
    mix_.properties(T, rhoL, x.data(), l);
    mix_.properties(T, rhoV, y.data(), v);
    st.T = T;
    st.p = p;
    st.rhoL = rhoL;
    st.rhoV = rhoV;
    st.rho = 1.0 / ((1 - beta) / rhoL + beta / rhoV);
    st.x = x;
    st.y = y;
    st.twoPhase = true;
    st.beta = st.q = beta;
    st.e = (1 - beta) * l.e + beta * v.e;
    st.h = (1 - beta) * l.h + beta * v.h;
    st.s = (1 - beta) * l.s + beta * v.s;
    return st;
}

}  // namespace tarnevo::engine::equilibrium
