// Thousands of flashes over temperature, pressure and composition of a natural gas:
// no crash, no hang, a valid state or an error code with a message every time, and
// the P-H, P-S and T-D flashes return the state of the T-P flash.
#include "RoutineCalls.h"
#include "TestFluids.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using namespace eqtest;
using ::testing::StartsWith;

namespace {

bool validQ(double q) {
    return (q >= 0 && q <= 1) || q == -998 || q == 998 || q == 999;
}

std::string describe(const double* z, double t, double p) {
    std::ostringstream s;
    s << "z = {" << z[0] << ", " << z[1] << ", " << z[2] << ", " << z[3] << ", " << z[4] << "} at " << t << " K, "
      << p << " kPa";
    return s.str();
}

// A successful flash: a state with sensible values; a failed one: a message.
void checkOutcome(const char* routine, const Flash& f, const std::string& where, int& failures) {
    if (f.ierr > 0) {
        ++failures;
        EXPECT_THAT(f.herr.str(), StartsWith(std::string(routine) + ": ")) << where;
        EXPECT_GT(f.herr.str().size(), std::string(routine).size() + 10) << where;
        return;
    }
    EXPECT_TRUE(std::isfinite(f.t) && f.t > 0) << routine << ", " << where;
    EXPECT_TRUE(std::isfinite(f.p) && f.p > 0) << routine << ", " << where;
    EXPECT_TRUE(std::isfinite(f.D) && f.D > 0) << routine << ", " << where;
    EXPECT_TRUE(validQ(f.q)) << routine << ", " << where << ": q = " << f.q;
    double sx = 0, sy = 0;
    for (int i = 0; i < 5; ++i) {
        sx += f.x[i];
        sy += f.y[i];
    }
    EXPECT_NEAR(sx, 1, 1e-10) << routine << ", " << where;
    EXPECT_NEAR(sy, 1, 1e-10) << routine << ", " << where;
}

TEST(Sweep, NaturalGasOverTemperaturePressureAndComposition) {
    ASSERT_EQ(setUp(naturalGasFluids()), 0);
    int flashes = 0, failures = 0, twoPhase = 0;
    for (int k = 0; k < 8; ++k) {
        double methane = 0.55 + 0.06 * k;
        double rest = 1 - methane;
        double z[5] = {methane, 0.4 * rest, 0.3 * rest, 0.2 * rest, 0.1 * rest};
        for (double t = 100; t <= 400; t += 20) {
            for (double lp = 0; lp <= 4.5; lp += 0.375) {
                double p = std::pow(10.0, lp);
                std::string where = describe(z, t, p);
                Flash ref = tp(t, p, z);
                ++flashes;
                checkOutcome("TPFLSHdll", ref, where, failures);
                if (ref.ierr > 0) continue;
                if (ref.q >= 0 && ref.q <= 1) ++twoPhase;
                ref.t = t;
                ref.p = p;

                Flash f = ph(p, ref.h, z);
                ++flashes;
                checkOutcome("PHFLSHdll", f, where, failures);
                if (f.ierr <= 0) {
                    EXPECT_NEAR(f.t, t, 1e-6 * t) << "P-H, " << where;
                    if (ref.q >= 0 && ref.q <= 1) {
                        EXPECT_NEAR(f.q, ref.q, 1e-6) << "P-H, " << where;
                    }
                }

                Flash g;
                g.p = p;
                g.s = ref.s;
                PSFLSHdll(&g.p, &g.s, z, &g.t, &g.D, &g.Dl, &g.Dv, g.x, g.y, &g.q, &g.e, &g.h, &g.cv, &g.cp, &g.w,
                          &g.ierr, g.herr.text, 255);
                ++flashes;
                checkOutcome("PSFLSHdll", g, where, failures);
                if (g.ierr <= 0) {
                    EXPECT_NEAR(g.t, t, 1e-6 * t) << "P-S, " << where;
                }

                Flash d;
                d.t = t;
                d.D = ref.D;
                TDFLSHdll(&d.t, &d.D, z, &d.p, &d.Dl, &d.Dv, d.x, d.y, &d.q, &d.e, &d.h, &d.s, &d.cv, &d.cp, &d.w,
                          &d.ierr, d.herr.text, 255);
                ++flashes;
                checkOutcome("TDFLSHdll", d, where, failures);
                if (d.ierr <= 0) {
                    EXPECT_NEAR(d.p, p, 1e-6 * p) << "T-D, " << where;
                }
            }
        }
    }
    EXPECT_GT(flashes, 2000);
    EXPECT_GT(twoPhase, 100);
    // Failures are allowed only as reported errors, and they must stay rare.
    EXPECT_LT(failures, flashes / 100) << failures << " of " << flashes << " flashes failed";
    std::printf("sweep: %d flashes, %d two-phase T-P states, %d failures\n", flashes, twoPhase, failures);
}

}  // namespace
