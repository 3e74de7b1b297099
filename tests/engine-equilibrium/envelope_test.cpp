// Bubble and dew curves of a natural gas traced point by point with PQFLSHdll and
// TQFLSHdll (molar basis), through the critical region and past the cricondenbar and
// cricondentherm: every point is a true bubble or dew point on its curve, or fails with
// an error code and a message.
#include "RoutineCalls.h"
#include "TestFluids.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

using namespace eqtest;
using ::testing::StartsWith;

namespace {

const double kZ[5] = {0.80, 0.08, 0.05, 0.04, 0.03};

// One traced point: the given value (p or T), the one found, and the phases.
struct Point {
    double given = 0, found = 0;
    double Dl = 0, Dv = 0, x[5] = {}, y[5] = {};
    int ierr = -99;
    std::string herr;
};

Point pq(double p, double q) {
    Point r;
    double pp = p, qq = q, t = 0, D, e, h, s, cv, cp, w, z[5];
    std::copy(kZ, kZ + 5, z);
    int kq = 1;
    Herr herr;
    PQFLSHdll(&pp, &qq, z, &kq, &t, &D, &r.Dl, &r.Dv, r.x, r.y, &e, &h, &s, &cv, &cp, &w, &r.ierr, herr.text, 255);
    r.given = p;
    r.found = t;
    r.herr = herr.str();
    return r;
}

Point tq(double t, double q) {
    Point r;
    double tt = t, qq = q, p = 0, D, e, h, s, cv, cp, w, z[5];
    std::copy(kZ, kZ + 5, z);
    int kq = 1;
    Herr herr;
    TQFLSHdll(&tt, &qq, z, &kq, &p, &D, &r.Dl, &r.Dv, r.x, r.y, &e, &h, &s, &cv, &cp, &w, &r.ierr, herr.text, 255);
    r.given = t;
    r.found = p;
    r.herr = herr.str();
    return r;
}

std::vector<double> pressures() {
    std::vector<double> v;
    for (double p = 100; p < 5000; p += 100) v.push_back(p);
    for (double p = 5000; p < 7000; p += 50) v.push_back(p);
    for (double p = 7000; p < 8000; p += 5) v.push_back(p);   // critical point and cricondenbar
    for (double p = 8000; p <= 30000; p += 500) v.push_back(p);
    return v;
}

std::vector<double> temperatures() {
    std::vector<double> v;
    for (double t = 100; t < 215; t += 1) v.push_back(t);
    for (double t = 215; t < 242; t += 0.1) v.push_back(t);     // critical point
    for (double t = 242; t < 245; t += 0.02) v.push_back(t);    // cricondentherm
    for (double t = 245; t <= 300; t += 1) v.push_back(t);
    return v;
}

class Envelope : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(setUp(naturalGasFluids()), 0);
        mix_ = makeMixture(naturalGasFluids());
        ASSERT_TRUE(mix_);
    }

    // T, p of a point; atT: the given value is T.
    static void state(const Point& r, bool atT, double& T, double& p) {
        T = atT ? r.given : r.found;
        p = atT ? r.found : r.given;
    }

    // A converged point: equal fugacities, both phases at p, the bulk as the liquid
    // (q = 0) or the vapour (q = 1), the liquid the denser phase; the T-P flash gives
    // two phases just inside the curve and one phase just outside.
    void checkPoint(const Point& r, bool atT, double q, const std::string& where) {
        double T, p;
        state(r, atT, T, p);
        ASSERT_TRUE(std::isfinite(T) && T > 0 && std::isfinite(p) && p > 0) << where;
        EXPECT_GT(r.Dl, r.Dv * (1 + 1e-6)) << where;
        double sx = 0, sy = 0;
        for (int i = 0; i < 5; ++i) {
            sx += r.x[i];
            sy += r.y[i];
            const double* bulk = q == 0 ? r.x : r.y;
            EXPECT_NEAR(bulk[i], kZ[i], 1e-12) << where << ", component " << i;
        }
        EXPECT_NEAR(sx, 1, 1e-12) << where;
        EXPECT_NEAR(sy, 1, 1e-12) << where;
        EXPECT_NEAR(mix_->pressure(T, r.Dl, r.x), p, 1e-8 * p + 1e-8) << where;
        EXPECT_NEAR(mix_->pressure(T, r.Dv, r.y), p, 1e-8 * p + 1e-8) << where;
        tarnevo::engine::LnPhi fl, fv;
        mix_->lnPhi(T, r.Dl, r.x, 0, fl);
        mix_->lnPhi(T, r.Dv, r.y, 0, fv);
        for (int i = 0; i < 5; ++i)
            EXPECT_NEAR(std::log(r.x[i]) + fl.lnphi[i], std::log(r.y[i]) + fv.lnphi[i], 1e-8) << where << ", component " << i;
        // Inside: higher T of a bubble point and lower T of a dew point at constant p;
        // lower p of a bubble point and higher p of a dew point at constant T.
        double in = (atT ? (q == 0 ? -1 : 1) : (q == 0 ? 1 : -1)) * 1e-4;
        Flash inside = atT ? tp(T, p * (1 + in), kZ) : tp(T * (1 + in), p, kZ);
        Flash outside = atT ? tp(T, p * (1 - in), kZ) : tp(T * (1 - in), p, kZ);
        ASSERT_LE(inside.ierr, 0) << where << ": " << inside.herr.str();
        ASSERT_LE(outside.ierr, 0) << where << ": " << outside.herr.str();
        EXPECT_TRUE(inside.q > 0 && inside.q < 1) << where << ": inside q = " << inside.q;
        // Outside: one phase, or (beside a bubble point at low temperature) a split into
        // other phases, a liquid rich in CO2, not into the bulk and the incipient phase.
        if (outside.q >= 0 && outside.q <= 1) {
            const double* incipient = q == 0 ? r.y : r.x;
            double own = 0, dx = 0, dy = 0;
            for (int i = 0; i < 5; ++i) {
                own += std::fabs(incipient[i] - kZ[i]);
                dx += std::fabs(incipient[i] - outside.x[i]);
                dy += std::fabs(incipient[i] - outside.y[i]);
            }
            EXPECT_GT(std::min(dx, dy), 0.5 * own) << where << ": outside q = " << outside.q;
        }
    }

    static void checkFailure(const Point& r, const char* prefix, const std::string& where) {
        EXPECT_GT(r.ierr, 0) << where;
        EXPECT_THAT(r.herr, StartsWith(prefix)) << where;
        EXPECT_GT(r.herr.size(), std::string(prefix).size() + 30) << where << ": " << r.herr;
    }

    // Along a curve the found value (T, or ln p when atT) of a point lies between its
    // converged neighbours', within tol: no jump to another branch or a stray root.
    static void checkContinuity(const std::vector<Point>& curve, bool atT, double tol, const char* name) {
        std::vector<const Point*> ok;
        for (const Point& r : curve)
            if (r.ierr <= 0) ok.push_back(&r);
        auto value = [&](const Point* r) { return atT ? std::log(r->found) : r->found; };
        for (size_t k = 1; k + 1 < ok.size(); ++k) {
            double a = value(ok[k - 1]), b = value(ok[k]), c = value(ok[k + 1]);
            EXPECT_GE(b, std::min(a, c) - tol) << name << " at " << ok[k]->given << ": " << ok[k - 1]->found << ", "
                                               << ok[k]->found << ", " << ok[k + 1]->found;
            EXPECT_LE(b, std::max(a, c) + tol) << name << " at " << ok[k]->given << ": " << ok[k - 1]->found << ", "
                                               << ok[k]->found << ", " << ok[k + 1]->found;
        }
    }

    std::unique_ptr<tarnevo::engine::Mixture> mix_;
};

