#include "equilibrium/PropertyFlash.h"

#include "equilibrium/FlashError.h"
#include "equilibrium/Saturation.h"
#include "equilibrium/Solve1D.h"
#include "equilibrium/Stability.h"
#include "equilibrium/TPFlash.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace tarnevo::engine::equilibrium {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double solverValue(const FlashState& st, Spec spec) {
    switch (spec) {
    case Spec::H: return st.h;
    case Spec::S: return st.s;
    case Spec::E: return st.e;
    case Spec::D: return 1.0 / st.rho;
    }
    return kNaN;
}

// Residual accepted as converged. Tight: T and p of liquids at low pressure are poorly
// fixed by (T, h), (D, s) or (h, s), and the outer solvers need exact inner flashes.
double tolerance(Spec spec, double v, double r = 1e-12) {
    switch (spec) {
    case Spec::H:
    case Spec::E: return r * std::max(std::fabs(v), 1e4);
    case Spec::S: return r * std::max(std::fabs(v), 100.0);
    case Spec::D: return r * std::fabs(v);
    }
    return 0;
}

// Slopes of one phase: d/dT at constant p, d/d ln p at constant T, d/dT at constant rho.
double slopeTatP(const FlashState& st, Spec spec) {
    if (st.twoPhase) return kNaN;
    const Properties& pr = st.props;
    double r2 = pr.rho * pr.rho;
    switch (spec) {
    case Spec::H: return pr.cp;
    case Spec::S: return pr.cp / pr.T;
    case Spec::E: return pr.cp + pr.p * pr.drhodT / r2;
    case Spec::D: return -pr.drhodT / r2;
    }
    return kNaN;
}

double slopeLnPatT(const FlashState& st, Spec spec) {
    if (st.twoPhase) return kNaN;
    const Properties& pr = st.props;
    double r2 = pr.rho * pr.rho;
    double d;
    switch (spec) {
    case Spec::H: d = 1.0 / pr.rho + pr.T * pr.drhodT / r2; break;
    case Spec::S: d = pr.drhodT / r2; break;
    case Spec::E: d = pr.T * pr.drhodT / r2 + pr.p * pr.drhodP / r2; break;
    case Spec::D: d = -pr.drhodP / r2; break;
    default: return kNaN;
    }
    return d * pr.p;
}

double slopeTatD(const FlashState& st, Spec spec) {
    if (st.twoPhase) return kNaN;
    const Properties& pr = st.props;
    switch (spec) {
    case Spec::H: return pr.cv + pr.dPdT / pr.rho;
    case Spec::S: return pr.cv / pr.T;
    case Spec::E: return pr.cv;
    default: return kNaN;
    }
}

// States at (T, p): equilibrium, or one root.
class Source {
public:
    Source(const System& sys, Phase phase) : sys_(sys), phase_(phase) {}
    FlashState at(double T, double p, Root pureRoot = Root::Stable) {
        if (phase_.single || pureRoot != Root::Stable) {
            Root r = phase_.single ? phase_.root : pureRoot;
            return sys_.singlePhase(T, sys_.density(T, p, sys_.z().data(), r));
        }
        return flashTP(sys_, T, p, &hint_);
    }
private:
    const System& sys_;
    Phase phase_;
    TPHint hint_;   // the last equilibrium, to start the next T-P flash from
};

// Solves for one variable and keeps the state of the best point.
struct Tracked {
    FlashState state;
    double bestAbs = 1e300;
    void keep(const FlashState& st, double f) {
        if (std::fabs(f) <= bestAbs) {
            bestAbs = std::fabs(f);
            state = st;
        }
    }
};

// A converged search whose residual is still large has closed in on a jump of the
// function (a phase boundary it cannot cross), not on a solution.
FlashState finish(const Root1D& r, Tracked& t, double jump, const char* what) {
    if (!r.converged) throw FlashError(FlashErrorCode::NotConverged, iterationsMessage(r.iterations));
    if (t.bestAbs > jump)
        throw FlashError(FlashErrorCode::NoSolution, std::string("no state with these values (") + what +
                                                         " jumps across a phase boundary)");
    return t.state;
}

void checkPositive(double v, const char* name) {
    if (!(v > 0) || !std::isfinite(v))
        throw FlashError(FlashErrorCode::BadInput, std::string(name) + " must be positive");
}

void checkFinite(double v, const char* name) {
    if (!std::isfinite(v)) throw FlashError(FlashErrorCode::BadInput, std::string(name) + " is not a finite number");
}

