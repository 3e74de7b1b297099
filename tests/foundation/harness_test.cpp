#include <gtest/gtest.h>

TEST(Harness, RunsUnderTheTestPlatform) {
    EXPECT_EQ(sizeof(void*), 8u);
}
