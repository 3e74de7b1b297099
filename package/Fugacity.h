// Fugacity coefficients in package compound order, shared by the property, equilibrium and
// 1.0 code: ComputeLnPhi finds the density first, ComputePhi takes it.
#pragma once

#include <string>
#include <vector>

#include "TARNEVO.h"
#include "refprop/RefpropBinding.h"

namespace tarnevo {

// Density of phase kph (1 liquid, 2 vapour) at T (K), P (kPa) and x, then ln phi. `rho`
// (mol/L) is the starting guess unless it is the unset marker or NaN, and receives the
// density. False with `error` set on failure; warnings go to `diagnostics`.
bool ComputeLnPhi(RefpropBinding& refprop, ICapeDiagnostic* diagnostics, int kph, double T, double P,
                  std::vector<double>& x, double& rho, std::vector<double>& lnPhi, std::wstring& error);

// Fugacity coefficients at T (K), P (kPa), density rho (mol/L) and x; NaN where x is 0
// when they come from fugacities (no FUGCOFdll).
bool ComputePhi(RefpropBinding& refprop, ICapeDiagnostic* diagnostics, double T, double P, double rho,
                std::vector<double>& x, std::vector<double>& phi, std::wstring& error);

}  // namespace tarnevo
