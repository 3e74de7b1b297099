// tarnevo tdep NAME --T K: temperature-dependent properties per compound through
// GetTDependentProperty. A compound whose request fails (saturation above its critical
// temperature, for instance) is asked again property by property; what still fails is shown
// as missing with a note. The command fails only when nothing could be computed.
#include <comdef.h>

#include <cmath>
#include <optional>

#include "com/CapeHResults.h"
#include "tools/host/VariantValues.h"
#include "tools/tarnevo/CapeFailure.h"
#include "tools/tarnevo/CommandLine.h"
#include "tools/tarnevo/Commands.h"
#include "tools/tarnevo/Report.h"
#include "tools/tarnevo/Server.h"
#include "tools/tarnevo/Units.h"

namespace tarnevo::cli {
namespace {

const wchar_t* const kDefaultProperties[] = {
    L"vaporPressure", L"heatOfVaporization", L"volumeOfLiquid", L"heatCapacityOfLiquid", L"idealGasHeatCapacity",
    L"idealGasEnthalpy", L"viscosityOfLiquid", L"thermalConductivityOfLiquid", L"surfaceTensionSatLiquid",
};

// One GetTDependentProperty call: values property-major, or the failure.
std::vector<double> Request(Package& package, const std::vector<std::wstring>& props, double temperature,
                            const std::vector<std::wstring>& compounds) {
    _variant_t values;
    ICapeThermoCompounds* object = package.Compounds();
    const HRESULT hr = object->GetTDependentProperty(host::StringArray(props), temperature,
                                                     host::StringArray(compounds), &values);
    if (hr != ECapeThrmPropertyNotAvailableHR) CheckCape(hr, object, L"GetTDependentProperty", L"ICapeThermoCompounds");
    try {
        std::vector<double> read = host::ReadDoubles(values);
        if (read.size() != props.size() * compounds.size())
            throw ProgramFailure(L"GetTDependentProperty returned " + std::to_wstring(read.size()) + L" values for " +
                              std::to_wstring(props.size() * compounds.size()));
        return read;
    } catch (const host::ValueError& error) {
        throw ProgramFailure(L"GetTDependentProperty returned an unexpected value: " + error.message());
    }
}

}  // namespace

int RunTdep(const Words& words) {
    const Arguments args =
        Arguments::Parse(words, L"tdep", {{L"T", true}, {L"props", true}, {L"compounds", true}}, 1);
    const double temperature = args.Number(L"T");
    std::vector<std::wstring> props = args.List(L"props");
    if (!args.Has(L"props")) props.assign(std::begin(kDefaultProperties), std::end(kDefaultProperties));
    if (props.empty()) args.Refuse(L"--props is empty");
    Server server;
    std::unique_ptr<Package> package = server.Open(args.Positional(0), args);
    // Named compounds take the package's spelling; names it does not know go to the package as given.
    std::vector<std::wstring> compounds = args.List(L"compounds");
    if (compounds.empty()) compounds = package->CompoundIds();
    for (std::wstring& compound : compounds) {
        for (const std::wstring& id : package->CompoundIds()) {
            if (host::EqualsNoCase(id, compound)) compound = id;
        }
    }

    // values[k][c]: property k of compound c.
    std::vector<std::vector<double>> values(props.size(), std::vector<double>(compounds.size(), NAN));
    std::optional<CapeFailure> lastFailure;
    bool any = false;
    for (size_t c = 0; c < compounds.size(); ++c) {
        try {
            const std::vector<double> got = Request(*package, props, temperature, {compounds[c]});
            for (size_t k = 0; k < props.size(); ++k) values[k][c] = got[k];
            any = true;
            continue;
        } catch (const CapeFailure& failure) {
            if (props.size() == 1) {
                Note(compounds[c] + L": " + failure.description());
                lastFailure = failure;
                continue;
            }
        }
        for (size_t k = 0; k < props.size(); ++k) {
            try {
                values[k][c] = Request(*package, {props[k]}, temperature, {compounds[c]})[0];
                any = true;
            } catch (const CapeFailure& failure) {
                Note(compounds[c] + L" " + props[k] + L": " + failure.description());
                lastFailure = failure;
            }
        }
    }
    if (!any && lastFailure) throw *lastFailure;

    Table state{L"state", {{L"quantity"}, {L"value", true}, {L"unit"}}};
    state.Add({Cell(L"temperature"), Cell(temperature), Cell(L"K")});
    Table table{L"properties", {{L"property"}, {L"unit"}}};
    for (const std::wstring& compound : compounds) table.columns.push_back({compound, true});
    for (size_t k = 0; k < props.size(); ++k) {
        std::vector<Cell> row{Cell(props[k]), Cell(TDependentUnit(props[k]))};
        for (double value : values[k]) row.push_back(std::isnan(value) ? Cell() : Cell(value));
        table.Add(std::move(row));
    }
    WriteOut(Render({state, table}, args.OutputFormat()));
    ReportMessages(*package);
    return 0;
}

}  // namespace tarnevo::cli
