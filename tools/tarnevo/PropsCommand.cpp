// tarnevo props NAME --phase ... --T ... --P ... --x ...: single-phase properties of one
// phase state through CalcSinglePhaseProp on the host's material, or with --api 1.0 through
// the 1.0 CalcProp on a 1.0 material.
#include <comdef.h>

#include <functional>

#include "tools/host/VariantValues.h"
#include "tools/tarnevo/CapeFailure.h"
#include "tools/tarnevo/CommandLine.h"
#include "tools/tarnevo/Commands.h"
#include "tools/tarnevo/Composition.h"
#include "tools/tarnevo/MaterialValues.h"
#include "tools/tarnevo/PhaseProperties.h"
#include "tools/tarnevo/Report.h"
#include "tools/tarnevo/Server.h"
#include "tools/tarnevo/Units.h"

namespace tarnevo::cli {
namespace {

const wchar_t* const kDefaultProperties[] = {
    L"density", L"volume", L"compressibilityFactor", L"enthalpy", L"entropy", L"internalEnergy",
    L"gibbsEnergy", L"heatCapacityCp", L"heatCapacityCv", L"speedOfSound", L"jouleThomsonCoefficient",
    L"viscosity", L"thermalConductivity", L"molecularWeight", L"fugacityCoefficient",
};

std::wstring PhaseLabel(const Arguments& args) {
    const std::wstring phase = args.RequiredText(L"phase");
    for (const wchar_t* label : {L"Vapor", L"Liquid"}) {
        if (host::EqualsNoCase(phase, label)) return label;
    }
    args.Refuse(L"--phase: \"" + phase + L"\" is neither Vapor nor Liquid");
}

std::vector<std::wstring> RequestedProperties(const Arguments& args) {
    std::vector<std::wstring> names = args.List(L"props");
    if (!args.Has(L"props")) names.assign(std::begin(kDefaultProperties), std::end(kDefaultProperties));
    if (names.empty()) args.Refuse(L"--props is empty");
    if (args.Flag(L"derivatives")) {
        const std::vector<std::wstring> bases = names;
        for (const std::wstring& name : bases) {
            if (name.find(L'.') != std::wstring::npos || host::EqualsNoCase(name, L"molecularWeight")) continue;
            names.push_back(name + L".Dtemperature");
            names.push_back(name + L".Dpressure");
        }
    }
    return names;
}

}  // namespace

int RunProps(const Words& words) {
    const Arguments args = Arguments::Parse(words, L"props",
                                            {{L"phase", true}, {L"T", true}, {L"P", true}, {L"x", true},
                                             {L"props", true}, {L"derivatives", false}, {L"api", true}},
                                            1);
    const std::wstring phase = PhaseLabel(args);
    const double temperature = args.Number(L"T");
    const double pressure = args.Number(L"P");
    const std::vector<std::wstring> names = RequestedProperties(args);
    const Api api = ApiOf(args);
    Server server(api);
    std::unique_ptr<Package> package = server.Open(args.Positional(0), args);
    const std::vector<std::wstring>& compounds = package->CompoundIds();
    const std::vector<double> x = ReadComposition(args, L"x", compounds);

    std::function<std::optional<std::vector<double>>(const std::wstring&)> written;
    host::CHostMaterial::Ptr material;
    host::CHostMaterial10::Ptr material10;
    if (api == Api::V10) {
        material10 = host::CHostMaterial10::Create(compounds);
        material10->Put(L"temperature", L"overall", {temperature});
        material10->Put(L"pressure", L"overall", {pressure});
        material10->Put(L"fraction", phase, x, L"mole");
        ICapeThermoPropertyPackage* package10 = package->Version10();
        CheckCape(package10->CalcProp(material10->Dispatch(), host::StringArray(names), host::StringArray({phase}),
                                      _bstr_t(L"Mixture")),
                  package10, L"CalcProp", L"ICapeThermoPropertyPackage");
        written = [&](const std::wstring& name) { return Stored10(*material10.Get(), name, phase); };
    } else {
        material = package->NewMaterial();
        material->PutPhaseState(phase, temperature, pressure, x);
        material->PutPresentPhases({phase});
        ICapeThermoPropertyRoutine* routine = package->Routine();
        CheckCape(routine->CalcSinglePhaseProp(host::StringArray(names), _bstr_t(phase.c_str())), routine,
                  L"CalcSinglePhaseProp", L"ICapeThermoPropertyRoutine");
        written = [&](const std::wstring& name) { return WrittenSinglePhase(*material.Get(), name, phase); };
    }

    Table state{L"state", {{L"quantity"}, {L"value", true}, {L"unit"}}};
    state.Add({Cell(L"phase"), Cell(phase), Cell()});
    state.Add({Cell(L"temperature"), Cell(temperature), Cell(L"K")});
    state.Add({Cell(L"pressure"), Cell(pressure), Cell(L"Pa")});
    for (size_t i = 0; i < compounds.size(); ++i) state.Add({Cell(L"x " + compounds[i]), Cell(x[i]), Cell(L"-")});

    Table properties{L"properties", {{L"property"}, {L"compound"}, {L"by"}, {L"value", true}, {L"unit"}}};
    for (const std::wstring& name : names) {
        const auto values = written(name);
        AddPropertyRows(properties, name, values ? *values : std::vector<double>(), compounds,
                        SinglePhaseUnit(name));
    }
    WriteOut(Render({state, properties}, args.OutputFormat()));
    ReportMessages(*package);
    return 0;
}

}  // namespace tarnevo::cli
