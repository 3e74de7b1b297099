#include "core/HelmholtzMixture.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarnevo::engine {
HelmholtzMixture::HelmholtzMixture(std::vector<FluidData> fluids,
                                   std::unique_ptr<ResidualModel> model)
    : nc_(static_cast<int>(fluids.size())),
      fluids_(std::move(fluids)),
      model_(std::move(model)),
      R_(model_->gasConstant()),
      hOffset_(nc_, 0.0),
      sOffset_(nc_, 0.0),
      chung_(fluids_) {
    for (const auto& f : fluids_) cp0_.emplace_back(f.cp0);
}

void HelmholtzMixture::setReferenceOffsets(int i, double h, double s) {
    hOffset_[i] = h;
    sOffset_[i] = s;
}

double HelmholtzMixture::molarMass(const double* x) const {
    double m = 0;
    for (int i = 0; i < nc_; ++i) m += x[i] * fluids_[i].constants.molarMass;
    return m;
}

double HelmholtzMixture::pressure(double T, double rho, const double* x) const {
    double ar_rho, ar_rhorho;
    model_->densityDerivatives(T, rho, x, ar_rho, ar_rhorho);
    return rho * R_ * T * (1 + rho * ar_rho);
}

HelmholtzMixture::Ideal HelmholtzMixture::ideal(double T, const double* x) const {
    if (T != idealT_) {
        idealAtT_.resize(nc_);
        for (int i = 0; i < nc_; ++i) idealAtT_[i] = cp0_[i].evaluate(T);
        idealT_ = T;
    }
    Ideal id{0, 0, 0};
    for (int i = 0; i < nc_; ++i) {
        if (x[i] == 0) continue;
        const IdealGasValues& v = idealAtT_[i];
        id.h += x[i] * (R_ * v.h + hOffset_[i]);
        id.s += x[i] * (R_ * v.s + sOffset_[i] - R_ * std::log(x[i]));
        id.cp += x[i] * R_ * v.cp;
    }
    return id;
}

void HelmholtzMixture::idealProperties(double T, double rho, const double* x,
                                       Properties& out) const {
    const Ideal id = ideal(T, x);
    out = Properties{};
    out.T = T;
    out.rho = rho;
    out.molarMass = molarMass(x);
    // At zero density the entropy is taken at the reference pressure p0.
    const double rhoS = rho > 0 ? rho : kP0 / (R_ * T);
    out.p = rho * R_ * T;
    out.Z = 1;
    out.h = id.h;
    out.e = id.h - R_ * T;
    out.s = id.s - R_ * std::log(rhoS * R_ * T / kP0);
    out.cp = id.cp;
    out.cv = id.cp - R_;
    out.a = out.e - T * out.s;
    out.g = out.h - T * out.s;
    out.w = std::sqrt(out.cp / out.cv * R_ * T * 1000 / out.molarMass);
    out.dPdrho = R_ * T;
    out.dPdT = rho * R_;
    out.drhodT = rho > 0 ? -rho / T : 0;
    out.drhodP = 1 / (R_ * T);
    out.kappa = rho > 0 ? 1 / (rho * R_ * T) : std::numeric_limits<double>::infinity();
    out.beta = 1 / T;
}

