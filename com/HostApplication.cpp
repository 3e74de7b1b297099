#include "com/HostApplication.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace tarnevo {
namespace {

struct HostName {
    const char* name;
    int code;
};

constexpr HostName kHostNames[] = {
    {"apwin.exe", HostAspenPlus},  {"apmain.exe", HostAspenPlus},   {"hysys.exe", HostHysys},
    {"proii.exe", HostProII},      {"unisimdesign.exe", HostUniSim}, {"vintra.exe", HostVmgSim},
    {"vintra64.exe", HostVmgSim},
};

int g_hostCode = HostOther;
bool g_hostDetected = false;

}  // namespace

int HostCodeFromCommandLine(const char* commandLine) noexcept {
    if (!commandLine) return HostOther;
    const char* begin = commandLine;
    const char* end;
    if (*begin == '"') {
        ++begin;
        end = std::strchr(begin, '"');
        if (!end) end = begin + std::strlen(begin);
    } else {
        end = begin;
        while (*end && *end != ' ' && *end != '\t') ++end;
    }
    const char* name = begin;
    for (const char* p = begin; p < end; ++p)
        if (*p == '\\') name = p + 1;
    const size_t length = static_cast<size_t>(end - name);
    char lowered[32];
    if (length == 0 || length >= sizeof lowered) return HostOther;
    for (size_t i = 0; i < length; ++i) {
        char c = name[i];
        lowered[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    for (const HostName& host : kHostNames)
        if (std::strlen(host.name) == length && std::memcmp(host.name, lowered, length) == 0) return host.code;
    return HostOther;
}

int GetHostApplication() noexcept {
    if (!g_hostDetected) {
        g_hostDetected = true;
        g_hostCode = HostCodeFromCommandLine(GetCommandLineA());
    }
    return g_hostCode;
}

}  // namespace tarnevo
