// CalcEquilibrium through the vtable for a two-phase T-P flash and a P-H flash of a
// five-component natural gas, against the same engine routine called directly: time per
// call and the share of it spent inside the engine.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "package/FlashExecution.h"
#include "package/FlashSpecification.h"
#include "tests/flash/FlashFixture.h"
#include "tools/host/VariantValues.h"

using namespace tarnevo_test;

namespace {

double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The host materials' call records, emptied before each round so their growth is not timed.
std::vector<tarnevo::host::CHostMaterial*> recordingMaterials;

// Per-call time of `body` over `calls` calls, best of `rounds` (the machine is shared).
double PerCall(const std::function<void()>& body, int calls, int rounds) {
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        for (auto* material : recordingMaterials) material->ClearCalls();
        const double start = Seconds();
        for (int i = 0; i < calls; ++i) body();
        times.push_back((Seconds() - start) / calls);
    }
    return *std::min_element(times.begin(), times.end());
}

// Time through COM, in the engine, and in the host material answering the flash's calls;
// the server's own share is what remains.
void Report(const char* name, double throughCom, double engine, double host) {
    const double own = throughCom - engine - host;
    std::printf("%-24s %8.1f us/call: engine %8.1f us (%4.1f %%), host material %6.1f us (%4.1f %%), "
                "server %6.1f us (%4.1f %%)\n",
                name, throughCom * 1e6, engine * 1e6, 100 * engine / throughCom, host * 1e6, 100 * host / throughCom,
                own * 1e6, 100 * own / throughCom);
}

