// Case-insensitive map from a name to a 32-bit identifier. Filled once by its owner,
// then only read; reads allocate nothing shared and need no lock.
#pragma once

#include "package/names/StringMapKey.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tarnevo {

class NameMap {
public:
    NameMap() = default;
    NameMap(NameMap&&) = default;
    NameMap& operator=(NameMap&&) = default;
    NameMap(const NameMap&) = delete;
    NameMap& operator=(const NameMap&) = delete;

    // Insertion: the identifier stored for the name (lower-cased), created as 0 when the
    // name is new. Assigning to it replaces the identifier of a name already present.
    std::int32_t& operator[](const std::wstring& name);

    // The identifier of a caller's name, compared without regard to ASCII case. Names of
    // any length are compared in full; a null or empty name is not found.
    std::optional<std::int32_t> Find(const wchar_t* name) const;

    std::size_t size() const noexcept { return ids_.size(); }
    bool empty() const noexcept { return ids_.empty(); }
    void Clear() noexcept;

private:
    std::vector<std::unique_ptr<StringMapKeyString>> keys_;
    std::unordered_map<const StringMapKey*, std::int32_t, StringMapKeyHash, StringMapKeyEqual> ids_;
};

}  // namespace tarnevo
