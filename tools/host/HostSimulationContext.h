// The simulation context a host hands a CAPE-OPEN component (ICapeUtilities::simulationContext).
// It offers the diagnostic interface ICapeDiagnostic and records every message, or, made with
// Diagnostics::Withheld, offers only the ICapeSimulationContext marker.
//   auto context = CHostSimulationContext::Create();
//   utilities->put_simulationContext(context->Dispatch());
//   EXPECT_THAT(context->LoggedMessages(), ElementsAre(L"Warning: ..."));
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "TARNEVO.h"
#include "com/ComObject.h"

namespace tarnevo::host {

struct DiagnosticMessage {
    enum class Kind { Log, PopUp };
    Kind kind;
    std::wstring text;
};

class CHostSimulationContext : public DispatchImpl<ICapeSimulationContext>, public DispatchImpl<ICapeDiagnostic> {
public:
    enum class Diagnostics { Offered, Withheld };

    TARNEVO_BEGIN_INTERFACE_MAP(CHostSimulationContext)
        TARNEVO_INTERFACE_AS(IDispatch, ICapeSimulationContext)
        TARNEVO_INTERFACE(ICapeSimulationContext)
        TARNEVO_INTERFACE_FUNC(ICapeDiagnostic, DiagnosticOrNull)
    TARNEVO_END_INTERFACE_MAP()

    using Ptr = Microsoft::WRL::ComPtr<ComObject<CHostSimulationContext>>;
    static Ptr Create(Diagnostics diagnostics = Diagnostics::Offered);

    IDispatch* Dispatch() noexcept { return static_cast<ICapeSimulationContext*>(this); }

    // Every message in order; LoggedMessages / PopUpMessages give the texts of one kind.
    const std::vector<DiagnosticMessage>& Messages() const noexcept { return messages_; }
    std::vector<std::wstring> LoggedMessages() const;
    std::vector<std::wstring> PopUpMessages() const;
    void ClearMessages() noexcept { messages_.clear(); }
    // Later messages are still recorded but the calls return `hr` (S_OK again to stop).
    void SetMessageResult(HRESULT hr) noexcept { messageResult_ = hr; }

    // ICapeDiagnostic
    STDMETHODIMP PopUpMessage(BSTR message) override;
    STDMETHODIMP LogMessage(BSTR message) override;

protected:
    explicit CHostSimulationContext(Diagnostics diagnostics) : diagnostics_(diagnostics) {}
    ~CHostSimulationContext() = default;

private:
    IUnknown* DiagnosticOrNull() noexcept {
        return diagnostics_ == Diagnostics::Offered ? static_cast<ICapeDiagnostic*>(this) : nullptr;
    }
    HRESULT Record(DiagnosticMessage::Kind kind, BSTR message) noexcept;

    Diagnostics diagnostics_;
    std::vector<DiagnosticMessage> messages_;
    HRESULT messageResult_ = S_OK;
};

}  // namespace tarnevo::host
