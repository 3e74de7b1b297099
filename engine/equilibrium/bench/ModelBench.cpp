// The multiparameter equations (multi-fluid model) beside Peng-Robinson: median time
// per call of the property, fugacity and flash calculations for natural gases of
// 2, 5, 10 and 20 components.
#include "core/HelmholtzMixture.h"
#include "equilibrium/PropertyFlash.h"
#include "equilibrium/TPFlash.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

using namespace tarnevo::engine;
using namespace tarnevo::engine::equilibrium;

namespace {

volatile double sink = 0;

// Median over batches of the processor time per call, microseconds.
double median(const std::function<double()>& call) {
    std::clock_t t0 = std::clock();
    sink = sink + call();
    const double once = static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC;
    const int n = std::max(1, std::min(2000, static_cast<int>(0.01 / std::max(once, 1e-7))));
    std::vector<double> times;
    for (int batch = 0; batch < 15; ++batch) {
        t0 = std::clock();
        for (int i = 0; i < n; ++i) sink = sink + call();
        times.push_back(1e6 * static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC / n);
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

const char* kFluids[] = {"METHANE", "ETHANE",   "PROPANE", "NITROGEN", "CO2",   "BUTANE", "ISOBUTAN",
                         "PENTANE", "IPENTANE", "HEXANE",  "HEPTANE",  "OCTANE", "NONANE", "DECANE",
                         "H2S",     "HYDROGEN", "OXYGEN",  "CO",       "HELIUM", "ARGON"};

struct Row {
    double therm, fugcof, tpOne, tpTwo, phTwo, twoPhaseT;
};

// One gas of nc components: methane 0.8, the rest shared out falling by half.
bool measure(const std::string& model, int nc, Row& row) {
    const std::string dir = TARNEVO_FLUIDS_DIR;
    std::vector<std::string> files;
    for (int i = 0; i < nc; ++i) files.push_back(dir + "/" + kFluids[i] + ".FLD");
    std::string message;
    auto mix = createHelmholtzMixture(files, dir + "/hmx.bnc", message, model);
    if (!mix) {
        std::printf("%s: %s\n", model.c_str(), message.c_str());
        return false;
    }
    std::vector<double> z(nc, 0.0);
    double rest = 0.2, sum = 0;
    z[0] = nc == 1 ? 1 : 0.8;
    for (int i = 1; i < nc; ++i) z[i] = rest /= (i + 1 < nc ? 2 : 1);
    for (double v : z) sum += v;
    for (double& v : z) v /= sum;
    System sys(*mix, z.data());
    double rho;
    mix->density(300, 5000, z.data(), Root::Stable, rho);
    Properties pr;
    LnPhi f;
    row.therm = median([&] { mix->properties(300, rho, z.data(), pr); return pr.h; });
    row.fugcof = median([&] { mix->lnPhi(300, rho, z.data(), 0, f); return f.lnphi[0]; });
    row.tpOne = median([&] { return flashTP(sys, 300, 5000).rho; });
    // Two phases: the first temperature at 2 MPa (from 150 K up) with a vapour fraction in (0.2, 0.8).
    row.twoPhaseT = 0;
    for (double T = 150; T < 300 && row.twoPhaseT == 0; T += 5) {
        try {
            FlashState s = flashTP(sys, T, 2000);
            if (s.twoPhase && s.beta > 0.2 && s.beta < 0.8) row.twoPhaseT = T;
        } catch (...) {
        }
    }
    row.tpTwo = row.phTwo = 0;
    if (row.twoPhaseT > 0) {
        const FlashState two = flashTP(sys, row.twoPhaseT, 2000);
        row.tpTwo = median([&] { return flashTP(sys, row.twoPhaseT, 2000).rho; });
        row.phTwo = median([&] { return flashPX(sys, 2000, Spec::H, two.h).T; });
    }
    return true;
}

}  // namespace

int main() {
    std::printf("Natural gases (methane 0.8), median processor time per call, microseconds:\n");
    std::printf("  %-5s %3s %10s %10s %12s %12s %12s  (two-phase T at 2 MPa)\n", "model", "nc", "THERM",
                "FUGCOF", "TP 1 phase", "TP 2 phases", "PH 2 phases");
    for (int nc : {2, 5, 10, 20}) {
        for (const char* model : {"FEQ", "PR"}) {
            Row r;
            if (!measure(model, nc, r)) return 1;
            std::printf("  %-5s %3d %10.2f %10.2f %12.2f %12.2f %12.2f  (%g K)\n", model, nc, r.therm,
                        r.fugcof, r.tpOne, r.tpTwo, r.phTwo, r.twoPhaseT);
        }
    }
    std::printf("Targets for 5 components (FEQ): THERM 4, FUGCOF 6, TP 1 phase 40, TP 2 phases 300, PH 2 phases 1000\n");
    return 0;
}