std::string where(const char* routine, double q, double v, const char* unit) {
    std::ostringstream s;
    s << routine << " q = " << q << " at " << v << " " << unit;
    return s.str();
}

TEST_F(Envelope, BubbleAndDewTemperaturesOverPressure) {
    std::vector<Point> bubble, dew;
    for (double p : pressures()) {
        bubble.push_back(pq(p, 0));
        dew.push_back(pq(p, 1));
    }
    int bubbleFound = 0, dewFound = 0;
    for (size_t k = 0; k < bubble.size(); ++k) {
        double p = bubble[k].given;
        for (double q : {0.0, 1.0}) {
            const Point& r = q == 0 ? bubble[k] : dew[k];
            std::string w = where("PQFLSHdll", q, p, "kPa");
            if (r.ierr > 0) {
                checkFailure(r, "PQFLSHdll: P-Q flash at P = ", w);
                // Well below the critical point both curves exist.
                EXPECT_GT(p, q == 0 ? 7000.0 : 7400.0) << w << ": " << r.herr;
                continue;
            }
            (q == 0 ? bubbleFound : dewFound)++;
            checkPoint(r, false, q, w);
            // Above the cricondenbar (about 7.7 MPa) there is no two-phase state.
            EXPECT_LT(p, 7800) << w << ": T = " << r.found;
        }
        if (bubble[k].ierr <= 0 && dew[k].ierr <= 0) {
            EXPECT_GT(dew[k].found, bubble[k].found + 1) << "at " << p << " kPa";
        }
        // Below the cricondentherm pressure T-Q returns the same dew point; below the
        // critical point the same bubble point.
        if (dew[k].ierr <= 0 && p < 5000) {
            Point back = tq(dew[k].found, 1);
            ASSERT_LE(back.ierr, 0) << back.herr;
            EXPECT_NEAR(back.found, p, 1e-7 * p) << "dew point at " << p << " kPa";
        }
        if (bubble[k].ierr <= 0 && p < 7000) {
            Point back = tq(bubble[k].found, 0);
            ASSERT_LE(back.ierr, 0) << back.herr;
            EXPECT_NEAR(back.found, p, 1e-7 * p) << "bubble point at " << p << " kPa";
        }
    }
    checkContinuity(bubble, false, 0.5, "bubble curve");
    checkContinuity(dew, false, 0.5, "dew curve");
    EXPECT_GT(bubbleFound, 150);
    EXPECT_GT(dewFound, 220);
    std::printf("P-Q: %d bubble and %d dew points of %zu pressures\n", bubbleFound, dewFound, bubble.size());
}

