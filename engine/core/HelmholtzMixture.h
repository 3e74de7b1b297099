// The engine's mixture: ideal-gas part from cp0 per component (ideal mixing) plus
// a residual Helmholtz model; every property follows from their derivatives.
#pragma once

#include "core/ChungTransport.h"
#include "core/FluidFile.h"
#include "core/IdealGas.h"
#include "core/Mixture.h"

#include <memory>
#include <vector>

namespace tarnevo::engine {

class HelmholtzMixture : public Mixture {
public:
    HelmholtzMixture(std::vector<FluidData> fluids, std::unique_ptr<ResidualModel> model);

    int size() const override { return nc_; }
    const ComponentConstants& component(int i) const override { return fluids_[i].constants; }
    const ResidualModel& model() const override { return *model_; }
    const FluidData& fluid(int i) const { return fluids_[i]; }

    double molarMass(const double* x) const override;
    double pressure(double T, double rho, const double* x) const override;
    bool density(double T, double p, const double* x, Root root, double& rho,
                 double guess = 0) const override;
    double vapourPressureGuess(int i, double T) const override;
    void properties(double T, double rho, const double* x, Properties& out) const override;
    void idealProperties(double T, double rho, const double* x, Properties& out) const override;
    void lnPhi(double T, double rho, const double* x, int order, LnPhi& out) const override;
    double virialB(double T, const double* x) const override;
    double virialBdT(double T, const double* x) const override;
    bool transport(double T, double rho, const double* x, double& eta, double& tcx,
                   std::string& message) const override;
    bool surfaceTension(double T, double rhoL, double rhoV, const double* xl, const double* xv,
                        double& sigma, std::string& message) const override;

    // Enthalpy and entropy added to component i's ideal-gas part (reference state).
    void setReferenceOffsets(int i, double h, double s);
    // Surface tension of pure component i at T from its correlation, N/m (0 above its Tc).
    double pureSurfaceTension(int i, double T) const;

    // Pressure of the ideal-gas entropy reference, kPa.
    static constexpr double kP0 = 101.325;

private:
    struct Ideal {
        double h, s, cp;  // J/mol, J/(mol K) (s at p0, with mixing term), J/(mol K)
    };
    Ideal ideal(double T, const double* x) const;
    void combine(double T, double rho, const double* x, const ResidualDerivatives& r,
                 Properties& out) const;
    int iterateRoots(double T, double p, const double* x, Root root, double roots[3],
                     double guess) const;

    int nc_;
    std::vector<FluidData> fluids_;
    std::unique_ptr<ResidualModel> model_;
    double R_;  // the model's gas constant
    std::vector<IdealGasCp> cp0_;
    std::vector<double> hOffset_, sOffset_;
    ChungTransport chung_;
    mutable ResidualDerivatives scratch_;
    // cp0 integrals of every component at the last temperature asked for.
    mutable double idealT_ = -1;
    mutable std::vector<IdealGasValues> idealAtT_;
};

// Equation of state of the recommended (NBS) models.
constexpr const char* kDefaultModel = "PR";

// The residual model of the given name for these fluids: "PR" (Peng-Robinson) or
// "FEQ" (multiparameter equations, multi-fluid mixture model). Null with a message.
std::unique_ptr<ResidualModel> createResidualModel(const std::string& name,
                                                   const std::vector<FluidData>& fluids,
                                                   const BinaryParameters& binaries,
                                                   std::string& message);

// Builds a mixture with the named residual model and its reference state applied.
std::unique_ptr<HelmholtzMixture> createHelmholtzMixture(const std::vector<std::string>& fluidFiles,
                                                         const std::string& mixtureFile,
                                                         std::string& message,
                                                         const std::string& model = kDefaultModel);

}  // namespace tarnevo::engine
