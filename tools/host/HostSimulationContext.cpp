#include "tools/host/HostSimulationContext.h"

namespace tarnevo::host {

CHostSimulationContext::Ptr CHostSimulationContext::Create(Diagnostics diagnostics) {
    return MakeComObject<CHostSimulationContext>(diagnostics);
}

std::vector<std::wstring> CHostSimulationContext::LoggedMessages() const {
    std::vector<std::wstring> texts;
    for (const DiagnosticMessage& message : messages_)
        if (message.kind == DiagnosticMessage::Kind::Log) texts.push_back(message.text);
    return texts;
}

std::vector<std::wstring> CHostSimulationContext::PopUpMessages() const {
    std::vector<std::wstring> texts;
    for (const DiagnosticMessage& message : messages_)
        if (message.kind == DiagnosticMessage::Kind::PopUp) texts.push_back(message.text);
    return texts;
}

HRESULT CHostSimulationContext::Record(DiagnosticMessage::Kind kind, BSTR message) noexcept {
    try {
        messages_.push_back({kind, message ? std::wstring(message, SysStringLen(message)) : std::wstring()});
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    return messageResult_;
}

STDMETHODIMP CHostSimulationContext::PopUpMessage(BSTR message) {
    return Record(DiagnosticMessage::Kind::PopUp, message);
}

STDMETHODIMP CHostSimulationContext::LogMessage(BSTR message) { return Record(DiagnosticMessage::Kind::Log, message); }

}  // namespace tarnevo::host
