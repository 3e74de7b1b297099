// One evaluation point of a single-phase request: the state (T, P, composition), the
// density found there and the outputs of the routine groups that ran at it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TARNEVO.h"
#include "package/PropertyRequest.h"
#include "refprop/RefpropBinding.h"

namespace tarnevo {

struct EvaluationPoint {
    double T = 0;               // K
    double P = 0;               // kPa
    std::vector<double> x;      // package order
    double rho = 0;             // mol/L
    // THERM2dll outputs; THERMdll, AGdll, CVCPdll and ENTHALdll fill their subsets.
    double p = 0, e = 0, h = 0, s = 0, cv = 0, cp = 0, w = 0, Z = 0, hjt = 0, A = 0, G = 0, xkappa = 0, beta = 0,
           dPdD = 0, d2PdD2 = 0, dPdT = 0, dDdT = 0, dDdP = 0, d2PdT2 = 0, d2PdTD = 0, spare3 = 0, spare4 = 0;
    double eta = 0;             // micropascal seconds
    double tcx = 0;             // W/(m K)
    std::vector<double> phi;    // package order
    double dhdpT = 0;           // dh/dP at constant T (DHD1dll), J/mol per kPa
    double dhdTp = 0;           // dh/dT at constant p (DHD1dll)
};

// Where a point lies; chooses the message and warning texts.
enum class PointKind { Base, Temperature, Pressure, Composition };

// Runs REFPROP at evaluation points for one phase (kph 1 liquid, 2 vapour). `materialMap`
// gives the package positions of the material's compounds (the FGCTYdll fallback).
class PhaseEvaluator {
public:
    PhaseEvaluator(RefpropBinding& refprop, ICapeDiagnostic* diagnostics, const std::vector<std::int32_t>& materialMap,
                   int kph) noexcept
        : refprop_(refprop), diagnostics_(diagnostics), materialMap_(materialMap), kph_(kph) {}

    // Density at the point's T, P and x (kguess 0 when `guess` is the unset marker), then the
    // routines of the groups whose bits include `formBit`, in group order. Throws CapeFailure.
    void Evaluate(EvaluationPoint& point, PointKind kind, double guess, const PropertyRequest& request,
                  unsigned formBit);
    // DHD1dll at the point's T, rho and x.
    void EvaluateEnthalpyDerivatives(EvaluationPoint& point);

private:
    void Fugacity(EvaluationPoint& point, PointKind kind);

    RefpropBinding& refprop_;
    ICapeDiagnostic* diagnostics_;
    const std::vector<std::int32_t>& materialMap_;
    int kph_;
    std::vector<double> fallbackX_;
};

}  // namespace tarnevo
