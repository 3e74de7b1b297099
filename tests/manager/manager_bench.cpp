// Time from GetPropertyPackage to a completed Initialize (copy, load, resolve, set up) for a
// five-component package.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "definition/PackageStore.h"
#include "manager/PropertyPackageManager.h"
#include "refprop/RefpropLibrary.h"
#include "tests/refprop/support/TestStore.h"

using namespace tarnevo;
using Microsoft::WRL::ComPtr;

int main() {
    CoInitialize(nullptr);
    {
        tarnevo_test::TestStore store;
        store.WritePackage(L"Five",
                           "nfluid=5\r\nfluid1=fluids\\METHANE.FLD\r\nfluid2=fluids\\ETHANE.FLD\r\n"
                           "fluid3=fluids\\PROPANE.FLD\r\nfluid4=fluids\\NITROGEN.FLD\r\nfluid5=fluids\\CO2.FLD\r\n");
        ComPtr<ICapeThermoPropertyPackageManager> manager;
        CreateComInstance<CPropertyPackageManager>(nullptr, IID_PPV_ARGS(&manager));
        VARIANT names;
        VariantInit(&names);
        manager->GetPropertyPackageList(&names);
        VariantClear(&names);

        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        const int runs = 20;
        std::vector<double> times;
        BSTR name = SysAllocString(L"Five");
        for (int run = 0; run < runs; ++run) {
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            ComPtr<IDispatch> package;
            manager->GetPropertyPackage(name, &package);
            ComPtr<ICapeUtilities> utilities;
            package.As(&utilities);
            HRESULT hr = utilities->Initialize();
            QueryPerformanceCounter(&end);
            if (FAILED(hr)) {
                std::printf("package_initialize_bench: Initialize failed (0x%08lX)\n", static_cast<unsigned long>(hr));
                return 1;
            }
            times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                            static_cast<double>(frequency.QuadPart));
        }
        SysFreeString(name);
        std::sort(times.begin(), times.end());
        std::printf("GetPropertyPackage + Initialize, 5 compounds: median %.2f ms, min %.2f ms, max %.2f ms "
                    "(%d runs; target < 20 ms)\n",
                    times[times.size() / 2], times.front(), times.back(), runs);

        // The library part alone: private copy, load, resolution (no fluid setup).
        std::vector<double> library;
        for (int run = 0; run < runs; ++run) {
            RefpropBinding binding;
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            LoadRefpropLibrary(binding, RefpropFolder(), TemporaryFolder());
            QueryPerformanceCounter(&end);
            library.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                              static_cast<double>(frequency.QuadPart));
        }
        std::sort(library.begin(), library.end());
        std::printf("  of which copy + load + resolve: median %.2f ms, min %.2f ms\n", library[library.size() / 2],
                    library.front());
    }
    CoUninitialize();
    return 0;
}
