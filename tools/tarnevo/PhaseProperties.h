// Rows of a property table from the values a package wrote for one property: one value,
// one per compound (per-compound properties, or composition derivatives of a scalar: "by"
// names the compound), or nc x nc (composition derivatives of per-compound properties,
// element j * nc + i for compound i by compound j).
#pragma once

#include <string>
#include <vector>

#include "tools/tarnevo/Report.h"

namespace tarnevo::cli {

void AddPropertyRows(Table& table, const std::wstring& name, const std::vector<double>& values,
                     const std::vector<std::wstring>& compounds, const std::wstring& unit);

}  // namespace tarnevo::cli
