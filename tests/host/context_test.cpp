// The host simulation context: the diagnostic interface offered or withheld, messages recorded.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "HostTestSupport.h"
#include "tools/host/HostSimulationContext.h"

namespace {

using namespace tarnevo::host;
using ::testing::ElementsAre;
using Microsoft::WRL::ComPtr;

ComPtr<ICapeDiagnostic> DiagnosticOf(IDispatch* context) {
    ComPtr<ICapeDiagnostic> diagnostic;
    context->QueryInterface(__uuidof(ICapeDiagnostic), reinterpret_cast<void**>(diagnostic.GetAddressOf()));
    return diagnostic;
}

TEST(SimulationContext, RecordsEveryMessageInOrder) {
    auto context = CHostSimulationContext::Create();
    ComPtr<ICapeDiagnostic> diagnostic = DiagnosticOf(context->Dispatch());
    ASSERT_TRUE(diagnostic);
    EXPECT_EQ(diagnostic->LogMessage(_bstr_t(L"Warning: first")), S_OK);
    EXPECT_EQ(diagnostic->PopUpMessage(_bstr_t(L"Look")), S_OK);
    EXPECT_EQ(diagnostic->LogMessage(nullptr), S_OK);

    // Late bound, as a script would call it (LogMessage is DISPID 2).
    _variant_t argument(L"Warning: \u00e9 second");
    DISPPARAMS params = {&argument, nullptr, 1, 0};
    EXPECT_EQ(diagnostic->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);

    EXPECT_THAT(context->LoggedMessages(), ElementsAre(L"Warning: first", L"", L"Warning: \u00e9 second"));
    EXPECT_THAT(context->PopUpMessages(), ElementsAre(L"Look"));
    ASSERT_EQ(context->Messages().size(), 4u);
    EXPECT_EQ(context->Messages()[1].kind, DiagnosticMessage::Kind::PopUp);

    context->SetMessageResult(E_FAIL);
    EXPECT_EQ(diagnostic->LogMessage(_bstr_t(L"refused")), E_FAIL);
    EXPECT_EQ(context->LoggedMessages().back(), L"refused");
}

TEST(SimulationContext, WithheldDiagnosticsOfferOnlyTheMarker) {
    auto context = CHostSimulationContext::Create(CHostSimulationContext::Diagnostics::Withheld);
    EXPECT_FALSE(DiagnosticOf(context->Dispatch()));
    ComPtr<ICapeSimulationContext> marker;
    EXPECT_EQ(context->Dispatch()->QueryInterface(__uuidof(ICapeSimulationContext),
                                                  reinterpret_cast<void**>(marker.GetAddressOf())), S_OK);
}

}  // namespace