void HelmholtzMixture::combine(double T, double rho, const double* x, const ResidualDerivatives& r,
                               Properties& out) const {
    const Ideal id = ideal(T, x);
    const double RT = R_ * T;
    out.T = T;
    out.rho = rho;
    out.molarMass = molarMass(x);
    out.Z = 1 + rho * r.ar_rho;
    out.p = rho * RT * out.Z;
    const double rhoS = rho > 0 ? rho : kP0 / RT;
    out.e = id.h - RT - RT * T * r.ar_T;
    out.s = id.s - R_ * std::log(rhoS * RT / kP0) - R_ * (r.ar + T * r.ar_T);
    out.h = out.e + RT * out.Z;
    out.a = out.e - T * out.s;
    out.g = out.h - T * out.s;
    out.cv = id.cp - R_ - R_ * T * (2 * r.ar_T + T * r.ar_TT);
    out.dPdrho = RT * (1 + 2 * rho * r.ar_rho + rho * rho * r.ar_rhorho);
    out.d2Pdrho2 = RT * (2 * r.ar_rho + 4 * rho * r.ar_rhorho + rho * rho * r.ar_rhorhorho);
    out.dPdT = rho * R_ * (1 + rho * r.ar_rho + rho * T * r.ar_Trho);
    out.drhodT = -out.dPdT / out.dPdrho;
    out.drhodP = 1 / out.dPdrho;
    out.d2PdT2 = R_ * rho * rho * (2 * r.ar_Trho + T * r.ar_TTrho);
    out.d2PdTdrho = R_ * (1 + 2 * rho * r.ar_rho + rho * rho * r.ar_rhorho +
                         2 * rho * T * r.ar_Trho + rho * rho * T * r.ar_Trhorho);
    if (rho > 0) {
        out.cp = out.cv + T * out.dPdT * out.dPdT / (rho * rho * out.dPdrho);
        out.kappa = 1 / (rho * out.dPdrho);
        out.beta = out.dPdT / (rho * out.dPdrho);
        out.hjt = (T * out.dPdT / (rho * rho * out.dPdrho) - 1 / rho) / out.cp;
    } else {
        out.cp = out.cv + R_;
        out.kappa = std::numeric_limits<double>::infinity();
        out.beta = 1 / T;
        out.hjt = (T * r.ar_Trho - r.ar_rho) / out.cp;  // (T dB/dT - B) / cp
    }
    const double w2 = out.cp / out.cv * out.dPdrho * 1000 / out.molarMass;
    out.w = w2 > 0 ? std::sqrt(w2) : 0;
}

double HelmholtzMixture::vapourPressureGuess(int i, double T) const {
    const FluidData& f = fluids_[i];
    if (f.ps.present && T < f.ps.Tr) return f.ps(T);
    const ComponentConstants& c = f.constants;  // Wilson
    return c.pCritical * std::exp(5.373 * (1 + c.acentric) * (1 - c.tCritical / T));
}

void HelmholtzMixture::properties(double T, double rho, const double* x, Properties& out) const {
    ResidualDerivatives& r = scratch_;
    model_->evaluate(T, rho, x, 0, r);
    combine(T, rho, x, r, out);
}

