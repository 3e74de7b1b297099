// Package lifecycles as a simulator runs them, and probes of what they leave in the process
// (under Wine the handle count and private bytes read 0; the lowest free TLS index and the
// handle values given out move instead).
#pragma once

#include <windows.h>

#include "tests/common/ScratchPackageStore.h"

namespace tarnevo_test {

struct ResourceSample {
    DWORD lowestFreeTlsIndex;
    UINT_PTR handleMark;  // highest value of 64 new handles
    SIZE_T workingSet;
};
ResourceSample SampleResources();

// Create, Initialize, SetMaterial, CalcSinglePhaseProp, T-P flash, Terminate, Release of a
// two-compound package; a failing step is reported with its HRESULT.
class SoakCycle {
public:
    explicit SoakCycle(FailureReport report);
    void Run();

private:
    ScratchPackageStore store_;
    FailureReport report_;
};

}  // namespace tarnevo_test
