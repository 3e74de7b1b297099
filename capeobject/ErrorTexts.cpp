#include "capeobject/ErrorTexts.h"

#include <comdef.h>
#include <wrl/client.h>

#include <memory>
#include <new>
#include <type_traits>

#include "TARNEVO.h"
#include "com/CapeHResults.h"
#include "com/OwnedHandles.h"

namespace tarnevo {
namespace {

using Microsoft::WRL::ComPtr;

constexpr DWORD kBufferChars = 1024;
constexpr HRESULT kFirstCapeCode = ECapeUnknownHR;
constexpr HRESULT kLastCapeCode = ECapeThrmPropertyNotAvailableHR;

constexpr const wchar_t* kCapeCodeTexts[] = {
    L"the call failed with ECapeUnknown (HRESULT 0x80040501) and no error description",
    L"invalid data",
    L"license problem",
    L"Bad Cape-Open parameter",
    L"Bad argument",
    L"Invalid argument",
    L"index out of bounds",
    L"current implementation related error",
    L"not implemented",
    L"implementation is limited",
    L"computation error",
    L"out of resources",
    L"out of memory",
    L"operation was timed out",
    L"initialization error",
    L"solution error",
    L"invalid order of invocations",
    L"invalid operation",
    L"storage / persistence error",
    L"illegal access",
    L"persistence error: not found",
    L"persistence system error",
    L"persistence overflow error",
    L"solver scope error",
    L"Hessian information not available",
    L"One or more of the requested thermodynamic properties are not set on the material",
};
static_assert(sizeof(kCapeCodeTexts) / sizeof(kCapeCodeTexts[0]) == 26, "one text per CAPE-OPEN code");

std::unique_ptr<wchar_t[]> NewBuffer() { return std::unique_ptr<wchar_t[]>(new (std::nothrow) wchar_t[kBufferChars]); }

// "error code 0x" and the code as eight upper-case hexadecimal digits.
DWORD FormatCodeTemplate(DWORD code, wchar_t* buffer) {
    DWORD_PTR arguments[] = {code};
    return FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, L"error code 0x%1!08X!", 0, 0,
                          buffer, kBufferChars, reinterpret_cast<va_list*>(arguments));
}

void TrimLineFeed(std::wstring& text) {
    if (!text.empty() && text.back() == L'\n') {
        text.pop_back();
        if (!text.empty() && text.back() == L'\r') text.pop_back();
    }
}

std::wstring BstrText(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

}  // namespace

const wchar_t* CapeErrorCodeText(HRESULT hr) noexcept {
    if (hr < kFirstCapeCode || hr > kLastCapeCode) return nullptr;
    return kCapeCodeTexts[hr - kFirstCapeCode];
}

std::wstring GetCapeErrorText(IUnknown* source, HRESULT hr) {
    const wchar_t* fixed = CapeErrorCodeText(hr);
    if (!fixed) return GetSystemErrorText(static_cast<DWORD>(hr));
    if (source) {
        ComPtr<ECapeUser> user;
        if (SUCCEEDED(source->QueryInterface(IID_PPV_ARGS(&user)))) {
            _bstr_t description;
            if (SUCCEEDED(user->get_description(description.GetAddress())) && description.length() > 0)
                return BstrText(description.GetBSTR());
        }
        ComPtr<ECapeRoot> root;
        if (SUCCEEDED(source->QueryInterface(IID_PPV_ARGS(&root)))) {
            _bstr_t name;
            if (SUCCEEDED(root->get_name(name.GetAddress())) && name.length() > 0) return BstrText(name.GetBSTR());
        }
    }
    return fixed;
}

std::wstring GetSystemErrorText(DWORD code) {
    std::unique_ptr<wchar_t[]> buffer = NewBuffer();
    if (!buffer) return L"<out of memory>";
    std::wstring text;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0x400,
                                  buffer.get(), kBufferChars, nullptr);
    if (length > 0) {
        text.assign(buffer.get(), length);
        TrimLineFeed(text);
    } else {
        length = FormatCodeTemplate(code, buffer.get());
        text.assign(buffer.get(), length);
    }
    if (text.empty()) return L"<unknown error>";
    return text;
}

std::wstring GetLastErrorText() {
    const DWORD code = GetLastError();
    std::unique_ptr<wchar_t[]> buffer = NewBuffer();
    if (!buffer) return L"<out of memory>";
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0x400,
                                  buffer.get(), kBufferChars, nullptr);
    if (length == 0) {
        UniqueModule messages(LoadLibraryW(L"ntdsbmsg.dll"));
        if (messages)
            length = FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, messages.get(), code,
                                    0, buffer.get(), kBufferChars, nullptr);
    }
    if (length == 0) length = FormatCodeTemplate(code, buffer.get());
    std::wstring text(buffer.get(), length);
    if (text.empty()) return L"<unknown error>";
    if (text.size() > 2 && text.back() == L'\n') TrimLineFeed(text);
    return text;
}

}  // namespace tarnevo
