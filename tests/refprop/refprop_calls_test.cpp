// Calling conventions: herr prepared before each call, hidden lengths, the density-guess
// rule, REFPROP messages and warnings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "refprop/RefpropLibrary.h"
#include "tests/refprop/support/FakeHost.h"
#include "tests/refprop/support/TestStore.h"

using namespace tarnevo;
using namespace tarnevo_test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// The scripted library with its call log and script in the store's root.
class FakeLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        log_ = store.Root() + L"\\calls.log";
        script_ = store.Root() + L"\\script.txt";
        SetEnvironmentVariableW(L"TARNEVO_FAKE_LOG", log_.c_str());
        SetEnvironmentVariableW(L"TARNEVO_FAKE_SCRIPT", script_.c_str());
        LoadRefpropLibrary(binding, store.RefpropFolder(), store.TemporaryFolder());
    }
    void TearDown() override {
        UnloadRefpropLibrary(binding);
        SetEnvironmentVariableW(L"TARNEVO_FAKE_LOG", nullptr);
        SetEnvironmentVariableW(L"TARNEVO_FAKE_SCRIPT", nullptr);
    }
    void Script(const std::string& lines) { WriteFileBytes(script_, lines); }
    std::vector<std::string> Calls() {
        std::vector<std::string> lines;
        std::istringstream text(ReadFileBytes(log_));
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        DeleteFileW(log_.c_str());
        return lines;
    }
    void DirtyMessage() { std::fill(binding.herr, binding.herr + sizeof binding.herr, 'x'); }

    TestStore store{FakeLibrary(L"full")};
    RefpropBinding binding;
    std::wstring log_;
    std::wstring script_;
};

TEST_F(FakeLibraryTest, EveryHelperBlanksHerrAndPassesTheHiddenLengths) {
    double x[2] = {0.5, 0.5}, y[2] = {}, z[2] = {}, value = 0, other = 0, third = 0;
    DirtyMessage();
    double D = kUnsetValue;
    binding.TPRHO(300, 100, x, 2, D);
    DirtyMessage();
    binding.SETUP(2, std::string(10000, ' '), std::string(255, ' '), "DEF");
    DirtyMessage();
    binding.SETMOD(2, "EOS", "NBS", "FEQBWR");
    DirtyMessage();
    binding.ABFL1(1, 2, z, 1, "PH", 0, 0, value, other, third);
    DirtyMessage();
    binding.GERG04(2, 1);
    DirtyMessage();
    binding.SETAGA();
    DirtyMessage();
    binding.TRNPRP(300, 1, x, value, other);
    DirtyMessage();
    binding.SATT(300, x, 2, value, other, third, y, z);
    DirtyMessage();
    int kq = 1;
    binding.Flash(binding.routines.TQFLSHdll, &value, &other, z, &kq, &value,
                  &value, &value, &value, x, y, &value, &value, &value, &value, &value, &value);
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 9u);
    for (const std::string& call : calls) {
        EXPECT_THAT(call, HasSubstr("herr=blank")) << call;
        EXPECT_THAT(call, HasSubstr("lerr=255")) << call;
    }
    EXPECT_THAT(calls[1], HasSubstr("lfiles=10000 lfmix=255 lrf=3 hrf=DEF"));
    EXPECT_THAT(calls[2], HasSubstr("nc=2 htype=EOS hmix=NBS hcomp=FEQBWR lcomp=6"));
    EXPECT_THAT(calls[3], HasSubstr("ab=PH lab=2"));
    EXPECT_THAT(calls[4], HasSubstr("nc=2 iflag=1"));
    EXPECT_THAT(calls[7], HasSubstr("kph=2"));
    EXPECT_THAT(calls[8], HasSubstr("TQFLSHdll"));
}

TEST_F(FakeLibraryTest, DensityGuessIsUsedOnlyWhenSet) {
    double x[2] = {0.5, 0.5};
    double D = kUnsetValue;
    binding.TPRHO(300, 100, x, 1, D);
    EXPECT_EQ(D, 12.5);
    double guess = 3.0;
    binding.TPRHO(310, 200, x, 2, guess);
    double notANumber = std::nan("");
    binding.TPRHO(320, 300, x, 1, notANumber);
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_THAT(calls[0], HasSubstr("t=300 p=100 kph=1 kguess=0"));
    EXPECT_THAT(calls[1], HasSubstr("t=310 p=200 kph=2 kguess=1 D=3"));
    EXPECT_THAT(calls[2], HasSubstr("kguess=0"));
}

TEST_F(FakeLibraryTest, ErrorCodeAndMessageComeBackTrimmed) {
    Script("TPRHOdll 203 [TPRHO error 203] density iteration did not converge\n");
    double x[2] = {1, 0};
    double D = kUnsetValue;
    EXPECT_EQ(binding.TPRHO(300, 100, x, 1, D), 203);
    EXPECT_EQ(GetRefpropMessage(binding), L"[TPRHO error 203] density iteration did not converge");
}

TEST_F(FakeLibraryTest, AFullLengthMessageIsReportedWhole) {
    std::string full(255, 'm');
    full[0] = 'A';
    full[254] = 'Z';
    Script("TRNPRPdll -5 " + full + "\n");
    double x[2] = {1, 0}, eta = 0, tcx = 0;
    EXPECT_EQ(binding.TRNPRP(300, 1, x, eta, tcx), -5);
    std::wstring message = GetRefpropMessage(binding);
    EXPECT_EQ(message.size(), 255u);
    EXPECT_EQ(message.front(), L'A');
    EXPECT_EQ(message.back(), L'Z');
}

TEST_F(FakeLibraryTest, WarningsReachTheDiagnosticInterfaceOnlyWhenThereIsOne) {
    Script("SETAGAdll -1 model not fitted for these fluids\n");
    binding.SETAGA();
    auto context = FakeContext::Create();
    ReportRefpropWarning(binding, context.Get(), L"Density calculation (pressure perturbation)");
    EXPECT_THAT(context->logged,
                ElementsAre(L"Warning: Density calculation (pressure perturbation): model not fitted for these fluids"));
    ReportRefpropWarning(binding, nullptr, L"Density calculation");  // nothing happens
}

TEST(RefpropMessage, StopsAtTheFirstZeroAndDecodesTheAnsiCodePage) {
    RefpropBinding binding;
    binding.BlankMessage();
    EXPECT_EQ(GetRefpropMessage(binding), L"");
    const char text[] = "temp\xE9rature 5 \xB0" "C";
    std::copy(text, text + sizeof text - 1, binding.herr);
    binding.herr[sizeof text - 1] = 0;
    EXPECT_EQ(GetRefpropMessage(binding), L"temp\u00e9rature 5 \u00b0C");
}

}  // namespace