TEST_F(Envelope, BubbleAndDewPressuresOverTemperature) {
    std::vector<Point> bubble, dew;
    for (double t : temperatures()) {
        bubble.push_back(tq(t, 0));
        dew.push_back(tq(t, 1));
    }
    int bubbleFound = 0, dewFound = 0;
    for (size_t k = 0; k < bubble.size(); ++k) {
        double t = bubble[k].given;
        for (double q : {0.0, 1.0}) {
            const Point& r = q == 0 ? bubble[k] : dew[k];
            std::string w = where("TQFLSHdll", q, t, "K");
            if (r.ierr > 0) {
                checkFailure(r, "TQFLSHdll: T-Q flash at T = ", w);
                // Dew points below 105 K lie under 4 Pa, where the liquid's fugacity
                // coefficients carry rounding of about 1e-6.
                if (q == 0 || t >= 105) {
                    EXPECT_GT(t, q == 0 ? 220.0 : 243.0) << w << ": " << r.herr;
                }
                continue;
            }
            (q == 0 ? bubbleFound : dewFound)++;
            checkPoint(r, true, q, w);
            // Above the cricondentherm (about 243.4 K) there is no two-phase state.
            EXPECT_LT(t, 243.6) << w << ": P = " << r.found;
        }
        if (bubble[k].ierr <= 0 && dew[k].ierr <= 0) {
            EXPECT_GT(bubble[k].found, dew[k].found * 1.01) << "at " << t << " K";
        }
    }
    checkContinuity(bubble, true, 0.005, "bubble curve");
    checkContinuity(dew, true, 0.005, "dew curve");
    EXPECT_GT(bubbleFound, 150);
    EXPECT_GT(dewFound, 400);
    std::printf("T-Q: %d bubble and %d dew points of %zu temperatures\n", bubbleFound, dewFound, bubble.size());
}

TEST_F(Envelope, InsideTheCurvesTheVapourFractionIsThatOfTheTPFlash) {
    for (double p : {500.0, 2000.0, 5000.0, 6500.0}) {
        for (double q : {0.2, 0.5, 0.8}) {
            Point r = pq(p, q);
            std::string w = where("PQFLSHdll", q, p, "kPa");
            ASSERT_LE(r.ierr, 0) << w << ": " << r.herr;
            for (int i = 0; i < 5; ++i) EXPECT_NEAR((1 - q) * r.x[i] + q * r.y[i], kZ[i], 1e-10) << w;
            Flash f = tp(r.found, p, kZ);
            ASSERT_LE(f.ierr, 0) << w << ": " << f.herr.str();
            EXPECT_NEAR(f.q, q, 1e-6) << w;
            EXPECT_NEAR(f.Dl, r.Dl, 1e-6 * r.Dl) << w;
            EXPECT_NEAR(f.Dv, r.Dv, 1e-6 * r.Dv) << w;
        }
    }
}

}  // namespace
