// The values a host material holds: overall, single-phase (per phase label) and two-phase
// (per ordered pair of labels) properties, each per basis, and the present phases.
// Names, labels and bases are matched without regard to ASCII case; an empty basis is
// "undefined". Values are kept as given (the material normalises what comes through COM).
#pragma once

#include <windows.h>
#include <comdef.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace tarnevo::host {

enum class PropertyScope { Overall, SinglePhase, TwoPhase };

struct StoredProperty {
    PropertyScope scope = PropertyScope::Overall;
    std::wstring property;             // as first written
    std::vector<std::wstring> phases;  // none (overall), one or two labels
    std::wstring basis;                // empty: undefined
    _variant_t values;
};

class MaterialStore {
public:
    void Put(PropertyScope scope, const std::wstring& property, const std::vector<std::wstring>& phases,
             const std::wstring& basis, const VARIANT& values);
    // Null when not set.
    const StoredProperty* Find(PropertyScope scope, const std::wstring& property,
                               const std::vector<std::wstring>& phases, const std::wstring& basis) const;
    // Removes every property; the present phases stay.
    void ClearProperties() noexcept { properties_.clear(); }
    std::vector<const StoredProperty*> Properties() const;

    // Present phases as VARIANTs (VT_EMPTY both when none is present).
    void PutPresentPhases(const VARIANT& labels, const VARIANT& status);
    const _variant_t& PresentLabels() const noexcept { return presentLabels_; }
    const _variant_t& PresentStatus() const noexcept { return presentStatus_; }

private:
    using Key = std::tuple<int, std::wstring, std::wstring, std::wstring>;
    static Key MakeKey(PropertyScope scope, const std::wstring& property, const std::vector<std::wstring>& phases,
                       const std::wstring& basis);

    std::map<Key, StoredProperty> properties_;
    _variant_t presentLabels_;
    _variant_t presentStatus_;
};

}  // namespace tarnevo::host
