// Safeguarded root finding in one variable: Newton where a slope is known, secant
// otherwise, bisection whenever the bracket does not shrink fast enough.
#pragma once

#include <functional>

namespace tarnevo::engine::equilibrium {

struct Eval1D {
    double f = 0;
    double slope = 0;   // df/dx, NaN when unknown
};

struct Root1D {
    double x = 0;
    double f = 0;
    bool bracketed = false;   // a sign change was found
    bool converged = false;   // |f| <= ftol, or the bracket shrank below xtol
    int iterations = 0;
};

// f must rise with x when increasing is true (fall otherwise) over [xmin, xmax].
// Starts at x0 with first step `step` when no slope is known. Throws FlashError:
// NoSolution when f keeps its sign up to the range limit, NotConverged after maxIterations.
Root1D solveMonotone(const std::function<Eval1D(double)>& f, bool increasing, double x0, double xmin,
                     double xmax, double step, double ftol, double xtol, int maxIterations = 200);

}  // namespace tarnevo::engine::equilibrium
