#include "core/PengRobinson.h"

#include <algorithm>
#include <cmath>

namespace tarnevo::engine {
namespace {

constexpr double kSqrt2 = 1.4142135623730951;
constexpr double kPi = 3.14159265358979323846;
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
    const double a3 = c2 / 3;
    const double Q = (c2 * c2 - 3 * c1) / 9;
    const double R = (2 * c2 * c2 * c2 - 9 * c2 * c1 + 27 * c0) / 54;
    double z[3];
    int n = 0;
    if (R * R < Q * Q * Q) {
        const double th = std::acos(std::clamp(R / std::sqrt(Q * Q * Q), -1.0, 1.0));
        const double sq = -2 * std::sqrt(Q);
        z[n++] = sq * std::cos(th / 3) - a3;
        z[n++] = sq * std::cos((th + 2 * kPi) / 3) - a3;
        z[n++] = sq * std::cos((th - 2 * kPi) / 3) - a3;
    } else {
        double Aa = -std::cbrt(R + (R >= 0 ? 1 : -1) * std::sqrt(R * R - Q * Q * Q));
        const double Bb = Aa == 0 ? 0 : Q / Aa;
        z[n++] = Aa + Bb - a3;
    }
    int count = 0;
    for (int k = 0; k < n; ++k) {
        double Z = z[k];
        // One Newton step on the cubic removes the rounding of the closed form.
        const double f = ((Z + c2) * Z + c1) * Z + c0;
        const double df = (3 * Z + 2 * c2) * Z + c1;
        if (df != 0) Z -= f / df;
        if (Z > B && std::isfinite(Z)) roots[count++] = p / (Z * RT);
    }
    std::sort(roots, roots + count);
    return count;
}

}  // namespace tarnevo::engine
