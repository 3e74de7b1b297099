#include "tools/tarnevo/Units.h"

#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "tools/host/VariantValues.h"

namespace tarnevo::cli {
namespace {

// numerator / denominator, each a blank-separated list of unit symbols.
struct Unit {
    std::wstring numerator;
    std::wstring denominator;
};

const std::map<std::wstring, Unit>& SinglePhaseUnits() {
    static const std::map<std::wstring, Unit> units = {
        {L"compressibility", {L"1", L"Pa"}},
        {L"compressibilityfactor", {L"-", L""}},
        {L"density", {L"mol", L"m3"}},
        {L"enthalpy", {L"J", L"mol"}},
        {L"entropy", {L"J", L"mol K"}},
        {L"fugacity", {L"Pa", L""}},
        {L"fugacitycoefficient", {L"-", L""}},
        {L"gibbsenergy", {L"J", L"mol"}},
        {L"gibbsfreeenergy", {L"J", L"mol"}},
        {L"heatcapacitycp", {L"J", L"mol K"}},
        {L"heatcapacity", {L"J", L"mol K"}},
        {L"heatcapacitycv", {L"J", L"mol K"}},
        {L"helmholtzenergy", {L"J", L"mol"}},
        {L"helmholtzfreeenergy", {L"J", L"mol"}},
        {L"internalenergy", {L"J", L"mol"}},
        {L"energy", {L"J", L"mol"}},
        {L"joulethomsoncoefficient", {L"K", L"Pa"}},
        {L"logfugacitycoefficient", {L"-", L""}},
        {L"speedofsound", {L"m", L"s"}},
        {L"thermalconductivity", {L"W", L"m K"}},
        {L"viscosity", {L"Pa s", L""}},
        {L"volume", {L"m3", L"mol"}},
        {L"molecularweight", {L"g", L"mol"}},
    };
    return units;
}

const std::map<std::wstring, Unit>& TDependentUnits() {
    static const std::map<std::wstring, Unit> units = {
        {L"vaporpressure", {L"Pa", L""}},
        {L"vaporpressure.dtemperature", {L"Pa", L"K"}},
        {L"fugacitycoefficientofvapor", {L"-", L""}},
        {L"heatcapacityofliquid", {L"J", L"mol K"}},
        {L"heatofvaporization", {L"J", L"mol"}},
        {L"surfacetensionsatliquid", {L"N", L"m"}},
        {L"thermalconductivityofliquid", {L"W", L"m K"}},
        {L"thermalconductivityofvapor", {L"W", L"m K"}},
        {L"virialcoefficient", {L"m3", L"mol"}},
        {L"virialcoefficient.dtemperature", {L"m3", L"mol K"}},
        {L"idealgasenthalpy", {L"J", L"mol"}},
        {L"idealgasenthalpy.dtemperature", {L"J", L"mol K"}},
        {L"idealgasentropy", {L"J", L"mol K"}},
        {L"idealgasheatcapacity", {L"J", L"mol K"}},
        {L"viscosityofliquid", {L"Pa s", L""}},
        {L"viscosityofvapor", {L"Pa s", L""}},
        {L"volumechangeuponvaporization", {L"m3", L"mol"}},
        {L"volumeofliquid", {L"m3", L"mol"}},
    };
    return units;
}

// "J/(mol K2)" style text; repeated symbols in the denominator become powers.
std::wstring Render(const Unit& unit) {
    if (unit.denominator.empty()) return unit.numerator;
    std::vector<std::pair<std::wstring, int>> symbols;
    std::wistringstream words(unit.denominator);
    for (std::wstring symbol; words >> symbol;) {
        bool found = false;
        for (auto& entry : symbols) {
            if (entry.first == symbol) ++entry.second, found = true;
        }
        if (!found) symbols.emplace_back(symbol, 1);
    }
    std::wstring denominator;
    for (const auto& [symbol, power] : symbols) {
        if (!denominator.empty()) denominator += L' ';
        denominator += symbol + (power > 1 ? std::to_wstring(power) : L"");
    }
    const std::wstring numerator = unit.numerator == L"-" ? L"1" : unit.numerator;
    const bool group = symbols.size() > 1;
    const bool groupNumerator = numerator.find(L' ') != std::wstring::npos;
    return (groupNumerator ? L"(" + numerator + L")" : numerator) + L"/" + (group ? L"(" : L"") + denominator +
           (group ? L")" : L"");
}

// The unit divided by `symbol`; a numerator symbol that it matches cancels (Pa s / Pa = s).
Unit Divided(Unit unit, const wchar_t* symbol) {
    std::wistringstream words(unit.numerator);
    std::vector<std::wstring> numerator;
    for (std::wstring word; words >> word;) numerator.push_back(word);
    for (auto it = numerator.begin(); it != numerator.end(); ++it) {
        if (*it == symbol) {
            numerator.erase(it);
            std::wstring joined;
            for (const auto& word : numerator) joined += (joined.empty() ? L"" : L" ") + word;
            unit.numerator = joined.empty() ? (unit.denominator.empty() ? L"-" : L"1") : joined;
            return unit;
        }
    }
    unit.denominator = unit.denominator.empty() ? symbol : unit.denominator + L" " + symbol;
    return unit;
}

}  // namespace

std::wstring SinglePhaseUnit(const std::wstring& property) {
    const std::wstring name = host::AsciiLower(property);
    const size_t dot = name.find(L'.');
    const auto found = SinglePhaseUnits().find(name.substr(0, dot));
    if (found == SinglePhaseUnits().end()) return std::wstring();
    const Unit& base = found->second;
    if (dot == std::wstring::npos) return Render(base);
    const std::wstring form = name.substr(dot);
    if (form == L".dtemperature") return Render(Divided(base, L"K"));
    if (form == L".dpressure") return Render(Divided(base, L"Pa"));
    if (form == L".dmoles") return Render(Divided(base, L"mol"));
    if (form == L".dmolfraction") return Render(base);
    return std::wstring();
}

std::wstring TDependentUnit(const std::wstring& property) {
    const auto found = TDependentUnits().find(host::AsciiLower(property));
    return found == TDependentUnits().end() ? std::wstring() : Render(found->second);
}

}  // namespace tarnevo::cli
