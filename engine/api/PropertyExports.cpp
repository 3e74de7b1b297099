// Single-phase property routines. Those without an error code return NaN in every
// output when their inputs are invalid.
#include "api/Session.h"

#include <cmath>
#include <initializer_list>
#include <limits>

using namespace tarnevo::engine;
using namespace tarnevo::engine::api;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void fillNaN(std::initializer_list<double*> outputs) {
    for (double* o : outputs)
        if (o) *o = kNaN;
}

// Checks (T, D, x) of a routine without an error code.
bool validState(const double* t, const double* D, const double* x, const double*& xs,
                bool zeroDensity) {
    if (!checkStateComposition(x, xs).empty() || !checkTemperature(t).empty() ||
        !checkDensity(D, zeroDensity).empty())
        return false;
    return *D < session().mixture->model().maxDensity(xs);
}

const HelmholtzMixture& mixture() { return *session().mixture; }

// Computes the properties at (T, D, x) or returns false (outputs NaN).
template <class Write>
void withProperties(const char* routine, double* t, double* D, double* x, bool zeroDensity,
                    std::initializer_list<double*> outputs, Write&& write) {
    recordCall(routine);
    try {
        const double* xs = nullptr;
        if (!validState(t, D, x, xs, zeroDensity)) {
            fillNaN(outputs);
            return;
        }
        Properties pr;
        mixture().properties(*t, *D, xs, pr);
        write(pr);
    } catch (...) {
        fillNaN(outputs);
    }
}

}  // namespace

extern "C" void TPRHOdll(double* t, double* p, double* x, int* kph, int* kguess, double* D,
                         int* ierr, char* herr, RpLength lerr) {
    const char* routine = "TPRHOdll";
    guarded(routine, ierr, herr, lerr, [&] {
        const double* xs = nullptr;
        std::string why = checkStateComposition(x, xs);
        if (why.empty()) why = checkTemperature(t);
        if (why.empty()) why = checkPressure(p);
        if (why.empty() && (!kph || std::abs(*kph) > 2))
            why = "phase flag kph " + (kph ? std::to_string(*kph) : std::string("missing")) +
                  " is not 1 (liquid), 2 (vapour) or 0 (stable)";
        if (why.empty() && !D) why = "no density output";
        if (!why.empty()) {
            report(ierr, herr, lerr, session().mixture ? kErrInput : kErrNotSetUp, routine, why);
            if (D) *D = 0;
            return;
        }
        const int phase = std::abs(*kph);
        const Root root = phase == 1 ? Root::Liquid : phase == 2 ? Root::Vapour : Root::Stable;
        const double guess = kguess && *kguess == 1 && std::isfinite(*D) && *D > 0 ? *D : 0;
        double rho = 0;
        if (!mixture().density(*t, *p, xs, root, rho, guess)) {
            *D = 0;
            report(ierr, herr, lerr, kErrCalculation, routine,
                   "no density found at T = " + formatNumber(*t) + " K, p = " + formatNumber(*p) + " kPa");
            return;
        }
        *D = rho;
        const std::string warning = rangeWarning(*t, *p, xs);
        if (warning.empty()) succeed(ierr, herr, lerr);
        else report(ierr, herr, lerr, kWarnRange, routine, warning);
    });
}

extern "C" void THERMdll(double* t, double* D, double* x, double* p, double* e, double* h,
                         double* s, double* cv, double* cp, double* w, double* hjt) {
    withProperties("THERMdll", t, D, x, true, {p, e, h, s, cv, cp, w, hjt}, [&](const Properties& r) {
        *p = r.p; *e = r.e; *h = r.h; *s = r.s; *cv = r.cv; *cp = r.cp; *w = r.w; *hjt = r.hjt;
    });
}

extern "C" void THERM2dll(double* t, double* D, double* x, double* p, double* e, double* h,
                          double* s, double* cv, double* cp, double* w, double* Z, double* hjt,
                          double* A, double* G, double* xkappa, double* beta, double* dPdD,
                          double* d2PdD2, double* dPdT, double* dDdT, double* dDdP,
                          double* d2PdT2, double* d2PdTD, double* spare3, double* spare4) {
    withProperties("THERM2dll", t, D, x, true,
                   {p, e, h, s, cv, cp, w, Z, hjt, A, G, xkappa, beta, dPdD, d2PdD2, dPdT, dDdT,
                    dDdP, d2PdT2, d2PdTD, spare3, spare4},
                   [&](const Properties& r) {
                       *p = r.p; *e = r.e; *h = r.h; *s = r.s; *cv = r.cv; *cp = r.cp; *w = r.w;
                       *Z = r.Z; *hjt = r.hjt; *A = r.a; *G = r.g; *xkappa = r.kappa; *beta = r.beta;
                       *dPdD = r.dPdrho; *d2PdD2 = r.d2Pdrho2; *dPdT = r.dPdT; *dDdT = r.drhodT;
                       *dDdP = r.drhodP; *d2PdT2 = r.d2PdT2; *d2PdTD = r.d2PdTdrho;
                       *spare3 = 0; *spare4 = 0;
                   });
}

