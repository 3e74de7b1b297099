// The flash core shared with the 1.0 flash: present phases from the quality, the mass-to-mole
// conversion of the vapour fraction, and what no 1.1 request can reach.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "errors/CapeFailure.h"
#include "package/FlashExecution.h"
#include "tests/flash/FlashFixture.h"

namespace tarnevo_test {
namespace {

using tarnevo::CapeFailure;
using tarnevo::DecidePresentPhases;
using tarnevo::FlashType;

std::string MessageOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const CapeFailure& failure) {
        return Narrow(failure.message());
    }
    return "(no failure)";
}

TEST(FlashCore, PresentPhasesFromTheQuality) {
    struct Case {
        double q;
        bool vapor, liquid;
        double after;
    };
    const Case cases[] = {
        {0.25, true, true, 0.25}, {998.0009, true, false, 1}, {999, true, false, 1}, {-998, false, true, 0},
        {1.5, true, false, 1},    {0, false, true, 0},        {1, true, false, 1},   {-0.2, false, true, 0},
    };
    for (const Case& c : cases) {
        double q = c.q;
        const tarnevo::PresentPhases phases = DecidePresentPhases(FlashType::PH, q);
        EXPECT_EQ(phases.vapor, c.vapor) << c.q;
        EXPECT_EQ(phases.liquid, c.liquid) << c.q;
        EXPECT_EQ(q, c.after) << c.q;
    }
    // Vapour-fraction flashes keep both phases and the specified fraction.
    for (FlashType type : {FlashType::TQMole, FlashType::PQMole, FlashType::TQMass, FlashType::PQMass}) {
        double q = 0;
        const tarnevo::PresentPhases phases = DecidePresentPhases(type, q);
        EXPECT_TRUE(phases.vapor && phases.liquid);
        EXPECT_EQ(q, 0);
    }
    double q = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(MessageOf([&] { DecidePresentPhases(FlashType::TP, q); }), "Failed to calculate phase equilibrium");
}

TEST(FlashCore, MassToMoleVaporFraction) {
    std::vector<tarnevo::CompoundRecord> compounds(3);
    compounds[0].id = L"A";
    compounds[0].molecularWeight = 16.0;
    compounds[1].id = L"B";
    compounds[1].molecularWeight = 44.0;
    compounds[2].id = L"C";   // not in the material: its weight is never needed
    const std::vector<double> x = {0.2, 0.8, 0}, y = {0.9, 0.1, 0};
    const double mx = 0.2 * 16 + 0.8 * 44, my = 0.9 * 16 + 0.1 * 44;
    EXPECT_NEAR(tarnevo::MassToMoleVaporFraction(0.5, x, y, compounds, {1, 0}), mx * 0.5 / (0.5 * my + 0.5 * mx),
                1e-15);
    EXPECT_EQ(tarnevo::MassToMoleVaporFraction(0, x, y, compounds, {0, 1}), 0);
    EXPECT_EQ(tarnevo::MassToMoleVaporFraction(1, x, y, compounds, {0, 1}), 1);
    EXPECT_EQ(MessageOf([&] { tarnevo::MassToMoleVaporFraction(0.5, x, y, compounds, {0, 2}); }),
              "Cannot perform mass/mole conversions. Missing molecular weight for compound C");
    compounds[0].molecularWeight = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(MessageOf([&] { tarnevo::MassToMoleVaporFraction(0.5, x, y, compounds, {1, 0}); }),
              "Cannot perform mass/mole conversions. Missing molecular weight for compound A");
}

TEST(FlashCore, UnknownFlashTypesAndSinglePhaseVaporFractions) {
    PackagePtr package = FlashStore::Get().Package(L"Three");
    std::vector<double> z = {0.5, 0.3, 0.2}, x, y;
    tarnevo::FlashValues values;
    values.T = 300;
    values.P = 100;
    for (tarnevo::FlashRoute route : {tarnevo::FlashRoute::TwoPhase, tarnevo::FlashRoute::Vapor}) {
        EXPECT_EQ(MessageOf([&] {
                      tarnevo::RunFlashRoutine(package->Refprop(), nullptr, static_cast<FlashType>(18), route, values,
                                               z, x, y);
                  }),
                  "Internal error");
    }
    EXPECT_EQ(MessageOf([&] {
                  tarnevo::RunFlashRoutine(package->Refprop(), nullptr, FlashType::PQMass,
                                           tarnevo::FlashRoute::Liquid, values, z, x, y);
              }),
              "Cannot perform a single phase flash with phase fraction as specification");
}

}  // namespace
}  // namespace tarnevo_test
