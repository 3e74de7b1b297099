// The multiparameter equations of every fluid against the reference states of the
// fluid data set: single-phase pressure, enthalpy and entropy differences between
// states, and saturation states from the phase-equilibrium condition.
#include "core/HelmholtzMixture.h"
#include "core/ReferenceState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace tarnevo::engine;

namespace {

struct ReferenceStates {
    const char* name;
    double v[25];
};

const ReferenceStates kStates[] = {
#include "reference_states.inc"
};

double rel(double a, double b) { return std::fabs(a - b) / std::fabs(b); }

class Multiparameter : public ::testing::TestWithParam<size_t> {};

}  // namespace

TEST_P(Multiparameter, ReproducesTheReferenceStates) {
    const ReferenceStates& f = kStates[GetParam()];
    const double* v = f.v;
    std::string message;
    auto m = createHelmholtzMixture({std::string(TARNEVO_FLUIDS_DIR) + "/" + f.name + ".FLD"}, "",
                                    message, "FEQ");
    ASSERT_TRUE(m) << message;
    const double x[] = {1.0};
    Properties anchor, liquid, vapour;
    m->properties(v[0], v[1], x, anchor);
    m->properties(v[5], v[7], x, liquid);
    m->properties(v[5], v[8], x, vapour);
    // R1234YF's states are stored rounded.
    const double tol = std::string(f.name) == "R1234YF" ? 1e-6 : 1e-8;
    EXPECT_LT(rel(anchor.p, v[2]), tol) << f.name;
    EXPECT_LT(rel(vapour.h - liquid.h, v[10] - v[9]), tol) << f.name;
    EXPECT_LT(rel(vapour.s - liquid.s, v[12] - v[11]), tol) << f.name;
    EXPECT_LT(rel(anchor.h - liquid.h, v[3] - v[9]), tol) << f.name;
    EXPECT_LT(rel(anchor.s - liquid.s, v[4] - v[11]), tol) << f.name;
    for (int k = 0; k < 3; ++k) {
        const double* c = v + 13 + 4 * k;
        double p, rhoL, rhoV;
        ASSERT_TRUE(pureSaturation(*m, 0, c[0], p, rhoL, rhoV)) << f.name << " at " << c[0] << " K";
        EXPECT_LT(rel(p, c[1]), 1e-6) << f.name << " at " << c[0] << " K";
        EXPECT_LT(rel(rhoL, c[2]), 1e-6) << f.name << " at " << c[0] << " K";
        EXPECT_LT(rel(rhoV, c[3]), 1e-6) << f.name << " at " << c[0] << " K";
    }
}

INSTANTIATE_TEST_SUITE_P(Fluids, Multiparameter,
                         ::testing::Range<size_t>(0, sizeof kStates / sizeof kStates[0]));
