#include "tools/tarnevo/Text.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cwchar>

namespace tarnevo::cli {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

std::wstring FormatNumber(double value, int significant) {
    if (std::isnan(value)) return L"nan";
    if (std::isinf(value)) return value > 0 ? L"inf" : L"-inf";
    wchar_t text[64];
    std::swprintf(text, 64, L"%.*g", significant, value);
    return text;
}

std::wstring Trim(const std::wstring& text) {
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return std::wstring();
    const auto last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    if (Trim(text).empty()) return parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(Trim(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start)));
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    return parts;
}

std::wstring Join(const std::vector<std::wstring>& parts, const std::wstring& separator) {
    std::wstring out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out += separator;
        out += parts[i];
    }
    return out;
}

bool ParseNumber(const std::wstring& text, double& value) {
    const std::wstring trimmed = Trim(text);
    if (trimmed.empty()) return false;
    wchar_t* end = nullptr;
    value = std::wcstod(trimmed.c_str(), &end);
    return end && *end == L'\0' && std::isfinite(value);
}

}  // namespace tarnevo::cli
