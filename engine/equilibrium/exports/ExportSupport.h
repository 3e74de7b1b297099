// What every equilibrium routine does around its solver: input checks, the error
// code and message, and copying the result into the caller's arguments.
#pragma once

#include "api/Session.h"
#include "equilibrium/FlashError.h"
#include "equilibrium/FlashState.h"
#include "equilibrium/System.h"

#include <initializer_list>
#include <string>
#include <utility>

namespace tarnevo::engine::equilibrium::exports {

// Output arguments of a routine; null for those it does not have.
struct Outputs {
    double *t = nullptr, *p = nullptr, *D = nullptr, *Dl = nullptr, *Dv = nullptr;
    double *x = nullptr, *y = nullptr, *q = nullptr;
    double *e = nullptr, *h = nullptr, *s = nullptr, *cv = nullptr, *cp = nullptr, *w = nullptr;
};

void writeState(const FlashState& st, int nc, const Outputs& out);

// "T = 300 K", "P = 5000 kPa", ...
std::string value(const char* name, const double* v, const char* unit);

// Input checks: each gives "" or the fault; check() the first fault of several.
enum class Input { Temperature, Pressure, Density, Value, Fraction, Flag };
std::string checkInput(Input kind, const void* v);
std::string check(std::initializer_list<std::pair<Input, const void*>> inputs);

// Checks the set-up and composition z, runs solve(System) and writes the result;
// a FlashError becomes ierr > 0 with "<routine>: <what>: <cause>", a state outside
// the range of the fluid data ierr < 0 with the range message.
// problem: the first fault of the inputs ("" when they are fine), see check().
template <class Solve>
void runFlash(const char* routine, const std::string& what, const std::string& problem, const double* z, int* ierr,
              char* herr, api::RpLength lerr, const Outputs& out, Solve&& solve) {
    api::guarded(routine, ierr, herr, lerr, [&] {
        if (!problem.empty()) {
            api::report(ierr, herr, lerr, api::kErrInput, routine, what + ": " + problem);
            return;
        }
        const double* use = nullptr;
        if (std::string why = api::checkComposition(z, use); !why.empty()) {
            int code = api::checkSetUp().empty() ? api::kErrInput : api::kErrNotSetUp;
            api::report(ierr, herr, lerr, code, routine, what + ": " + why);
            return;
        }
        try {
            System sys(*api::currentMixture(), use);
            FlashState st = solve(sys);
            writeState(st, sys.size(), out);
            std::string warning = api::rangeWarning(st.T, st.p, use);
            if (warning.empty())
                api::succeed(ierr, herr, lerr);
            else
                api::report(ierr, herr, lerr, api::kWarnRange, routine, what + ": " + warning);
        } catch (const FlashError& e) {
            api::report(ierr, herr, lerr, e.ierr(), routine, what + ": " + e.what());
        }
    });
}

}  // namespace tarnevo::engine::equilibrium::exports
