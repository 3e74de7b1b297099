// The equilibrium routines as the server calls them: argument conventions, the
// vapour-fraction codes, error codes and messages.
#include "RoutineCalls.h"
#include "TestFluids.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace eqtest;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

const double kGas[5] = {0.85, 0.07, 0.03, 0.03, 0.02};

class Routines : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(setUp(naturalGasFluids()), 0); }
};

TEST_F(Routines, TPFlashReportsPhasesAndBlankMessage) {
    Flash f = tp(180, 2000, kGas);
    ASSERT_EQ(f.ierr, 0) << f.herr.str();
    EXPECT_EQ(f.herr.raw(), std::string(255, ' '));
    EXPECT_GT(f.q, 0);
    EXPECT_LT(f.q, 1);
    double sx = 0, sy = 0;
    for (int i = 0; i < 5; ++i) {
        sx += f.x[i];
        sy += f.y[i];
        EXPECT_NEAR((1 - f.q) * f.x[i] + f.q * f.y[i], kGas[i], 1e-12);
    }
    EXPECT_NEAR(sx, 1, 1e-12);
    EXPECT_NEAR(sy, 1, 1e-12);
    EXPECT_GT(f.Dl, f.D);
    EXPECT_LT(f.Dv, f.D);
}

TEST_F(Routines, OnePhaseCodesAndCompositions) {
    struct Expect { double t, p, q; };
    for (Expect e : {Expect{300, 1000, 998}, Expect{300, 8000, 999}, Expect{110, 2000, -998}}) {
        Flash f = tp(e.t, e.p, kGas);
        ASSERT_EQ(f.ierr, 0) << f.herr.str();
        EXPECT_EQ(f.q, e.q);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(f.x[i], kGas[i]);
            EXPECT_EQ(f.y[i], kGas[i]);
        }
        EXPECT_EQ(f.Dl, f.D);
        EXPECT_EQ(f.Dv, f.D);
        EXPECT_GT(f.w, 0);
    }
}

TEST_F(Routines, PHFlashReturnsTheTemperatureOfTheTPFlash) {
    for (auto [t, p] : std::vector<std::pair<double, double>>{{180, 2000}, {300, 5000}, {110, 2000}}) {
        Flash ref = tp(t, p, kGas);
        Flash f = ph(p, ref.h, kGas);
        ASSERT_EQ(f.ierr, 0) << f.herr.str();
        EXPECT_NEAR(f.t, t, 1e-6 * t);
        EXPECT_NEAR(f.q, ref.q, 1e-6);
        EXPECT_NEAR(f.s, ref.s, 1e-6 * std::fabs(ref.s));
    }
}

TEST_F(Routines, FailuresNameTheFlashTheInputsAndTheCause) {
    Flash f = ph(5000, 1e9, kGas);
    EXPECT_GT(f.ierr, 0);
    EXPECT_THAT(f.herr.str(), StartsWith("PHFLSHdll: P-H flash at P = 5000 kPa, h = 1000000000 J/mol: "));
    EXPECT_EQ(f.herr.raw().substr(f.herr.str().size()), std::string(255 - f.herr.str().size(), ' '));

    double nan = std::numeric_limits<double>::quiet_NaN();
    Flash g = tp(nan, 100, kGas);
    EXPECT_EQ(g.ierr, 1);
    EXPECT_THAT(g.herr.str(), StartsWith("TPFLSHdll: T-P flash at T = nan K, P = 100 kPa: "));
    Flash neg = tp(300, -5, kGas);
    EXPECT_EQ(neg.ierr, 1);
    EXPECT_EQ(neg.herr.str(), "TPFLSHdll: T-P flash at T = 300 K, P = -5 kPa: pressure -5 kPa is not valid (0 < p <= 1e9 kPa)");

    const double bad[5] = {0.5, 0.5, 0.5, 0, 0};
    Flash c = tp(300, 100, bad);
    EXPECT_EQ(c.ierr, 1);
    EXPECT_THAT(c.herr.str(), HasSubstr("sums to 1.5"));

    // Saturation above the cricondentherm: no dew point.
    double t = 400, x[5], p, Dl, Dv, xl[5], xv[5];
    std::copy(kGas, kGas + 5, x);
    int kph = 2, ierr = 0;
    Herr herr;
    SATTdll(&t, x, &kph, &p, &Dl, &Dv, xl, xv, &ierr, herr.text, 255);
    EXPECT_GT(ierr, 0);
    EXPECT_THAT(herr.str(), StartsWith("SATTdll: dew point at T = 400 K: "));
    kph = 3;
    SATTdll(&t, x, &kph, &p, &Dl, &Dv, xl, xv, &ierr, herr.text, 255);
    EXPECT_EQ(ierr, 1);
    EXPECT_THAT(herr.str(), HasSubstr("kph must be 1 (bubble point) or 2 (dew point)"));
}

