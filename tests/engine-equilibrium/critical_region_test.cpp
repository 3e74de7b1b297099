// Near critical points and on phase boundaries every routine either converges to a
// consistent state or fails with an error code and a message; it never hangs.
#include "RoutineCalls.h"
#include "TestFluids.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace eqtest;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

const double kGas[5] = {0.85, 0.07, 0.03, 0.03, 0.02};

TEST(CriticalRegion, NaturalGasFlashesConvergeOrReportAroundTheCriticalPoint) {
    ASSERT_EQ(setUp(naturalGasFluids()), 0);
    int failures = 0, n = 0;
    // The mixture's critical point lies near 218 K and 6.7 MPa.
    for (double t = 205; t <= 232; t += 1.5) {
        for (double p = 5000; p <= 8000; p += 150) {
            Flash f = tp(t, p, kGas);
            ++n;
            if (f.ierr > 0) {
                ++failures;
                EXPECT_THAT(f.herr.str(), StartsWith("TPFLSHdll: T-P flash at T = "));
                continue;
            }
            bool twoPhase = f.q >= 0 && f.q <= 1;
            EXPECT_TRUE(twoPhase || f.q == 998 || f.q == 999 || f.q == -998) << t << " K, " << p << " kPa";
            Flash g = ph(p, f.h, kGas);
            if (g.ierr > 0) {
                ++failures;
                EXPECT_THAT(g.herr.str(), StartsWith("PHFLSHdll: P-H flash at P = "));
                continue;
            }
            EXPECT_NEAR(g.t, t, 1e-6 * t) << t << " K, " << p << " kPa";
        }
    }
    EXPECT_LT(failures, n / 50);
}

TEST(CriticalRegion, SaturationAboveTheCriticalPointFailsWithAMessage) {
    ASSERT_EQ(setUp(naturalGasFluids()), 0);
    double x[5];
    std::copy(kGas, kGas + 5, x);
    Herr herr;
    int bubbleFailures = 0;
    for (double t = 200; t <= 245; t += 2.5) {
        for (int kph : {1, 2}) {
            double tt = t, p = -1, Dl, Dv, xl[5], xv[5];
            int k = kph, ierr = -1;
            herr.reset();
            SATTdll(&tt, x, &k, &p, &Dl, &Dv, xl, xv, &ierr, herr.text, 255);
            if (ierr > 0) {
                EXPECT_THAT(herr.str(), StartsWith(kph == 1 ? "SATTdll: bubble point at T = " : "SATTdll: dew point at T = "));
                if (kph == 1) ++bubbleFailures;
                continue;
            }
            EXPECT_GT(p, 0);
            EXPECT_GT(Dl, Dv) << t << " K, kph " << kph;
        }
    }
    // Above the critical temperature there is no bubble point; well below there is.
    EXPECT_GT(bubbleFailures, 0);
    double t = 190, p, Dl, Dv, xl[5], xv[5];
    int kph = 1, ierr = -1;
    SATTdll(&t, x, &kph, &p, &Dl, &Dv, xl, xv, &ierr, herr.text, 255);
    EXPECT_EQ(ierr, 0) << herr.str();
}

TEST(CriticalRegion, PureFluidJustBelowAndAboveItsCriticalTemperature) {
    ASSERT_EQ(setUp({"CO2"}), 0);
    const double tc = 304.1282;   // CO2.FLD
    double x[1] = {1};
    Herr herr;
    for (double d : {1e-2, 1e-3, 1e-4, 1e-5, -1e-4}) {
        double t = tc * (1 - d), p = 0, Dl = 0, Dv = 0, xl[1], xv[1];
        int kph = 2, ierr = -1;
        herr.reset();
        SATTdll(&t, x, &kph, &p, &Dl, &Dv, xl, xv, &ierr, herr.text, 255);
        if (d < 0) {
            EXPECT_GT(ierr, 0);
            EXPECT_THAT(herr.str(), HasSubstr("critical temperature"));
            continue;
        }
        if (ierr > 0) {
            EXPECT_THAT(herr.str(), StartsWith("SATTdll: dew point at T = "));
            continue;
        }
        EXPECT_GT(Dl, Dv) << d;
        EXPECT_LT(p, 7377.3 * 1.001) << d;
        // Either side of the vapour pressure: liquid above, vapour below.
        EXPECT_EQ(tp(t, p * 1.001, x).q, -998) << d;
        EXPECT_EQ(tp(t, p * 0.999, x).q, 998) << d;
    }
}

TEST(Saturation, PureComponentOfAMixtureSetUp) {
    // The server asks for the vapour pressure of one compound with the others at zero.
    ASSERT_EQ(setUp(naturalGasFluids()), 0);
    double x[5] = {0, 0, 1, 0, 0}, t = 300, p = 0, Dl, Dv, xl[5], xv[5];
    int kph = 2, ierr = -1;
    Herr herr;
    SATTdll(&t, x, &kph, &p, &Dl, &Dv, xl, xv, &ierr, herr.text, 255);
    ASSERT_EQ(ierr, 0) << herr.str();
    EXPECT_NEAR(p, 997.43, 0.5);   // propane with Peng-Robinson
    EXPECT_EQ(xl[2], 1);
    EXPECT_EQ(xv[0], 0);
    int icomp = 3;
    double p2 = 0, D2 = 0, csat = 0, dpdt = 0;
    kph = 2;
    DPTSATKdll(&icomp, &t, &kph, &p2, &D2, &csat, &dpdt, &ierr, herr.text, 255);
    ASSERT_EQ(ierr, 0) << herr.str();
    EXPECT_NEAR(p2, p, 1e-9 * p);
    EXPECT_NEAR(D2, Dv, 1e-9 * Dv);   // kph 2: the saturated vapour
    EXPECT_GT(dpdt, 0);
}

}  // namespace
