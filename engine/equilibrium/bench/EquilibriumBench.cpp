// Median times of the flashes for a five-component natural gas.
#include "core/Mixture.h"
#include "equilibrium/PropertyFlash.h"
#include "equilibrium/TPFlash.h"

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace tarnevo::engine;
using namespace tarnevo::engine::equilibrium;

namespace {

volatile double sink = 0;

// Median over batches of the processor time per call, microseconds (processor time,
// so that other work on a shared machine does not count).
double median(const std::function<double()>& call) {
    std::vector<double> times;
    for (int batch = 0; batch < 31; ++batch) {
        const int n = 100;
        std::clock_t t0 = std::clock();
        for (int i = 0; i < n; ++i) sink = sink + call();
        std::clock_t t1 = std::clock();
        times.push_back(1e6 * static_cast<double>(t1 - t0) / CLOCKS_PER_SEC / n);
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    const std::string dir = TARNEVO_FLUIDS_DIR;
    std::vector<std::string> files;
    for (const char* name : {"METHANE", "ETHANE", "PROPANE", "NITROGEN", "CO2"}) files.push_back(dir + "/" + name + ".FLD");
    std::string message;
    std::unique_ptr<Mixture> mix = createMixture(files, dir + "/hmx.bnc", message);
    if (!mix) {
        std::printf("equilibrium bench: %s\n", message.c_str());
        return 1;
    }
    const double z[5] = {0.85, 0.07, 0.03, 0.03, 0.02};
    System sys(*mix, z);
    FlashState one = flashTP(sys, 300, 5000), two = flashTP(sys, 180, 2000);
    std::printf("Equilibrium (natural gas C1/C2/C3/N2/CO2, median per call):\n");
    std::printf("  T-P flash, one phase (300 K, 5 MPa)      %8.2f us  (target 10)\n",
                median([&] { return flashTP(sys, 300, 5000).rho; }));
    std::printf("  T-P flash, two phases (180 K, 2 MPa)     %8.2f us  (target 40)\n",
                median([&] { return flashTP(sys, 180, 2000).rho; }));
    std::printf("  P-H flash, one phase (h of 300 K, 5 MPa)  %8.2f us  (target 150)\n",
                median([&] { return flashPX(sys, 5000, Spec::H, one.h).T; }));
    std::printf("  P-H flash, two phases (h of 180 K, 2 MPa) %8.2f us  (target 150)\n",
                median([&] { return flashPX(sys, 2000, Spec::H, two.h).T; }));
    std::printf("  P-S flash, two phases                      %8.2f us\n",
                median([&] { return flashPX(sys, 2000, Spec::S, two.s).T; }));
    std::printf("  T-D flash, two phases                      %8.2f us\n",
                median([&] { return flashTD(sys, 180, two.rho).p; }));
    return 0;
}
