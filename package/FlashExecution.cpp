#include "package/FlashExecution.h"

#include <algorithm>
#include <cmath>

#include "capeobject/CapeFailure.h"
#include "package/FlashSpecification.h"

namespace tarnevo {
namespace {

// Root of T-H, T-S and T-U flashes where two states share the values: the lower-density one.
// The higher-density root (2) turns a gas at 300 K and 3 MPa into a liquid at hundreds of MPa.
constexpr int kTemperatureFlashRoot = 1;

// The two-phase routine of `type`; inputs are passed as local copies, unused outputs share
// one scratch variable.
int CallTwoPhaseRoutine(RefpropBinding& refprop, FlashType type, FlashValues& v, double* z, double* x, double* y) {
    const RefpropRoutineTable& r = refprop.routines;
    double t = v.T, p = v.P, D = v.D, h = v.h, s = v.s, e = v.e, q = v.q;
    double o = 0;   // discarded outputs
    int kr = kTemperatureFlashRoot;
    int kq = (type == FlashType::TQMass || type == FlashType::PQMass) ? 2 : 1;
    int ierr = 0;
    switch (type) {
    case FlashType::TP:
        ierr = refprop.Flash(r.TPFLSHdll, &t, &p, z, &o, &o, &o, x, y, &v.q, &o, &o, &o, &o, &o, &o);
        break;
    case FlashType::RhoH:
        ierr = refprop.Flash(r.DHFLSHdll, &D, &h, z, &v.T, &v.P, &o, &o, x, y, &v.q, &o, &o, &o, &o, &o);
        break;
    case FlashType::RhoS:
        ierr = refprop.Flash(r.DSFLSHdll, &D, &s, z, &v.T, &v.P, &o, &o, x, y, &v.q, &o, &o, &o, &o, &o);
        break;
    case FlashType::RhoU:
        ierr = refprop.Flash(r.DEFLSHdll, &D, &e, z, &v.T, &v.P, &o, &o, x, y, &v.q, &o, &o, &o, &o, &o);
        break;
    case FlashType::TH:
        ierr = refprop.Flash(r.THFLSHdll, &t, &h, z, &kr, &v.P, &o, &o, &o, x, y, &v.q, &o, &o, &o, &o, &o);
        break;
    case FlashType::TS:
        ierr = refprop.Flash(r.TSFLSHdll, &t, &s, z, &kr, &v.P, &o, &o, &o, x, y, &v.q, &o, &o, &o, &o, &o);
        break;
    case FlashType::TU:
        ierr = refprop.Flash(r.TEFLSHdll, &t, &e, z, &kr, &v.P, &o, &o, &o, x, y, &v.q, &o, &o, &o, &o, &o);
        break;
    case FlashType::TRho:
        ierr = refprop.Flash(r.TDFLSHdll, &t, &D, z, &v.P, &o, &o, x, y, &v.q, &o, &o, &o, &o, &o, &o);
        break;
    case FlashType::PRho:
        ierr = refprop.Flash(r.PDFLSHdll, &p, &D, z, &v.T, &o, &o, x, y, &v.q, &o, &o, &o, &o, &o, &o);
        break;
    case FlashType::PH:
        ierr = refprop.Flash(r.PHFLSHdll, &p, &h, z, &v.T, &o, &o, &o, x, y, &v.q, &o, &o, &o, &o, &o);
        break;
    case FlashType::PS:
        ierr = refprop.Flash(r.PSFLSHdll, &p, &s, z, &v.T, &o, &o, &o, x, y, &v.q, &o, &o, &o, &o, &o);
        break;
    case FlashType::PU:
        ierr = refprop.Flash(r.PEFLSHdll, &p, &e, z, &v.T, &o, &o, &o, x, y, &v.q, &o, &o, &o, &o, &o);
        break;
    case FlashType::TQMole:
    case FlashType::TQMass:
        ierr = refprop.Flash(r.TQFLSHdll, &t, &q, z, &kq, &v.P, &o, &o, &o, x, y, &o, &o, &o, &o, &o, &o);
        break;
    case FlashType::PQMole:
    case FlashType::PQMass:
        ierr = refprop.Flash(r.PQFLSHdll, &p, &q, z, &kq, &v.T, &o, &o, &o, x, y, &o, &o, &o, &o, &o, &o);
        break;
    case FlashType::SH:
        ierr = refprop.Flash(r.HSFLSHdll, &h, &s, z, &v.T, &v.P, &o, &o, &o, x, y, &v.q, &o, &o, &o, &o);
        break;
    default:
        throw CapeFailure(L"Internal error");
    }
    return ierr;
}

// ABFL1dll code and inputs (a, b) of a single-phase flash.
struct SinglePhaseInputs {
    const char* code;
    double a;
    double b;
};

SinglePhaseInputs SinglePhaseInputsOf(FlashType type, const FlashValues& v) {
    switch (type) {
    case FlashType::RhoH: return {"DH", v.D, v.h};
    case FlashType::RhoS: return {"DS", v.D, v.s};
    case FlashType::RhoU: return {"DE", v.D, v.e};
    case FlashType::TH: return {"TH", v.T, v.h};
    case FlashType::TS: return {"TS", v.T, v.s};
    case FlashType::TU: return {"TE", v.T, v.e};
    case FlashType::TRho: return {"TD", v.T, v.D};
    case FlashType::PRho: return {"PD", v.P, v.D};
    case FlashType::PH: return {"PH", v.P, v.h};
    case FlashType::PS: return {"PS", v.P, v.s};
    case FlashType::PU: return {"PE", v.P, v.e};
    case FlashType::SH: return {"SH", v.s, v.h};
    default: throw CapeFailure(L"Internal error");
    }
}

int CallSinglePhaseRoutine(RefpropBinding& refprop, FlashType type, FlashRoute route, FlashValues& v,
                           std::vector<double>& z, std::vector<double>& x, std::vector<double>& y) {
    if (IsVaporFractionFlash(type))
        throw CapeFailure(L"Cannot perform a single phase flash with phase fraction as specification");
    const int kph = route == FlashRoute::Liquid ? 1 : 2;
    v.q = route == FlashRoute::Liquid ? 0.0 : 1.0;
    std::copy(z.begin(), z.end(), (route == FlashRoute::Liquid ? x : y).begin());
    if (type == FlashType::TP) return 0;
    const SinglePhaseInputs in = SinglePhaseInputsOf(type, v);
    double D = 0;
    return refprop.ABFL1(in.a, in.b, z.data(), kph, in.code, kSinglePhaseMinDensity, kSinglePhaseMaxDensity, v.T,
                         v.P, D);
}

bool Near(double value, double target) noexcept { return std::fabs(value - target) <= 0.001; }

}  // namespace

void RunFlashRoutine(RefpropBinding& refprop, ICapeDiagnostic* diagnostics, FlashType type, FlashRoute route,
                     FlashValues& values, std::vector<double>& z, std::vector<double>& x, std::vector<double>& y) {
    if (x.size() < z.size()) x.resize(z.size());
    if (y.size() < z.size()) y.resize(z.size());
    const int ierr = route == FlashRoute::TwoPhase
                         ? CallTwoPhaseRoutine(refprop, type, values, z.data(), x.data(), y.data())
                         : CallSinglePhaseRoutine(refprop, type, route, values, z, x, y);
    if (ierr > 0) throw CapeFailure(GetRefpropMessage(refprop));
    if (ierr < 0) ReportRefpropWarning(refprop, diagnostics, FlashLabel(type));
}

PresentPhases DecidePresentPhases(FlashType type, double& q) {
    PresentPhases phases;
    if (IsVaporFractionFlash(type)) {
        phases.vapor = phases.liquid = true;
        return phases;
    }
    if (Near(q, 998) || Near(q, 999)) {
        q = 1;
        phases.vapor = true;
        return phases;
    }
    if (q < 0) q = 0;
    if (q > 1) q = 1;
    phases.vapor = q > 0;
    phases.liquid = q < 1;
    if (!phases.vapor && !phases.liquid) throw CapeFailure(L"Failed to calculate phase equilibrium");
    return phases;
}

double MeanMolecularWeight(const std::vector<double>& fractions, const std::vector<CompoundRecord>& compounds,
                           const std::vector<std::int32_t>& map) {
    double weight = 0;
    for (std::int32_t index : map) {
        const CompoundRecord& compound = compounds[static_cast<std::size_t>(index)];
        if (compound.molecularWeight == kUnknownValue || std::isnan(compound.molecularWeight))
            throw CapeFailure(L"Cannot perform mass/mole conversions. Missing molecular weight for compound " +
                              compound.id);
        weight += fractions[static_cast<std::size_t>(index)] * compound.molecularWeight;
    }
    return weight;
}

double MassToMoleVaporFraction(double q, const std::vector<double>& x, const std::vector<double>& y,
                               const std::vector<CompoundRecord>& compounds, const std::vector<std::int32_t>& map) {
    const double liquidWeight = MeanMolecularWeight(x, compounds, map);
    const double vaporWeight = MeanMolecularWeight(y, compounds, map);
    return liquidWeight * q / ((1 - q) * vaporWeight + liquidWeight * q);
}

}  // namespace tarnevo
