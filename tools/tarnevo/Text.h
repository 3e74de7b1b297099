// Text helpers of the command-line host: UTF-8 output, number formatting, lists.
#pragma once

#include <string>
#include <vector>

namespace tarnevo::cli {

std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// `value` with `significant` digits (%g style); "nan" / "inf" for non-finite values.
std::wstring FormatNumber(double value, int significant);

// Splits at `separator`; blanks around each element are removed. An empty text gives no element.
std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator);
std::wstring Join(const std::vector<std::wstring>& parts, const std::wstring& separator);
std::wstring Trim(const std::wstring& text);

// Parses a whole text as a finite number; false otherwise.
bool ParseNumber(const std::wstring& text, double& value);

}  // namespace tarnevo::cli
