// Keys of the case-insensitive name maps. Stored keys own their lower-case text;
// a look-up wraps the caller's lower-cased text without copying it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarnevo {

class StringMapKey {
public:
    // Null-terminated UTF-16 key text.
    virtual const wchar_t* Text() const noexcept = 0;
    virtual ~StringMapKey() = default;

protected:
    StringMapKey() = default;
    explicit StringMapKey(std::wstring text) : text_(std::move(text)) {}
    StringMapKey(const StringMapKey&) = default;
    StringMapKey& operator=(const StringMapKey&) = default;

    std::wstring text_;
};

// Owns its text; the text is lower-cased on construction.
class StringMapKeyString final : public StringMapKey {
public:
    explicit StringMapKeyString(std::wstring text);
    const wchar_t* Text() const noexcept override { return text_.c_str(); }
};

// Refers to text owned by someone else (already lower case).
class StringMapKeyPtr final : public StringMapKey {
public:
    explicit StringMapKeyPtr(const wchar_t* text) noexcept : ptr_(text) {}
    const wchar_t* Text() const noexcept override { return ptr_; }

private:
    const wchar_t* ptr_;
};

// ASCII lower case of one UTF-16 code unit: only 'A' to 'Z' change, whatever the locale
// (what towlower does in the C locale).
constexpr wchar_t LowerAscii(wchar_t c) noexcept {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// FNV-1 over the UTF-16 code units in 64-bit arithmetic with the 32-bit offset basis
// and prime: h = 2166136261; for each unit h = (h * 16777619) ^ unit.
std::uint64_t HashKeyText(const wchar_t* text) noexcept;

struct StringMapKeyHash {
    std::size_t operator()(const StringMapKey* key) const noexcept {
        return static_cast<std::size_t>(HashKeyText(key->Text()));
    }
};

// Exact comparison; both texts are lower case.
struct StringMapKeyEqual {
    bool operator()(const StringMapKey* a, const StringMapKey* b) const noexcept;
};

}  // namespace tarnevo
