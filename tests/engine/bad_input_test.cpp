// A sweep of invalid inputs through every routine with an error code: a code above
// zero and a message, never a crash, a hang or a NaN reported as success; the
// routines without an error code answer NaN.
#include "api_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>

using namespace enginetest;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

class BadInput : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(setup(naturalGas(), herr), 0) << herr.str(); }
    Message herr;
    double x[5] = {0.85, 0.06, 0.03, 0.04, 0.02};
};

}  // namespace

TEST_F(BadInput, TemperaturePressureAndDensity) {
    const double badT[] = {0, -10, kNaN, kInf, 1e12};
    const double badP[] = {0, -1, kNaN, kInf, 1e15};
    for (double T : badT) {
        double t = T, p = 1000, D = 5, phi[5], eta = 1, tcx = 1, sigma = 1;
        int kph = 2, kguess = 0, ierr = 0;
        TPRHOdll(&t, &p, x, &kph, &kguess, &D, &ierr, herr.text, 255);
        EXPECT_EQ(ierr, 1) << T;
        EXPECT_THAT(herr.str(), StartsWith("TPRHOdll: temperature"));
        D = 5;
        FUGCOFdll(&t, &D, x, phi, &ierr, herr.text, 255);
        EXPECT_EQ(ierr, 1) << T;
        TRNPRPdll(&t, &D, x, &eta, &tcx, &ierr, herr.text, 255);
        EXPECT_EQ(ierr, 1) << T;
        double Dv = 0.1;
        SURTENdll(&t, &D, &Dv, x, x, &sigma, &ierr, herr.text, 255);
        EXPECT_EQ(ierr, 1) << T;
        double pp = 0, e, h, s, cv, cp, w, hjt;
        THERMdll(&t, &D, x, &pp, &e, &h, &s, &cv, &cp, &w, &hjt);
        EXPECT_TRUE(std::isnan(pp) && std::isnan(h) && std::isnan(w)) << T;
        double B = 0;
        VIRBdll(&t, x, &B);
        EXPECT_TRUE(std::isnan(B));
    }
    for (double P : badP) {
        double t = 300, p = P, D = 0;
        int kph = 1, kguess = 0, ierr = 0;
        TPRHOdll(&t, &p, x, &kph, &kguess, &D, &ierr, herr.text, 255);
        EXPECT_EQ(ierr, 1) << P;
        EXPECT_THAT(herr.str(), StartsWith("TPRHOdll: pressure"));
    }
    const double badD[] = {0, -1, kNaN, kInf, 1e9, 80};  // 80 mol/L: beyond the densest state of the gas
    for (double Dbad : badD) {
        double t = 300, D = Dbad, phi[5], eta, tcx;
        int ierr = 0;
        FUGCOFdll(&t, &D, x, phi, &ierr, herr.text, 255);
        EXPECT_EQ(ierr, 1) << Dbad;
        EXPECT_THAT(herr.str(), HasSubstr("density"));
        if (Dbad != 0) {
            TRNPRPdll(&t, &D, x, &eta, &tcx, &ierr, herr.text, 255);
            EXPECT_EQ(ierr, 1) << Dbad;
            double pp = 0, e, h, s, cv, cp, w, hjt;
            THERMdll(&t, &D, x, &pp, &e, &h, &s, &cv, &cp, &w, &hjt);
            EXPECT_TRUE(std::isnan(pp)) << Dbad;
        }
    }
    int kph = 7, kguess = 0, ierr = 0;
    double t = 300, p = 100, D;
    TPRHOdll(&t, &p, x, &kph, &kguess, &D, &ierr, herr.text, 255);
    EXPECT_EQ(ierr, 1);
    EXPECT_THAT(herr.str(), HasSubstr("phase flag kph 7"));
}

TEST_F(BadInput, Compositions) {
    const std::vector<std::vector<double>> bad = {
        {0.5, 0.2, 0.1, 0.1, 0.0},     // sums to 0.9
        {0.9, 0.2, 0.0, 0.0, 0.0},     // sums to 1.1
        {kNaN, 0.2, 0.2, 0.3, 0.3},
        {1.2, -0.2, 0.0, 0.0, 0.0},
        {0, 0, 0, 0, 0}};
    for (auto z : bad) {
        double t = 300, p = 1000, D = 1, phi[5] = {}, f[5] = {};
        int kph = 2, kguess = 0, ierr = 0;
        TPRHOdll(&t, &p, z.data(), &kph, &kguess, &D, &ierr, herr.text, 255);
        EXPECT_EQ(ierr, 1);
        EXPECT_THAT(herr.str(), StartsWith("TPRHOdll: composition"));
        D = 1;
        FUGCOFdll(&t, &D, z.data(), phi, &ierr, herr.text, 255);
        EXPECT_EQ(ierr, 1);
        FGCTYdll(&t, &D, z.data(), f);
        EXPECT_TRUE(std::isnan(f[0]));
    }
    // Rounding in the sum is accepted and normalised.
    double z[5] = {0.85 + 1e-9, 0.06, 0.03, 0.04, 0.02}, t = 300, p = 1000, D;
    int kph = 2, kguess = 0, ierr = -5;
    TPRHOdll(&t, &p, z, &kph, &kguess, &D, &ierr, herr.text, 255);
    EXPECT_EQ(ierr, 0) << herr.str();
}