// The material calls of one two-phase flash with `reads` (method, property, basis), made
// directly: the host's part of a CalcEquilibrium call.
struct HostCalls {
    ICapeThermoMaterial* m;
    bool tp;
    _bstr_t fraction{L"fraction"}, mole{L"mole"}, pressure{L"pressure"}, enthalpy{L"enthalpy"},
        temperature{L"temperature"}, phaseFraction{L"phaseFraction"}, vapor{L"Vapor"}, liquid{L"Liquid"};
    _variant_t labels = tarnevo::host::StringArray({L"Vapor", L"Liquid"});
    _variant_t status = tarnevo::host::LongArray({1, 1});
    _variant_t scalar = tarnevo::host::DoubleArray({1.0});
    _variant_t vector = tarnevo::host::DoubleArray({0.2, 0.2, 0.2, 0.2, 0.2});
    void operator()() {
        _variant_t a, b;
        m->GetPresentPhases(&a, &b);
        _variant_t c, d, e;
        if (tp) {
            double t, p;
            m->GetOverallTPFraction(&t, &p, &c);
        } else {
            m->GetOverallProp(fraction, mole, &c);
            m->GetOverallProp(pressure, nullptr, &d);
            m->GetOverallProp(enthalpy, mole, &e);
        }
        m->SetPresentPhases(labels, status);
        for (BSTR phase : {static_cast<BSTR>(vapor), static_cast<BSTR>(liquid)}) {
            m->SetSinglePhaseProp(temperature, phase, nullptr, scalar);
            m->SetSinglePhaseProp(pressure, phase, nullptr, scalar);
            m->SetSinglePhaseProp(fraction, phase, mole, vector);
            m->SetSinglePhaseProp(phaseFraction, phase, mole, scalar);
        }
        if (!tp) m->SetOverallProp(temperature, nullptr, scalar);
    }
};

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    try {
        FlashStore::Get(L"REFPROP");
        PackagePtr package = FlashStore::Get().Package(L"NaturalGas");
        const FlashPackage::Overall state = package->EngineTP(190, 3e6, kNaturalGasFractions);
        auto material = MakeMaterial(kNaturalGas, 190, 3e6, kNaturalGasFractions);
        material->PutOverall(L"enthalpy", L"mole", {state.h});

        Microsoft::WRL::ComPtr<ICapeThermoMaterialContext> context;
        Microsoft::WRL::ComPtr<ICapeThermoEquilibriumRoutine> routine;
        package.As(&context);
        package.As(&routine);
        context->SetMaterial(material->Dispatch());
        const _variant_t t = Given(L"temperature"), p = Given(L"pressure"), h = Given(L"enthalpy");
        _bstr_t unspecified(L"Unspecified");
        tarnevo::RefpropBinding& refprop = package->Refprop();
        std::vector<double> z = kNaturalGasFractions, x(5), y(5);
        double o = 0, q = 0;
        const int calls = 40, rounds = 15;

        auto tpCom = [&] {
            if (routine->CalcEquilibrium(t, p, unspecified) != S_OK) throw std::runtime_error("T-P flash failed");
        };
        auto tpEngine = [&] {
            double tt = 190, pp = 3000;
            refprop.Flash(refprop.routines.TPFLSHdll, &tt, &pp, z.data(), &o, &o, &o, x.data(), y.data(), &q, &o, &o,
                          &o, &o, &o, &o);
        };
        auto phCom = [&] {
            if (routine->CalcEquilibrium(p, h, unspecified) != S_OK) throw std::runtime_error("P-H flash failed");
        };
        auto phEngine = [&] {
            double pp = 3000, hh = state.h, tt = 0;
            refprop.Flash(refprop.routines.PHFLSHdll, &pp, &hh, z.data(), &tt, &o, &o, &o, x.data(), y.data(), &q, &o,
                          &o, &o, &o, &o);
        };
        tpCom();
        phCom();
        // A copy of the material answers the direct calls, so the flash's inputs stay intact.
        auto scratch = MakeMaterial(kNaturalGas, 190, 3e6, kNaturalGasFractions);
        scratch->PutOverall(L"enthalpy", L"mole", {state.h});
        HostCalls tpHost{scratch->Material(), true}, phHost{scratch->Material(), false};
        recordingMaterials = {material.Get(), scratch.Get()};
        material->ClearCalls();
        Report("T-P flash, two phases", PerCall(tpCom, calls, rounds), PerCall(tpEngine, calls, rounds),
               PerCall(std::ref(tpHost), calls, rounds));
        material->ClearCalls();
        scratch->ClearCalls();
        Report("P-H flash, two phases", PerCall(phCom, calls, rounds), PerCall(phEngine, calls, rounds),
               PerCall(std::ref(phHost), calls, rounds));
        auto core = [&] {
            tarnevo::FlashValues v;
            v.T = 190;
            v.P = 3000;
            tarnevo::RunFlashRoutine(refprop, nullptr, tarnevo::FlashType::TP, tarnevo::FlashRoute::TwoPhase, v, z, x,
                                     y);
            tarnevo::DecidePresentPhases(tarnevo::FlashType::TP, v.q);
        };
        std::printf("T-P flash core alone: %.1f us/call, engine alone %.1f us/call\n", 1e6 * PerCall(core, calls, rounds),
                    1e6 * PerCall(tpEngine, calls, rounds));
        auto parse = [&] {
            std::wstring error;
            tarnevo::ParseFlashSpecification(t, p, unspecified, error);
        };
        std::printf("ParseFlashSpecification: %.2f us/call\n", 1e6 * PerCall(parse, 1000, rounds));
        // One listed phase: a T-P flash calls no routine, so this is the server and the host alone.
        auto liquid = MakeMaterial(kNaturalGas, 190, 3e6, kNaturalGasFractions, {L"Liquid"});
        context->SetMaterial(liquid->Dispatch());
        recordingMaterials = {liquid.Get()};
        std::printf("T-P flash, one listed phase (no routine): %.1f us/call\n", 1e6 * PerCall(tpCom, calls, rounds));
        std::printf("vapour fraction %.6f at 190 K, 3 MPa\n", state.q);
    } catch (const std::exception& failure) {
        std::printf("flash_bench failed: %s\n", failure.what());
        return 1;
    }
    return 0;
}
