// CalcEquilibrium through the vtable for a two-phase T-P flash and a P-H flash of a
// five-component natural gas, against the same engine routine called directly: time per
// call and the share of it spent inside the engine.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "tests/flash/FlashFixture.h"

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

// Per-call time of `body` over `calls` calls, best of `rounds` (the machine is shared).
double PerCall(const std::function<void()>& body, int calls, int rounds) {
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        const double start = Seconds();
        for (int i = 0; i < calls; ++i) body();
        times.push_back((Seconds() - start) / calls);
    }
    return *std::min_element(times.begin(), times.end());
}

void Report(const char* name, double throughCom, double engine) {
    std::printf("%-28s %10.1f us/call  engine %10.1f us/call  engine share %5.1f %%  overhead %5.1f %%\n", name,
                throughCom * 1e6, engine * 1e6, 100 * engine / throughCom, 100 * (1 - engine / throughCom));
}

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
        const _variant_t t = Spec(L"temperature"), p = Spec(L"pressure"), h = Spec(L"enthalpy");
        _bstr_t unspecified(L"Unspecified");
        tarnevo::RefpropBinding& refprop = package->Refprop();
        std::vector<double> z = kNaturalGasFractions, x(5), y(5);
        double o = 0, q = 0;
        const int calls = 50, rounds = 5;

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
        material->ClearCalls();
        Report("T-P flash, two phases", PerCall(tpCom, calls, rounds), PerCall(tpEngine, calls, rounds));
        material->ClearCalls();
        Report("P-H flash, two phases", PerCall(phCom, calls, rounds), PerCall(phEngine, calls, rounds));
        std::printf("vapour fraction %.6f at 190 K, 3 MPa\n", state.q);
    } catch (const std::exception& failure) {
        std::printf("flash_bench failed: %s\n", failure.what());
        return 1;
    }
    return 0;
}