extern "C" void THERM0dll(double* t, double* D, double* x, double* p, double* e, double* h,
                          double* s, double* cv, double* cp, double* w, double* a, double* g) {
    recordCall("THERM0dll");
    try {
        const double* xs = nullptr;
        if (!checkStateComposition(x, xs).empty() || !checkTemperature(t).empty() ||
            !checkDensity(D, true).empty()) {
            fillNaN({p, e, h, s, cv, cp, w, a, g});
            return;
        }
        Properties r;
        mixture().idealProperties(*t, *D, xs, r);
        *p = r.p; *e = r.e; *h = r.h; *s = r.s; *cv = r.cv; *cp = r.cp; *w = r.w; *a = r.a; *g = r.g;
    } catch (...) {
        fillNaN({p, e, h, s, cv, cp, w, a, g});
    }
}

extern "C" void CVCPdll(double* t, double* D, double* x, double* cv, double* cp) {
    withProperties("CVCPdll", t, D, x, true, {cv, cp}, [&](const Properties& r) {
        *cv = r.cv; *cp = r.cp;
    });
}

extern "C" void ENTHALdll(double* t, double* D, double* x, double* h) {
    withProperties("ENTHALdll", t, D, x, true, {h}, [&](const Properties& r) { *h = r.h; });
}

extern "C" void AGdll(double* t, double* D, double* x, double* a, double* g) {
    withProperties("AGdll", t, D, x, true, {a, g}, [&](const Properties& r) {
        *a = r.a; *g = r.g;
    });
}

extern "C" void DHD1dll(double* t, double* D, double* x, double* dhdt_D, double* dhdt_p,
                        double* dhdD_t, double* dhdD_p, double* dhdp_t, double* dhdp_D) {
    withProperties("DHD1dll", t, D, x, false, {dhdt_D, dhdt_p, dhdD_t, dhdD_p, dhdp_t, dhdp_D},
                   [&](const Properties& r) {
                       // dh = T ds + dp/rho with the Maxwell relation for (ds/drho)_T.
                       const double hT_rho = r.cv + r.dPdT / r.rho;
                       const double hrho_T = (r.dPdrho - r.T * r.dPdT / r.rho) / r.rho;
                       *dhdt_D = hT_rho;
                       *dhdt_p = r.cp;
                       *dhdD_t = hrho_T;
                       *dhdD_p = r.cp / r.drhodT;
                       *dhdp_t = hrho_T / r.dPdrho;
                       *dhdp_D = hT_rho / r.dPdT;
                   });
}

extern "C" void FUGCOFdll(double* t, double* D, double* x, double* phi, int* ierr, char* herr,
                          RpLength lerr) {
    const char* routine = "FUGCOFdll";
    guarded(routine, ierr, herr, lerr, [&] {
        const double* xs = nullptr;
        std::string why = checkStateComposition(x, xs);
        if (why.empty()) why = checkTemperature(t);
        if (why.empty()) why = checkDensity(D, false);
        if (why.empty() && *D >= mixture().model().maxDensity(xs))
            why = "density " + formatNumber(*D) + " mol/L is above the limit of the model";
        if (why.empty() && !phi) why = "no output array";
        if (!why.empty()) {
            report(ierr, herr, lerr, session().mixture ? kErrInput : kErrNotSetUp, routine, why);
            return;
        }
        LnPhi f;
        mixture().lnPhi(*t, *D, xs, 0, f);
        const int nc = mixture().size();
        for (int i = 0; i < nc; ++i) {
            phi[i] = std::exp(f.lnphi[i]);
            if (!std::isfinite(phi[i])) {
                report(ierr, herr, lerr, kErrCalculation, routine,
                       "no fugacity coefficient at T = " + formatNumber(*t) + " K, D = " +
                           formatNumber(*D) + " mol/L");
                return;
            }
        }
        const std::string warning = rangeWarning(*t, 0, xs);
        if (warning.empty()) succeed(ierr, herr, lerr);
        else report(ierr, herr, lerr, kWarnRange, routine, warning);
    });
}

