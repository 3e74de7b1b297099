// The names of the packages in the package folder, shared by the manager and the
// thermo system.
#pragma once

#include <string>
#include <vector>

#include "automation/VariantArray.h"

namespace tarnevo {

// Each "*.rpp" file of the package folder without its last four characters, in the
// order the file system enumerates them. Empty when the store is not established.
std::vector<std::wstring> BuildPackageList();

// The names as a BSTR array (VT_ARRAY | VT_BSTR) in `out`; VT_EMPTY for none.
void PackageListToVariant(const std::vector<std::wstring>& names, VARIANT* out);

}  // namespace tarnevo
