// Texts of failures of other components: host objects' CAPE-OPEN errors (fake hosts with
// ECapeUser/ECapeRoot), system codes and the thread's last error.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "com/CapeHResults.h"
#include "capeobject/ErrorTexts.h"
#include "tests/common/FakeCapeHost.h"

namespace {

using tarnevo::GetCapeErrorText;
using tarnevo_test::FakeCapeErrorSource;


TEST(CapeErrorText, PrefersTheHostsDescriptionThenItsName) {
    auto host = FakeCapeErrorSource::Create(L"Flash failed to converge", L"root name");
    EXPECT_EQ(GetCapeErrorText(host->Identity(), tarnevo::ECapeComputationHR), L"Flash failed to converge");
    host->SetDescription(L"");
    host->SetName(L"x");
    EXPECT_EQ(GetCapeErrorText(host->Identity(), tarnevo::ECapeComputationHR), L"x");
    host->SetName(L"");
    EXPECT_EQ(GetCapeErrorText(host->Identity(), tarnevo::ECapeComputationHR), L"computation error");
}

TEST(CapeErrorText, FallsBackToTheCodeTextWithoutErrorInterfaces) {
    auto host = FakeCapeErrorSource::Create(L"never read", L"never read");
    host->SetOffersUser(false);
    host->SetOffersRoot(false);
    EXPECT_EQ(GetCapeErrorText(host->Identity(), tarnevo::ECapeUnknownHR), L"the call failed with ECapeUnknown (HRESULT 0x80040501) and no error description");
    host->SetOffersRoot(true);
    host->SetName(L"only the root");
    EXPECT_EQ(GetCapeErrorText(host->Identity(), tarnevo::ECapeUnknownHR), L"only the root");
    auto empty = FakeCapeErrorSource::Create();
    EXPECT_EQ(GetCapeErrorText(empty->Identity(), tarnevo::ECapeUnknownHR), L"the call failed with ECapeUnknown (HRESULT 0x80040501) and no error description");
    EXPECT_EQ(empty->References(), 1u) << "interfaces obtained from the host are released";
}

TEST(CapeErrorText, EveryCapeOpenCodeHasItsText) {
    auto empty = FakeCapeErrorSource::Create();
    const std::pair<HRESULT, const wchar_t*> samples[] = {
        {0x80040502, L"invalid data"},
        {0x80040504, L"Bad Cape-Open parameter"},
        {0x80040509, L"not implemented"},
        {0x8004050D, L"out of memory"},
        {0x8004050F, L"initialization error"},
        {0x80040513, L"storage / persistence error"},
        {0x80040519, L"Hessian information not available"},
        {0x8004051A, L"One or more of the requested thermodynamic properties are not set on the material"}};
    for (const auto& sample : samples) EXPECT_EQ(GetCapeErrorText(empty->Identity(), sample.first), sample.second);
    for (HRESULT hr = 0x80040501; hr <= static_cast<HRESULT>(0x8004051A); ++hr)
        EXPECT_NE(tarnevo::CapeErrorCodeText(hr), nullptr) << std::hex << hr;
    EXPECT_EQ(tarnevo::CapeErrorCodeText(static_cast<HRESULT>(0x80040500)), nullptr);
    EXPECT_EQ(tarnevo::CapeErrorCodeText(static_cast<HRESULT>(0x8004051B)), nullptr);
}

TEST(CapeErrorText, CodesOutsideCapeOpenUseTheSystemTextWithoutAskingTheHost) {
    auto host = FakeCapeErrorSource::Create(L"should not be used");
    const std::wstring text = GetCapeErrorText(host->Identity(), E_NOINTERFACE);
    EXPECT_EQ(host->QueryCount(), 0);
    EXPECT_EQ(text, tarnevo::GetSystemErrorText(static_cast<DWORD>(E_NOINTERFACE)));
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.back(), L'\r');
}

TEST(SystemErrorText, KnownCodesLoseTheirLineBreakUnknownOnesGiveTheCode) {
    const std::wstring known = tarnevo::GetSystemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(known.empty());
    EXPECT_EQ(known.find(L"error code 0x"), std::wstring::npos);
    EXPECT_NE(known.back(), L'\n');
    EXPECT_NE(known.back(), L'\r');
    EXPECT_EQ(tarnevo::GetSystemErrorText(0x2000ABCD), L"error code 0x2000ABCD");
    EXPECT_EQ(tarnevo::GetSystemErrorText(0xE0000001), L"error code 0xE0000001");
}

TEST(LastErrorText, ReadsTheThreadsLastError) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(tarnevo::GetLastErrorText(), tarnevo::GetSystemErrorText(ERROR_FILE_NOT_FOUND));
    SetLastError(0x2000ABCD);
    EXPECT_EQ(tarnevo::GetLastErrorText(), L"error code 0x2000ABCD");
}

}  // namespace
