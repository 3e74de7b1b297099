#include "tools/tarnevo/MaterialValues.h"

#include "tools/host/VariantValues.h"

namespace tarnevo::cli {
namespace {

std::optional<std::vector<double>> Find(const host::CHostMaterial& material, host::PropertyScope scope,
                                        const std::wstring& property, const std::wstring& phase) {
    for (const host::StoredProperty* stored : material.Store().Properties()) {
        if (stored->scope != scope || !host::EqualsNoCase(stored->property, property)) continue;
        if (scope == host::PropertyScope::SinglePhase &&
            (stored->phases.size() != 1 || !host::EqualsNoCase(stored->phases[0], phase)))
            continue;
        try {
            return host::ReadDoubles(stored->values);
        } catch (const host::ValueError&) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<double>> WrittenSinglePhase(const host::CHostMaterial& material,
                                                      const std::wstring& property, const std::wstring& phase) {
    return Find(material, host::PropertyScope::SinglePhase, property, phase);
}

std::optional<std::vector<double>> Stored10(const host::CHostMaterial10& material, const std::wstring& property,
                                            const std::wstring& phase, const std::wstring& calcType) {
    auto values = material.Get(property, phase, L"mole", calcType);
    return values ? values : material.Get(property, phase, L"", calcType);
}

}  // namespace tarnevo::cli