extern "C" void FGCTYdll(double* t, double* D, double* x, double* f) {
    recordCall("FGCTYdll");
    const int nc = componentCount();
    try {
        const double* xs = nullptr;
        if (!f) return;
        if (!validState(t, D, x, xs, false)) {
            for (int i = 0; i < nc; ++i) f[i] = kNaN;
            return;
        }
        LnPhi lp;
        mixture().lnPhi(*t, *D, xs, 0, lp);
        const double p = mixture().pressure(*t, *D, xs);
        for (int i = 0; i < nc; ++i) f[i] = xs[i] * p * std::exp(lp.lnphi[i]);
    } catch (...) {
        for (int i = 0; i < nc; ++i) f[i] = kNaN;
    }
}

extern "C" void VIRBdll(double* t, double* x, double* B) {
    recordCall("VIRBdll");
    const double* xs = nullptr;
    if (!B) return;
    if (!checkStateComposition(x, xs).empty() || !checkTemperature(t).empty()) {
        *B = kNaN;
        return;
    }
    *B = mixture().virialB(*t, xs);
}

extern "C" void DBDTdll(double* t, double* x, double* dBdT) {
    recordCall("DBDTdll");
    const double* xs = nullptr;
    if (!dBdT) return;
    if (!checkStateComposition(x, xs).empty() || !checkTemperature(t).empty()) {
        *dBdT = kNaN;
        return;
    }
    *dBdT = mixture().virialBdT(*t, xs);
}

extern "C" void TRNPRPdll(double* t, double* D, double* x, double* eta, double* tcx, int* ierr,
                          char* herr, RpLength lerr) {
    const char* routine = "TRNPRPdll";
    guarded(routine, ierr, herr, lerr, [&] {
        const double* xs = nullptr;
        std::string why = checkStateComposition(x, xs);
        if (why.empty()) why = checkTemperature(t);
        if (why.empty()) why = checkDensity(D, true);
        if (why.empty() && *D >= mixture().model().maxDensity(xs))
            why = "density " + formatNumber(*D) + " mol/L is above the limit of the model";
        if (why.empty() && (!eta || !tcx)) why = "no output";
        if (!why.empty()) {
            report(ierr, herr, lerr, session().mixture ? kErrInput : kErrNotSetUp, routine, why);
            return;
        }
        std::string message;
        if (!mixture().transport(*t, *D, xs, *eta, *tcx, message)) {
            *eta = 0;
            *tcx = 0;
            report(ierr, herr, lerr, kErrCalculation, routine, message);
            return;
        }
        const std::string warning = rangeWarning(*t, 0, xs);
        if (warning.empty()) succeed(ierr, herr, lerr);
        else report(ierr, herr, lerr, kWarnRange, routine, warning);
    });
}

extern "C" void SURTENdll(double* t, double* Dl, double* Dv, double* xl, double* xv, double* sigma,
                          int* ierr, char* herr, RpLength lerr) {
    const char* routine = "SURTENdll";
    guarded(routine, ierr, herr, lerr, [&] {
        const double* xls = nullptr;
        const double* xvs = nullptr;
        std::string why = checkStateComposition(xl, xls, "liquid composition");
        // The liquid composition may sit in the shared work array: check the vapour one first.
        if (why.empty()) {
            std::vector<double> liquid(xls, xls + componentCount());
            why = checkStateComposition(xv, xvs, "vapour composition");
            if (why.empty()) why = checkTemperature(t);
            if (why.empty()) why = checkDensity(Dl, false);
            if (why.empty()) why = checkDensity(Dv, true);
            if (why.empty() && !sigma) why = "no output";
            if (why.empty()) {
                std::string message;
                std::vector<double> vapour(xvs, xvs + componentCount());
                if (!mixture().surfaceTension(*t, *Dl, *Dv, liquid.data(), vapour.data(), *sigma, message)) {
                    *sigma = 0;
                    report(ierr, herr, lerr, kErrCalculation, routine, message);
                    return;
                }
                succeed(ierr, herr, lerr);
                return;
            }
        }
        report(ierr, herr, lerr, session().mixture ? kErrInput : kErrNotSetUp, routine, why);
    });
}