int HelmholtzMixture::iterateRoots(double T, double p, const double* x, Root root,
                                   double roots[3], double guess) const {
    // Newton on p(rho) from a vapour-like and a liquid-like start, bracketed, and kept on
    // the mechanically stable branch of its start: an iterate with dp/drho <= 0 means
    // that branch has no root at p (equations with loops inside the two-phase region
    // have spurious roots there).
    const double rhoMax = model_->maxDensity(x);
    const double RT = R_ * T;
    // walk: a start on an unstable part moves up (+1, a liquid start) or down (-1, a
    // vapour start) until it reaches a stable branch; 0: such a start fails.
    auto solve = [&](double rho, double& out, int walk = 0) {
        double lo = 0, hi = rhoMax;
        int direction = 0;  // +1: the start lies below the root, -1: above it
        int overshoots = 0;  // Newton steps past a known end of the branch
        bool ended = false;
        double last = -1;  // the last stable iterate
        for (int it = 0; it < 200; ++it) {
            double ar_rho, ar_rhorho;
            model_->densityDerivatives(T, rho, x, ar_rho, ar_rhorho);
            const double f = rho * RT * (1 + rho * ar_rho) - p;
            const double df = RT * (1 + 2 * rho * ar_rho + rho * rho * ar_rhorho);
            const bool stable = df > 0 && std::isfinite(f);
            if (direction == 0) {
                // A vapour start must not lie beyond a loop: halfway down is stable too.
                bool onBranch = stable;
                if (stable && walk < 0) {
                    double h_rho, h_rhorho;
                    const double half = 0.5 * rho;
                    model_->densityDerivatives(T, half, x, h_rho, h_rhorho);
                    onBranch = 1 + 2 * half * h_rho + half * half * h_rhorho > 0;
                }
                if (!onBranch && walk != 0 && it < 30) {
                    rho = walk > 0 ? rho + 0.25 * (rhoMax - rho) : 0.5 * rho;
                    continue;
                }
                if (!stable) return false;
                direction = f < 0 ? 1 : -1;
            }
            double next = -1;
            if (!stable) {
                (direction > 0 ? hi : lo) = rho;  // beyond the end of the start's branch
                ended = true;
            } else {
                // A long step may have jumped over an unstable part onto another branch:
                // the middle of the step tells.
                if (last > 0 && std::fabs(rho - last) > 0.05 * rho) {
                    const double mid = 0.5 * (rho + last);
                    double m_rho, m_rhorho;
                    model_->densityDerivatives(T, mid, x, m_rho, m_rhorho);
                    if (!(1 + 2 * mid * m_rho + mid * mid * m_rhorho > 0)) {
                        (rho > last ? hi : lo) = mid;
                        ended = true;
                        rho = 0.5 * (last + mid);
                        continue;
                    }
                }
                last = rho;
                if (f < 0) lo = std::max(lo, rho); else hi = std::min(hi, rho);
                next = rho - f / df;
                // Converging quadratically: the step after this one would be below 1e-18.
                if (std::fabs(next - rho) <= 1e-10 * rho) {
                    out = next;
                    return true;
                }
                // Towards its end a branch bends away from p (concave vapour, convex
                // liquid side), so Newton does not step past a root there: stepping past
                // the end twice means the branch has none.
                if (ended && (direction > 0 ? next >= hi : next <= lo) && ++overshoots >= 2)
                    return false;
            }
            if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
            if (hi - lo <= 1e-14 * hi) return false;
            rho = next;
        }
        return false;
    };
    // A side asked for with a starting value: the root on the start's branch (the
    // caller follows a root it found before). Otherwise only the side asked for, the
    // other where that side has no root.
    int n = 0;
    double v;
    if (guess > 0 && guess < rhoMax && solve(guess, v)) {
        roots[n++] = v;
        if (root != Root::Stable) return n;
    }
    const bool vapour = root != Root::Liquid, liquid = root != Root::Vapour;
    if (vapour && solve(p / RT, v, -1)) roots[n++] = v;
    if ((liquid || n == 0) && solve(model_->liquidDensityGuess(T, x), v, 1)) roots[n++] = v;
    if (!vapour && n == 0 && solve(p / RT, v, -1)) roots[n++] = v;
    std::sort(roots, roots + n);
    n = static_cast<int>(std::unique(roots, roots + n, [](double a, double b) {
            return std::fabs(a - b) <= 1e-9 * std::max(a, b);
        }) - roots);
    return n;
}

bool HelmholtzMixture::density(double T, double p, const double* x, Root root, double& rho,
                               double guess) const {
    if (!(T > 0) || !(p > 0) || !std::isfinite(T) || !std::isfinite(p)) return false;
    double roots[3];
    int n = model_->densityRoots(T, p, x, roots);
    if (n < 0) n = iterateRoots(T, p, x, root, roots, guess);
    if (n <= 0) return false;
    if (n == 1 || root == Root::Vapour) {
        rho = roots[0];
    } else if (root == Root::Liquid) {
        rho = roots[n - 1];
    } else {
        // Stable: the root of lower Gibbs energy, g_res/RT = ar + Z - 1 - ln Z.
        auto gres = [&](double d) {
            model_->evaluate(T, d, x, 0, scratch_);
            const double Z = p / (d * R_ * T);
            return scratch_.ar + Z - 1 - std::log(Z);
        };
        rho = gres(roots[0]) <= gres(roots[n - 1]) ? roots[0] : roots[n - 1];
    }
    if (n == 1 && root == Root::Liquid) rho = roots[0];
    return std::isfinite(rho) && rho > 0;
}

