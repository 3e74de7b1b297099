// Owners of Win32 and COM resources: std::unique_ptr with one deleter per kind of handle.
//
//   UniqueFind find(FindFirstFileW(pattern, &data));
//   if (find.get() == INVALID_HANDLE_VALUE) return;   // the deleter ignores the failure value
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <memory>
#include <type_traits>

namespace tarnevo {

// Kernel handles (files, processes, threads, events); null and INVALID_HANDLE_VALUE are skipped.
struct HandleCloser {
    void operator()(HANDLE handle) const noexcept {
        if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// FindFirstFileW searches.
struct FindCloser {
    void operator()(HANDLE find) const noexcept {
        if (find && find != INVALID_HANDLE_VALUE) FindClose(find);
    }
};
using UniqueFind = std::unique_ptr<void, FindCloser>;

// Loaded modules (LoadLibraryW).
struct ModuleFreer {
    void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

// Registry keys.
struct RegistryKeyCloser {
    void operator()(HKEY key) const noexcept { RegCloseKey(key); }
};
using UniqueRegistryKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegistryKeyCloser>;

// Safe arrays that are not (yet) owned by a VARIANT.
struct SafeArrayDestroyer {
    void operator()(SAFEARRAY* array) const noexcept { SafeArrayDestroy(array); }
};
using UniqueSafeArray = std::unique_ptr<SAFEARRAY, SafeArrayDestroyer>;

// Memory from the COM task allocator (e.g. SHGetKnownFolderPath, StringFromCLSID).
struct TaskMemFreer {
    void operator()(void* memory) const noexcept { CoTaskMemFree(memory); }
};
template <class T>
using UniqueTaskMem = std::unique_ptr<T, TaskMemFreer>;

// Memory from LocalAlloc (e.g. FormatMessageW with FORMAT_MESSAGE_ALLOCATE_BUFFER, CommandLineToArgvW).
struct LocalFreer {
    void operator()(void* memory) const noexcept { LocalFree(memory); }
};
template <class T>
using UniqueLocal = std::unique_ptr<T, LocalFreer>;

}  // namespace tarnevo
