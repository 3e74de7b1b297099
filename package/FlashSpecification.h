// CAPE-OPEN 1.1 flash specifications: two lists of strings and a solution type turned into
// one FlashType, with the message of a rejected request.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "TARNEVO.h"
#include "package/names/FlashType.h"

namespace tarnevo {

// The basis of each specified enthalpy, entropy, internal energy and volume: mass, or mole
// (also for an empty basis).
struct FlashBases {
    bool enthalpyMass = false;
    bool entropyMass = false;
    bool internalEnergyMass = false;
    bool volumeMass = false;
};

// The flash type of the two specifications (any order, names in any case) and the solution
// type (null, empty or "unspecified"). FlashType::None with `error` set when the request is
// not supported; nothing is recorded. Enthalpy, entropy, internal energy and volume take an
// empty basis, "mole" or "mass" (any case), reported in `bases` when given.
FlashType ParseFlashSpecification(const VARIANT& specification1, const VARIANT& specification2, BSTR solutionType,
                                  std::wstring& error, FlashBases* bases = nullptr);

// Names compared as lstrcmpiW does (case-insensitive); a null text equals "".
bool SameName(const wchar_t* text, const wchar_t* word) noexcept;

// "T-P flash" ... "S-H flash": the context of REFPROP warnings; empty for FlashType::None.
const wchar_t* FlashLabel(FlashType type) noexcept;

// Types 13 to 16: a vapour phase fraction is one of the specifications.
bool IsVaporFractionFlash(FlashType type) noexcept;

// True when `material` reports exactly two present phases (a vapour-fraction flash needs
// both). False when there is no material or it cannot tell.
bool MaterialHasTwoPresentPhases(ICapeThermoMaterial* material) noexcept;

}  // namespace tarnevo
