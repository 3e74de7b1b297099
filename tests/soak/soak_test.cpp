// A few hundred package lifecycles in one process leave no TLS slot and no handle behind.
#include <gtest/gtest.h>

#include "tests/soak/SoakCycle.h"

TEST(Soak, PackageLifecyclesLeaveNoTlsSlotOrHandle) {
    tarnevo_test::SoakCycle cycle([](const std::string& message) { FAIL() << message; });
    for (int i = 0; i < 20; ++i) cycle.Run();  // first-use allocations of the process
    const auto before = tarnevo_test::SampleResources();
    for (int i = 0; i < 200 && !::testing::Test::HasFailure(); ++i) cycle.Run();
    const auto after = tarnevo_test::SampleResources();
    EXPECT_EQ(after.lowestFreeTlsIndex, before.lowestFreeTlsIndex);
    EXPECT_EQ(after.handleMark, before.handleMark);
}
