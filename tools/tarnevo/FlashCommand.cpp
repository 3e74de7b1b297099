// tarnevo flash NAME --z ... and two specifications: the phases found, their fractions and
// compositions, then the main properties of each phase (CalcSinglePhaseProp on the flashed
// material). A property the package cannot give for a phase is shown as missing with a note.
// With --api 1.0 the flash and the properties go through the 1.0 thermo system's package.
#include <comdef.h>

#include <cmath>
#include <functional>

#include "tools/host/VariantValues.h"
#include "tools/tarnevo/CapeFailure.h"
#include "tools/tarnevo/CommandLine.h"
#include "tools/tarnevo/Commands.h"
#include "tools/tarnevo/Composition.h"
#include "tools/tarnevo/Flash.h"
#include "tools/tarnevo/MaterialValues.h"
#include "tools/tarnevo/Report.h"
#include "tools/tarnevo/Server.h"
#include "tools/tarnevo/Units.h"

namespace tarnevo::cli {
namespace {

const wchar_t* const kPhaseProperties[] = {
    L"density", L"molecularWeight", L"compressibilityFactor", L"enthalpy", L"entropy", L"heatCapacityCp",
    L"speedOfSound", L"viscosity", L"thermalConductivity",
};

const FlashVariable kVariables[] = {FlashVariable::T, FlashVariable::P, FlashVariable::H, FlashVariable::S,
                                    FlashVariable::U, FlashVariable::V, FlashVariable::Q};

std::vector<FlashSpecification> ReadSpecifications(const Arguments& args) {
    std::vector<FlashSpecification> specs;
    for (FlashVariable variable : kVariables) {
        if (auto value = args.OptionalNumber(VariableName(variable))) specs.push_back({variable, *value});
    }
    if (specs.size() != 2)
        args.Refuse(L"a flash needs exactly two of --T, --P, --H, --S, --U, --V, --Q (" +
                    std::to_wstring(specs.size()) + L" given)");
    return specs;
}

// Properties of one phase of the flashed material; missing values are NaN. `calculate` asks
// the package for names (throwing CapeFailure), `read` gives what it stored for one.
using Calculate = std::function<void(const std::vector<std::wstring>& names)>;
using Read = std::function<std::optional<std::vector<double>>(const std::wstring& name)>;

std::vector<double> PhaseProperties(const std::wstring& phase, const std::vector<std::wstring>& names,
                                    const Calculate& calculate, const Read& read) {
    std::vector<double> values(names.size(), NAN);
    auto take = [&](size_t k) {
        const auto written = read(names[k]);
        if (written && written->size() == 1) values[k] = (*written)[0];
    };
    try {
        calculate(names);
        for (size_t k = 0; k < names.size(); ++k) take(k);
        return values;
    } catch (const CapeFailure&) {
        // one at a time below, to tell which properties fail
    }
    for (size_t k = 0; k < names.size(); ++k) {
        try {
            calculate({names[k]});
            take(k);
        } catch (const CapeFailure& failure) {
            Note(phase + L" " + names[k] + L": " + failure.description());
        }
    }
    return values;
}

}  // namespace

int RunFlash(const Words& words) {
    const Arguments args = Arguments::Parse(words, L"flash",
                                            {{L"z", true}, {L"T", true}, {L"P", true}, {L"H", true}, {L"S", true},
                                             {L"U", true}, {L"V", true}, {L"Q", true}, {L"mass", false},
                                             {L"api", true}},
                                            1);
    const std::vector<FlashSpecification> specs = ReadSpecifications(args);
    const bool mass = args.Flag(L"mass");
    if (mass && specs[0].variable != FlashVariable::Q && specs[1].variable != FlashVariable::Q)
        args.Refuse(L"--mass applies to --Q only");
    const Api api = ApiOf(args);
    if (api == Api::V10 && mass) args.Refuse(L"--mass: the 1.0 interface has mole-basis vapour fractions only");
    if (api == Api::V10 && Flasher10::Key(specs[0], specs[1]).empty())
        args.Refuse(std::wstring(L"the 1.0 interface has no ") + VariableName(specs[0].variable) + L"-" +
                    VariableName(specs[1].variable) + L" flash");
    Server server(api);
    std::unique_ptr<Package> package = server.Open(args.Positional(0), args);
    const std::vector<std::wstring>& compounds = package->CompoundIds();
    const std::vector<double> z = ReadComposition(args, L"z", compounds);

    std::unique_ptr<Flasher> flasher;
    std::unique_ptr<Flasher10> flasher10;
    FlashResult result;
    if (api == Api::V10) {
        flasher10 = std::make_unique<Flasher10>(*package);
        result = flasher10->Run(specs[0], specs[1], z);
    } else {
        flasher = std::make_unique<Flasher>(*package);
        result = flasher->Run(specs[0], specs[1], z, mass);
    }

    Table state{L"state", {{L"quantity"}, {L"value", true}, {L"unit"}}};
    state.Add({Cell(L"flash"), Cell(std::wstring(VariableName(specs[0].variable)) + L"-" +
                                    VariableName(specs[1].variable)), Cell()});
    for (const auto& spec : specs) {
        std::wstring label = L"specified " + std::wstring(VariableName(spec.variable));
        if (spec.variable == FlashVariable::Q) label += mass ? L" (mass)" : L" (mole)";
        state.Add({Cell(label), Cell(spec.value), Cell(VariableUnit(spec.variable))});
    }
    state.Add({Cell(L"temperature"), Cell(result.temperature), Cell(L"K")});
    state.Add({Cell(L"pressure"), Cell(result.pressure), Cell(L"Pa")});

    Table phases{L"phases", {{L"phase"}, {L"phaseFraction (mole)", true}, {L"temperature (K)", true},
                             {L"pressure (Pa)", true}}};
    Table composition{L"composition", {{L"compound"}, {L"overall", true}}};
    for (const PhaseResult& phase : result.phases) {
        phases.Add({Cell(phase.label), Cell(phase.fraction), Cell(phase.temperature), Cell(phase.pressure)});
        composition.columns.push_back({phase.label, true});
    }
    for (size_t i = 0; i < compounds.size(); ++i) {
        std::vector<Cell> row{Cell(compounds[i]), Cell(z[i])};
        for (const PhaseResult& phase : result.phases)
            row.push_back(i < phase.composition.size() ? Cell(phase.composition[i]) : Cell());
        composition.Add(std::move(row));
    }

    const std::vector<std::wstring> names(std::begin(kPhaseProperties), std::end(kPhaseProperties));
    Table properties{L"properties", {{L"property"}, {L"unit"}}};
    std::vector<std::vector<double>> perPhase;
    for (const PhaseResult& phase : result.phases) {
        properties.columns.push_back({phase.label, true});
        const _variant_t phaseList = host::StringArray({phase.label});
        Calculate calculate = [&](const std::vector<std::wstring>& list) {
            if (flasher10) {
                ICapeThermoPropertyPackage* package10 = package->Version10();
                CheckCape(package10->CalcProp(flasher10->Material().Dispatch(), host::StringArray(list), phaseList,
                                              _bstr_t(L"Mixture")),
                          package10, L"CalcProp", L"ICapeThermoPropertyPackage");
                return;
            }
            ICapeThermoPropertyRoutine* routine = package->Routine();
            CheckCape(routine->CalcSinglePhaseProp(host::StringArray(list), _bstr_t(phase.label.c_str())), routine,
                      L"CalcSinglePhaseProp", L"ICapeThermoPropertyRoutine");
        };
        Read read = [&](const std::wstring& name) {
            return flasher10 ? Stored10(flasher10->Material(), name, phase.label)
                             : WrittenSinglePhase(flasher->Material(), name, phase.label);
        };
        perPhase.push_back(PhaseProperties(phase.label, names, calculate, read));
    }
    properties.columns.push_back({L"overall", true});
    for (size_t k = 0; k < names.size(); ++k) {
        std::vector<Cell> row{Cell(names[k]), Cell(SinglePhaseUnit(names[k]))};
        double overall = 0;
        for (size_t p = 0; p < perPhase.size(); ++p) {
            const double value = perPhase[p][k];
            row.push_back(std::isnan(value) ? Cell() : Cell(value));
            overall += result.phases[p].fraction * value;
        }
        // Molar enthalpy and entropy of the whole material: phase values weighted by mole fraction.
        const bool additive = names[k] == L"enthalpy" || names[k] == L"entropy" || names[k] == L"molecularWeight";
        row.push_back(additive && std::isfinite(overall) ? Cell(overall) : Cell());
        properties.Add(std::move(row));
    }
    WriteOut(Render({state, phases, composition, properties}, args.OutputFormat()));
    ReportMessages(*package);
    return 0;
}

}  // namespace tarnevo::cli
