#include "definition/AnsiText.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <cwchar>

namespace tarnevo {

std::wstring AnsiToWide(const std::string& text) {
    if (text.empty()) return std::wstring();
    if (text.size() > static_cast<size_t>(INT_MAX)) return std::wstring();
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return std::wstring();
    std::wstring result(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, &result[0], needed);
    return result;
}

bool WideToAnsi(const std::wstring& text, std::string& out) {
    out.clear();
    if (text.empty()) return true;
    if (text.size() > static_cast<size_t>(INT_MAX)) return false;
    const int length = static_cast<int>(text.size());
    const UINT codePage = GetACP();
    // UTF-8 as ANSI code page represents everything but unpaired surrogates and
    // does not accept the default-character arguments.
    const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultArg = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int needed =
        WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, usedDefaultArg);
    if (needed <= 0 || usedDefault) return false;
    out.assign(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), length, &out[0], needed, nullptr, usedDefaultArg);
    return !usedDefault;
}

std::wstring CrtErrorText(int errorNumber) {
    wchar_t buffer[512] = {};
    if (_wcserror_s(buffer, 512, errorNumber) != 0 || buffer[0] == L'\0') {
        swprintf(buffer, 512, L"error %d", errorNumber);
    }
    return buffer;
}

bool EqualsNoCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
        if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
        if (x != y) return false;
    }
    return true;
}

std::wstring ToLowerText(const std::wstring& text) {
    std::wstring result = text;
    if (!result.empty() && result.size() <= static_cast<size_t>(MAXDWORD)) {
        CharLowerBuffW(&result[0], static_cast<DWORD>(result.size()));
    }
    return result;
}

}  // namespace tarnevo