TEST_F(BadInput, ExtremeButValidStatesGiveFiniteResultsOrAnError) {
    // A grid from near 0 K to 10000 K and 1e-6 kPa to 1e7 kPa: never NaN with ierr = 0.
    for (double T : {1.0, 20.0, 90.0, 200.0, 300.0, 1000.0, 10000.0}) {
        for (double p : {1e-6, 1.0, 1e3, 1e5, 1e7}) {
            for (int kph : {1, 2}) {
                double t = T, pp = p, D = 0;
                int kguess = 0, ierr = 0;
                TPRHOdll(&t, &pp, x, &kph, &kguess, &D, &ierr, herr.text, 255);
                if (ierr > 0) {
                    EXPECT_FALSE(herr.str().empty());
                    continue;
                }
                ASSERT_TRUE(std::isfinite(D) && D > 0) << T << " " << p;
                double phi[5], eta, tcx;
                FUGCOFdll(&t, &D, x, phi, &ierr, herr.text, 255);
                if (ierr <= 0) {
                    for (double v : phi) EXPECT_TRUE(std::isfinite(v)) << T << " " << p;
                }
                TRNPRPdll(&t, &D, x, &eta, &tcx, &ierr, herr.text, 255);
                if (ierr <= 0) {
                    EXPECT_TRUE(std::isfinite(eta) && std::isfinite(tcx)) << T << " " << p;
                }
            }
        }
    }
}

TEST(BadFiles, MixtureFileWithBadLinesIsRejectedWithTheLine) {
    const std::string path = testing::TempDir() + "bad_hmx.bnc";
    {
        std::ofstream out(path);
        out << "! comment\nPR 74-82-8 74-84-0 -0.0059\nPR 74-82-8 74-98-6 zero\n";
    }
    Message herr;
    EXPECT_EQ(setup({"METHANE", "ETHANE"}, herr, path), 101);
    EXPECT_THAT(herr.str(), HasSubstr("bad line 3 in mixture file"));
    EXPECT_THAT(herr.str(), Not(HasSubstr("zero"))) << "the content of the line is not echoed";
    {
        std::ofstream out(path);
        out << "PR 74-82-8 74-84-0 1.5\n";
    }
    EXPECT_EQ(setup({"METHANE", "ETHANE"}, herr, path), 101);
    EXPECT_THAT(herr.str(), HasSubstr("bad line 1"));
    {
        std::ofstream out(path);
        out << "PR 74-82-8 74-84-0 0.1 extra\n";
    }
    EXPECT_EQ(setup({"METHANE", "ETHANE"}, herr, path), 101);
    {
        std::ofstream out(path);
        out << "PR 74-82-8 74-84-0 0.1\n\nPR 74-84-0 74-82-8 0.2\n";
    }
    EXPECT_EQ(setup({"METHANE", "ETHANE"}, herr, path), 101);
    EXPECT_THAT(herr.str(), HasSubstr("bad line 3"));
    EXPECT_THAT(herr.str(), HasSubstr("listed twice"));
}

TEST(BadFiles, TruncatedOrGarbledFluidFileIsRejected) {
    const std::string path = testing::TempDir() + "BROKEN.FLD";
    {
        std::ofstream out(path);
        out << "BROKEN\n1-2-3\nbroken\nX\n\n10\n";
    }
    Message herr;
    std::string files = path;
    files.resize(10000, ' ');
    std::string mix(255, ' '), hrf = "DEF";
    int nc = 1, ierr = 0;
    SETUPdll(&nc, files.data(), mix.data(), hrf.data(), &ierr, herr.text, 10000, 255, 3, 255);
    EXPECT_EQ(ierr, 101);
    EXPECT_THAT(herr.str(), HasSubstr("header incomplete"));
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 400; ++i) out << char(i * 37 % 256);
    }
    SETUPdll(&nc, files.data(), mix.data(), hrf.data(), &ierr, herr.text, 10000, 255, 3, 255);
    EXPECT_EQ(ierr, 101);
}

TEST(BadFiles, EquilibriumRoutinesWithoutSetupReportAnError) {
    Message herr;
    EXPECT_EQ(setup({"NOSUCH"}, herr, ""), 101);
    double t = 300, x[1] = {1}, p, Dl, Dv, xl[1], xv[1];
    int kph = 1, ierr = 0;
    SATTdll(&t, x, &kph, &p, &Dl, &Dv, xl, xv, &ierr, herr.text, 255);
    EXPECT_GT(ierr, 0);
    EXPECT_THAT(herr.str(), StartsWith("SATTdll: "));
}
