#include "tools/tarnevo/PhaseProperties.h"

namespace tarnevo::cli {
namespace {

bool IsCompositionDerivative(const std::wstring& name) {
    const size_t dot = name.find(L'.');
    if (dot == std::wstring::npos) return false;
    const std::wstring form = name.substr(dot);
    return form == L".Dmoles" || form == L".DmolFraction";
}

}  // namespace

void AddPropertyRows(Table& table, const std::wstring& name, const std::vector<double>& values,
                     const std::vector<std::wstring>& compounds, const std::wstring& unit) {
    const size_t nc = compounds.size();
    if (values.empty()) {
        table.Add({Cell(name), Cell(), Cell(), Cell(), Cell(unit)});
    } else if (values.size() == 1) {
        table.Add({Cell(name), Cell(), Cell(), Cell(values[0]), Cell(unit)});
    } else if (values.size() == nc) {
        const bool byCompound = IsCompositionDerivative(name);
        for (size_t i = 0; i < nc; ++i)
            table.Add({Cell(name), byCompound ? Cell() : Cell(compounds[i]), byCompound ? Cell(compounds[i]) : Cell(),
                       Cell(values[i]), Cell(unit)});
    } else if (values.size() == nc * nc) {
        for (size_t j = 0; j < nc; ++j) {
            for (size_t i = 0; i < nc; ++i)
                table.Add({Cell(name), Cell(compounds[i]), Cell(compounds[j]), Cell(values[j * nc + i]), Cell(unit)});
        }
    } else {
        for (size_t k = 0; k < values.size(); ++k)
            table.Add({Cell(name), Cell(L"#" + std::to_wstring(k)), Cell(), Cell(values[k]), Cell(unit)});
    }
}

}  // namespace tarnevo::cli
