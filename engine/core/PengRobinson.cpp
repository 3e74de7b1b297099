#include "core/PengRobinson.h"

#include <algorithm>
#include <cmath>

namespace tarnevo::engine {
namespace {

constexpr double kSqrt2 = 1.4142135623730951;
constexpr double kD1 = 1 + kSqrt2, kD2 = 1 - kSqrt2;

// Lambda(beta) = ln((1 + d1 beta)/(1 + d2 beta)) / (d1 - d2) and its derivatives.
struct Lambda {
    double v, d1, d2, d3;
    explicit Lambda(double beta) {
        const double P = 1 + 2 * beta - beta * beta;
        const double dP = 2 - 2 * beta;
        v = std::log((1 + kD1 * beta) / (1 + kD2 * beta)) / (kD1 - kD2);
        d1 = 1 / P;
        d2 = -dP / (P * P);
        d3 = (2 * P + 2 * dP * dP) / (P * P * P);
    }
};

}  // namespace

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
    s_.resize(nc_);
    ds_.resize(nc_);
    d2s_.resize(nc_);
    abar_.resize(nc_);
    abarT_.resize(nc_);
    c_.resize(nc_);
    r_.resize(nc_);
}

PengRobinson::Mix PengRobinson::mix(double T, const double* x) const {
    const double sqrtT = std::sqrt(T);
    for (int i = 0; i < nc_; ++i) {
        // sqrt(alpha) = 1 + m (1 - sqrt(T/Tc))
        const double r = sqrtT / sqrtTc_[i];
        s_[i] = 1 + m_[i] * (1 - r);
        ds_[i] = -m_[i] * r / (2 * T);
        d2s_[i] = m_[i] * r / (4 * T * T);
    }
    Mix mx{0, 0, 0, 0};
    for (int i = 0; i < nc_; ++i) {
        const double* Ai = &A_[i * nc_];
        double ab = 0, abT = 0, abTT = 0;
        for (int j = 0; j < nc_; ++j) {
            const double xa = x[j] * Ai[j];
            ab += xa * s_[j];
            abT += xa * ds_[j];
            abTT += xa * (d2s_[j] * s_[i] + ds_[j] * ds_[i]);
        }
        abar_[i] = ab * s_[i];                 // sum_j x_j a_ij
        abarT_[i] = abT * s_[i] + ab * ds_[i];  // its T derivative
        mx.a += x[i] * abar_[i];
        mx.aT += x[i] * 2 * abT * s_[i];
        mx.aTT += x[i] * 2 * abTT;
        mx.b += x[i] * b_[i];
    }
    return mx;
}

double PengRobinson::maxDensity(const double* x) const {
    double b = 0;
    for (int i = 0; i < nc_; ++i) b += x[i] * b_[i];
    return 1 / b;
}

void PengRobinson::evaluate(double T, double rho, const double* x, int order,
                            ResidualDerivatives& out) const {
    const Mix mx = mix(T, x);
    const double RT = kGasConstant * T;
    const double b = mx.b;
    const double beta = b * rho;
    const double q = mx.a / (b * RT);
    const double qT = mx.aT / (b * RT) - q / T;
    const double qTT = mx.aTT / (b * RT) - 2 * mx.aT / (b * RT * T) + 2 * q / (T * T);
    const Lambda L(beta);
    const double omb = 1 - beta;

    out.ar = -std::log(omb) - q * L.v;
    out.ar_T = -qT * L.v;
    out.ar_TT = -qTT * L.v;
    out.ar_rho = b * (1 / omb - q * L.d1);
    out.ar_rhorho = b * b * (1 / (omb * omb) - q * L.d2);
    out.ar_rhorhorho = b * b * b * (2 / (omb * omb * omb) - q * L.d3);
    out.ar_Trho = -qT * b * L.d1;
    out.ar_TTrho = -qTT * b * L.d1;
    out.ar_Trhorho = -qT * b * b * L.d2;
    if (order < 1) return;

    out.n_ar_n.resize(nc_);
    out.n_ar_nT.resize(nc_);
    out.n_ar_nrho.resize(nc_);
    std::vector<double>& c = c_;
    std::vector<double>& r = r_;
    const double lnomb = -std::log(omb);
    for (int i = 0; i < nc_; ++i) {
        c[i] = b_[i] / b;
        r[i] = 2 * abar_[i] / (b * RT);
        const double rT = 2 * abarT_[i] / (b * RT) - r[i] / T;
        out.n_ar_n[i] = lnomb + beta * c[i] / omb - (r[i] - q * c[i]) * L.v - q * beta * c[i] * L.d1;
        out.n_ar_nT[i] = -(rT - qT * c[i]) * L.v - qT * beta * c[i] * L.d1;
        out.n_ar_nrho[i] =
            b * (1 / omb + c[i] / (omb * omb) - r[i] * L.d1 - q * beta * c[i] * L.d2);
    }
    if (order < 2) return;

    out.n_ar_nn.resize(nc_ * nc_);
    for (int i = 0; i < nc_; ++i) {
        for (int j = 0; j <= i; ++j) {
            const double aij = A_[i * nc_ + j] * s_[i] * s_[j] / (b * RT);
            const double cc = c[i] * c[j];
            const double v = beta * c[j] / omb + beta * cc / (omb * omb) +
                             beta * c[i] * (1 - c[j]) / omb -
                             (2 * aij - r[i] * c[j] - r[j] * c[i] + 2 * q * cc) * L.v -
                             (r[i] * c[j] + r[j] * c[i] - 2 * q * cc) * beta * L.d1 -
                             q * beta * beta * cc * L.d2;
            out.n_ar_nn[i * nc_ + j] = v;
            out.n_ar_nn[j * nc_ + i] = v;
        }
    }
}

int PengRobinson::densityRoots(double T, double p, const double* x, double roots[3]) const {
    const Mix mx = mix(T, x);
    const double RT = kGasConstant * T;
    const double A = mx.a * p / (RT * RT);
    const double B = mx.b * p / RT;
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