TEST_F(Routines, SaturationAndQualityFlashesAgree) {
    double t = 170, x[5], p = 0, Dl, Dv, xl[5], xv[5];
    std::copy(kGas, kGas + 5, x);
    int kph = 1, ierr = -1;
    Herr herr;
    SATTdll(&t, x, &kph, &p, &Dl, &Dv, xl, xv, &ierr, herr.text, 255);
    ASSERT_EQ(ierr, 0) << herr.str();
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(xl[i], kGas[i], 1e-12);

    double q = 0, pq = 0, D, Dl2, Dv2, xq[5], yq[5], e, h, s, cv, cp, w;
    int kq = 1;
    TQFLSHdll(&t, &q, x, &kq, &pq, &D, &Dl2, &Dv2, xq, yq, &e, &h, &s, &cv, &cp, &w, &ierr, herr.text, 255);
    ASSERT_EQ(ierr, 0) << herr.str();
    EXPECT_NEAR(pq, p, 1e-9 * p);
    double tq = 0;
    PQFLSHdll(&p, &q, x, &kq, &tq, &D, &Dl2, &Dv2, xq, yq, &e, &h, &s, &cv, &cp, &w, &ierr, herr.text, 255);
    ASSERT_EQ(ierr, 0) << herr.str();
    EXPECT_NEAR(tq, t, 1e-9 * t);

    // Mass basis: the vapour mass fraction of the returned phases is q.
    q = 0.5;
    kq = 2;
    TQFLSHdll(&t, &q, x, &kq, &pq, &D, &Dl2, &Dv2, xq, yq, &e, &h, &s, &cv, &cp, &w, &ierr, herr.text, 255);
    ASSERT_EQ(ierr, 0) << herr.str();
    const double M[5] = {16.0428, 30.069, 44.09562, 28.01348, 44.0098};
    double ml = 0, mv = 0;
    for (int i = 0; i < 5; ++i) {
        ml += xq[i] * M[i];
        mv += yq[i] * M[i];
    }
    double beta = 0;   // molar fraction from the material balance of methane
    beta = (kGas[0] - xq[0]) / (yq[0] - xq[0]);
    EXPECT_NEAR(beta * mv / (beta * mv + (1 - beta) * ml), 0.5, 1e-4);
}

