// Runs package lifecycles (default 10,000) and prints TLS slots, handles and working set,
// and their growth per cycle since cycle 100.   soak [cycles] [print every]
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "tests/soak/SoakCycle.h"

using namespace tarnevo_test;

int main(int argc, char** argv) try {
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 10000, every = argc > 2 ? std::atoi(argv[2]) : 1000;
    SoakCycle cycle(ThrowFailure);
    ResourceSample base = SampleResources();
    std::printf("   cycle  tls index  handle  working set   tls/cycle  handles/cycle  bytes/cycle\n");
    for (int n = 1; n <= cycles; ++n) {
        cycle.Run();
        if (n == 100) base = SampleResources();
        if (n % every != 0 && n != cycles) continue;
        const ResourceSample now = SampleResources();
        const double since = n > 100 ? n - 100 : n;
        std::printf("%8d %10lu %7llu %12zu %11.3f %14.3f %12.1f\n", n, now.lowestFreeTlsIndex,
                    static_cast<unsigned long long>(now.handleMark), now.workingSet,
                    (double(now.lowestFreeTlsIndex) - base.lowestFreeTlsIndex) / since,
                    (double(now.handleMark) - base.handleMark) / 4 / since,
                    (double(now.workingSet) - base.workingSet) / since);
        std::fflush(stdout);
    }
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "soak: %s\n", e.what());
    return 1;
}
