// The five universal constants of the package, by name.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <optional>

namespace tarnevo {

// The value of constant `name` ("molarGasConstant", ... compared without regard to case);
// nullopt for a null or unknown name.
std::optional<double> UniversalConstantValue(BSTR name) noexcept;

}  // namespace tarnevo
