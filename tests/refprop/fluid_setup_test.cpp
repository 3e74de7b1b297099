// Fluid system setup: arguments, call order per model type, messages and warnings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "capeobject/CapeFailure.h"
#include "refprop/FluidSetup.h"
#include "refprop/RefpropLibrary.h"
#include "tests/refprop/support/FakeHost.h"
#include "tests/refprop/support/TestStore.h"

using namespace tarnevo;
using namespace tarnevo_test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

TEST(FluidSetupArguments, PathsWithADriveColonAreKeptOthersAreResolvedInTheRefpropFolder) {
    EXPECT_EQ(ResolveRefpropPath("C:\\RP", "fluids\\X.FLD"), "C:\\RP\\fluids\\X.FLD");
    EXPECT_EQ(ResolveRefpropPath("C:\\RP", "D:\\own\\X.FLD"), "D:\\own\\X.FLD");
    std::string files = BuildFluidFileList("C:\\RP", {"fluids\\A.FLD", "E:\\B.FLD"});
    ASSERT_EQ(files.size(), 10000u);
    EXPECT_EQ(files.substr(0, 32), "C:\\RP\\fluids\\A.FLD|E:\\B.FLD     ");
    EXPECT_EQ(files.find_last_not_of(' '), 26u);
    std::string mixture = BuildMixtureFileArgument("C:\\RP", "fluids\\hmx.bnc");
    ASSERT_EQ(mixture.size(), 255u);
    EXPECT_EQ(mixture.substr(0, 21), "C:\\RP\\fluids\\hmx.bnc ");
    EXPECT_EQ(BuildMixtureFileArgument("C:\\RP", "D:\\own.bnc").substr(0, 11), "D:\\own.bnc ");
}

TEST(FluidSetupArguments, ArgumentsThatDoNotFitAreRefused) {
    std::vector<std::string> many(100, std::string(100, 'f'));
    EXPECT_THROW(BuildFluidFileList("C:\\RP", many), CapeFailure);
    EXPECT_THROW(BuildMixtureFileArgument("C:\\RP", std::string(260, 'm')), CapeFailure);
}

class FluidSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        log_ = store.Root() + L"\\calls.log";
        script_ = store.Root() + L"\\script.txt";
        SetEnvironmentVariableW(L"TARNEVO_FAKE_LOG", log_.c_str());
        SetEnvironmentVariableW(L"TARNEVO_FAKE_SCRIPT", script_.c_str());
        LoadRefpropLibrary(binding, store.RefpropFolder(), store.TemporaryFolder());
        definition.compounds = {L"fluids\\METHANE.FLD", L"fluids\\ETHANE.FLD"};
    }
    void TearDown() override {
        UnloadRefpropLibrary(binding);
        SetEnvironmentVariableW(L"TARNEVO_FAKE_LOG", nullptr);
        SetEnvironmentVariableW(L"TARNEVO_FAKE_SCRIPT", nullptr);
    }
    // Routine names called, in order.
    std::vector<std::string> Routines() {
        std::vector<std::string> names;
        for (const std::string& call : Calls()) names.push_back(call.substr(0, call.find(' ')));
        return names;
    }
    std::vector<std::string> Calls() {
        std::vector<std::string> lines;
        std::istringstream text(ReadFileBytes(log_));
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        DeleteFileW(log_.c_str());
        return lines;
    }
    std::wstring SetupFailure() {
        try {
            SetUpFluidSystem(binding, definition, store.RefpropFolder(), context.Get());
        } catch (const CapeFailure& failure) {
            return failure.message();
        }
        return L"<no failure>";
    }
    void Run() { SetUpFluidSystem(binding, definition, store.RefpropFolder(), context.Get()); }
    static ModelOverride Override(const char* category, const char* mixture, std::vector<std::string> codes) {
        return ModelOverride{category, mixture, std::move(codes)};
    }

    TestStore store{FakeLibrary(L"full")};
    RefpropBinding binding;
    PackageDefinition definition;
    Microsoft::WRL::ComPtr<FakeContext> context = FakeContext::Create();
    std::wstring log_;
    std::wstring script_;
};

