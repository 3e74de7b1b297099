#include "tests/soak/SoakCycle.h"

#include <psapi.h>

#include <algorithm>
#include <vector>

#include "tools/host/HostMaterial.h"
#include "tools/host/VariantValues.h"

namespace tarnevo_test {

using tarnevo::host::StringArray;

ResourceSample SampleResources() {
    ResourceSample sample{TlsAlloc(), 0, 0};
    TlsFree(sample.lowestFreeTlsIndex);
    // The highest of 64 new handles: leaked handles fill the free slots below it, even
    // where a cycle leaves holes in the table that a single probe would fall into.
    std::vector<tarnevo::UniqueHandle> events;
    for (int i = 0; i < 64; ++i) {
        events.emplace_back(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        sample.handleMark = std::max(sample.handleMark, reinterpret_cast<UINT_PTR>(events.back().get()));
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) sample.workingSet = counters.WorkingSetSize;
    return sample;
}

SoakCycle::SoakCycle(FailureReport report) : store_(L"soak", L"REFPROP", report), report_(report) {
    store_.WritePackage(L"Gas", store_.FluidFiles({L"METHANE", L"ETHANE"}));
}

void SoakCycle::Run() {
    auto check = [&](const char* step, HRESULT hr) {
        if (FAILED(hr)) report_(std::string(step) + " failed: " + std::to_string(static_cast<unsigned long>(hr)));
    };
    PackageObject<TestPackage> package = store_.Package(L"Gas");
    auto material = tarnevo::host::CHostMaterial::Create({L"METHANE", L"ETHANE"});
    material->PutPhaseState(L"Vapor", 300.0, 5e6, {0.9, 0.1});
    material->PutOverallState(200.0, 3e6, {0.9, 0.1});
    material->PutPresentPhases({L"Vapor", L"Liquid"});
    Microsoft::WRL::ComPtr<ICapeThermoEquilibriumRoutine> equilibrium;
    package.As(&equilibrium);
    check("SetMaterial", package->SetMaterial(material->Dispatch()));
    check("CalcSinglePhaseProp", package->CalcSinglePhaseProp(StringArray({L"density", L"enthalpy"}), _bstr_t(L"Vapor")));
    check("CalcEquilibrium", equilibrium->CalcEquilibrium(StringArray({L"temperature", L"", L"Overall"}),
                                                          StringArray({L"pressure", L"", L"Overall"}),
                                                          _bstr_t(L"Unspecified")));
    check("Terminate", package->Terminate());
}

}  // namespace tarnevo_test
