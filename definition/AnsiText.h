// Conversions between wide text and the 8-bit text of files, in the ANSI code page,
// and small text helpers shared by the readers and writers of this folder.
#pragma once

#include <string>

namespace tarnevo {

// Decodes 8-bit text with the ANSI code page; every byte sequence gives some text.
std::wstring AnsiToWide(const std::string& text);

// Encodes wide text with the ANSI code page. False when a character has no
// representation there (nothing is replaced silently); `out` is then undefined.
bool WideToAnsi(const std::wstring& text, std::string& out);

// The C runtime's text for an error number, at most 512 characters.
std::wstring CrtErrorText(int errorNumber);

// ASCII-only case-insensitive comparison, as used for keys and host names.
bool EqualsNoCase(const std::wstring& a, const std::wstring& b);

// Lower-cases the whole text with the system's case tables (not only ASCII).
std::wstring ToLowerText(const std::wstring& text);

}  // namespace tarnevo
