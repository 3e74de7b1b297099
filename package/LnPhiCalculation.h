// CalcAndGetLnPhi: log fugacity coefficients and their derivatives at conditions given by
// the caller, in the material's compound order and size.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "TARNEVO.h"
#include "refprop/RefpropBinding.h"

namespace tarnevo {

struct LnPhiRequest {
    BSTR phaseLabel;
    double temperature;        // K
    double pressure;           // Pa
    const VARIANT* moleNumbers;
    int flags;                 // 1 lnPhi, 2 d/dT, 4 d/dP, 8 d/dn
    VARIANT* lnPhi;
    VARIANT* lnPhiDT;
    VARIANT* lnPhiDP;
    VARIANT* lnPhiDn;
};

// Throws CapeFailure with the message to report. `composition` is the package's working
// array (package order, `packageCount` elements).
void CalculateLnPhi(RefpropBinding& refprop, ICapeDiagnostic* diagnostics, const std::vector<std::int32_t>& materialMap,
                    std::size_t packageCount, std::vector<double>& composition, const LnPhiRequest& request);

}  // namespace tarnevo
