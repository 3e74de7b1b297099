// Paths of build outputs as seen from a test running under Wine (the Unix root is Z:).
#pragma once

#include <string>

namespace tarnevo_test {

// "Z:\dir\file" for a Unix path "/dir/file"; a path that already has a drive is kept.
inline std::wstring WindowsPath(const char* unixPath) {
    std::wstring path;
    for (const char* p = unixPath; *p; ++p) path.push_back(*p == '/' ? L'\\' : static_cast<unsigned char>(*p));
    if (!path.empty() && path[0] == L'\\') path = L"Z:" + path;
    return path;
}

}  // namespace tarnevo_test