// Solve for T at constant p over [lo, hi].
FlashState solveT(Source& src, double p, Spec spec, double target, double lo, double hi,
                  double T0, Root pureRoot, double step = 0, double rel = 1e-12) {
    Tracked t;
    double ftol = tolerance(spec, target, rel);
    auto f = [&](double T) {
        FlashState st = src.at(T, p, pureRoot);
        double v = solverValue(st, spec) - target;
        t.keep(st, v);
        return Eval1D{v, slopeTatP(st, spec)};
    };
    Root1D r = solveMonotone(f, true, T0, lo, hi, step > 0 ? step : 0.3 * T0, ftol, 1e-13);
    return finish(r, t, tolerance(spec, target, 1e-7), "the state");
}

// Solve for ln p at constant T over [lnLo, lnHi].
FlashState solveLnP(Source& src, double T, Spec spec, double target, double lnLo,
                    double lnHi, double lnp0, Root pureRoot, bool increasing) {
    Tracked t;
    double ftol = tolerance(spec, target);
    auto f = [&](double lnp) {
        FlashState st = src.at(T, std::exp(lnp), pureRoot);
        double v = solverValue(st, spec) - target;
        t.keep(st, v);
        return Eval1D{v, slopeLnPatT(st, spec)};
    };
    Root1D r = solveMonotone(f, increasing, lnp0, lnLo, lnHi, 1.0, ftol, 1e-14);
    return finish(r, t, tolerance(spec, target, 1e-7), "the state");
}

double tMin(const System& sys);

// A starting temperature at constant p: Newton on the lower-Gibbs root alone, no
// phase equilibrium (a few microseconds).
double estimateT(const System& sys, double p, Spec spec, double value, double T, Root root = Root::Stable) {
    for (int it = 0; it < 12; ++it) {
        double rho = 0;
        if (!sys.mixture().density(T, p, sys.z().data(), root, rho) || !(rho > 0)) break;
        FlashState st = sys.singlePhase(T, rho);
        double f = solverValue(st, spec) - value, slope = slopeTatP(st, spec);
        if (!(slope > 0) || !std::isfinite(f)) break;
        double dT = -f / slope;
        dT = std::max(-0.3 * T, std::min(0.3 * T, dT));
        T = std::min(std::max(T + dT, tMin(sys)), kTMax);
        if (std::fabs(dT) < 1e-3) break;
    }
    return T;
}

// Starting T and ln p for given s and h (or e): Newton in (T, ln p) on the lower-Gibbs
// root alone. False when it does not settle.
bool estimateTP(const System& sys, double s, Spec spec, double value, double& T, double& lnp) {
    T = std::min(std::max(1.5 * sys.Tc(), 150.0), 1000.0);
    lnp = std::log(100.0);
    for (int it = 0; it < 40; ++it) {
        double p = std::exp(lnp), rho = 0;
        if (!sys.mixture().density(T, p, sys.z().data(), Root::Stable, rho) || !(rho > 0)) return false;
        FlashState st = sys.singlePhase(T, rho);
        double f1 = st.s - s, f2 = solverValue(st, spec) - value;
        double a11 = slopeTatP(st, Spec::S), a12 = slopeLnPatT(st, Spec::S);
        double a21 = slopeTatP(st, spec), a22 = slopeLnPatT(st, spec);
        double det = a11 * a22 - a12 * a21;
        if (!std::isfinite(det) || det == 0) return false;
        double dT = -(f1 * a22 - f2 * a12) / det, dl = -(a11 * f2 - a21 * f1) / det;
        dT = std::max(-0.3 * T, std::min(0.3 * T, dT));
        dl = std::max(-2.0, std::min(2.0, dl));
        T = std::min(std::max(T + dT, 2 * kTMin), kTMax);
        lnp = std::min(std::max(lnp + dl, std::log(kPMin)), std::log(kPMax));
        if (std::fabs(dT) < 1e-6 * T && std::fabs(dl) < 1e-6) return true;
    }
    return false;
}

double minCriticalT(const System& sys) {
    double t = 1e300;
    for (int i : sys.present()) t = std::min(t, sys.mixture().component(i).tCritical);
    return t;
}

// Lowest temperature the outer solvers try: a tenth of the lowest critical temperature.
double tMin(const System& sys) { return std::max(kTMin, 0.1 * minCriticalT(sys)); }

}  // namespace

double specValue(const FlashState& st, Spec spec) {
    return spec == Spec::D ? st.rho : solverValue(st, spec);
}

