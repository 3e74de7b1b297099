#include "equilibrium/RachfordRice.h"

#include <algorithm>
#include <cmath>

namespace tarnevo::engine::equilibrium {

namespace {

double residual(const std::vector<double>& z, const std::vector<double>& K,
                const std::vector<int>& present, double beta, double& slope) {
    double g = 0;
    slope = 0;
    for (int i : present) {
        double c = K[i] - 1;
        double d = 1 + beta * c;
        g += z[i] * c / d;
        slope -= z[i] * c * c / (d * d);
    }
    return g;
}

}  // namespace

double solveRachfordRice(const std::vector<double>& z, const std::vector<double>& K,
                         const std::vector<int>& present) {
    double kmin = 1e300, kmax = -1e300;
    for (int i : present) {
        kmin = std::min(kmin, K[i]);
        kmax = std::max(kmax, K[i]);
    }
    if (kmax <= 1) return 0;
    if (kmin >= 1) return 1;
    double slope;
    double lo = 1.0 / (1.0 - kmax), hi = 1.0 / (1.0 - kmin);
    double width = hi - lo;
    lo += 1e-12 * width;
    hi -= 1e-12 * width;
    double beta = 0.5;
    if (beta <= lo || beta >= hi) beta = 0.5 * (lo + hi);
    for (int it = 0; it < 100; ++it) {
        double g = residual(z, K, present, beta, slope);
        if (g > 0) lo = beta; else hi = beta;
        if (g == 0) return beta;
        double next = beta - g / slope;
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (std::fabs(next - beta) <= 1e-15 * (1 + std::fabs(beta))) return next;
        beta = next;
        if (hi - lo <= 1e-15 * (1 + std::fabs(beta))) break;
    }
    return beta;
}

void splitCompositions(const std::vector<double>& z, const std::vector<double>& K, double beta,
                       std::vector<double>& x, std::vector<double>& y) {
    size_t n = z.size();
    x.assign(n, 0.0);
    y.assign(n, 0.0);
    double sx = 0, sy = 0;
    for (size_t i = 0; i < n; ++i) {
        if (!(z[i] > 0)) continue;
        x[i] = z[i] / (1 + beta * (K[i] - 1));
        y[i] = K[i] * x[i];
        sx += x[i];
        sy += y[i];
    }
    for (size_t i = 0; i < n; ++i) {
        x[i] /= sx;
        y[i] /= sy;
    }
}

}  // namespace tarnevo::engine::equilibrium
