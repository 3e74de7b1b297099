#include "package/TDependentProperties.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "capeobject/CapeFailure.h"
#include "com/ModuleState.h"
#include "package/names/PropertyIds.h"

namespace tarnevo {
namespace {

constexpr int kLiquid = 1;
constexpr int kVapor = 2;

// The REFPROP evaluations a request needs, run in this order for each compound.
struct Needs {
    bool saturation = false;
    bool slope = false;
    bool csat = false;
    bool liquidTransport = false;
    bool vaporTransport = false;
    bool idealGas = false;
};

Needs NeedsOf(const std::vector<std::int32_t>& properties) {
    Needs needs;
    for (std::int32_t id : properties) {
        switch (id) {
            case kVaporPressure:
            case kFugacityCoefficientOfVapor:
            case kHeatOfVaporization:
            case kSurfaceTensionSatLiquid:
            case kVolumeChangeUponVaporization:
            case kVolumeOfLiquid: needs.saturation = true; break;
            case kVaporPressureDT: needs.saturation = needs.slope = true; break;
            case kHeatCapacityOfLiquid: needs.csat = true; break;
            case kThermalConductivityOfLiquid:
            case kViscosityOfLiquid: needs.saturation = needs.liquidTransport = true; break;
            case kThermalConductivityOfVapor:
            case kViscosityOfVapor: needs.saturation = needs.vaporTransport = true; break;
            case kIdealGasEnthalpy:
            case kIdealGasEnthalpyDT:
            case kIdealGasEntropy:
            case kIdealGasHeatCapacity: needs.idealGas = true; break;
            default: break;  // virial coefficients need no evaluation
        }
    }
    return needs;
}

// Results of the evaluations for one compound (REFPROP units).
struct PureState {
    double p = 0, rhoL = 0, rhoV = 0;     // kPa, mol/L
    double csat = 0, dpdt = 0;            // J/(mol K), kPa/K
    double etaL = 0, tcxL = 0;            // uPa s, W/(m K)
    double etaV = 0, tcxV = 0;
    double h0 = 0, s0 = 0, cp0 = 0;       // J/mol, J/(mol K)
};

class Evaluator {
public:
    Evaluator(TDependentWorkspace& workspace, double temperature) : ws_(workspace), t_(temperature) {}

    void Check(int ierr, const wchar_t* context) {
        if (ierr > 0) throw CapeFailure(GetRefpropMessage(ws_.refprop));
        if (ierr < 0) ReportRefpropWarning(ws_.refprop, ws_.diagnostics, context);
    }

    PureState Evaluate(const Needs& needs, std::int32_t index) {
        RefpropBinding& rp = ws_.refprop;
        double* x = ws_.composition.data();
        PureState s;
        if (needs.saturation)
            Check(rp.SATT(t_, x, kVapor, s.p, s.rhoL, s.rhoV, ws_.liquidComposition.data(),
                          ws_.vaporComposition.data()),
                  L"Vapor pressure calculation");
        double pScratch = 0, dScratch = 0;
        if (needs.slope)
            Check(rp.DPTSATK(index + 1, t_, kLiquid, pScratch, dScratch, s.csat, s.dpdt),
                  L"dP/dT along saturation line");
        else if (needs.csat)
            Check(rp.CSATK(index + 1, t_, kLiquid, pScratch, dScratch, s.csat), L"Liquid heat capacity");
        if (needs.liquidTransport)
            Check(rp.TRNPRP(t_, s.rhoL, x, s.etaL, s.tcxL), L"Liquid transport properties");
        if (needs.vaporTransport)
            Check(rp.TRNPRP(t_, s.rhoV, x, s.etaV, s.tcxV), L"Vapor transport properties");
        if (needs.idealGas) {
            double t = t_, d = 0, p = 0, e = 0, cv = 0, w = 0, a = 0, g = 0;
            rp.routines.THERM0dll(&t, &d, x, &p, &e, &s.h0, &s.s0, &cv, &s.cp0, &w, &a, &g);
        }
        return s;
    }

