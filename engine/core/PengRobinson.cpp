#include "core/PengRobinson.h"

#include <algorithm>
#include <cmath>

namespace tarnevo::engine {

PengRobinson::PengRobinson(std::vector<PengRobinsonComponent> c, std::vector<double> kij)
    : nc_(static_cast<int>(c.size())) {
    std::vector<double> ac(nc_);
    b_.resize(nc_);
    m_.resize(nc_);
    sqrtTc_.resize(nc_);
    for (int i = 0; i < nc_; ++i) {
        const double RTc = kGasConstant * c[i].tc;
        ac[i] = 0.45723552892138218 * RTc * RTc / c[i].pc;
        b_[i] = 0.077796073903888455 * RTc / c[i].pc;
        const double w = c[i].omega;
        m_[i] = w <= 0.491 ? 0.37464 + 1.54226 * w - 0.26992 * w * w
                           : 0.379642 + 1.48503 * w - 0.164423 * w * w + 0.016666 * w * w * w;
        sqrtTc_[i] = std::sqrt(c[i].tc);
    }
    A_.resize(nc_ * nc_);
    for (int i = 0; i < nc_; ++i)
        for (int j = 0; j < nc_; ++j)
            A_[i * nc_ + j] = std::sqrt(ac[i] * ac[j]) * (1 - (i == j ? 0.0 : kij[i * nc_ + j]));
}

double PengRobinson::maxDensity(const double* x) const {
    double b = 0;
    for (int i = 0; i < nc_; ++i) b += x[i] * b_[i];
    return 1 / b;
}

int PengRobinson::densityRoots(double T, double p, const double* x, double roots[3]) const {
    double a, b;
    mix(T, x, a, b);
    const double RT = kGasConstant * T;
    const double A = a * p / (RT * RT);
    const double B = b * p / RT;
    // Z^3 + c2 Z^2 + c1 Z + c0 = 0
    const double c2 = -(1 - B);
    const double c1 = A - 3 * B * B - 2 * B;
    const double c0 = -(A * B - B * B - B * B * B);
    auto cubic = [&](double Z, double& df) {
        df = (3 * Z + 2 * c2) * Z + c1;
        return ((Z + c2) * Z + c1) * Z + c0;
    };
    auto polish = [&](double Z) {
        for (int it = 0; it < 4; ++it) {
            double df;
            const double f = cubic(Z, df);
            if (df == 0 || f == 0) break;
            Z -= f / df;
        }
        return Z;
    };
    // Every root with Z > B lies below 1 + B, and the cubic is -2 B^2 at Z = B:
    // safeguarded Newton from the top of that bracket finds one root...
    double lo = B, hi = 1 + B, Z1 = hi;
    for (int it = 0; it < 200; ++it) {
        double df;
        const double f = cubic(Z1, df);
        if (f == 0) break;
        (f < 0 ? lo : hi) = Z1;
        double next = df != 0 ? Z1 - f / df : lo;
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        const bool done = std::fabs(next - Z1) <= 1e-15 * Z1;
        Z1 = next;
        if (done) break;
    }
    // ... and the quadratic left after dividing it out gives the others.
    double z[3] = {Z1, 0, 0};
    int n = 1;
    const double e = c2 + Z1, g = -c0 / Z1;
    const double disc = e * e - 4 * g;
    if (disc >= 0) {
        const double q = -0.5 * (e + std::copysign(std::sqrt(disc), e));
        if (q != 0) {
            z[n++] = polish(q);
            z[n++] = polish(g / q);
        }
    }
    int count = 0;
    for (int k = 0; k < n; ++k) {
        if (!(z[k] > B) || !std::isfinite(z[k])) continue;
        const double rho = p / (z[k] * RT);
        bool duplicate = false;
        for (int j = 0; j < count; ++j) duplicate |= std::fabs(roots[j] - rho) <= 1e-10 * rho;
        if (!duplicate) roots[count++] = rho;
    }
    std::sort(roots, roots + count);
    return count;
}

}  // namespace tarnevo::engine
