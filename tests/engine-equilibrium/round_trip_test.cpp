// Round trips: a T-P flash gives h, s, e and D; every other flash from those values
// must return the same temperature, pressure and vapour fraction.
#include "TestFluids.h"

#include "equilibrium/FlashError.h"
#include "equilibrium/PropertyFlash.h"
#include "equilibrium/TPFlash.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <sstream>

using namespace tarnevo::engine;
using namespace tarnevo::engine::equilibrium;
using eqtest::rel;

namespace {

struct Case {
    const char* label;
    std::vector<std::string> fluids;
    std::vector<double> z;
    std::vector<std::pair<double, double>> states;   // (T K, p kPa)
};

std::vector<Case> cases() {
    return {
        {"propane", {"PROPANE"}, {1.0}, {{250, 100}, {250, 1000}, {300, 500}, {300, 2000}, {380, 5000}, {400, 3000}}},
        {"water", {"WATER"}, {1.0}, {{300, 101.325}, {400, 100}, {450, 2000}, {700, 30000}, {600, 1000}}},
        {"CO2", {"CO2"}, {1.0}, {{250, 1000}, {250, 3000}, {290, 10000}, {320, 8000}, {320, 5000}}},
        {"natural gas", eqtest::naturalGasFluids(), {0.85, 0.07, 0.03, 0.03, 0.02},
         {{300, 5000}, {200, 3000}, {180, 2000}, {150, 1000}, {250, 12000}, {120, 500}, {230, 200}}},
        {"refrigerants R32/R125", {"R32", "R125"}, {0.5, 0.5}, {{250, 300}, {280, 1500}, {300, 200}, {340, 5000}}},
        {"refrigerants R134a/R1234yf", {"R134A", "R1234YF"}, {0.6, 0.4}, {{270, 200}, {300, 800}, {320, 400}}},
        {"water and methane", {"WATER", "METHANE"}, {0.3, 0.7}, {{300, 1000}, {350, 5000}, {450, 500}, {600, 2000}}},
        {"water, CO2 and nitrogen", {"WATER", "CO2", "NITROGEN"}, {0.2, 0.5, 0.3}, {{320, 2000}, {400, 500}, {500, 10000}}},
    };
}

class RoundTrip : public ::testing::TestWithParam<Case> {};

std::string where(const Case& c, double T, double p) {
    std::ostringstream s;
    s << c.label << " at " << T << " K, " << p << " kPa";
    return s.str();
}

void expectSame(const FlashState& ref, const FlashState& got, const std::string& what) {
    EXPECT_LT(rel(got.T, ref.T), 1e-6) << what << ": T " << got.T << " vs " << ref.T;
    EXPECT_LT(rel(got.p, ref.p), 1e-6) << what << ": p " << got.p << " vs " << ref.p;
    if (ref.twoPhase)
        EXPECT_NEAR(got.q, ref.q, 1e-6) << what;
    else
        EXPECT_EQ(got.q, ref.q) << what;
}

// Every flash from the values of the T-P flash at (T, p) must return (T, p) and q.
void checkRoundTrips(const System& sys, const std::string& at, double T, double p) {
    FlashState ref = flashTP(sys, T, p);
    // Where two states share (T, h) or (T, e), kr = 1 takes the less dense one,
    // kr = 2 the denser one: the state of the T-P flash is one of the two.
    auto eitherRoot = [&](Spec spec, double v) {
        FlashState lower = flashTX(sys, T, spec, v, 1), higher = flashTX(sys, T, spec, v, 2);
        EXPECT_LE(lower.rho, higher.rho * (1 + 1e-9)) << at;
        return rel(lower.p, p) < rel(higher.p, p) ? lower : higher;
    };
    struct Run { const char* name; std::function<FlashState()> f; };
    std::vector<Run> runs = {
        {"P-H", [&] { return flashPX(sys, p, Spec::H, ref.h); }},
        {"P-S", [&] { return flashPX(sys, p, Spec::S, ref.s); }},
        {"P-E", [&] { return flashPX(sys, p, Spec::E, ref.e); }},
        {"P-D", [&] { return flashPX(sys, p, Spec::D, ref.rho); }},
        {"T-H", [&] { return eitherRoot(Spec::H, ref.h); }},
        {"T-S", [&] { return flashTX(sys, T, Spec::S, ref.s, 2); }},
        {"T-E", [&] { return eitherRoot(Spec::E, ref.e); }},
        {"T-D", [&] { return flashTD(sys, T, ref.rho); }},
        {"D-H", [&] { return flashDX(sys, ref.rho, Spec::H, ref.h); }},
        {"D-S", [&] { return flashDX(sys, ref.rho, Spec::S, ref.s); }},
        {"D-E", [&] { return flashDX(sys, ref.rho, Spec::E, ref.e); }},
        {"H-S", [&] { return flashSX(sys, ref.s, Spec::H, ref.h); }},
    };
    // (e, s) fixes the pressure of a liquid only to the rounding of e over p v kappa_s.
    if (ref.q != kQLiquid) runs.push_back({"E-S", [&] { return flashSX(sys, ref.s, Spec::E, ref.e); }});
    for (const Run& r : runs) {
        std::string what = std::string(r.name) + " flash, " + at + " (q " + std::to_string(ref.q) + ")";
        try {
            expectSame(ref, r.f(), what);
        } catch (const FlashError& e) {
            ADD_FAILURE() << what << ": " << e.what();
        }
    }
}

TEST_P(RoundTrip, EveryFlashReturnsTheStateOfTheTPFlash) {
    const Case& c = GetParam();
    auto mix = eqtest::makeMixture(c.fluids);
    ASSERT_TRUE(mix);
    System sys(*mix, c.z.data());
    for (auto [T, p] : c.states) checkRoundTrips(sys, where(c, T, p), T, p);
}

// Random states over the whole diagram (fixed seed): 1 kPa to 50 MPa.
TEST_P(RoundTrip, RandomStatesRoundTrip) {
    const Case& c = GetParam();
    auto mix = eqtest::makeMixture(c.fluids);
    ASSERT_TRUE(mix);
    System sys(*mix, c.z.data());
    double tmin = 1e300, tmax = 0;
    for (auto [T, p] : c.states) {
        tmin = std::min(tmin, T);
        tmax = std::max(tmax, T);
    }
    std::mt19937 rng(20261206);
    std::uniform_real_distribution<double> uT(0.8 * tmin, 1.3 * tmax), ulp(0, 4.7);
    for (int k = 0; k < 25; ++k) {
        double T = uT(rng), p = std::pow(10.0, ulp(rng));
        checkRoundTrips(sys, where(c, T, p), T, p);
    }
}

INSTANTIATE_TEST_SUITE_P(Fluids, RoundTrip, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             std::string n;
                             for (char ch : std::string(param.param.label))
                                 n += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return n;
                         });

}  // namespace