FlashState flashTD(const System& sys, double T, double D, Phase phase) {
    checkPositive(T, "temperature");
    checkPositive(D, "density");
    if (D >= sys.mixture().model().maxDensity(sys.z().data()))
        throw FlashError(FlashErrorCode::NoSolution, "density is above the highest density of the model");
    const double* z = sys.z().data();
    if (phase.single) return sys.singlePhase(T, D);
    if (sys.pure()) {
        if (T < sys.Tc()) {
            try {
                SaturationPoint sat = pureSaturationT(sys, T);
                if (D > sat.rhoV && D < sat.rhoL) {
                    double beta = (1 / D - 1 / sat.rhoL) / (1 / sat.rhoV - 1 / sat.rhoL);
                    return sys.twoPhase(T, sat.p, beta, sat.rhoL, sat.rhoV, sat.x, sat.y);
                }
            } catch (const FlashError& e) {
                if (e.code() != FlashErrorCode::NoSolution) throw;
            }
        }
        return sys.singlePhase(T, D);
    }
    Properties pr;
    sys.mixture().properties(T, D, z, pr);
    if (pr.dPdrho > 0 && pr.p > 0) {
        LnPhi f;
        sys.mixture().lnPhi(T, D, z, 0, f);
        std::vector<double> d(sys.size(), 0.0);
        for (int i : sys.present()) d[i] = std::log(sys.z()[i]) + f.lnphi[i];
        bool liquidLike = T < sys.Tc() || pr.p / (D * sys.mixture().model().gasConstant() * T) < 0.3;
        if (testStability(sys, T, pr.p, d, nullptr, liquidLike).stable) return sys.singlePhase(T, D);
    }
    // Two phases: the pressure whose T-P flash has the bulk volume 1 / D.
    Source src(sys, phase);
    double lnp0 = std::log(pr.p > 0 ? pr.p : 0.5 * sys.pc());
    return solveLnP(src, T, Spec::D, 1 / D, std::log(kPMin), std::log(kPMax), lnp0, Root::Stable, false);
}

namespace {

// rel: convergence of the residual relative to the value (tighter when nested).
FlashState solvePX(const System& sys, double p, Spec spec, double value, Phase phase, double Tguess, double rel) {
    checkPositive(p, "pressure");
    if (spec == Spec::D) {
        checkPositive(value, "density");
        value = 1 / value;
    } else {
        checkFinite(value, spec == Spec::H ? "enthalpy" : spec == Spec::S ? "entropy" : "internal energy");
    }
    Source src(sys, phase);
    double T0 = Tguess > 0 ? Tguess : std::min(std::max(1.5 * sys.Tc(), 150.0), 1000.0);
    if (!phase.single && sys.pure() && p < sys.pc()) {
        SaturationPoint sat;
        bool haveSat = true;
        try {
            sat = pureSaturationP(sys, p);
        } catch (const FlashError& e) {
            if (e.code() != FlashErrorCode::NoSolution) throw;
            haveSat = false;
        }
        if (haveSat) {
            FlashState l = sys.singlePhase(sat.T, sat.rhoL), v = sys.singlePhase(sat.T, sat.rhoV);
            double xl = solverValue(l, spec), xv = solverValue(v, spec);
            if (value >= xl && value <= xv) {
                double beta = (value - xl) / (xv - xl);
                return sys.twoPhase(sat.T, sat.p, beta, sat.rhoL, sat.rhoV, sat.x, sat.y);
            }
            if (value < xl)
                return solveT(src, p, spec, value, tMin(sys), sat.T, std::min(T0, sat.T * 0.95), Root::Liquid, 0,
                              rel);
            return solveT(src, p, spec, value, sat.T, kTMax, std::max(T0, sat.T * 1.05), Root::Vapour, 0, rel);
        }
    }
    if (Tguess > 0) return solveT(src, p, spec, value, tMin(sys), kTMax, T0, Root::Stable, 0, rel);
    // Inside the two-phase region the answer lies between the temperatures where the
    // vapour root and the liquid root alone have the value: start between them.
    double Tv = estimateT(sys, p, spec, value, T0, Root::Vapour);
    double Tl = estimateT(sys, p, spec, value, Tv, Root::Liquid);
    double T1 = 0.5 * (Tv + Tl), step = std::max(0.01 * T1, 0.25 * std::fabs(Tl - Tv));
    try {
        return solveT(src, p, spec, value, tMin(sys), kTMax, T1, Root::Stable, step, rel);
    } catch (const FlashError& e) {
        // The estimate can land where the model has no root for a trial phase.
        if (e.code() != FlashErrorCode::Model || T1 == T0) throw;
        return solveT(src, p, spec, value, tMin(sys), kTMax, T0, Root::Stable, 0, rel);
    }
}

}  // namespace

