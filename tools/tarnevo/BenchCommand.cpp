// tarnevo bench NAME: the timings of the property and flash requests a simulator issues most,
// through the vtable on the host's material: time per request and the shares of that time in
// the engine, the server, this host and the rest (from stack samples, see StackSampler).
//   single-phase properties of the gas: density, enthalpy, entropy, heatCapacityCp, viscosity,
//   fugacityCoefficient; the same with their .Dtemperature, .Dpressure and .Dmoles forms;
//   a two-phase T-P flash; a P-H flash of the same state. The material calls of the first
//   request, issued alone, cross-check the host share.
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
#include "tools/tarnevo/StackSampler.h"
#include "tools/tarnevo/Text.h"

namespace tarnevo::cli {
namespace {

const wchar_t* const kBenchProperties[] = {L"density",        L"enthalpy",  L"entropy",
                                           L"heatCapacityCp", L"viscosity", L"fugacityCoefficient"};

double Seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

struct Measurement {
    long calls = 0;
    double seconds = 0;
    SampleCounts samples;
};

// Runs `request` repeatedly for about `duration` seconds (at least 3 calls) under the sampler.
Measurement Measure(const std::function<void()>& request, double duration) {
    request();  // warm-up: first-call costs are not the steady state
    StackSampler sampler;
    Measurement m;
    sampler.Start();
    const double start = Seconds();
    do {
        request();
        ++m.calls;
        m.seconds = Seconds() - start;
    } while (m.seconds < duration || m.calls < 3);
    m.samples = sampler.Stop();
    return m;
}

std::vector<std::wstring> WithForms(const std::vector<std::wstring>& names) {
    std::vector<std::wstring> all = names;
    for (const auto& name : names)
        for (const wchar_t* form : {L".Dtemperature", L".Dpressure", L".Dmoles"}) all.push_back(name + form);
    return all;
}

double Share(long part, long total) { return total > 0 ? 100.0 * part / total : NAN; }

}  // namespace

int RunBench(const Words& words) {
    const Arguments args = Arguments::Parse(
        words, L"bench", {{L"z", true}, {L"T", true}, {L"P", true}, {L"seconds", true}}, 1);
    const double temperature = args.OptionalNumber(L"T").value_or(300.0);
    const double pressure = args.OptionalNumber(L"P").value_or(5e6);
    const double duration = args.OptionalNumber(L"seconds").value_or(2.0);
    if (!(duration > 0) || duration > 600) args.Refuse(L"--seconds must lie between 0 and 600");
    Server server;
    std::unique_ptr<Package> package = server.Open(args.Positional(0), args);
    const std::vector<std::wstring>& compounds = package->CompoundIds();
    std::vector<double> z;
    if (args.Has(L"z")) {
        z = ReadComposition(args, L"z", compounds);
    } else {
        z.assign(compounds.size(), 1.0 / compounds.size());
    }

    Table table{L"bench", {{L"request"}, {L"calls", true}, {L"time per call (us)", true}, {L"engine %", true},
                           {L"server %", true}, {L"host %", true}, {L"other %", true}, {L"samples", true}}};
    auto add = [&](const std::wstring& name, const Measurement& m) {
        const long total = m.samples.Total();
        table.Add({Cell(name), Cell(static_cast<double>(m.calls)), Cell(1e6 * m.seconds / m.calls),
                   Cell(Share(m.samples.engine, total)), Cell(Share(m.samples.server, total)),
                   Cell(Share(m.samples.host, total)), Cell(Share(m.samples.other, total)),
                   Cell(static_cast<double>(total))});
    };
    Progress progress(L"bench: request", 5);

    // Single-phase properties of the vapour at (T, P, z).
    {
        host::CHostMaterial::Ptr material = package->NewMaterial();
        material->PutPhaseState(L"Vapor", temperature, pressure, z);
        material->PutPresentPhases({L"Vapor"});
        ICapeThermoPropertyRoutine* routine = package->Routine();
        const _bstr_t vapor(L"Vapor");
        const std::vector<std::wstring> names(std::begin(kBenchProperties), std::end(kBenchProperties));
        int step = 0;
        for (const auto& [label, props] : {std::make_pair(std::wstring(L"CalcSinglePhaseProp (6 properties)"), names),
                                           std::make_pair(std::wstring(L"CalcSinglePhaseProp (6 + T, P, n derivatives)"),
                                                          WithForms(names))}) {
            const _variant_t list = host::StringArray(props);
            add(label, Measure([&] {
                    material->ClearCalls();
                    CheckCape(routine->CalcSinglePhaseProp(list, vapor), routine, L"CalcSinglePhaseProp",
                              L"ICapeThermoPropertyRoutine");
                }, duration));
            progress.Step(++step);
            if (step == 1) {
                // Cross-check of the host share: the material calls of that request issued directly.
                std::vector<const host::StoredProperty*> written;
                for (const host::StoredProperty* stored : material->Store().Properties()) {
                    const std::wstring& name = stored->property;
                    if (stored->scope == host::PropertyScope::SinglePhase && !host::EqualsNoCase(name, L"temperature") &&
                        !host::EqualsNoCase(name, L"pressure") && !host::EqualsNoCase(name, L"fraction"))
                        written.push_back(stored);
                }
                add(L"host material alone (the calls of the first request)", Measure([&] {
                        material->ClearCalls();
                        double t = 0, p = 0;
                        _variant_t x;
                        material->GetTPFraction(vapor, &t, &p, &x);
                        for (const host::StoredProperty* stored : written)
                            material->SetSinglePhaseProp(_bstr_t(stored->property.c_str()), vapor,
                                                         _bstr_t(stored->basis.c_str()), stored->values);
                    }, duration));
                progress.Step(++step);
            }
        }
    }

    // A two-phase state at P: the temperature halfway between bubble and dew (Q = 0.5).
    Flasher flasher(*package);
    const FlashResult half = flasher.Run({FlashVariable::P, pressure}, {FlashVariable::Q, 0.5}, z, false);
    const double t2 = half.temperature;
    add(L"CalcEquilibrium T-P (two-phase)", Measure([&] {
            flasher.Run({FlashVariable::T, t2}, {FlashVariable::P, pressure}, z, false);
        }, duration));
    progress.Step(4);
    // Its molar enthalpy from the phase enthalpies, then the P-H flash that finds it again.
    double enthalpy = 0;
    ICapeThermoPropertyRoutine* routine = package->Routine();
    const FlashResult again = flasher.Run({FlashVariable::P, pressure}, {FlashVariable::Q, 0.5}, z, false);
    for (const PhaseResult& phase : again.phases) {
        CheckCape(routine->CalcSinglePhaseProp(host::StringArray({L"enthalpy"}), _bstr_t(phase.label.c_str())),
                  routine, L"CalcSinglePhaseProp", L"ICapeThermoPropertyRoutine");
        const auto h = WrittenSinglePhase(flasher.Material(), L"enthalpy", phase.label);
        if (!h || h->size() != 1) throw ProgramFailure(L"no enthalpy for the " + phase.label + L" phase");
        enthalpy += phase.fraction * (*h)[0];
    }
    add(L"CalcEquilibrium P-H (two-phase)", Measure([&] {
            flasher.Run({FlashVariable::P, pressure}, {FlashVariable::H, enthalpy}, z, false);
        }, duration));
    progress.Step(5);

    Table state{L"state", {{L"quantity"}, {L"value", true}, {L"unit"}}};
    state.Add({Cell(L"temperature (properties)"), Cell(temperature), Cell(L"K")});
    state.Add({Cell(L"temperature (flashes, Q = 0.5)"), Cell(t2), Cell(L"K")});
    state.Add({Cell(L"pressure"), Cell(pressure), Cell(L"Pa")});
    state.Add({Cell(L"enthalpy (P-H flash)"), Cell(enthalpy), Cell(L"J/mol")});
    WriteOut(Render({state, table}, args.OutputFormat()));
    ReportMessages(*package);
    return 0;
}

}  // namespace tarnevo::cli