TEST_F(Routines, PureComponentSaturationSlopeAndHeatCapacity) {
    int icomp = 3, kph = 1, ierr = -1;   // propane
    double t = 250, p = 0, D = 0, csat = 0, dpdt = 0;
    Herr herr;
    DPTSATKdll(&icomp, &t, &kph, &p, &D, &csat, &dpdt, &ierr, herr.text, 255);
    ASSERT_EQ(ierr, 0) << herr.str();
    double tp1 = t + 0.01, tm1 = t - 0.01, pp = 0, pm = 0, d2, c2, s2;
    DPTSATKdll(&icomp, &tp1, &kph, &pp, &d2, &c2, &s2, &ierr, herr.text, 255);
    DPTSATKdll(&icomp, &tm1, &kph, &pm, &d2, &c2, &s2, &ierr, herr.text, 255);
    EXPECT_NEAR(dpdt, (pp - pm) / 0.02, 1e-5 * dpdt);
    double p2 = 0, D2 = 0, csat2 = 0;
    CSATKdll(&icomp, &t, &kph, &p2, &D2, &csat2, &ierr, herr.text, 255);
    ASSERT_EQ(ierr, 0) << herr.str();
    EXPECT_EQ(p2, p);
    EXPECT_EQ(csat2, csat);
    EXPECT_GT(csat, 50);   // liquid propane, about 100 J/(mol K)
    icomp = 6;
    CSATKdll(&icomp, &t, &kph, &p2, &D2, &csat2, &ierr, herr.text, 255);
    EXPECT_EQ(ierr, 1);
    EXPECT_THAT(herr.str(), HasSubstr("icomp must be between 1 and 5"));
    icomp = 1;
    t = 250;   // above methane's critical temperature
    CSATKdll(&icomp, &t, &kph, &p2, &D2, &csat2, &ierr, herr.text, 255);
    EXPECT_GT(ierr, 0);
    EXPECT_THAT(herr.str(), HasSubstr("critical temperature"));
}

TEST_F(Routines, SinglePhaseSolverHonoursTheCodeAndThePhase) {
    Flash gas = tp(300, 5000, kGas);
    Flash liquid = tp(110, 2000, kGas);
    double z[5];
    std::copy(kGas, kGas + 5, z);
    double dmin = 1e-10, dmax = 1e8;
    auto abfl1 = [&](const char* code, double a, double b, int kph, double& t, double& p, double& D) {
        char ab[3] = {code[0], code[1], '\0'};
        int ierr = -1;
        Herr herr;
        t = 0;
        ABFL1dll(&a, &b, z, &kph, ab, &dmin, &dmax, &t, &p, &D, &ierr, herr.text, 2, 255);
        EXPECT_EQ(ierr, 0) << code << ": " << herr.str();
        return ierr;
    };
    double t, p, D;
    abfl1("PH", 5000, gas.h, 2, t, p, D);
    EXPECT_NEAR(t, 300, 1e-6 * 300);
    abfl1("PS", 2000, liquid.s, 1, t, p, D);
    EXPECT_NEAR(t, 110, 1e-6 * 110);
    abfl1("TD", 300, gas.D, 2, t, p, D);
    EXPECT_NEAR(p, 5000, 1e-9 * 5000);
    abfl1("TH", 300, gas.h, 2, t, p, D);
    EXPECT_NEAR(p, 5000, 1e-6 * 5000);
    abfl1("DE", gas.D, gas.e, 2, t, p, D);
    EXPECT_NEAR(t, 300, 1e-6 * 300);
    abfl1("SH", gas.s, gas.h, 2, t, p, D);   // a = s, b = h
    EXPECT_NEAR(t, 300, 1e-6 * 300);
    EXPECT_NEAR(p, 5000, 1e-6 * 5000);
    abfl1("pd", 2000, liquid.D, 1, t, p, D);
    EXPECT_NEAR(t, 110, 1e-6 * 110);

    char bad[] = "XY";
    double a = 1, b = 2;
    int kph = 1, ierr = 0;
    Herr herr;
    ABFL1dll(&a, &b, z, &kph, bad, &dmin, &dmax, &t, &p, &D, &ierr, herr.text, 2, 255);
    EXPECT_EQ(ierr, 1);
    EXPECT_THAT(herr.str(), HasSubstr("unknown specification code \"XY\""));
    char ph[] = "PH";
    kph = 3;
    ABFL1dll(&a, &b, z, &kph, ph, &dmin, &dmax, &t, &p, &D, &ierr, herr.text, 2, 255);
    EXPECT_EQ(ierr, 1);
    EXPECT_THAT(herr.str(), HasSubstr("kph must be 1 (liquid) or 2 (vapour)"));
}

