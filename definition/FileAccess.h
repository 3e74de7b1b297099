// File access shared by the store, the readers and the fluid catalogue.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace tarnevo {

struct FileCloser {
    void operator()(std::FILE* file) const noexcept {
        if (file) std::fclose(file);
    }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens a file with the C runtime; on failure `errorNumber` holds errno.
UniqueFile OpenFile(const std::wstring& path, const wchar_t* mode, int& errorNumber);

// A path exists when a find-first-file search on it finds an entry (file or folder).
bool PathExists(const std::wstring& path);

// A reserved device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$, CONOUT$), with or
// without extension: opening it reaches the device, not a file.
bool IsDeviceName(const std::wstring& name);
// True when any part of the path between separators is a device name.
bool PathNamesDevice(const std::wstring& path);

// Reads an open file to its end in blocks of 512 bytes. False on a read error.
bool ReadAll(std::FILE* file, std::string& content);

// Creates (or truncates) a file in binary mode and writes `content` completely.
// On failure `message` is prefix + the system's text for the error number.
bool WriteWholeFile(const std::wstring& path, const std::string& content, const std::wstring& prefix,
                    std::wstring& message);

}  // namespace tarnevo
