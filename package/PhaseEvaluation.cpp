#include "package/PhaseEvaluation.h"

#include <algorithm>

#include "capeobject/CapeFailure.h"

namespace tarnevo {
namespace {

// " at temperature perturbation" in failure messages.
const wchar_t* MessagePoint(PointKind kind) noexcept {
    switch (kind) {
    case PointKind::Temperature: return L" at temperature perturbation";
    case PointKind::Pressure: return L" at pressure perturbation";
    case PointKind::Composition: return L" at composition perturbation";
    default: return L"";
    }
}

// " (temperature perturbation)" in warning contexts.
const wchar_t* WarningPoint(PointKind kind) noexcept {
    switch (kind) {
    case PointKind::Temperature: return L" (temperature perturbation)";
    case PointKind::Pressure: return L" (pressure perturbation)";
    case PointKind::Composition: return L" (composition perturbation)";
    default: return L"";
    }
}

}  // namespace

void PhaseEvaluator::Evaluate(EvaluationPoint& point, PointKind kind, double guess, const PropertyRequest& request,
                              unsigned formBit) {
    point.rho = guess;
    const int ierr = refprop_.TPRHO(point.T, point.P, point.x.data(), kph_, point.rho);
    if (ierr > 0)
        throw CapeFailure(std::wstring(L"Failed to get density") + MessagePoint(kind) + L" for given conditions: " +
                          GetRefpropMessage(refprop_));
    if (ierr < 0)
        ReportRefpropWarning(refprop_, diagnostics_, std::wstring(L"Density calculation") + WarningPoint(kind));
    if (point.rho < 0) throw CapeFailure(L"No data");

    double* x = point.x.data();
    auto& r = refprop_.routines;
    if (request.Runs(kVolumetricGroup, formBit))
        r.THERM2dll(&point.T, &point.rho, x, &point.p, &point.e, &point.h, &point.s, &point.cv, &point.cp, &point.w,
                    &point.Z, &point.hjt, &point.A, &point.G, &point.xkappa, &point.beta, &point.dPdD, &point.d2PdD2,
                    &point.dPdT, &point.dDdT, &point.dDdP, &point.d2PdT2, &point.d2PdTD, &point.spare3,
                    &point.spare4);
    if (request.Runs(kCaloricGroup, formBit))
        r.THERMdll(&point.T, &point.rho, x, &point.p, &point.e, &point.h, &point.s, &point.cv, &point.cp, &point.w,
                   &point.hjt);
    if (request.Runs(kFugacityGroup, formBit)) Fugacity(point, kind);
    if (request.Runs(kFreeEnergyGroup, formBit)) r.AGdll(&point.T, &point.rho, x, &point.A, &point.G);
    if (request.Runs(kHeatCapacityGroup, formBit)) r.CVCPdll(&point.T, &point.rho, x, &point.cv, &point.cp);
    if (request.Runs(kTransportGroup, formBit)) {
        const int code = refprop_.TRNPRP(point.T, point.rho, x, point.eta, point.tcx);
        if (code > 0)
            throw CapeFailure(std::wstring(L"Failed to calculate transport properties") + MessagePoint(kind) +
                              L" for given conditions: " + GetRefpropMessage(refprop_));
        if (code < 0)
            ReportRefpropWarning(refprop_, diagnostics_, std::wstring(L"Transport properties") + WarningPoint(kind));
    }
    if (request.Runs(kEnthalpyGroup, formBit)) r.ENTHALdll(&point.T, &point.rho, x, &point.h);
}

void PhaseEvaluator::EvaluateEnthalpyDerivatives(EvaluationPoint& point) {
    double dhdTD = 0, dhdDT = 0, dhdDp = 0, dhdpD = 0;
    refprop_.routines.DHD1dll(&point.T, &point.rho, point.x.data(), &dhdTD, &point.dhdTp, &dhdDT, &dhdDp,
                              &point.dhdpT, &dhdpD);
}

void PhaseEvaluator::Fugacity(EvaluationPoint& point, PointKind kind) {
    point.phi.assign(point.x.size(), 0.0);
    if (refprop_.HasFUGCOF()) {
        const int ierr = refprop_.FUGCOF(point.T, point.rho, point.x.data(), point.phi.data());
        if (ierr > 0)
            throw CapeFailure(std::wstring(L"Failed to get fugacity coefficient") + MessagePoint(kind) +
                              L" for given conditions: " + GetRefpropMessage(refprop_));
        if (ierr < 0)
            ReportRefpropWarning(refprop_, diagnostics_,
                                 std::wstring(L"Fugacity coefficient calculation") + WarningPoint(kind));
        return;
    }
    // FGCTYdll: fugacities of the material's compounds at fractions of at least 1e-8.
    fallbackX_.assign(point.x.size(), 0.0);
    for (std::int32_t k : materialMap_) fallbackX_[k] = std::max(point.x[k], 1e-8);
    std::vector<double> f(point.x.size(), 0.0);
    refprop_.FGCTY(point.T, point.rho, fallbackX_.data(), f.data());
    for (std::int32_t k : materialMap_) point.phi[k] = f[k] / (fallbackX_[k] * point.P);
}

}  // namespace tarnevo
