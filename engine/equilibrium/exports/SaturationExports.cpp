// Saturation routines and the single-phase solver.
#include "equilibrium/Saturation.h"
#include "equilibrium/SinglePhaseFlash.h"
#include "equilibrium/exports/ExportSupport.h"

#include <cmath>
#include <vector>

using tarnevo::engine::api::RpLength;
using namespace tarnevo::engine;
using namespace tarnevo::engine::equilibrium;
using namespace tarnevo::engine::equilibrium::exports;

namespace {

// Saturated phase kph of pure component icomp at T: p, D, csat and dp/dT along the line.
void pureSaturated(const char* routine, int* icomp, double* t, int* kph, double* p, double* D, double* csat,
                   double* dpdt, int* ierr, char* herr, RpLength lerr) {
    std::string what = std::string("saturation of component ") +
                       (icomp ? std::to_string(*icomp) : std::string("(missing)")) + " at " +
                       value("T", t, "K");
    api::guarded(routine, ierr, herr, lerr, [&] {
        if (std::string why = api::checkSetUp(); !why.empty()) {
            api::report(ierr, herr, lerr, api::kErrNotSetUp, routine, what + ": " + why);
            return;
        }
        const Mixture& mix = *api::currentMixture();
        if (!icomp || *icomp < 1 || *icomp > mix.size()) {
            api::report(ierr, herr, lerr, api::kErrInput, routine,
                        what + ": icomp must be between 1 and " + std::to_string(mix.size()));
            return;
        }
        if (std::string why = checkInput(Input::Temperature, t); !why.empty()) {
            api::report(ierr, herr, lerr, api::kErrInput, routine, what + ": " + why);
            return;
        }
        if (!kph || (*kph != 1 && *kph != 2)) {
            api::report(ierr, herr, lerr, api::kErrInput, routine, what + ": kph must be 1 (liquid) or 2 (vapour)");
            return;
        }
        try {
            std::vector<double> x(mix.size(), 0.0);
            x[*icomp - 1] = 1;
            System sys(mix, x.data());
            SaturationPoint sat = pureSaturationT(sys, *t);
            Properties l, v;
            mix.properties(*t, sat.rhoL, x.data(), l);
            mix.properties(*t, sat.rhoV, x.data(), v);
            const Properties& ph = *kph == 1 ? l : v;
            double slope = (v.h - l.h) / (*t * (1 / sat.rhoV - 1 / sat.rhoL));
            if (p) *p = sat.p;
            if (D) *D = ph.rho;
            if (csat) *csat = ph.cp + *t * ph.drhodT / (ph.rho * ph.rho) * slope;
            if (dpdt) *dpdt = slope;
            api::succeed(ierr, herr, lerr);
        } catch (const FlashError& e) {
            api::report(ierr, herr, lerr, e.ierr(), routine, what + ": " + e.what());
        }
    });
}

}  // namespace

extern "C" {

void SATTdll(double* t, double* x, int* kph, double* p, double* Dl, double* Dv, double* xliq, double* xvap,
             int* ierr, char* herr, RpLength lerr) {
    Outputs o;
    o.p = p;
    o.Dl = Dl;
    o.Dv = Dv;
    o.x = xliq;
    o.y = xvap;
    bool bubble = kph && *kph == 1;
    std::string what = std::string(bubble ? "bubble point" : "dew point") + " at " + value("T", t, "K");
    if (kph && *kph != 1 && *kph != 2) {
        api::guarded("SATTdll", ierr, herr, lerr, [&] {
            api::report(ierr, herr, lerr, api::kErrInput, "SATTdll",
                        "saturation at " + value("T", t, "K") + ": kph must be 1 (bubble point) or 2 (dew point)");
        });
        return;
    }
    const std::string problem = check({{Input::Temperature, t}, {Input::Flag, kph}});
    runFlash("SATTdll", what, problem, x, ierr, herr, lerr, o, [&](const System& sys) {
        double q = bubble ? 0.0 : 1.0;
        return stateWithQuality(sys, saturationAtT(sys, *t, q), q);
    });
}

void DPTSATKdll(int* icomp, double* t, int* kph, double* p, double* D, double* csat, double* dpdt, int* ierr,
                char* herr, RpLength lerr) {
    pureSaturated("DPTSATKdll", icomp, t, kph, p, D, csat, dpdt, ierr, herr, lerr);
}

void CSATKdll(int* icomp, double* t, int* kph, double* p, double* D, double* csat, int* ierr, char* herr,
              RpLength lerr) {
    pureSaturated("CSATKdll", icomp, t, kph, p, D, csat, nullptr, ierr, herr, lerr);
}

void ABFL1dll(double* a, double* b, double* z, int* kph, char* ab, double* Dmin, double* Dmax, double* t,
              double* p, double* D, int* ierr, char* herr, RpLength lab, RpLength lerr) {
    std::string code;
    if (ab)
        for (RpLength i = 0; i < lab && i < 8 && ab[i] != '\0'; ++i)
            if (ab[i] != ' ') code += ab[i];
    Outputs o;
    o.t = t;
    o.p = p;
    o.D = D;
    std::string what = "single-phase " + code + " flash at a = " + (a ? api::formatNumber(*a) : "(missing)") +
                       ", b = " + (b ? api::formatNumber(*b) : "(missing)");
    const std::string problem = check({{Input::Value, a}, {Input::Value, b}, {Input::Flag, kph}});
    runFlash("ABFL1dll", what, problem, z, ierr, herr, lerr, o, [&](const System& sys) {
        double lo = Dmin ? *Dmin : 0, hi = Dmax ? *Dmax : 0;
        double guess = t && std::isfinite(*t) && *t > 1 && *t < 3000 ? *t : 0;
        return singlePhaseFlash(sys, code, *a, *b, *kph, lo, hi, guess);
    });
}

}  // extern "C"
