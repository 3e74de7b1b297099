#include "package/CompoundListResolver.h"

#include "automation/VariantArray.h"

namespace tarnevo {
namespace {

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

bool Fail(std::vector<std::int32_t>& indices, std::wstring& error, std::wstring message) {
    indices.clear();
    error = std::move(message);
    return false;
}

}  // namespace

bool ResolveCompoundList(const VARIANT& compIds, const NameMap& compoundNames, std::int32_t compoundCount,
                         bool emptyMeansAll, std::vector<std::int32_t>& indices, std::wstring& error) {
    indices.clear();
    VariantArray ids;
    ids.Attach(compIds, false);
    std::wstring reason;
    if (!ids.Validate(VT_BSTR, reason)) return Fail(indices, error, L"Invalid list of compound IDs: " + reason);

    if (ids.Count() == 0) {
        if (!emptyMeansAll) return Fail(indices, error, L"List of compounds is empty");
        indices.reserve(static_cast<size_t>(compoundCount));
        for (std::int32_t i = 0; i < compoundCount; ++i) indices.push_back(i);
        return true;
    }

    ids.Lock();
    indices.reserve(static_cast<size_t>(ids.Count()));
    std::vector<bool> seen(static_cast<size_t>(compoundCount), false);
    for (LONG k = 0; k < ids.Count(); ++k) {
        const std::wstring id = ids.StringAt(k);
        if (id.empty()) return Fail(indices, error, L"At least one compound identifier in the compound list is empty");
        // An embedded zero would otherwise match the name before it.
        const auto index = id.find(L'\0') == std::wstring::npos ? compoundNames.Find(id.c_str()) : std::nullopt;
        if (!index || *index < 0 || *index >= compoundCount)
            return Fail(indices, error, L"Compound list contains unknown compound ID " + Quoted(id));
        if (seen[static_cast<size_t>(*index)])
            return Fail(indices, error,
                        L"Compound ID " + Quoted(id) + L" appears in list of compounds more than once");
        seen[static_cast<size_t>(*index)] = true;
        indices.push_back(*index);
    }
    return true;
}

}  // namespace tarnevo
