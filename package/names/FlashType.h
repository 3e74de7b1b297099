// The supported pairs of flash specifications. 0 means no valid flash.
#pragma once

#include <cstdint>

namespace tarnevo {

enum class FlashType : std::int32_t {
    None = 0,
    TP = 1,           // temperature, pressure
    RhoH = 2,         // volume, enthalpy
    RhoS = 3,         // volume, entropy
    RhoU = 4,         // volume, internal energy
    TH = 5,           // temperature, enthalpy
    TS = 6,           // temperature, entropy
    TU = 7,           // temperature, internal energy
    TRho = 8,         // temperature, volume
    PRho = 9,         // pressure, volume
    PH = 10,          // pressure, enthalpy
    PS = 11,          // pressure, entropy
    PU = 12,          // pressure, internal energy
    TQMole = 13,      // temperature, vapour phase fraction on a mole basis
    PQMole = 14,      // pressure, vapour phase fraction on a mole basis
    TQMass = 15,      // temperature, vapour phase fraction on a mass basis
    PQMass = 16,      // pressure, vapour phase fraction on a mass basis
    SH = 17,          // entropy, enthalpy
};

}  // namespace tarnevo
