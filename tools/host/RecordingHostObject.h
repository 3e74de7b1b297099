// A host object that records every interface call (MaterialCallLog), fails calls on request
// and reports failures through ECapeUser / ECapeRoot: the base of the host's 1.1 and 1.0
// materials.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tools/host/HostErrorSource.h"
#include "tools/host/MaterialCallLog.h"

namespace tarnevo::host {

class CRecordingHostObject : public CHostErrorSource {
public:
    // Calls of `method` (with property or first phase `qualifier`, when given) fail with `hr`.
    void FailCall(const std::wstring& method, HRESULT hr, const std::wstring& description,
                  const std::wstring& qualifier = L"") {
        log_.AddFailure(InjectedFailure{method, qualifier, hr, description});
    }
    void ClearFailures() noexcept { log_.ClearFailures(); }
    const std::vector<MaterialCall>& Calls() const noexcept { return log_.Calls(); }
    std::vector<MaterialCall> CallsTo(const std::wstring& method) const;
    std::vector<std::wstring> CallDescriptions() const;
    void ClearCalls() noexcept { log_.Clear(); }

protected:
    CRecordingHostObject() = default;
    ~CRecordingHostObject() = default;

    // Records the call that `describe` makes, applies an injected failure, then runs
    // `body(call)`; whatever either throws becomes a recorded failure of `interfaceName`.
    template <class Describe, class Body>
    HRESULT Run(const wchar_t* interfaceName, Describe&& describe, Body&& body) noexcept {
        size_t index = static_cast<size_t>(-1);
        HRESULT hr = S_OK;
        try {
            index = log_.Add(describe());
            MaterialCall& call = log_.At(index);
            if (const InjectedFailure* failure = log_.FailureFor(call))
                hr = Fail(failure->hr, failure->description, call.method.c_str(), interfaceName);
            else
                hr = body(call);
        } catch (...) {
            hr = RecordCurrentException(index == static_cast<size_t>(-1) ? L"" : log_.At(index).method.c_str(),
                                        interfaceName);
        }
        if (index != static_cast<size_t>(-1)) log_.At(index).result = hr;
        return hr;
    }

private:
    MaterialCallLog log_;
};

}  // namespace tarnevo::host
