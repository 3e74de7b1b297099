// CalcSinglePhaseProp through the vtable for a five-component gas: time per request and the
// shares spent inside the engine (timed by wrappers around the package's routine table) and
// in the host's material (the same material calls issued directly), the rest being the server's.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "package/PropertyPackage.h"
#include "tests/refprop/support/TestStore.h"
#include "tools/host/HostMaterial.h"
#include "tools/host/VariantValues.h"

using namespace tarnevo;
using Microsoft::WRL::ComPtr;

namespace {

class BenchPackage : public CPropertyPackage {
public:
    RefpropRoutineTable& Routines() { return refprop.routines; }
};

LARGE_INTEGER frequency;
RefpropRoutineTable real;

long long Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

// The engine calls of one request with their inputs, recorded by wrappers in the routine
// table and replayed directly to time the engine alone.
enum class Routine { TPRHO, THERM2, THERM, FUGCOF, AG, CVCP, TRNPRP, ENTHAL, DHD1 };
struct EngineCall {
    Routine routine;
    double t, pOrD;
    std::vector<double> x;
    int kph, kguess;
};
std::vector<EngineCall> recorded;
size_t compoundCount = 0;

void Record(Routine routine, const double* t, double pOrD, const double* x, int kph = 0, int kguess = 0) {
    recorded.push_back({routine, *t, pOrD, std::vector<double>(x, x + compoundCount), kph, kguess});
}

void RecTPRHO(double* t, double* p, double* x, int* kph, int* kguess, double* D, int* ierr, char* herr, RpLength l) {
    EngineCall call{Routine::TPRHO, *t, *p, std::vector<double>(x, x + compoundCount), *kph, *kguess};
    call.x.push_back(*D);  // the starting guess
    recorded.push_back(call);
    real.TPRHOdll(t, p, x, kph, kguess, D, ierr, herr, l);
}
void RecTHERM2(double* t, double* D, double* x, double* a1, double* a2, double* a3, double* a4, double* a5, double* a6,
               double* a7, double* a8, double* a9, double* a10, double* a11, double* a12, double* a13, double* a14,
               double* a15, double* a16, double* a17, double* a18, double* a19, double* a20, double* a21, double* a22) {
    Record(Routine::THERM2, t, *D, x);
    real.THERM2dll(t, D, x, a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14, a15, a16, a17, a18, a19, a20,
                   a21, a22);
}
void RecTHERM(double* t, double* D, double* x, double* a1, double* a2, double* a3, double* a4, double* a5, double* a6,
              double* a7, double* a8) {
    Record(Routine::THERM, t, *D, x);
    real.THERMdll(t, D, x, a1, a2, a3, a4, a5, a6, a7, a8);
}
void RecFUGCOF(double* t, double* D, double* x, double* phi, int* ierr, char* herr, RpLength l) {
    Record(Routine::FUGCOF, t, *D, x);
    real.FUGCOFdll(t, D, x, phi, ierr, herr, l);
}
void RecAG(double* t, double* D, double* x, double* a, double* g) {
    Record(Routine::AG, t, *D, x);
    real.AGdll(t, D, x, a, g);
}
void RecCVCP(double* t, double* D, double* x, double* cv, double* cp) {
    Record(Routine::CVCP, t, *D, x);
    real.CVCPdll(t, D, x, cv, cp);
}
void RecTRNPRP(double* t, double* D, double* x, double* eta, double* tcx, int* ierr, char* herr, RpLength l) {
    Record(Routine::TRNPRP, t, *D, x);
    real.TRNPRPdll(t, D, x, eta, tcx, ierr, herr, l);
}
void RecENTHAL(double* t, double* D, double* x, double* h) {
    Record(Routine::ENTHAL, t, *D, x);
    real.ENTHALdll(t, D, x, h);
}
void RecDHD1(double* t, double* D, double* x, double* a1, double* a2, double* a3, double* a4, double* a5, double* a6) {
    Record(Routine::DHD1, t, *D, x);
    real.DHD1dll(t, D, x, a1, a2, a3, a4, a5, a6);
}

// Runs the recorded calls once, straight into the engine.
void Replay() {
    double out[32];
    double phi[64];
    int ierr = 0;
    char herr[256];
    for (EngineCall& c : recorded) {
        double t = c.t, d = c.pOrD;
        double* x = c.x.data();
        switch (c.routine) {
        case Routine::TPRHO: {
            double rho = c.x[compoundCount];
            real.TPRHOdll(&t, &d, x, &c.kph, &c.kguess, &rho, &ierr, herr, 255);
            break;
        }
        case Routine::THERM2:
            real.THERM2dll(&t, &d, x, out, out + 1, out + 2, out + 3, out + 4, out + 5, out + 6, out + 7, out + 8,
                           out + 9, out + 10, out + 11, out + 12, out + 13, out + 14, out + 15, out + 16, out + 17,
                           out + 18, out + 19, out + 20, out + 21);
            break;
        case Routine::THERM:
            real.THERMdll(&t, &d, x, out, out + 1, out + 2, out + 3, out + 4, out + 5, out + 6, out + 7);
            break;
        case Routine::FUGCOF: real.FUGCOFdll(&t, &d, x, phi, &ierr, herr, 255); break;
        case Routine::AG: real.AGdll(&t, &d, x, out, out + 1); break;
        case Routine::CVCP: real.CVCPdll(&t, &d, x, out, out + 1); break;
        case Routine::TRNPRP: real.TRNPRPdll(&t, &d, x, out, out + 1, &ierr, herr, 255); break;
        case Routine::ENTHAL: real.ENTHALdll(&t, &d, x, out); break;
        case Routine::DHD1: real.DHD1dll(&t, &d, x, out, out + 1, out + 2, out + 3, out + 4, out + 5); break;
        }
    }
}

double Microseconds(long long ticks) { return 1e6 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart); }