TEST_F(Routines, EveryFlashRoundTripsThroughTheRoutines) {
    Flash ref = tp(180, 2000, kGas);
    ASSERT_EQ(ref.ierr, 0);
    double z[5];
    std::copy(kGas, kGas + 5, z);
    Flash f;
    int kr = 1;
    auto check = [&](const char* name, double t, double p) {
        EXPECT_EQ(f.ierr, 0) << name << ": " << f.herr.str();
        EXPECT_NEAR(t, 180, 1e-6 * 180) << name;
        EXPECT_NEAR(p, 2000, 1e-6 * 2000) << name;
    };
    double qq;
    THFLSHdll(&ref.t, &ref.h, z, &kr, &f.p, &f.D, &f.Dl, &f.Dv, f.x, f.y, &f.q, &f.e, &f.s, &f.cv, &f.cp, &f.w,
              &f.ierr, f.herr.text, 255);
    check("THFLSHdll", 180, f.p);
    EXPECT_NEAR(f.q, ref.q, 1e-6);
    TSFLSHdll(&ref.t, &ref.s, z, &kr, &f.p, &f.D, &f.Dl, &f.Dv, f.x, f.y, &f.q, &f.e, &f.h, &f.cv, &f.cp, &f.w,
              &f.ierr, f.herr.text, 255);
    check("TSFLSHdll", 180, f.p);
    TEFLSHdll(&ref.t, &ref.e, z, &kr, &f.p, &f.D, &f.Dl, &f.Dv, f.x, f.y, &f.q, &f.h, &f.s, &f.cv, &f.cp, &f.w,
              &f.ierr, f.herr.text, 255);
    check("TEFLSHdll", 180, f.p);
    TDFLSHdll(&ref.t, &ref.D, z, &f.p, &f.Dl, &f.Dv, f.x, f.y, &f.q, &f.e, &f.h, &f.s, &f.cv, &f.cp, &f.w,
              &f.ierr, f.herr.text, 255);
    check("TDFLSHdll", 180, f.p);
    PSFLSHdll(&ref.p, &ref.s, z, &f.t, &f.D, &f.Dl, &f.Dv, f.x, f.y, &f.q, &f.e, &f.h, &f.cv, &f.cp, &f.w,
              &f.ierr, f.herr.text, 255);
    check("PSFLSHdll", f.t, 2000);
    PEFLSHdll(&ref.p, &ref.e, z, &f.t, &f.D, &f.Dl, &f.Dv, f.x, f.y, &f.q, &f.h, &f.s, &f.cv, &f.cp, &f.w,
              &f.ierr, f.herr.text, 255);
    check("PEFLSHdll", f.t, 2000);
    PDFLSHdll(&ref.p, &ref.D, z, &f.t, &f.Dl, &f.Dv, f.x, f.y, &f.q, &f.e, &f.h, &f.s, &f.cv, &f.cp, &f.w,
              &f.ierr, f.herr.text, 255);
    check("PDFLSHdll", f.t, 2000);
    DHFLSHdll(&ref.D, &ref.h, z, &f.t, &f.p, &f.Dl, &f.Dv, f.x, f.y, &f.q, &f.e, &f.s, &f.cv, &f.cp, &f.w,
              &f.ierr, f.herr.text, 255);
    check("DHFLSHdll", f.t, f.p);
    DSFLSHdll(&ref.D, &ref.s, z, &f.t, &f.p, &f.Dl, &f.Dv, f.x, f.y, &f.q, &f.e, &f.h, &f.cv, &f.cp, &f.w,
              &f.ierr, f.herr.text, 255);
    check("DSFLSHdll", f.t, f.p);
    DEFLSHdll(&ref.D, &ref.e, z, &f.t, &f.p, &f.Dl, &f.Dv, f.x, f.y, &f.q, &f.h, &f.s, &f.cv, &f.cp, &f.w,
              &f.ierr, f.herr.text, 255);
    check("DEFLSHdll", f.t, f.p);
    HSFLSHdll(&ref.h, &ref.s, z, &f.t, &f.p, &f.D, &f.Dl, &f.Dv, f.x, f.y, &qq, &f.e, &f.cv, &f.cp, &f.w,
              &f.ierr, f.herr.text, 255);
    check("HSFLSHdll", f.t, f.p);
    EXPECT_NEAR(qq, ref.q, 1e-6);
    ESFLSHdll(&ref.e, &ref.s, z, &f.t, &f.p, &f.D, &f.Dl, &f.Dv, f.x, f.y, &qq, &f.h, &f.cv, &f.cp, &f.w,
              &f.ierr, f.herr.text, 255);
    check("ESFLSHdll", f.t, f.p);
}

}  // namespace

