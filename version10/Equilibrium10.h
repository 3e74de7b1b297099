// ICapeThermoPropertyPackage::CalcEquilibrium: the CAPE-OPEN 1.0 flash named by a short key
// ("TP", "PH", "TVF", ...), on the host's 1.0 material, through the package's flash core.
#pragma once

#include <windows.h>

#include <vector>

#include "version10/Package10Context.h"

namespace tarnevo {

// Reads the overall composition and the specified values from `materialObject`, flashes
// with the two-phase routine of the flash type, and stores the present phases'
// compositions and fractions and the overall T and P that were not specified. Returns the
// labels ("Vapor" then "Liquid", those present) for the property calculation that follows.
// Throws CapeFailure; values stored before a failure stay.
std::vector<BSTR> CalcEquilibrium10(Package10Context& context, IDispatch* materialObject, BSTR flashType,
                                    const VARIANT& props);

}  // namespace tarnevo
