#include "refprop/RefpropLibrary.h"

#include <objbase.h>

#include <memory>

#include "errors/CapeFailure.h"
#include "errors/ErrorTexts.h"

namespace tarnevo {
namespace {

constexpr size_t kPathBufferLength = 520;
constexpr int kDeleteAttempts = 10;
constexpr DWORD kDeletePauseMs = 100;

struct TaskMemFreer {
    void operator()(wchar_t* text) const noexcept { CoTaskMemFree(text); }
};

struct FindCloser {
    void operator()(HANDLE find) const noexcept {
        if (find != INVALID_HANDLE_VALUE) FindClose(find);
    }
};

bool Exists(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    std::unique_ptr<void, FindCloser> find(FindFirstFileW(path.c_str(), &data));
    return find.get() != INVALID_HANDLE_VALUE;
}

std::wstring NewPrivateCopyPath(const std::wstring& temporaryFolder) {
    GUID guid;
    if (FAILED(CoCreateGuid(&guid))) throw CapeFailure(L"CoCreateGuid failed");
    wchar_t* text = nullptr;
    if (FAILED(StringFromCLSID(guid, &text)) || !text) throw CapeFailure(L"out of memory");
    std::unique_ptr<wchar_t, TaskMemFreer> guidText(text);
    std::wstring path = temporaryFolder + L"REFPROP_" + guidText.get() + L".DLL";
    if (path.size() >= kPathBufferLength)
        throw CapeFailure(L"Path of the private REFPROP copy is too long: " + path);
    return path;
}

template <class Routine>
bool Resolve(HMODULE module, const char* name, Routine& slot) {
    slot = reinterpret_cast<Routine>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return slot != nullptr;
}

[[noreturn]] void ThrowMissingRoutine(const char* name) {
    std::wstring reason = GetLastErrorText();
    std::wstring routine(name, name + std::char_traits<char>::length(name));
    routine.resize(routine.size() - 3);  // without the "dll" ending
    throw CapeFailure(L"Failed to load " + routine + L" from REFPROP dll: " + reason);
}

}  // namespace

bool DeleteFileWithRetries(const std::wstring& path) noexcept {
    for (int attempt = 1; attempt <= kDeleteAttempts; ++attempt) {
        if (DeleteFileW(path.c_str())) return true;
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
        if (attempt < kDeleteAttempts) Sleep(kDeletePauseMs);
    }
    return false;
}

void UnloadRefpropLibrary(RefpropBinding& binding) noexcept {
    binding.libraryReady = false;
    binding.routines = RefpropRoutineTable();
    binding.refpropModule.reset();
    if (!binding.privateCopyPath.empty()) {
        DeleteFileWithRetries(binding.privateCopyPath);
        binding.privateCopyPath.clear();
    }
}

void ResolveRefpropRoutines(RefpropBinding& binding) {
    HMODULE module = binding.refpropModule.get();
    RefpropRoutineTable& table = binding.routines;
#define TARNEVO_RESOLVE(name) \
    if (!Resolve(module, #name, table.name)) ThrowMissingRoutine(#name);
    TARNEVO_REQUIRED_REFPROP_ROUTINES(TARNEVO_RESOLVE)
#undef TARNEVO_RESOLVE
    Resolve(module, "FUGCOFdll", table.FUGCOFdll);  // optional
}

void LoadRefpropLibrary(RefpropBinding& binding, const std::wstring& refpropFolder,
                        const std::wstring& temporaryFolder) {
    UnloadRefpropLibrary(binding);

    binding.privateCopyPath = NewPrivateCopyPath(temporaryFolder);

    std::wstring source = refpropFolder + L"\\refprp64.dll";
    if (!Exists(source)) throw CapeFailure(L"Could not find refprop DLL: " + source);

    if (!CopyFileW(source.c_str(), binding.privateCopyPath.c_str(), FALSE)) {
        std::wstring reason = GetLastErrorText();
        throw CapeFailure(L"Failed to copy REFPROP dll to \"" + binding.privateCopyPath + L"\": " + reason);
    }

    binding.refpropModule.reset(LoadLibraryW(binding.privateCopyPath.c_str()));
    if (!binding.refpropModule) {
        std::wstring reason = GetLastErrorText();
        throw CapeFailure(L"Failed to load REFPROP dll: " + reason);
    }

    ResolveRefpropRoutines(binding);
    binding.libraryReady = true;
}

}  // namespace tarnevo
