// Molecular formula in Hill order from a structural formula as written in a fluid file.
#pragma once

#include <string>

namespace tarnevo {

// True with the derived formula in `formula` (for example CH3-CH2-CH3 gives C3H8);
// false when the text is not a formula the scan recognises.
bool DeriveFormula(const std::wstring& written, std::wstring& formula);

}  // namespace tarnevo