void HelmholtzMixture::lnPhi(double T, double rho, const double* x, int order, LnPhi& out) const {
    ResidualDerivatives& r = scratch_;
    model_->evaluate(T, rho, x, order + 1, r);
    const double RT = R_ * T;
    const double Z = 1 + rho * r.ar_rho;
    const double lnZ = std::log(Z);
    out.lnphi.resize(nc_);
    for (int i = 0; i < nc_; ++i) out.lnphi[i] = r.n_ar_n[i] - lnZ;
    if (order < 1) return;
    const double p = rho * RT * Z;
    const double dPdrho = RT * (1 + 2 * rho * r.ar_rho + rho * rho * r.ar_rhorho);
    const double dPdT = rho * R_ * (1 + rho * r.ar_rho + rho * T * r.ar_Trho);
    const double drhodT = -dPdT / dPdrho;
    out.dT.resize(nc_);
    out.dP.resize(nc_);
    for (int i = 0; i < nc_; ++i) {
        out.dT[i] = r.n_ar_nT[i] + drhodT * r.n_ar_nrho[i] + drhodT / rho + 1 / T;
        out.dP[i] = r.n_ar_nrho[i] / dPdrho - 1 / p + 1 / (rho * dPdrho);
    }
    if (order < 2) return;
    out.dn.resize(nc_ * nc_);
    for (int i = 0; i < nc_; ++i)
        for (int j = 0; j < nc_; ++j)
            out.dn[i * nc_ + j] = r.n_ar_nn[i * nc_ + j] + 1 -
                                  RT * (1 + rho * r.n_ar_nrho[i]) * (1 + rho * r.n_ar_nrho[j]) / dPdrho;
}

double HelmholtzMixture::virialB(double T, const double* x) const {
    model_->evaluate(T, 0, x, 0, scratch_);
    return scratch_.ar_rho;
}

double HelmholtzMixture::virialBdT(double T, const double* x) const {
    model_->evaluate(T, 0, x, 0, scratch_);
    return scratch_.ar_Trho;
}

bool HelmholtzMixture::transport(double T, double rho, const double* x, double& eta, double& tcx,
                                 std::string& message) const {
    if (!(T > 0) || !std::isfinite(T) || !(rho >= 0) || !std::isfinite(rho)) {
        message = "temperature and density must be finite, T > 0 and D >= 0";
        return false;
    }
    const double cp0 = ideal(T, x).cp;
    chung_.compute(T, rho, x, cp0 - R_, eta, tcx);
    if (!std::isfinite(eta) || !std::isfinite(tcx) || eta <= 0 || tcx <= 0) {
        message = "the transport method gives no value at this state";
        return false;
    }
    return true;
}

double HelmholtzMixture::pureSurfaceTension(int i, double T) const {
    const FluidData& f = fluids_[i];
    if (!f.hasSurfaceTension || T >= f.surfaceTension.tc) return 0;
    const double tau = 1 - T / f.surfaceTension.tc;
    double sigma = 0;
    for (const auto& [a, n] : f.surfaceTension.terms) sigma += a * std::pow(tau, n);
    return std::max(sigma, 0.0);
}

bool HelmholtzMixture::surfaceTension(double T, double rhoL, double rhoV, const double* xl,
                                      const double* xv, double& sigma,
                                      std::string& message) const {
    (void)xv;
    if (!(T > 0) || !std::isfinite(T)) {
        message = "temperature must be finite and above 0";
        return false;
    }
    if (!(rhoL > 0) || !(rhoV >= 0) || !std::isfinite(rhoL) || !std::isfinite(rhoV)) {
        message = "liquid density must be above 0 and vapour density at least 0";
        return false;
    }
    for (int i = 0; i < nc_; ++i) {
        if (xl[i] > 0 && !fluids_[i].hasSurfaceTension) {
            message = "no surface tension data for " + fluids_[i].constants.name;
            return false;
        }
    }
    // Mixture rule: liquid-mole-fraction average of the pure-fluid values at T.
    sigma = 0;
    for (int i = 0; i < nc_; ++i)
        if (xl[i] > 0) sigma += xl[i] * pureSurfaceTension(i, T);
    return true;
}

}  // namespace tarnevo::engine
