#include "tools/host/MaterialStore.h"

#include "tools/host/VariantValues.h"

namespace tarnevo::host {

MaterialStore::Key MaterialStore::MakeKey(PropertyScope scope, const std::wstring& property,
                                          const std::vector<std::wstring>& phases, const std::wstring& basis) {
    std::wstring joined;
    for (const std::wstring& phase : phases) joined += AsciiLower(phase) + L'\n';
    return Key(static_cast<int>(scope), AsciiLower(property), joined, AsciiLower(basis));
}

void MaterialStore::Put(PropertyScope scope, const std::wstring& property, const std::vector<std::wstring>& phases,
                        const std::wstring& basis, const VARIANT& values) {
    Key key = MakeKey(scope, property, phases, basis);
    auto found = properties_.find(key);
    if (found != properties_.end()) {
        found->second.values = CopyIndirect(values);
        return;
    }
    StoredProperty entry;
    entry.scope = scope;
    entry.property = property;
    entry.phases = phases;
    entry.basis = basis;
    entry.values = CopyIndirect(values);
    properties_.emplace(std::move(key), std::move(entry));
}

const StoredProperty* MaterialStore::Find(PropertyScope scope, const std::wstring& property,
                                          const std::vector<std::wstring>& phases, const std::wstring& basis) const {
    auto found = properties_.find(MakeKey(scope, property, phases, basis));
    return found == properties_.end() ? nullptr : &found->second;
}

std::vector<const StoredProperty*> MaterialStore::Properties() const {
    std::vector<const StoredProperty*> result;
    for (const auto& entry : properties_) result.push_back(&entry.second);
    return result;
}

void MaterialStore::PutPresentPhases(const VARIANT& labels, const VARIANT& status) {
    presentLabels_ = CopyIndirect(labels);
    presentStatus_ = CopyIndirect(status);
}

}  // namespace tarnevo::host
