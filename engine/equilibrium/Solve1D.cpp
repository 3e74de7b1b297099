#include "equilibrium/Solve1D.h"

#include "equilibrium/FlashError.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarnevo::engine::equilibrium {

Root1D solveMonotone(const std::function<Eval1D(double)>& func, bool increasing, double x0, double xmin,
                     double xmax, double step, double ftol, double xtol, int maxIterations) {
    const double sign = increasing ? 1.0 : -1.0;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    double a = 0, b = 0, ga = 0, gb = 0;   // g(a) < 0 < g(b), g = sign * f
    bool haveA = false, haveB = false;
    double x = std::min(std::max(x0, xmin), xmax);
    double xPrev = nan, gPrev = nan;
    double gAbs1 = 1e300, gAbs2 = 1e300;   // |g| one and two iterations back
    Root1D best;
    double bestAbs = 1e300;
    double xGood = std::numeric_limits<double>::quiet_NaN();
    int retries = 0, sinceImprove = 0;
    for (int it = 0; it < maxIterations; ++it) {
        Eval1D e;
        try {
            e = func(x);
            if (!std::isfinite(e.f)) throw FlashError(FlashErrorCode::Model, "the model gave no finite value");
        } catch (const FlashError& err) {
            // A state the inner solver cannot handle: step back towards the last good point,
            // or before any, try points on either side of the start.
            if (err.code() == FlashErrorCode::BadInput || ++retries > 12) throw;
            if (std::isfinite(xGood)) {
                x = 0.5 * (x + xGood);
            } else {
                double k = (retries + 1) / 2;
                x = std::min(std::max(x0 + (retries % 2 ? k : -k) * step, xmin), xmax);
            }
            continue;
        }
        xGood = x;
        double g = sign * e.f;
        double gs = sign * e.slope;
        best.iterations = it + 1;
        if (std::fabs(g) < bestAbs) {
            bestAbs = std::fabs(g);
            best.x = x;
            best.f = e.f;
            sinceImprove = 0;
        } else {
            ++sinceImprove;
        }
        if (std::fabs(g) <= ftol) {
            best.x = x;
            best.f = e.f;
            best.converged = true;
            best.bracketed = haveA || haveB;
            return best;
        }
        if (g < 0) { a = x; ga = g; haveA = true; }
        else { b = x; gb = g; haveB = true; }
        // Candidates: Newton, secant through the last two points.
        double newton = std::isfinite(gs) && gs > 0 ? x - g / gs : nan;
        double secant = nan;
        if (std::isfinite(gPrev) && gPrev != g) {
            double s = (g - gPrev) / (x - xPrev);
            if (s > 0) secant = x - g / s;
        }
        double next;
        if (haveA && haveB) {
            best.bracketed = true;
            double lo = std::min(a, b), hi = std::max(a, b);
            // Converged when the bracket is closed, or when the residual has reached the
            // rounding of the function and no longer falls.
            double scale = std::max(1.0, std::fabs(x));
            if (hi - lo <= xtol * scale || (sinceImprove >= 8 && hi - lo <= 1e-9 * scale)) {
                best.converged = true;
                return best;
            }
            bool slow = std::fabs(g) > 0.5 * gAbs2;
            next = newton;
            if (!(next > lo && next < hi)) next = secant;
            if (!(next > lo && next < hi)) next = a - ga * (b - a) / (gb - ga);
            if (!(next > lo && next < hi) || (slow && it % 2 == 0)) next = 0.5 * (lo + hi);
        } else {
            bool predicted = std::isfinite(newton) || std::isfinite(secant);
            double dx = std::isfinite(newton) ? newton - x : std::isfinite(secant) ? secant - x : (g < 0 ? step : -step);
            if ((dx > 0) != (g < 0)) dx = g < 0 ? step : -step;   // wrong way: trust the monotony
            // A predicted step may go further than the blind one, within limits.
            double limit = predicted ? 4 * step : step;
            if (std::fabs(dx) > limit) dx = dx > 0 ? limit : -limit;
            step *= 2;
            next = std::min(std::max(x + dx, xmin), xmax);
            if (next == x) throw FlashError(FlashErrorCode::NoSolution, "no solution within the range of the engine");
        }
        gAbs2 = gAbs1;
        gAbs1 = std::fabs(g);
        xPrev = x;
        gPrev = g;
        x = next;
    }
    throw FlashError(FlashErrorCode::NotConverged, iterationsMessage(maxIterations));
}

}  // namespace tarnevo::engine::equilibrium
