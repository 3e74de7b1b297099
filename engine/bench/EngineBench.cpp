// Median time per call of the single-phase routines for a five-component natural gas.
#include "api/RefpropExports.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

char herr[256];
double x[5] = {0.85, 0.06, 0.03, 0.04, 0.02};
// States cycled through so that no call repeats the previous one.
constexpr int kStates = 16;
double T[kStates], P[kStates], D[kStates];

template <class Call>
double medianNanoseconds(Call&& call) {
    constexpr int kBatches = 101, kCalls = 2000;
    std::vector<double> per;
    for (int b = 0; b < kBatches; ++b) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kCalls; ++i) call(i % kStates);
        const auto stop = std::chrono::steady_clock::now();
        per.push_back(std::chrono::duration<double, std::nano>(stop - start).count() / kCalls);
    }
    std::nth_element(per.begin(), per.begin() + kBatches / 2, per.end());
    return per[kBatches / 2];
}

}  // namespace

int main() {
    const char* names[] = {"METHANE", "ETHANE", "PROPANE", "NITROGEN", "CO2"};
    std::string files;
    for (const char* n : names) files += (files.empty() ? "" : "|") + std::string(TARNEVO_FLUIDS_DIR) + "/" + n + ".FLD";
    files.resize(10000, ' ');
    std::string mix = std::string(TARNEVO_FLUIDS_DIR) + "/hmx.bnc";
    mix.resize(255, ' ');
    char hrf[] = "DEF";
    int nc = 5, ierr = 0;
    SETUPdll(&nc, files.data(), mix.data(), hrf, &ierr, herr, 10000, 255, 3, 255);
    if (ierr != 0) {
        std::printf("setup failed: %.255s\n", herr);
        return 1;
    }
    for (int i = 0; i < kStates; ++i) {
        T[i] = 250 + 5 * i;
        P[i] = 2000 + 300 * i;
        int kph = 2, kguess = 0;
        TPRHOdll(&T[i], &P[i], x, &kph, &kguess, &D[i], &ierr, herr, 255);
    }
    double out[25], phi[5];
    volatile double sink = 0;
    struct Row { const char* name; double ns; double limit; };
    std::vector<Row> rows;
    rows.push_back({"TPRHOdll", medianNanoseconds([&](int i) {
        int kph = 2, kguess = 0, e;
        double d;
        TPRHOdll(&T[i], &P[i], x, &kph, &kguess, &d, &e, herr, 255);
        sink = sink + d;
    }), 1000});
    rows.push_back({"THERMdll", medianNanoseconds([&](int i) {
        THERMdll(&T[i], &D[i], x, &out[0], &out[1], &out[2], &out[3], &out[4], &out[5], &out[6], &out[7]);
        sink = sink + out[2];
    }), 1000});
    rows.push_back({"THERM2dll", medianNanoseconds([&](int i) {
        THERM2dll(&T[i], &D[i], x, &out[0], &out[1], &out[2], &out[3], &out[4], &out[5], &out[6],
                  &out[7], &out[8], &out[9], &out[10], &out[11], &out[12], &out[13], &out[14],
                  &out[15], &out[16], &out[17], &out[18], &out[19], &out[20], &out[21]);
        sink = sink + out[2];
    }), 1000});
    rows.push_back({"FUGCOFdll", medianNanoseconds([&](int i) {
        int e;
        FUGCOFdll(&T[i], &D[i], x, phi, &e, herr, 255);
        sink = sink + phi[0];
    }), 2000});
    rows.push_back({"TRNPRPdll", medianNanoseconds([&](int i) {
        int e;
        double eta, tcx;
        TRNPRPdll(&T[i], &D[i], x, &eta, &tcx, &e, herr, 255);
        sink = sink + eta;
    }), 2000});
    std::printf("Engine single-phase routines, 5-component natural gas, median per call:\n");
    for (const Row& r : rows)
        std::printf("  %-10s %8.0f ns   (target <= %4.0f ns) %s\n", r.name, r.ns, r.limit,
                    r.ns <= r.limit ? "ok" : "SLOWER THAN TARGET");
    return 0;
}
