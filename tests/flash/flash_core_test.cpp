// The flash core shared with the 1.0 flash: present phases from the quality, the molecular
// weights of mass-basis conversions, and what no 1.1 request can reach.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "capeobject/CapeFailure.h"
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

TEST(FlashCore, MassConversionsNeedTheMolecularWeightOfEveryMaterialCompound) {
    std::vector<tarnevo::CompoundRecord> compounds(3);
    compounds[0].molecularWeight = 16.0;
    compounds[1].id = L"B";
    compounds[2].molecularWeight = 44.0;
    EXPECT_DOUBLE_EQ(tarnevo::MeanMolecularWeight({0.5, 0, 0.5}, compounds, {2, 0}), 30.0);  // B is not needed
    EXPECT_EQ(MessageOf([&] { tarnevo::MeanMolecularWeight({0.5, 0, 0.5}, compounds, {0, 1}); }),
              "Cannot perform mass/mole conversions. Missing molecular weight for compound B");
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
