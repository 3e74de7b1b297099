// Compositions given on the command line: mole fractions in the package's compound order
// (0.9,0.1) or NAME=value pairs (METHANE=0.9,ETHANE=0.1; unnamed compounds are 0).
// The count must match the package; negative values or a zero sum are refused. Values that
// do not sum to 1 are normalised and a note says so.
#pragma once

#include <string>
#include <vector>

namespace tarnevo::cli {

class Arguments;

std::vector<double> ReadComposition(const Arguments& args, const std::wstring& option,
                                    const std::vector<std::wstring>& compounds);

}  // namespace tarnevo::cli
