#include "tools/host/RecordingHostObject.h"

namespace tarnevo::host {

std::vector<MaterialCall> CRecordingHostObject::CallsTo(const std::wstring& method) const {
    std::vector<MaterialCall> result;
    for (const MaterialCall& call : log_.Calls())
        if (call.method == method) result.push_back(call);
    return result;
}

std::vector<std::wstring> CRecordingHostObject::CallDescriptions() const {
    std::vector<std::wstring> result;
    for (const MaterialCall& call : log_.Calls()) result.push_back(call.Describe());
    return result;
}

}  // namespace tarnevo::host
