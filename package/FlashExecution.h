// The core of a flash, independent of the material interface: the REFPROP routine of a flash
// type, the present phases it leaves, and the mass-to-mole conversion of the vapour
// fraction. Used by the 1.1 equilibrium routine and the 1.0 flash.
//   FlashValues v;  v.T = 300; v.P = 5000;                   // REFPROP units (K, kPa, ...)
//   RunFlashRoutine(refprop, diagnostics, FlashType::TP, FlashRoute::TwoPhase, v, z, x, y);
//   PresentPhases phases = DecidePresentPhases(FlashType::TP, v.q);
#pragma once

#include <cstdint>
#include <vector>

#include "TARNEVO.h"
#include "definition/CompoundRecord.h"
#include "package/names/FlashType.h"
#include "refprop/RefpropBinding.h"

namespace tarnevo {

// Inputs and outputs of one flash in REFPROP units: K, kPa, mol/L, J/mol, J/(mol K), and
// the vapour fraction q (mole basis, or mass basis for types 15 and 16 on input).
struct FlashValues {
    double T = 0;
    double P = 0;
    double D = 0;
    double h = 0;
    double s = 0;
    double e = 0;
    double q = 0;
};

// Two-phase routine, or the single-phase route for a material listing one phase.
enum class FlashRoute { TwoPhase, Liquid, Vapor };

// The density bounds (mol/L) given to ABFL1dll.
constexpr double kSinglePhaseMinDensity = 1e-10;
constexpr double kSinglePhaseMaxDensity = 1e8;

// Runs the flash of `type` on `z` (package order). Two-phase: the routine of the type; the
// unknown of T and P, x, y and (except for T-Q and P-Q) q come back in `values`, `x`, `y`.
// Liquid / Vapor: q = 0 / 1 and x / y = z; ABFL1dll gives T and P (none for T-P).
// A REFPROP warning is logged with the type's label; an error throws CapeFailure with
// REFPROP's message. Single-phase T-Q / P-Q and unknown types throw their messages.
void RunFlashRoutine(RefpropBinding& refprop, ICapeDiagnostic* diagnostics, FlashType type, FlashRoute route,
                     FlashValues& values, std::vector<double>& z, std::vector<double>& x, std::vector<double>& y);

struct PresentPhases {
    bool vapor = false;
    bool liquid = false;
};

// The phases a flash result holds. Vapour-fraction flashes have both, q unchanged; q within
// 0.001 of 998 or 999 is vapour with q = 1; otherwise q is clamped to [0, 1]. Throws
// "Failed to calculate phase equilibrium" when no phase is left (q not a number).
PresentPhases DecidePresentPhases(FlashType type, double& q);

// The mean molecular weight (g/mol) of `fractions` (package order) over the compounds of `map`
// (package indices). Throws for a compound without molecular weight.
double MeanMolecularWeight(const std::vector<double>& fractions, const std::vector<CompoundRecord>& compounds,
                           const std::vector<std::int32_t>& map);

// A mass-basis vapour fraction on a mole basis, from the phases' mean molecular weights over
// the compounds of `map` (package indices). Throws for a compound without molecular weight.
double MassToMoleVaporFraction(double q, const std::vector<double>& x, const std::vector<double>& y,
                               const std::vector<CompoundRecord>& compounds, const std::vector<std::int32_t>& map);

}  // namespace tarnevo