std::vector<std::wstring> WithForms(const std::vector<std::wstring>& names) {
    std::vector<std::wstring> all = names;
    for (const auto& name : names)
        for (const wchar_t* form : {L".Dtemperature", L".Dpressure", L".Dmoles"}) all.push_back(name + form);
    return all;
}

void Run(const char* label, BenchPackage* package, ICapeThermoPropertyRoutine* routine,
         host::CHostMaterial* material, const std::vector<std::wstring>& names) {
    const _variant_t props = host::StringArray(names);
    const _bstr_t vapor(L"Vapor");
    // One request with the recording wrappers installed.
    RefpropRoutineTable& table = package->Routines();
    recorded.clear();
    table.TPRHOdll = &RecTPRHO;
    table.THERM2dll = &RecTHERM2;
    table.THERMdll = &RecTHERM;
    if (table.FUGCOFdll) table.FUGCOFdll = &RecFUGCOF;
    table.AGdll = &RecAG;
    table.CVCPdll = &RecCVCP;
    table.TRNPRPdll = &RecTRNPRP;
    table.ENTHALdll = &RecENTHAL;
    table.DHD1dll = &RecDHD1;
    const HRESULT hr = routine->CalcSinglePhaseProp(props, vapor);
    table = real;
    if (FAILED(hr)) {
        std::printf("%s: CalcSinglePhaseProp failed\n", label);
        return;
    }
    // The same material calls as one request, issued directly: the host's share.
    std::vector<_variant_t> values;
    std::vector<_bstr_t> bases, propertyNames;
    for (const auto& name : names) {
        const auto stored = material->SinglePhase(name, L"Vapor", L"mole");
        values.push_back(host::DoubleArray(stored ? *stored : *material->SinglePhase(name, L"Vapor", L"")));
        bases.push_back(stored ? _bstr_t(L"mole") : _bstr_t());
        propertyNames.push_back(_bstr_t(name.c_str()));
    }
    const int runs = 300;
    std::vector<double> request, engine, hostTimes;
    for (int run = 0; run < runs; ++run) {
        material->ClearCalls();
        long long start = Now();
        routine->CalcSinglePhaseProp(props, vapor);
        request.push_back(Microseconds(Now() - start));

        start = Now();
        Replay();
        engine.push_back(Microseconds(Now() - start));

        material->ClearCalls();
        start = Now();
        double T, P;
        VARIANT x;
        VariantInit(&x);
        material->GetTPFraction(vapor, &T, &P, &x);
        VariantClear(&x);
        for (size_t k = 0; k < names.size(); ++k)
            material->SetSinglePhaseProp(propertyNames[k], vapor, bases[k], values[k]);
        hostTimes.push_back(Microseconds(Now() - start));
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double r = median(request), e = median(engine), h = median(hostTimes);
    const double server = r - e - h;
    std::printf("%s: %zu properties, %zu engine calls, %zu compounds\n"
                "  %.1f us per request: engine %.1f us (%.1f %%), host material %.1f us (%.1f %%), "
                "server %.1f us (%.1f %% of the request, %.1f %% of request less host; target <= 10 %%)\n",
                label, names.size(), recorded.size(), compoundCount, r, e, 100 * e / r, h, 100 * h / r, server,
                100 * server / r, 100 * server / (r - h));
}

}  // namespace

int main() {
    CoInitialize(nullptr);
    QueryPerformanceFrequency(&frequency);
    {
        tarnevo_test::TestStore store;
        store.WritePackage(L"Five",
                           "nfluid=5\r\nfluid1=fluids\\METHANE.FLD\r\nfluid2=fluids\\ETHANE.FLD\r\n"
                           "fluid3=fluids\\PROPANE.FLD\r\nfluid4=fluids\\NITROGEN.FLD\r\nfluid5=fluids\\CO2.FLD\r\n");
        auto package = MakeComObject<BenchPackage>();
        package->SetPackageName(L"Five");
        if (FAILED(package->Initialize())) {
            std::printf("properties_bench: Initialize failed: %ls\n", package->InitialisationMessage().c_str());
            return 1;
        }
        real = package->Routines();
        compoundCount = 5;

        auto material = host::CHostMaterial::Create({L"METHANE", L"ETHANE", L"PROPANE", L"NITROGEN", L"CO2"});
        material->PutPhaseState(L"Vapor", 300.0, 5e6, {0.85, 0.06, 0.03, 0.04, 0.02});
        ComPtr<ICapeThermoMaterialContext> context;
        ComPtr<ICapeThermoPropertyRoutine> routine;
        package->QueryInterface(IID_PPV_ARGS(&context));
        package->QueryInterface(IID_PPV_ARGS(&routine));
        context->SetMaterial(material->Dispatch());

        const std::vector<std::wstring> base = {L"density",        L"enthalpy",  L"entropy",
                                                L"heatCapacityCp", L"viscosity", L"fugacityCoefficient"};
        Run("values", package.Get(), routine.Get(), material.Get(), base);
        Run("values and .Dtemperature/.Dpressure/.Dmoles", package.Get(), routine.Get(), material.Get(),
            WithForms(base));
        context->UnsetMaterial();
    }
    CoUninitialize();
    return 0;
}
