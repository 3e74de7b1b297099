// Units of the properties the program shows, in CAPE-OPEN SI on a mole basis. Derivative
// forms (.Dtemperature, .Dpressure, .Dmoles, .DmolFraction) get the unit of their base divided
// by K, Pa or mol. An unknown name has an empty unit.
#pragma once

#include <string>

namespace tarnevo::cli {

std::wstring SinglePhaseUnit(const std::wstring& property);
std::wstring TDependentUnit(const std::wstring& property);

}  // namespace tarnevo::cli