namespace {

TEST_F(Routines, AbsurdInputsGiveAnErrorCodeNeverANumberOfNoMeaning) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    double z[5];
    std::copy(kGas, kGas + 5, z);
    for (double a : {0.0, -1.0, nan, inf, 1e-300, 1e12}) {
        for (double b : {300.0, nan, -inf}) {
            // 1e-300 K passes the input checks and fails in the model.
            int expected = a == 1e-300 && std::isfinite(b) ? 5 : 1;
            Flash f = tp(a, b, kGas);
            EXPECT_EQ(f.ierr, expected) << a << ", " << b;
            EXPECT_THAT(f.herr.str(), StartsWith("TPFLSHdll: T-P flash at T = "));
            Flash g = ph(a, b, kGas);
            EXPECT_GT(g.ierr, 0) << a << ", " << b;
            double t = a, h = b, p = 0, D, Dl, Dv, x[5], y[5], q, e, s, cv, cp, w;
            int kr = 2, ierr = 0;
            Herr herr;
            THFLSHdll(&t, &h, z, &kr, &p, &D, &Dl, &Dv, x, y, &q, &e, &s, &cv, &cp, &w, &ierr, herr.text, 255);
            EXPECT_GT(ierr, 0) << a << ", " << b;
            EXPECT_THAT(herr.str(), StartsWith("THFLSHdll: T-H flash at T = "));
        }
    }
    // Values no state has: an error with the reason, not a state.
    Flash g = ph(100, 1e7, kGas);
    EXPECT_EQ(g.ierr, 3);
    EXPECT_THAT(g.herr.str(), HasSubstr("no solution within the range of the engine"));
    double D = 1e4, h = 0, t, p, Dl, Dv, x[5], y[5], q, e, s, cv, cp, w;
    int ierr = 0;
    Herr herr;
    DHFLSHdll(&D, &h, z, &t, &p, &Dl, &Dv, x, y, &q, &e, &s, &cv, &cp, &w, &ierr, herr.text, 255);
    EXPECT_EQ(ierr, 3);
    EXPECT_THAT(herr.str(), HasSubstr("density is above the highest density of the model"));
}

TEST_F(Routines, ComponentsAbsentFromTheFeedStayAtZero) {
    const double z[5] = {0.9, 0, 0.1, 0, 0};
    Flash f = tp(200, 2000, z);
    ASSERT_EQ(f.ierr, 0) << f.herr.str();
    ASSERT_GT(f.q, 0);
    ASSERT_LT(f.q, 1);
    for (int i : {1, 3, 4}) {
        EXPECT_EQ(f.x[i], 0);
        EXPECT_EQ(f.y[i], 0);
    }
    Flash g = ph(2000, f.h, z);
    ASSERT_EQ(g.ierr, 0) << g.herr.str();
    EXPECT_NEAR(g.t, 200, 2e-4);
}

}  // namespace
