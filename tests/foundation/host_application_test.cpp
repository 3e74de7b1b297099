// Host detection from command lines.
#include <gtest/gtest.h>

#include "com/HostApplication.h"

namespace {

using tarnevo::HostCodeFromCommandLine;

TEST(HostApplication, RecognisesEachHostByItsExecutableName) {
    EXPECT_EQ(HostCodeFromCommandLine("\"C:\\Program Files\\SIMSCI\\PROII\\bin\\PROII.EXE\" /run case1.prz"), 3);
    EXPECT_EQ(HostCodeFromCommandLine("hysys.exe -s case.hsc"), 2);
    EXPECT_EQ(HostCodeFromCommandLine("C:\\AspenTech\\apwin.exe"), 1);
    EXPECT_EQ(HostCodeFromCommandLine("ApMain.exe\tx"), 1);
    EXPECT_EQ(HostCodeFromCommandLine("\"D:\\UniSim\\UniSimDesign.exe\""), 4);
    EXPECT_EQ(HostCodeFromCommandLine("vintra.exe"), 5);
    EXPECT_EQ(HostCodeFromCommandLine("\"vintra64.exe"), 5) << "an unterminated quote runs to the end";
}

TEST(HostApplication, OnlyExactNamesMatch) {
    EXPECT_EQ(HostCodeFromCommandLine("hysys64.exe -s case.hsc"), 0);
    EXPECT_EQ(HostCodeFromCommandLine("hysys"), 0);
    EXPECT_EQ(HostCodeFromCommandLine("C:\\tools\\proii.exe.bak"), 0);
    EXPECT_EQ(HostCodeFromCommandLine("\"C:\\My Apps\\other.exe\" proii.exe"), 0);
    EXPECT_EQ(HostCodeFromCommandLine("C:\\My Apps\\proii.exe"), 0) << "unquoted path ends at the space";
    EXPECT_EQ(HostCodeFromCommandLine(""), 0);
    EXPECT_EQ(HostCodeFromCommandLine(nullptr), 0);
    EXPECT_EQ(HostCodeFromCommandLine("\"\""), 0);
}

TEST(HostApplication, ThisTestProgramIsNoKnownHostAndTheResultIsCached) {
    EXPECT_EQ(tarnevo::GetHostApplication(), 0);
    EXPECT_EQ(tarnevo::GetHostApplication(), 0);
}

}  // namespace