    // The value of one property of the compound at `index`; nullopt when missing.
    std::optional<double> Value(std::int32_t id, const PureState& s, std::int32_t index) {
        RefpropBinding& rp = ws_.refprop;
        double* x = ws_.composition.data();
        double t = t_;
        switch (id) {
            case kVaporPressure:
                if (s.p < 0) return std::nullopt;
                return s.p * 1000.0;
            case kVaporPressureDT:
                if (s.p < 0) return std::nullopt;
                return s.dpdt * 1000.0;
            case kFugacityCoefficientOfVapor: {
                if (s.p < 0) return std::nullopt;
                double* phi = ws_.fugacityCoefficients.data();
                if (rp.HasFUGCOF()) {
                    Check(rp.FUGCOF(t, s.rhoV, x, phi), L"Fugacity coefficient calculation");
                    return phi[index];
                }
                rp.FGCTY(t, s.rhoV, x, phi);
                return phi[index] / s.p;
            }
            case kHeatCapacityOfLiquid:
                if (s.csat < 0) return std::nullopt;
                return s.csat;
            case kHeatOfVaporization: {
                double rhoV = s.rhoV, rhoL = s.rhoL, hV = 0, hL = 0;
                rp.routines.ENTHALdll(&t, &rhoV, x, &hV);
                rp.routines.ENTHALdll(&t, &rhoL, x, &hL);
                return hV - hL;
            }
            case kSurfaceTensionSatLiquid: {
                double sigma = 0;
                Check(rp.SURTEN(t, s.rhoL, s.rhoV, x, x, sigma), L"Surface tension");
                if (sigma < 0) return std::nullopt;
                return sigma;
            }
            case kThermalConductivityOfLiquid:
                if (s.tcxL < 0) return std::nullopt;
                return s.tcxL;
            case kThermalConductivityOfVapor:
                if (s.tcxV < 0) return std::nullopt;
                return s.tcxV;
            case kVirialCoefficient: {
                double b = 0;
                rp.routines.VIRBdll(&t, x, &b);
                return b * 0.001;
            }
            case kVirialCoefficientDT: {
                double dbdt = 0;
                rp.routines.DBDTdll(&t, x, &dbdt);
                return dbdt * 0.001;
            }
            case kIdealGasEnthalpy: return s.h0;
            case kIdealGasEnthalpyDT:
            case kIdealGasHeatCapacity: return s.cp0;
            case kIdealGasEntropy: return s.s0;
            case kViscosityOfLiquid:
                if (s.etaL < 0) return std::nullopt;
                return s.etaL * 1e-6;
            case kViscosityOfVapor:
                if (s.etaV < 0) return std::nullopt;
                return s.etaV * 1e-6;
            case kVolumeChangeUponVaporization: return 1.0 / (s.rhoV * 1000.0) - 1.0 / (s.rhoL * 1000.0);
            case kVolumeOfLiquid: return 1.0 / (s.rhoL * 1000.0);
            default: return std::nullopt;
        }
    }

private:
    TDependentWorkspace& ws_;
    double t_;
};

// Puts the compound's mole fraction back to 0 however the evaluation ends.
class PureCompound {
public:
    PureCompound(std::vector<double>& composition, std::int32_t index) : composition_(composition), index_(index) {
        composition_[static_cast<size_t>(index_)] = 1.0;
    }
    ~PureCompound() { composition_[static_cast<size_t>(index_)] = 0.0; }
    PureCompound(const PureCompound&) = delete;
    PureCompound& operator=(const PureCompound&) = delete;

private:
    std::vector<double>& composition_;
    std::int32_t index_;
};

// Stores one element of a property-major result and counts it; a value REFPROP could not
// give (absent, NaN, infinite) is missing, not a result.
void Store(const std::optional<double>& value, double& element, TDependentCounts& counts) {
    if (value && std::isfinite(*value)) {
        element = *value;
        ++counts.valued;
    } else {
        element = MissingValue();
        ++counts.missing;
    }
}

// Boiling temperature (K) of the pure compound in `composition` at `pressure` (kPa).
std::optional<double> BoilingTemperature(TDependentWorkspace& ws, double pressure) {
    const RefpropRoutineTable& r = ws.refprop.routines;
    double p = pressure, q = 0, t = 0, o = 0;
    int kq = 1;
    const int ierr = ws.refprop.Flash(r.PQFLSHdll, &p, &q, ws.composition.data(), &kq, &t, &o, &o, &o,
                                      ws.liquidComposition.data(), ws.vaporComposition.data(), &o, &o, &o, &o, &o,
                                      &o);
    if (ierr > 0) throw CapeFailure(GetRefpropMessage(ws.refprop));
    if (ierr < 0) ReportRefpropWarning(ws.refprop, ws.diagnostics, L"Boiling point calculation");
    return t;
}

}  // namespace

TDependentCounts EvaluateTDependentProperties(TDependentWorkspace& workspace, double temperature,
                                              const std::vector<std::int32_t>& compounds,
                                              const std::vector<std::int32_t>& properties, double* values) {
    const Needs needs = NeedsOf(properties);
    std::fill(workspace.composition.begin(), workspace.composition.end(), 0.0);
    Evaluator evaluator(workspace, temperature);
    TDependentCounts counts;
    const size_t nCompounds = compounds.size();
    for (size_t i = 0; i < nCompounds; ++i) {
        const std::int32_t index = compounds[i];
        PureCompound pure(workspace.composition, index);
        const PureState state = evaluator.Evaluate(needs, index);
        for (size_t k = 0; k < properties.size(); ++k) {
            Store(evaluator.Value(properties[k], state, index), values[k * nCompounds + i], counts);
        }
    }
    return counts;
}

TDependentCounts EvaluatePDependentProperties(TDependentWorkspace& workspace, const std::vector<CompoundRecord>& records,
                                              double pressure, const std::vector<std::int32_t>& compounds,
                                              const std::vector<std::int32_t>& properties, double* values) {
    std::fill(workspace.composition.begin(), workspace.composition.end(), 0.0);
    TDependentCounts counts;
    const size_t nCompounds = compounds.size();
    for (size_t i = 0; i < nCompounds; ++i) {
        const std::int32_t index = compounds[i];
        const double criticalPressure = records[static_cast<size_t>(index)].criticalPressure;
        std::optional<double> boiling;
        if (criticalPressure == kUnknownValue || !(pressure >= criticalPressure)) {
            PureCompound pure(workspace.composition, index);
            boiling = BoilingTemperature(workspace, pressure * 0.001);
        }
        for (size_t k = 0; k < properties.size(); ++k) {
            Store(properties[k] == kBoilingPointTemperature ? boiling : std::nullopt, values[k * nCompounds + i],
                  counts);
        }
    }
    return counts;
}

}  // namespace tarnevo
