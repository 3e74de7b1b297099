// ICapeThermoPropertyPackage::CalcProp: the CAPE-OPEN 1.0 property request on the host's
// 1.0 material, computed by the package's 1.1 property code (pure-compound, single-phase
// and two-phase) and stored back with SetProp.
#pragma once

#include <windows.h>

#include "version10/Package10Context.h"

namespace tarnevo {

// Validates the request, reads T, P and the phase compositions from `materialObject`,
// computes and stores every (property, phase) pair. Throws CapeFailure for the failures
// of the 1.0 request itself; a failure of the shared calculation code is recorded through
// `context.runShared` and its HRESULT returned. Values stored before a failure stay.
HRESULT CalcProp10(Package10Context& context, IDispatch* materialObject, const VARIANT& props, const VARIANT& phases,
                   BSTR calcType);

}  // namespace tarnevo