FlashState flashPX(const System& sys, double p, Spec spec, double value, Phase phase, double Tguess) {
    return solvePX(sys, p, spec, value, phase, Tguess, 1e-12);
}

FlashState flashTX(const System& sys, double T, Spec spec, double value, int kr, Phase phase) {
    checkPositive(T, "temperature");
    if (spec == Spec::D) return flashTD(sys, T, value, phase);
    checkFinite(value, spec == Spec::H ? "enthalpy" : spec == Spec::S ? "entropy" : "internal energy");
    if (kr != 1 && kr != 2) throw FlashError(FlashErrorCode::BadInput, "kr must be 1 or 2");
    Source src(sys, phase);
    // Segments of ln p, each with its root choice; two-phase candidate of a pure fluid.
    struct Segment { double lo, hi; Root root; };
    std::vector<Segment> segments;
    std::vector<FlashState> found;
    bool pureTwoPhase = !phase.single && sys.pure() && T < sys.Tc();
    SaturationPoint sat;
    if (pureTwoPhase) {
        try {
            sat = pureSaturationT(sys, T);
        } catch (const FlashError& e) {
            if (e.code() != FlashErrorCode::NoSolution) throw;
            pureTwoPhase = false;
        }
    }
    if (pureTwoPhase) {
        double lnps = std::log(sat.p);
        segments.push_back({std::log(kPMin), lnps, Root::Vapour});
        FlashState l = sys.singlePhase(T, sat.rhoL), v = sys.singlePhase(T, sat.rhoV);
        double xl = solverValue(l, spec), xv = solverValue(v, spec);
        if ((value - xl) * (value - xv) <= 0) {
            double beta = (value - xl) / (xv - xl);
            found.push_back(sys.twoPhase(T, sat.p, beta, sat.rhoL, sat.rhoV, sat.x, sat.y));
        }
        segments.push_back({lnps, std::log(std::max(kPMaxAtT, 10 * sat.p)), Root::Liquid});
    } else {
        segments.push_back({std::log(kPMin), std::log(kPMaxAtT), Root::Stable});
    }
    double ftol = tolerance(spec, value);
    // Scan each segment on a grid in ln p for sign changes, then refine each bracket.
    // Two roots inside one cell show as an extremum of the grid values that points
    // towards zero: locate it (golden section) and refine on both sides.
    const double cell = std::log(10.0) / 4;
    // A bracket that closes on a jump of the function (a phase boundary the flash
    // resolves only to its own tolerance) holds no solution.
    auto refine = [&](double a, double b, Root root, bool increasing) {
        try {
            found.push_back(solveLnP(src, T, spec, value, a, b, 0.5 * (a + b), root, increasing));
        } catch (const FlashError& e) {
            if (e.code() != FlashErrorCode::NoSolution) throw;
        }
    };
    for (const Segment& seg : segments) {
        int cells = std::max(2, static_cast<int>(std::ceil((seg.hi - seg.lo) / cell)));
        std::vector<double> xs(cells + 1), fs(cells + 1);
        auto value_at = [&](double lnp, FlashState* keep) {
            FlashState st = src.at(T, std::exp(lnp), seg.root);
            if (keep) *keep = st;
            return solverValue(st, spec) - value;
        };
        for (int k = 0; k <= cells; ++k) {
            double lnp = seg.lo + (seg.hi - seg.lo) * k / cells;
            if (k == 0) lnp += 1e-12 * std::max(1.0, std::fabs(lnp));
            if (k == cells) lnp -= 1e-12 * std::max(1.0, std::fabs(lnp));
            FlashState st;
            xs[k] = lnp;
            fs[k] = value_at(lnp, &st);
            if (std::fabs(fs[k]) <= ftol) {
                found.push_back(st);
            } else if (k > 0 && std::fabs(fs[k - 1]) > ftol && (fs[k] > 0) != (fs[k - 1] > 0)) {
                refine(xs[k - 1], lnp, seg.root, fs[k] > fs[k - 1]);
            }
        }
        for (int k = 1; k < cells; ++k) {
            double sgn = fs[k] > 0 ? 1.0 : -1.0;
            bool sameSign = (fs[k - 1] > 0) == (fs[k] > 0) && (fs[k + 1] > 0) == (fs[k] > 0);
            if (!sameSign || !(sgn * fs[k] < sgn * fs[k - 1] && sgn * fs[k] <= sgn * fs[k + 1])) continue;
            double a = xs[k - 1], b = xs[k + 1];
            const double g = 0.5 * (std::sqrt(5.0) - 1);
            double c = b - g * (b - a), d = a + g * (b - a);
            double fc = sgn * value_at(c, nullptr), fd = sgn * value_at(d, nullptr);
            for (int it = 0; it < 60 && b - a > 1e-10 && fc > 0 && fd > 0; ++it) {
                if (fc < fd) { b = d; d = c; fd = fc; c = b - g * (b - a); fc = sgn * value_at(c, nullptr); }
                else { a = c; c = d; fc = fd; d = a + g * (b - a); fd = sgn * value_at(d, nullptr); }
            }
            double xm = fc < fd ? c : d;
            if (std::min(fc, fd) > 0) continue;
            refine(xs[k - 1], xm, seg.root, sgn < 0);
            refine(xm, xs[k + 1], seg.root, sgn > 0);
        }
    }
    if (found.empty())
        throw FlashError(FlashErrorCode::NoSolution, "no state with these values between " +
                                                         num(kPMin) + " and " + num(kPMaxAtT) +
                                                         " kPa");
    auto cmp = [](const FlashState& a, const FlashState& b) { return a.rho < b.rho; };
    return kr == 1 ? *std::min_element(found.begin(), found.end(), cmp)
                   : *std::max_element(found.begin(), found.end(), cmp);
}

