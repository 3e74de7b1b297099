// The engine's mixture model: the API the routine exports and the equilibrium solvers use.
// Units throughout: K, kPa, mol/L, J/mol, J/(mol K), g/mol, m/s.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tarnevo::engine {

constexpr double kGasConstant = 8.31446261815324;  // J/(mol K), CODATA 2018

// Residual reduced Helmholtz energy ar = a_res / (R T) of a mixture at (T, rho, x)
// and its derivatives. "n_*" members are derivatives of n * ar with respect to the
// mole numbers at constant T and total volume (composition derivatives).
struct ResidualDerivatives {
    double ar = 0;
    double ar_T = 0, ar_rho = 0;
    double ar_TT = 0, ar_Trho = 0, ar_rhorho = 0;
    double ar_rhorhorho = 0;
    double ar_TTrho = 0, ar_Trhorho = 0;  // for d2P/dT2 and d2P/dT drho
    // order >= 1
    std::vector<double> n_ar_n;      // d(n ar)/dn_i
    std::vector<double> n_ar_nT;     // d2(n ar)/dn_i dT
    std::vector<double> n_ar_nrho;   // d/d rho of d(n ar)/dn_i at constant T and x
    // order >= 2
    std::vector<double> n_ar_nn;     // n * d2(n ar)/dn_i dn_j at constant T, V, row-major nc x nc
};

// One residual Helmholtz model for a fixed set of components. A new model (a
// multiparameter equation per fluid, GERG, ...) implements this and nothing else.
class ResidualModel {
public:
    virtual ~ResidualModel() = default;
    virtual int components() const = 0;
    // order 0: ar and its T/rho derivatives; 1: ar, ar_T, ar_rho and n_ar_n; 2: also
    // the other second T/rho derivatives, n_ar_nT and n_ar_nrho; 3: also n_ar_nn.
    virtual void evaluate(double T, double rho, const double* x, int order,
                          ResidualDerivatives& out) const = 0;
    // ar_rho and ar_rhorho alone (density iterations).
    virtual void densityDerivatives(double T, double rho, const double* x, double& ar_rho,
                                    double& ar_rhorho) const {
        ResidualDerivatives r;
        evaluate(T, rho, x, 0, r);
        ar_rho = r.ar_rho;
        ar_rhorho = r.ar_rhorho;
    }
    // Density above which the model is meaningless (e.g. 1/b for cubics), mol/L.
    virtual double maxDensity(const double* x) const = 0;
    // Starting value for the densest root at T, mol/L.
    virtual double liquidDensityGuess(double T, const double* x) const {
        (void)T;
        return 0.9 * maxDensity(x);
    }
    virtual std::string name() const = 0;
    // Pairs (i, j) whose binary parameters the model estimated for want of data.
    virtual std::vector<std::pair<int, int>> estimatedPairs() const { return {}; }
    // Gas constant of the model, J/(mol K): ar is a_res / (R T) with this R.
    virtual double gasConstant() const = 0;
    // Closed-form density roots at (T, p) where the model has them (cubics):
    // the number of roots written to roots[0..2] (ascending), or -1 when the
    // model has no closed form and the caller must iterate.
    virtual int densityRoots(double T, double p, const double* x, double roots[3]) const {
        (void)T; (void)p; (void)x; (void)roots;
        return -1;
    }
};

// Constants of one component as read from its fluid file.
struct ComponentConstants {
    std::string name;          // file stem, e.g. "METHANE"
    std::string cas;
    double molarMass = 0;      // g/mol
    double tTriple = 0, tNormalBoiling = 0;
    double tCritical = 0, pCritical = 0, rhoCritical = 0;  // K, kPa, mol/L
    double acentric = 0, dipole = 0;
};

// Every single-phase property at (T, rho, x).
struct Properties {
    double T = 0, rho = 0, p = 0, Z = 0;
    double e = 0, h = 0, s = 0, a = 0, g = 0;
    double cv = 0, cp = 0, w = 0, hjt = 0;
    double dPdrho = 0, d2Pdrho2 = 0, dPdT = 0;   // kPa/(mol/L), kPa/(mol/L)^2, kPa/K
    double drhodT = 0, drhodP = 0;                // at constant p, at constant T
    double kappa = 0, beta = 0;                   // 1/kPa, 1/K
    double d2PdT2 = 0, d2PdTdrho = 0;             // kPa/K^2, kPa/(K mol/L)
    double molarMass = 0;
};

// Fugacity coefficients at (T, p) on a known density root, with the derivatives
// the flash solvers need. dT: at constant p and n; dP: at constant T and n
// (1/kPa); dn: n * d ln phi_i / d n_j at constant T and p, row-major nc x nc.
struct LnPhi {
    std::vector<double> lnphi;
    std::vector<double> dT, dP, dn;
};

enum class Root { Stable = 0, Liquid = 1, Vapour = 2 };

class Mixture {
public:
    virtual ~Mixture() = default;

    virtual int size() const = 0;
    virtual const ComponentConstants& component(int i) const = 0;
    virtual const ResidualModel& model() const = 0;

    virtual double molarMass(const double* x) const = 0;                 // g/mol
    virtual double pressure(double T, double rho, const double* x) const = 0;  // kPa

    // Density root at (T, p). Stable: the root of lower Gibbs energy. Liquid or
    // Vapour: that root, falling back to the only root where there is one.
    // guess > 0 is a starting value; with Liquid or Vapour the root on the branch of
    // that start when it has one. Returns false when no root is found.
    virtual bool density(double T, double p, const double* x, Root root, double& rho,
                         double guess = 0) const = 0;

    // Starting value of the vapour pressure of component i at T (kPa).
    virtual double vapourPressureGuess(int i, double T) const = 0;

    virtual void properties(double T, double rho, const double* x, Properties& out) const = 0;
    // Ideal-gas part alone at the same state (THERM0).
    virtual void idealProperties(double T, double rho, const double* x, Properties& out) const = 0;

    // ln phi at (T, rho, x); derivatives when order >= 1 (dT, dP), order >= 2 (dn).
    virtual void lnPhi(double T, double rho, const double* x, int order, LnPhi& out) const = 0;

    // Second virial coefficient (L/mol) and its temperature derivative.
    virtual double virialB(double T, const double* x) const = 0;
    virtual double virialBdT(double T, const double* x) const = 0;

    // Transport: viscosity in uPa s, thermal conductivity in W/(m K). False with
    // a message when the state is outside what the method handles.
    virtual bool transport(double T, double rho, const double* x, double& eta, double& tcx,
                           std::string& message) const = 0;
    // Surface tension between coexisting phases, N/m.
    virtual bool surfaceTension(double T, double rhoL, double rhoV, const double* xl,
                                const double* xv, double& sigma, std::string& message) const = 0;
};

// Builds a mixture with the recommended model from fluid files and a mixture (binary
// parameter) file. Null with a message on failure. Test programs find the committed
// fluid files in the folder given by the compile definition TARNEVO_FLUIDS_DIR.
std::unique_ptr<Mixture> createMixture(const std::vector<std::string>& fluidFiles,
                                       const std::string& mixtureFile, std::string& message);

}  // namespace tarnevo::engine
