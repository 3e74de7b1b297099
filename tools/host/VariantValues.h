// Building and reading the automation values a host exchanges with a property package:
// one-dimensional arrays of doubles, strings, longs or VARIANTs.
//   _variant_t x = host::DoubleArray({0.25, 0.75});
//   _variant_t props = host::StringArray({L"density", L"enthalpy"});
//   _variant_t script = host::VariantArrayOf({_variant_t(1.0), _variant_t(L"a")});  // VBScript style
//   std::vector<double> read = host::ReadDoubles(results);   // throws ValueError on a mismatch
// The readers accept VT_ARRAY of the element type, VT_ARRAY|VT_VARIANT whose elements convert,
// and either behind VT_BYREF; VT_EMPTY reads as an empty list.
#pragma once

#include <windows.h>
#include <comdef.h>

#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tarnevo::host {

// A value that does not have the expected shape or element type.
class ValueError : public std::runtime_error {
public:
    explicit ValueError(std::wstring message)
        : std::runtime_error("automation value error"), message_(std::move(message)) {}
    const std::wstring& message() const noexcept { return message_; }

private:
    std::wstring message_;
};

_variant_t DoubleArray(const std::vector<double>& values);
_variant_t DoubleArray(std::initializer_list<double> values);
_variant_t StringArray(const std::vector<std::wstring>& values);
// nullptr elements become null BSTRs.
_variant_t StringArray(std::initializer_list<const wchar_t*> values);
_variant_t LongArray(const std::vector<long>& values);
_variant_t VariantArrayOf(const std::vector<_variant_t>& values);
// VBScript-style arrays (VT_ARRAY|VT_VARIANT) of doubles or strings.
_variant_t DoubleVariantArray(const std::vector<double>& values);
_variant_t StringVariantArray(const std::vector<std::wstring>& values);

// The VARIANT behind any number of VT_BYREF|VT_VARIANT levels (not copied).
const VARIANT& Dereference(const VARIANT& value);
// A deep copy that holds no reference into the caller's memory (VT_BYREF resolved).
_variant_t CopyIndirect(const VARIANT& value);

std::vector<double> ReadDoubles(const VARIANT& value);
// Null strings read as empty; ReadOptionalStrings keeps them apart (nullopt).
std::vector<std::wstring> ReadStrings(const VARIANT& value);
std::vector<std::optional<std::wstring>> ReadOptionalStrings(const VARIANT& value);
std::vector<long> ReadLongs(const VARIANT& value);
std::vector<_variant_t> ReadVariants(const VARIANT& value);

// Lower-case copy for case-insensitive keys (ASCII letters only, as CAPE-OPEN names are).
std::wstring AsciiLower(const std::wstring& text);
bool EqualsNoCase(const std::wstring& a, const std::wstring& b);

}  // namespace tarnevo::host
