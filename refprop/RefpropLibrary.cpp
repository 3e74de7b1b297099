#include "refprop/RefpropLibrary.h"

#include <objbase.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

#include "com/OwnedHandles.h"
#include "capeobject/CapeFailure.h"
#include "capeobject/ErrorTexts.h"

namespace tarnevo {
namespace {

constexpr size_t kPathBufferLength = 520;
constexpr int kDeleteAttempts = 10;
constexpr DWORD kDeletePauseMs = 100;

bool Exists(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileW(path.c_str(), &data));
    return find.get() != INVALID_HANDLE_VALUE;
}

constexpr wchar_t kCopyPrefix[] = L"REFPROP_";
constexpr size_t kGuidLength = 38;
constexpr wchar_t kCopyExtension[] = L".DLL";
constexpr wchar_t kLockExtension[] = L".LOCK";

std::wstring LockPathOf(const std::wstring& copyPath) {
    return copyPath.substr(0, copyPath.size() - (std::size(kCopyExtension) - 1)) + kLockExtension;
}

// Opens a lock file without sharing; it is deleted when the handle is closed.
HANDLE OpenLock(const std::wstring& path, DWORD disposition) {
    return CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, disposition,
                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// "REFPROP_{GUID}" of a private copy or lock file name, or empty for any other name.
std::wstring CopyStem(const std::wstring& name) {
    const size_t stem = std::size(kCopyPrefix) - 1 + kGuidLength;
    if (name.size() <= stem || _wcsnicmp(name.c_str(), kCopyPrefix, std::size(kCopyPrefix) - 1) != 0 ||
        name[std::size(kCopyPrefix) - 1] != L'{' || name[stem - 1] != L'}')
        return std::wstring();
    const wchar_t* extension = name.c_str() + stem;
    if (_wcsicmp(extension, kCopyExtension) != 0 && _wcsicmp(extension, kLockExtension) != 0) return std::wstring();
    return name.substr(0, stem);
}

std::wstring NewPrivateCopyPath(const std::wstring& temporaryFolder) {
    GUID guid;
    if (FAILED(CoCreateGuid(&guid))) throw CapeFailure(L"CoCreateGuid failed");
    wchar_t* text = nullptr;
    if (FAILED(StringFromCLSID(guid, &text)) || !text) throw CapeFailure(L"out of memory");
    UniqueTaskMem<wchar_t> guidText(text);
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

int RemoveStaleCopies(const std::wstring& temporaryFolder) noexcept {
    try {
        std::vector<std::wstring> stems;
        WIN32_FIND_DATAW data;
        UniqueFind find(
            FindFirstFileW((temporaryFolder + kCopyPrefix + L"*").c_str(), &data));
        if (find.get() == INVALID_HANDLE_VALUE) return 0;
        do {
            std::wstring stem = CopyStem(data.cFileName);
            if (!stem.empty() && std::find(stems.begin(), stems.end(), stem) == stems.end())
                stems.push_back(std::move(stem));
        } while (FindNextFileW(find.get(), &data));
        find.reset();

        int removed = 0;
        for (const std::wstring& stem : stems) {
            const std::wstring copy = temporaryFolder + stem + kCopyExtension;
            UniqueHandle lock(OpenLock(temporaryFolder + stem + kLockExtension, OPEN_EXISTING));
            // Held by its owner: a sharing violation. Any other failure leaves it alone too.
            if (lock.get() == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_NOT_FOUND) continue;
            if (DeleteFileW(copy.c_str())) ++removed;
        }
        return removed;
    } catch (...) {
        return 0;
    }
}

void UnloadRefpropLibrary(RefpropBinding& binding) noexcept {
    binding.libraryReady = false;
    binding.routines = RefpropRoutineTable();
    binding.refpropModule.reset();
    if (!binding.privateCopyPath.empty()) {
        DeleteFileWithRetries(binding.privateCopyPath);
        binding.privateCopyPath.clear();
    }
    binding.privateCopyLock.reset();
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
    RemoveStaleCopies(temporaryFolder);

    std::wstring source = refpropFolder + L"\\refprp64.dll";
    if (!Exists(source)) throw CapeFailure(L"Could not find refprop DLL: " + source);

    // The lock comes first, so that no sweep ever sees the copy without its owner.
    binding.privateCopyLock.reset(OpenLock(LockPathOf(binding.privateCopyPath), CREATE_NEW));
    if (binding.privateCopyLock.get() == INVALID_HANDLE_VALUE ||
        !CopyFileW(source.c_str(), binding.privateCopyPath.c_str(), FALSE)) {
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
