// The 1.0 calls (CalcProp, CalcEquilibrium) against the 1.1 calls for the same request on
// the same package and state: time per call and the 1.0 surcharge.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "tests/flash/FlashFixture.h"
#include "tools/host/HostMaterial10.h"
#include "tools/host/VariantValues.h"

using namespace tarnevo_test;
namespace host = tarnevo::host;

namespace {

double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Per-call time of `body`, best of 25 short rounds (the machine is shared); `clear` empties the
// materials' call records before each round.
double PerCall(const std::function<HRESULT()>& body, const std::function<void()>& clear, int calls) {
    double best = 1e9;
    for (int r = 0; r < 25; ++r) {
        clear();
        const double start = Seconds();
        for (int i = 0; i < calls; ++i)
            if (FAILED(body())) std::printf("call failed\n");
        best = std::min(best, (Seconds() - start) / calls);
    }
    return best;
}

void Report(const char* name, double v11, double v10) {
    std::printf("%-34s 1.1 %8.1f us/call, 1.0 %8.1f us/call: %+5.1f %%\n", name, v11 * 1e6, v10 * 1e6,
                100 * (v10 / v11 - 1));
}

// The same, and the share of the server alone: the host material's part of each call
// (`host11`, `host10`: its calls made directly) taken out.
void Report(const char* name, double v11, double v10, double host11, double host10) {
    Report(name, v11, v10);
    std::printf("%-34s 1.1 %8.1f us/call, 1.0 %8.1f us/call: %+5.1f %%\n", "  without the host material",
                (v11 - host11) * 1e6, (v10 - host10) * 1e6, 100 * ((v10 - host10) / (v11 - host11) - 1));
}

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        PackagePtr package = FlashStore::Get(L"REFPROP").Package(L"NaturalGas");
        ICapeThermoPropertyPackage* p10 = package.Get();
        const auto o = package->EngineTP(190, 3e6, kNaturalGasFractions);
        auto m11 = MakeMaterial(kNaturalGas, 190, 3e6, kNaturalGasFractions);
        m11->PutPhaseState(L"Vapor", 190, 3e6, o.y);
        m11->PutPhaseState(L"Liquid", 190, 3e6, o.x);
        m11->PutOverall(L"enthalpy", L"mole", {o.h});
        auto m10 = host::CHostMaterial10::Create(kNaturalGas);
        m10->Put(L"temperature", L"overall", {190});
        m10->Put(L"pressure", L"overall", {3e6});
        m10->Put(L"fraction", L"overall", kNaturalGasFractions, L"mole");
        m10->Put(L"fraction", L"Vapor", o.y, L"mole");
        m10->Put(L"fraction", L"Liquid", o.x, L"mole");
        m10->Put(L"enthalpy", L"overall", {o.h}, L"mole", L"mixture");
        package->SetMaterial(m11->Dispatch());
        auto clear = [&] {
            m11->ClearCalls();
            m10->ClearCalls();
        };
        const _variant_t props = host::StringArray({L"density", L"enthalpy", L"entropy", L"heatCapacityCp",
                                                    L"speedOfSound", L"viscosity", L"thermalConductivity",
                                                    L"fugacityCoefficient", L"enthalpy.Dtemperature"});
        const _variant_t twoPhase = host::StringArray({L"kvalue", L"surfaceTension"});
        const _bstr_t vapor(L"Vapor"), mixture(L"Mixture"), tp(L"TP"), ph(L"PH");
        const _variant_t vaporList = host::StringArray({L"Vapor"});
        const _variant_t pair = host::StringArray({L"Vapor", L"Liquid"});
        const _variant_t vaporLiquid = host::StringArray({L"VaporLiquid"});
        const int calls = 100;
        // The host material's calls of the single-phase request, made directly.
        const std::vector<std::wstring> names = host::ReadStrings(props);
        const _variant_t one = host::DoubleArray({1.0}), all;
        const _bstr_t mole(L"mole"), overall(L"overall"), fraction(L"fraction"), temperature(L"temperature"),
            pressure(L"pressure");
        auto host11 = [&] {
            double t = 0, p = 0;
            _variant_t x;
            m11->GetTPFraction(vapor, &t, &p, &x);
            for (const std::wstring& name : names) m11->SetSinglePhaseProp(_bstr_t(name.c_str()), vapor, mole, one);
            return S_OK;
        };
        auto host10 = [&] {
            _variant_t ids, t, p, x;
            m10->get_ComponentIds(&ids);
            m10->GetProp(temperature, overall, all, nullptr, nullptr, &t);
            m10->GetProp(pressure, overall, all, nullptr, nullptr, &p);
            m10->GetProp(fraction, vapor, all, nullptr, mole, &x);
            for (const std::wstring& name : names)
                m10->SetProp(_bstr_t(name.c_str()), vapor, all, mixture, mole, one);
            return S_OK;
        };
        Report("single-phase properties (9)",
               PerCall([&] { return package->CalcSinglePhaseProp(props, vapor); }, clear, calls),
               PerCall([&] { return p10->CalcProp(m10->Dispatch(), props, vaporList, mixture); }, clear, calls),
               PerCall(host11, clear, calls), PerCall(host10, clear, calls));
        Report("two-phase properties (2)",
               PerCall([&] { return package->CalcTwoPhaseProp(twoPhase, pair); }, clear, calls),
               PerCall([&] { return p10->CalcProp(m10->Dispatch(), twoPhase, vaporLiquid, mixture); }, clear, calls));
        const _variant_t t = Given(L"temperature"), p = Given(L"pressure"), h = Given(L"enthalpy");
        const _bstr_t unspecified(L"Unspecified");
        Report("T-P flash", PerCall([&] { return package->CalcEquilibrium(t, p, unspecified); }, clear, calls / 3),
               PerCall([&] { return p10->CalcEquilibrium(m10->Dispatch(), tp, _variant_t()); }, clear, calls / 3));
        Report("P-H flash", PerCall([&] { return package->CalcEquilibrium(p, h, unspecified); }, clear, calls / 3),
               PerCall([&] { return p10->CalcEquilibrium(m10->Dispatch(), ph, _variant_t()); }, clear, calls / 3));
    }
    CoUninitialize();
    return 0;
}
