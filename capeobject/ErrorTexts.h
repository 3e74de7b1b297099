// Texts of failures reported by other components: a CAPE-OPEN failure of another object,
// a Win32/COM code, the thread's last Win32 error. These never fail: at worst they return
// "<out of memory>" or "<unknown error>".
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <string>

namespace tarnevo {

// Text of a failure that `source` (any interface of the failing object, not null) reported
// with `hr`: its ECapeUser description, else its ECapeRoot name, else the code's fixed text.
// Codes outside the CAPE-OPEN range give GetSystemErrorText(hr) without querying `source`.
std::wstring GetCapeErrorText(IUnknown* source, HRESULT hr);

// System text of a Win32 error code or HRESULT, without its trailing line break.
std::wstring GetSystemErrorText(DWORD code);

// Text of the calling thread's GetLastError().
std::wstring GetLastErrorText();

// The fixed text of a CAPE-OPEN HRESULT (0x80040501..0x8004051A), or null outside that range.
const wchar_t* CapeErrorCodeText(HRESULT hr) noexcept;

}  // namespace tarnevo
