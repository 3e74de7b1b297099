// Call recording: compiled once plain (no-op) and once with TARNEVO_RECORDING for
// the recording variant of the library.
#include "api/Session.h"

#ifdef TARNEVO_RECORDING
#include <cstdio>
#include <cstdlib>
#include <memory>
#ifdef _WIN32
#include <windows.h>
#endif
#endif

namespace tarnevo::engine::api {

void recordCall(const char* routine) {
#ifdef TARNEVO_RECORDING
    std::string path;
#ifdef _WIN32
    char buffer[1024];
    const DWORD n = GetEnvironmentVariableA("TARNEVO_RECORD_FILE", buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer) path.assign(buffer, n);
#else
    if (const char* env = std::getenv("TARNEVO_RECORD_FILE")) path = env;
#endif
    if (path.empty()) return;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "ab"), &std::fclose);
    if (file) std::fprintf(file.get(), "%s\n", routine);
#else
    (void)routine;
#endif
}

}  // namespace tarnevo::engine::api
