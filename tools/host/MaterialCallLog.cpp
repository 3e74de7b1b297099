#include "tools/host/MaterialCallLog.h"

#include "tools/host/VariantValues.h"

namespace tarnevo::host {

std::wstring MaterialCall::Describe() const {
    std::vector<std::wstring> parts;
    if (!property.empty()) parts.push_back(property);
    for (const std::wstring& phase : phases) parts.push_back(phase);
    if (basis && !basis->empty()) parts.push_back(*basis);
    std::wstring text = method + L"(";
    for (size_t i = 0; i < parts.size(); ++i) text += (i ? L"," : L"") + parts[i];
    return text + L")";
}

size_t MaterialCallLog::Add(MaterialCall call) {
    calls_.push_back(std::move(call));
    return calls_.size() - 1;
}

const InjectedFailure* MaterialCallLog::FailureFor(const MaterialCall& call) const {
    for (auto failure = failures_.rbegin(); failure != failures_.rend(); ++failure) {
        if (!EqualsNoCase(failure->method, call.method)) continue;
        if (failure->qualifier.empty()) return &*failure;
        const std::wstring& subject = !call.property.empty() ? call.property
                                      : !call.phases.empty()  ? call.phases.front()
                                                              : std::wstring();
        if (EqualsNoCase(failure->qualifier, subject)) return &*failure;
    }
    return nullptr;
}

}  // namespace tarnevo::host
