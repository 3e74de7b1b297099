// tarnevo show NAME: the package's compounds with their constants, from GetCompoundList and
// GetCompoundConstant.
#include <comdef.h>

#include "com/CapeHResults.h"
#include "tools/host/VariantValues.h"
#include "tools/tarnevo/CapeFailure.h"
#include "tools/tarnevo/CommandLine.h"
#include "tools/tarnevo/Commands.h"
#include "tools/tarnevo/PackageFiles.h"
#include "tools/tarnevo/Report.h"
#include "tools/tarnevo/Server.h"

namespace tarnevo::cli {
namespace {

const wchar_t* const kConstants[] = {L"criticalTemperature", L"criticalPressure", L"criticalDensity",
                                     L"acentricFactor"};

Cell NumberOrMissing(const _variant_t& value) {
    if (value.vt == VT_EMPTY || value.vt == VT_NULL) return Cell();
    _variant_t source(value), copy;
    if (FAILED(VariantChangeType(&copy, &source, 0, VT_R8))) return Cell();
    return Cell(copy.dblVal);
}

Cell TextAt(const std::vector<std::wstring>& column, size_t i) {
    return i < column.size() && !column[i].empty() ? Cell(column[i]) : Cell();
}

// The package reports unknown numbers as the most negative double.
Cell NumberAt(const std::vector<double>& column, size_t i) {
    return i < column.size() && column[i] > -1e300 ? Cell(column[i]) : Cell();
}

}  // namespace

int RunShow(const Words& words) {
    const Arguments args = Arguments::Parse(words, L"show", {}, 1);
    Server server;
    std::unique_ptr<Package> package = server.Open(args.Positional(0), args);
    const CompoundList& list = package->List();

    std::vector<std::wstring> names(std::begin(kConstants), std::end(kConstants));
    _variant_t constants;
    const HRESULT hr = package->Compounds()->GetCompoundConstant(host::StringArray(names), host::StringArray({}),
                                                                 &constants);
    if (hr != ECapeThrmPropertyNotAvailableHR)
        CheckCape(hr, package->Compounds(), L"GetCompoundConstant", L"ICapeThermoCompounds");
    std::vector<_variant_t> values;
    try {
        values = host::ReadVariants(constants);
    } catch (const host::ValueError& error) {
        throw ProgramFailure(L"GetCompoundConstant returned an unexpected value: " + error.message());
    }
    const size_t n = list.ids.size();
    if (values.size() != names.size() * n)
        throw ProgramFailure(L"GetCompoundConstant returned " + std::to_wstring(values.size()) + L" values for " +
                          std::to_wstring(names.size() * n));

    // The definition's description and model type (the package's own description when it has one).
    DefinitionSummary summary = ReadDefinitionSummary(package->Name());
    const std::wstring description = package->Description();
    if (!description.empty()) summary.description = description;
    Table header{L"package", {{L"name"}, {L"description"}, {L"model"}, {L"compounds", true}}};
    header.Add({Cell(package->Name()), Cell(summary.description), Cell(summary.modelType),
                Cell(static_cast<double>(n))});
    Table compounds{L"compounds",
                    {{L"compound"}, {L"formula"}, {L"molecularWeight (g/mol)", true},
                     {L"normalBoilingPoint (K)", true}, {L"casRegistryNumber"}, {L"criticalTemperature (K)", true},
                     {L"criticalPressure (Pa)", true}, {L"criticalDensity (mol/m3)", true},
                     {L"acentricFactor", true}}};
    for (size_t i = 0; i < n; ++i) {
        std::vector<Cell> row{Cell(list.ids[i]), TextAt(list.formulae, i), NumberAt(list.molecularWeights, i),
                              NumberAt(list.boilingPoints, i), TextAt(list.casNumbers, i)};
        for (size_t k = 0; k < names.size(); ++k) row.push_back(NumberOrMissing(values[k * n + i]));
        compounds.Add(std::move(row));
    }
    WriteOut(Render({header, compounds}, args.OutputFormat()));
    ReportMessages(*package);
    return 0;
}

}  // namespace tarnevo::cli
