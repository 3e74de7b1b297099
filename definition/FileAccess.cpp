#include "definition/FileAccess.h"

#include <windows.h>

#include <cerrno>
#include <cwctype>

#include "com/OwnedHandles.h"
#include "definition/AnsiText.h"

namespace tarnevo {

UniqueFile OpenFile(const std::wstring& path, const wchar_t* mode, int& errorNumber) {
    errorNumber = 0;
    std::FILE* file = nullptr;
    errno = 0;
    const errno_t result = _wfopen_s(&file, path.c_str(), mode);
    if (result != 0 || !file) errorNumber = result != 0 ? result : (errno != 0 ? errno : ENOENT);
    return UniqueFile(file);
}

bool PathExists(const std::wstring& path) {
    if (path.empty()) return false;
    WIN32_FIND_DATAW data;
    HANDLE handle = FindFirstFileW(path.c_str(), &data);
    if (handle == INVALID_HANDLE_VALUE) return false;
    UniqueFind owner(handle);
    return true;
}

bool IsDeviceName(const std::wstring& name) {
    std::wstring stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && (stem.back() == L' ' || stem.back() == L':')) stem.pop_back();
    for (wchar_t& c : stem) c = static_cast<wchar_t>(towupper(c));
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (stem == device) return true;
    return stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
           stem[3] >= L'1' && stem[3] <= L'9';
}

bool PathNamesDevice(const std::wstring& path) {
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = path.find_first_of(L"\\/", start);
        const size_t stop = end == std::wstring::npos ? path.size() : end;
        if (IsDeviceName(path.substr(start, stop - start))) return true;
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    return false;
}

bool ReadAll(std::FILE* file, std::string& content) {
    content.clear();
    char block[513];
    for (;;) {
        const size_t got = std::fread(block, 1, 512, file);
        content.append(block, got);
        if (got < 512) break;
    }
    return std::ferror(file) == 0;
}

bool WriteWholeFile(const std::wstring& path, const std::string& content, const std::wstring& prefix,
                    std::wstring& message) {
    int errorNumber = 0;
    UniqueFile file = OpenFile(path, L"wb", errorNumber);
    if (!file) {
        message = prefix + CrtErrorText(errorNumber);
        return false;
    }
    errno = 0;
    const bool written = std::fwrite(content.data(), 1, content.size(), file.get()) == content.size();
    const int writeError = errno;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        message = prefix + CrtErrorText(writeError != 0 ? writeError : (errno != 0 ? errno : EIO));
        return false;
    }
    return true;
}

}  // namespace tarnevo