FlashState flashDX(const System& sys, double D, Spec spec, double value, Phase phase) {
    checkPositive(D, "density");
    checkFinite(value, spec == Spec::H ? "enthalpy" : spec == Spec::S ? "entropy" : "internal energy");
    Tracked t;
    // At constant density the pressure of a liquid follows T steeply: converge T fully.
    double ftol = tolerance(spec, value);
    auto f = [&](double T) {
        FlashState st = flashTD(sys, T, D, phase);
        double v = solverValue(st, spec) - value;
        t.keep(st, v);
        return Eval1D{v, slopeTatD(st, spec)};
    };
    double T0 = std::min(std::max(1.5 * sys.Tc(), 150.0), 1000.0);
    Root1D r = solveMonotone(f, true, T0, tMin(sys), kTMax, 0.1 * T0, ftol, 1e-15);
    return finish(r, t, tolerance(spec, value, 1e-7), "the state");
}

FlashState flashSX(const System& sys, double s, Spec spec, double value, Phase phase) {
    checkFinite(s, "entropy");
    checkFinite(value, spec == Spec::H ? "enthalpy" : "internal energy");
    Tracked t;
    double ftol = tolerance(spec, value);
    double Tlast = 0;
    auto f = [&](double lnp) {
        double p = std::exp(lnp);
        FlashState st = solvePX(sys, p, Spec::S, s, phase, Tlast, 1e-14);
        Tlast = st.T;
        double v = solverValue(st, spec) - value;
        t.keep(st, v);
        // d/d ln p at constant s: h rises by p v, e by p^2 / (rho^2 (dp/drho)_s).
        double slope = kNaN;
        if (!st.twoPhase) {
            double dpdrhoS = st.w * st.w * st.props.molarMass / 1000;
            slope = spec == Spec::H ? p / st.rho : p * p / (st.rho * st.rho * dpdrhoS);
        }
        return Eval1D{v, slope};
    };
    double lnp0 = std::log(100.0), Tguess = 0;
    Root1D r;
    if (!phase.single && estimateTP(sys, s, spec, value, Tguess, lnp0)) {
        try {
            r = solveMonotone(f, true, lnp0, std::log(kPMin), std::log(kPMax), 0.05, ftol, 1e-14);
            return finish(r, t, tolerance(spec, value, 1e-7), "the state");
        } catch (const FlashError& e) {
            if (e.code() == FlashErrorCode::BadInput) throw;
            t = Tracked();   // start again from the default
        }
    }
    Tlast = 0;
    r = solveMonotone(f, true, std::log(100.0), std::log(kPMin), std::log(kPMax), 1.0, ftol, 1e-14);
    return finish(r, t, tolerance(spec, value, 1e-7), "the state");
}

}  // namespace tarnevo::engine::equilibrium
