#include "core/ChungTransport.h"

#include <cmath>

namespace tarnevo::engine {
namespace {

// E_i = a + b omega + c mur^4 + d kappa (viscosity), B_i likewise (conductivity).
constexpr double kEta[10][4] = {
    {6.324, 50.412, -51.680, 1189.0},     {1.210e-3, -1.154e-3, -6.257e-3, 0.03728},
    {5.283, 254.209, -168.48, 3898.0},    {6.623, 38.096, -8.464, 31.42},
    {19.745, 7.630, -14.354, 31.53},      {-1.900, -12.537, 4.985, -18.15},
    {24.275, 3.450, -11.291, 69.35},      {0.7972, 1.117, 0.01235, -4.117},
    {-0.2382, 0.06770, -0.8163, 4.025},   {0.06863, 0.3479, 0.5926, -0.727}};
constexpr double kTcx[7][4] = {
    {2.4166, 0.74824, -0.91858, 121.72},  {-0.50924, -1.5094, -49.991, 69.983},
    {6.6107, 5.6207, 64.760, 27.039},     {14.543, -8.9139, -5.6379, 74.344},
    {0.79274, 0.82019, -0.69369, 6.3173}, {-5.8634, 12.801, 9.5893, 65.529},
    {91.089, 128.73, -54.217, 523.81}};

}  // namespace

ChungTransport::ChungTransport(const std::vector<FluidData>& fluids)
    : nc_(static_cast<int>(fluids.size())) {
    const int n = nc_ * nc_;
    s3_.resize(n);
    es3_.resize(n);
    ws3_.resize(n);
    ems2_.resize(n);
    mu4_.resize(n);
    kappa_.resize(n);
    std::vector<double> sigma(nc_), eps(nc_);
    for (int i = 0; i < nc_; ++i) {
        const auto& c = fluids[i].constants;
        const double vc = 1000.0 / c.rhoCritical;  // cm3/mol
        sigma[i] = 0.809 * std::cbrt(vc);           // Angstrom
        eps[i] = c.tCritical / 1.2593;              // K
    }
    for (int i = 0; i < nc_; ++i) {
        for (int j = 0; j < nc_; ++j) {
            const auto& ci = fluids[i].constants;
            const auto& cj = fluids[j].constants;
            const int k = i * nc_ + j;
            const double sij = std::sqrt(sigma[i] * sigma[j]);
            const double eij = std::sqrt(eps[i] * eps[j]);
            const double mij = 2 * ci.molarMass * cj.molarMass / (ci.molarMass + cj.molarMass);
            s3_[k] = sij * sij * sij;
            es3_[k] = eij * s3_[k];
            ws3_[k] = 0.5 * (ci.acentric + cj.acentric) * s3_[k];
            ems2_[k] = eij * sij * sij * std::sqrt(mij);
            mu4_[k] = ci.dipole * ci.dipole * cj.dipole * cj.dipole / s3_[k];
            kappa_[k] = std::sqrt(fluids[i].kappa * fluids[j].kappa);
        }
    }
}

void ChungTransport::compute(double T, double rho, const double* x, double cv0, double& eta,
                             double& tcx) const {
    double s3 = 0, es3 = 0, ws3 = 0, ems2 = 0, mu4 = 0, kappa = 0;
    for (int i = 0; i < nc_; ++i) {
        double a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;
        for (int j = 0; j < nc_; ++j) {
            const int k = i * nc_ + j;
            a += x[j] * s3_[k];
            b += x[j] * es3_[k];
            c += x[j] * ws3_[k];
            d += x[j] * ems2_[k];
            e += x[j] * mu4_[k];
            f += x[j] * kappa_[k];
        }
        s3 += x[i] * a;
        es3 += x[i] * b;
        ws3 += x[i] * c;
        ems2 += x[i] * d;
        mu4 += x[i] * e;
        kappa += x[i] * f;
    }
    const double sigma = std::cbrt(s3);
    const double epsk = es3 / s3;
    const double omega = ws3 / s3;
    const double mRoot = ems2 / (epsk * sigma * sigma);
    const double M = mRoot * mRoot;               // g/mol
    const double mu = std::sqrt(std::sqrt(s3 * mu4));  // debye
    const double vc = std::pow(sigma / 0.809, 3);   // cm3/mol
    const double tc = 1.2593 * epsk;
    const double vc23 = std::cbrt(vc * vc);
    const double mur = 131.3 * mu / std::sqrt(vc * tc);
    const double mur4 = mur * mur * mur * mur;

    const double Ts = T / epsk;
    const double omegaV = 1.16145 * std::pow(Ts, -0.14874) + 0.52487 * std::exp(-0.77320 * Ts) +
                          2.16178 * std::exp(-2.43787 * Ts);
    const double Fc = 1 - 0.2756 * omega + 0.059035 * mur4 + kappa;
    const double eta0 = 40.785 * Fc * std::sqrt(M * T) / (vc23 * omegaV);  // micropoise

    const double y = rho * vc / 6000.0;
    const double g1 = (1 - 0.5 * y) / ((1 - y) * (1 - y) * (1 - y));
    // (1 - exp(-k y)) / y, finite at y -> 0
    auto ratio = [y](double k) { return y > 1e-8 ? -std::expm1(-k * y) / y : k * (1 - 0.5 * k * y); };

    double E[10];
    for (int i = 0; i < 10; ++i)
        E[i] = kEta[i][0] + kEta[i][1] * omega + kEta[i][2] * mur4 + kEta[i][3] * kappa;
    const double G2 = (E[0] * ratio(E[3]) + E[1] * g1 * std::exp(E[4] * y) + E[2] * g1) /
                      (E[0] * E[3] + E[1] + E[2]);
    const double etaK = E[6] * y * y * G2 * std::exp(E[7] + E[8] / Ts + E[9] / (Ts * Ts));
    const double etaStar = std::sqrt(Ts) / omegaV * (Fc * (1 / G2 + E[5] * y)) + etaK;
    eta = etaStar * 36.344 * std::sqrt(M * tc) / vc23 * 0.1;  // micropoise -> uPa s

    double B[7];
    for (int i = 0; i < 7; ++i)
        B[i] = kTcx[i][0] + kTcx[i][1] * omega + kTcx[i][2] * mur4 + kTcx[i][3] * kappa;
    const double H2 = (B[0] * ratio(B[3]) + B[1] * g1 * std::exp(B[4] * y) + B[2] * g1) /
                      (B[0] * B[3] + B[1] + B[2]);
    const double Mkg = M / 1000;
    const double alpha = cv0 / kGasConstant - 1.5;
    const double beta = 0.7862 - 0.7109 * omega + 1.3168 * omega * omega;
    const double tr = T / tc;
    const double Z = 2.0 + 10.5 * tr * tr;
    const double psi = 1 + alpha * (0.215 + 0.28288 * alpha - 1.061 * beta + 0.26665 * Z) /
                               (0.6366 + beta * Z + 1.061 * alpha * beta);
    const double q = 3.586e-3 * std::sqrt(tc / Mkg) / vc23;
    // eta0 in Pa s here (1 micropoise = 1e-7 Pa s)
    tcx = 31.2 * eta0 * 1e-7 * psi / Mkg * (1 / H2 + B[5] * y) + q * B[6] * y * y * std::sqrt(tr) * H2;
}

}  // namespace tarnevo::engine
