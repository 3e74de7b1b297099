// Reading the engine's fluid files: header lines 0-12 and the model sections.
#pragma once

#include "core/HelmholtzTerms.h"
#include "core/Mixture.h"

#include <map>
#include <string>
#include <vector>

namespace tarnevo::engine {

// Ideal-gas heat capacity: cp0/R = c0 + sum c T^t + sum v (u/T)^2 e^(u/T) / (e^(u/T) - 1)^2.
struct Cp0Data {
    double R = kGasConstant;
    double c0 = 0;
    std::vector<std::pair<double, double>> power;   // (c, t)
    std::vector<std::pair<double, double>> planck;  // (v, u)
};

struct SurfaceTensionData {
    double tc = 0;
    std::vector<std::pair<double, double>> terms;   // (a, n): sigma = sum a (1 - T/tc)^n
};

struct FluidData {
    ComponentConstants constants;
    std::string path;
    // Peng-Robinson constants and the range of the data.
    double tc = 0, pc = 0, omega = 0;
    double tmin = 0, tmax = 0, pmax = 0;
    Cp0Data cp0;
    double kappa = 0;                // association factor (Chung et al.)
    bool hasSurfaceTension = false;
    SurfaceTensionData surfaceTension;
    std::map<std::string, std::vector<std::string>> models;  // category -> codes
    // Multiparameter equation (#FEQ): gas constant, reducing state, residual terms.
    bool hasEquation = false;
    double eqR = 0, eqTred = 0, eqRhored = 0;
    TermSet eqTerms;
    Ancillary ps, dl, dv;  // saturation pressure (kPa), liquid and vapour density (mol/L)

    bool provides(const std::string& category, const std::string& code) const;
};

// Reads a fluid file; false with a message naming the file and the fault.
bool readFluidFile(const std::string& path, FluidData& out, std::string& message);

// Multi-fluid reducing parameters of an ordered pair and its departure function.
struct MultiFluidPair {
    double betaT = 1, gammaT = 1, betaV = 1, gammaV = 1, F = 0;
    std::string departure;  // empty: none
};

// Binary interaction parameters keyed by the two CAS numbers (either order).
struct BinaryParameters {
    std::map<std::pair<std::string, std::string>, double> kij;
    std::map<std::pair<std::string, std::string>, MultiFluidPair> multiFluid;  // as written
    std::map<std::string, TermSet> departures;
    double get(const std::string& cas1, const std::string& cas2) const;
    // Parameters of the pair oriented as (cas1, cas2); false when the file has none.
    bool pair(const std::string& cas1, const std::string& cas2, MultiFluidPair& out) const;
};

// Reads a mixture file (lines "PR CAS1 CAS2 kij", "KW CAS1 CAS2 betaT gammaT betaV
// gammaV F departure", blocks "DEP name" ... "END", "!" comments); false with a
// message naming the file and line on a bad line.
bool readMixtureFile(const std::string& path, BinaryParameters& out, std::string& message);

}  // namespace tarnevo::engine