TEST_F(FluidSetupTest, DefaultModelCallsOnlySetupWithResolvedFilesAndDefaultReference) {
    definition.overrides = {Override("EOS", "NBS", {"FEQ", "NBS"})};  // ignored without CUSTOM
    Run();
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    const std::string folder = Narrow(store.RefpropFolder());
    EXPECT_THAT(calls[0], StartsWith("SETUPdll herr=blank lerr=255 nc=2 lfiles=10000 lfmix=255 lrf=3 hrf=DEF"));
    EXPECT_THAT(calls[0], HasSubstr(" hfiles=" + folder + "\\fluids\\METHANE.FLD|" + folder + "\\fluids\\ETHANE.FLD "));
    EXPECT_THAT(calls[0], HasSubstr(" hfmix=" + folder + "\\fluids\\hmx.bnc"));
}

TEST_F(FluidSetupTest, EachModelTypeCallsItsSelectionInOrder) {
    definition.gerg = true;
    Run();
    EXPECT_THAT(Calls(), ElementsAre(StartsWith("GERG04dll herr=blank lerr=255 nc=2 iflag=1"), StartsWith("SETUPdll")));

    definition = PackageDefinition();
    definition.compounds = {L"fluids\\METHANE.FLD"};
    definition.pengRobinson = true;
    Run();
    EXPECT_THAT(Calls(), ElementsAre(StartsWith("SETUPdll"), "PREOSdll i=2"));

    definition.pengRobinson = false;
    definition.aga = true;
    Run();
    EXPECT_THAT(Routines(), ElementsAre("SETUPdll", "SETAGAdll"));

    // MODELTYPE=GERG followed by MODELTYPE=PR selects both.
    definition.aga = false;
    definition.gerg = true;
    definition.pengRobinson = true;
    Run();
    EXPECT_THAT(Routines(), ElementsAre("GERG04dll", "SETUPdll", "PREOSdll"));
}

TEST_F(FluidSetupTest, CustomModelAppliesEachOverrideInFileOrderBeforeSetup) {
    definition.custom = true;
    Run();  // no overrides: REFPROP's recommended models
    EXPECT_THAT(Routines(), ElementsAre("SETUPdll"));

    definition.overrides = {Override("EOS", "NBS", {"FEQ", "NBS"}), Override("ETA", "NBS", {"VS1", "ECS"})};
    Run();
    EXPECT_THAT(Calls(), ElementsAre(StartsWith("SETMODdll herr=blank lerr=255 nc=2 htype=EOS hmix=NBS hcomp=FEQNBS lcomp=6"),
                                     StartsWith("SETMODdll herr=blank lerr=255 nc=2 htype=ETA hmix=NBS hcomp=VS1ECS"),
                                     StartsWith("SETUPdll")));
}

TEST_F(FluidSetupTest, FailuresCarryTheStepTextAndStopTheSequence) {
    definition.custom = true;
    definition.overrides = {Override("TCX", "NBS", {"TC1", "XXX"})};
    WriteFileBytes(script_, "SETMODdll 117 [SETMOD error 117] unknown model XXX\n");
    EXPECT_EQ(SetupFailure(), L"Error setting TCX options: [SETMOD error 117] unknown model XXX");
    EXPECT_THAT(Routines(), ElementsAre("SETMODdll"));

    definition = PackageDefinition();
    definition.compounds = {L"fluids\\METHANE.FLD"};
    definition.gerg = true;
    WriteFileBytes(script_, "GERG04dll -1 fluid not in GERG\n");  // even a warning fails here
    EXPECT_EQ(SetupFailure(), L"Error selecting GERG: fluid not in GERG");
    EXPECT_THAT(Routines(), ElementsAre("GERG04dll"));

    definition.gerg = false;
    WriteFileBytes(script_, "SETUPdll 101 [SETUP error 101] fluid file not found\n");
    EXPECT_EQ(SetupFailure(), L"Error setting configuration: [SETUP error 101] fluid file not found");

    definition.aga = true;
    WriteFileBytes(script_, "SETAGAdll 2 AGA8 not available\n");
    EXPECT_EQ(SetupFailure(), L"Error selecting GERG: AGA8 not available");
    EXPECT_TRUE(context->logged.empty());
}

TEST_F(FluidSetupTest, WarningsAreLoggedAndTheSetupGoesOn) {
    definition.custom = true;
    definition.overrides = {Override("STN", "NBS", {"ST1", "ST1"})};
    WriteFileBytes(script_, "SETMODdll -3 model estimated\nSETUPdll -117 binary parameters estimated\n");
    Run();
    EXPECT_THAT(Routines(), ElementsAre("SETMODdll", "SETUPdll"));
    EXPECT_THAT(context->logged, ElementsAre(L"Warning: Setting STN options: model estimated",
                                             L"Warning: Setting configuration: binary parameters estimated"));
}

}  // namespace
