// An ordered list of names, held both as text and as the automation string array
// that the "get list" operations hand out copies of.
#pragma once

#include <windows.h>
#include <comdef.h>

#include <cstddef>
#include <string>
#include <vector>

namespace tarnevo {

class NameList {
public:
    explicit NameList(std::vector<std::wstring> names);

    std::size_t size() const noexcept { return names_.size(); }
    const std::wstring& operator[](std::size_t i) const { return names_[i]; }
    const std::vector<std::wstring>& Names() const noexcept { return names_; }

    // The held value: VT_ARRAY | VT_BSTR, lower bound 0.
    const VARIANT& Array() const noexcept { return array_; }

    // A new copy of the array for a caller to hand out. Throws CapeFailure when the copy
    // cannot be made.
    _variant_t Copy() const;

private:
    std::vector<std::wstring> names_;
    _variant_t array_;
};

}  // namespace tarnevo
