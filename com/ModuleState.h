// Module-wide state recorded when the module loads: handle, file path, version string.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace tarnevo {

// Records the module handle, path and version string (DllMain, process attach).
void InitializeModuleState(HINSTANCE instance) noexcept;
bool ModuleInitialised() noexcept;
HINSTANCE ModuleInstance() noexcept;
const std::wstring& ModulePath() noexcept;
// "%d.%d.%d.%d" of the file version, "<unknown>" without a fixed part, empty without a version block.
const std::wstring& ModuleVersionString() noexcept;

// The version string of the file at `path`, formatted as for ModuleVersionString.
std::wstring FormatFileVersion(const std::wstring& path);

// The missing-value marker in returned arrays: the quiet NaN 0x7FF8000000000000.
inline double MissingValue() noexcept {
    const std::uint64_t bits = 0x7FF8000000000000ULL;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace tarnevo
