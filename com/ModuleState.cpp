#include "com/ModuleState.h"

#include <cwchar>
#include <memory>
#include <vector>

namespace tarnevo {
namespace {

struct ModuleState {
    bool initialised = false;
    HINSTANCE instance = nullptr;
    std::wstring path;
    std::wstring version;
};

ModuleState& State() noexcept {
    static ModuleState state;
    return state;
}

}  // namespace

std::wstring FormatFileVersion(const std::wstring& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return std::wstring();
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return std::wstring();
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
        fixedSize < sizeof(VS_FIXEDFILEINFO))
        return L"<unknown>";
    wchar_t text[128];
    swprintf(text, 128, L"%d.%d.%d.%d", static_cast<int>(HIWORD(fixed->dwFileVersionMS)),
             static_cast<int>(LOWORD(fixed->dwFileVersionMS)), static_cast<int>(HIWORD(fixed->dwFileVersionLS)),
             static_cast<int>(LOWORD(fixed->dwFileVersionLS)));
    return text;
}

void InitializeModuleState(HINSTANCE instance) noexcept {
    ModuleState& state = State();
    state.instance = instance;
    try {
        wchar_t path[1024];
        DWORD length = GetModuleFileNameW(instance, path, 1024);
        state.path.assign(path, length < 1024 ? length : 0);
        state.version = state.path.empty() ? std::wstring() : FormatFileVersion(state.path);
    } catch (...) {
        state.version.clear();
    }
    state.initialised = true;
}

bool ModuleInitialised() noexcept { return State().initialised; }
HINSTANCE ModuleInstance() noexcept { return State().instance; }
const std::wstring& ModulePath() noexcept { return State().path; }
const std::wstring& ModuleVersionString() noexcept { return State().version; }

}  // namespace tarnevo
