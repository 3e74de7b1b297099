#include "tools/tarnevo/Composition.h"

#include <cmath>

#include "tools/host/VariantValues.h"
#include "tools/tarnevo/CommandLine.h"
#include "tools/tarnevo/Report.h"
#include "tools/tarnevo/Text.h"

namespace tarnevo::cli {

std::vector<double> ReadComposition(const Arguments& args, const std::wstring& option,
                                    const std::vector<std::wstring>& compounds) {
    const std::wstring flag = L"--" + option;
    if (!args.Has(option)) args.Refuse(flag + L" is missing");
    const std::vector<std::wstring> parts = args.List(option);
    const bool named = !parts.empty() && parts[0].find(L'=') != std::wstring::npos;
    std::vector<double> x(compounds.size(), 0.0);
    std::vector<bool> given(compounds.size(), false);
    if (!named && parts.size() != compounds.size()) {
        args.Refuse(flag + L" has " + std::to_wstring(parts.size()) + L" values but package holds " +
                    std::to_wstring(compounds.size()) + L" compounds (" + Join(compounds, L", ") + L")");
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        std::wstring text = parts[i];
        size_t index = i;
        if (named) {
            const size_t equals = text.find(L'=');
            if (equals == std::wstring::npos) args.Refuse(flag + L": mix of plain values and NAME=value pairs");
            const std::wstring name = Trim(text.substr(0, equals));
            text = text.substr(equals + 1);
            index = compounds.size();
            for (size_t c = 0; c < compounds.size(); ++c) {
                if (host::EqualsNoCase(compounds[c], name)) index = c;
            }
            if (index == compounds.size())
                args.Refuse(flag + L": the package has no compound " + name + L" (" + Join(compounds, L", ") + L")");
            if (given[index]) args.Refuse(flag + L": " + name + L" is given twice");
        }
        double value = 0;
        if (!ParseNumber(text, value)) args.Refuse(flag + L": \"" + Trim(text) + L"\" is not a number");
        if (value < 0) args.Refuse(flag + L": mole fractions cannot be negative");
        x[index] = value;
        given[index] = true;
    }
    double sum = 0;
    for (double value : x) sum += value;
    if (!(sum > 0)) args.Refuse(flag + L": the mole fractions sum to 0");
    if (std::fabs(sum - 1.0) > 1e-9) {
        for (double& value : x) value /= sum;
        Note(flag + L" sums to " + FormatNumber(sum, 10) + L"; normalised to 1");
    }
    return x;
}

}  // namespace tarnevo::cli
