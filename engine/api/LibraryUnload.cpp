// Unloading the library without leaking what its static runtime keeps (mingw-w64 builds).
//
// The library is loaded and freed many times in one process (one private copy per package),
// and its statically linked runtime assumes it lives until the process ends:
// - winpthread takes a TLS slot on first use and a record for each thread that calls it
//   (memory and two handles); it releases a record only when its thread exits and never
//   frees the slot;
// - libstdc++ allocates its emergency exception pool (about 73 KB) at load and never frees it.
// When the library is freed while the process goes on, this module runs its own thread-exit
// callbacks for the calling thread, frees the slot and the pool. Threads other than the
// unloading one keep their records.
#include <windows.h>

#include <pthread.h>

namespace __gnu_cxx {
void __freeres() noexcept;  // libstdc++: frees the emergency exception pool
}

namespace {

constexpr DWORD kNoSlot = TLS_OUT_OF_INDEXES;
DWORD g_threadLibrarySlot = kNoSlot;

// Makes winpthread take its slot now and records which one it is: the lowest free index
// before, holding a value after.
void FindThreadLibrarySlot() {
    const DWORD lowestFree = TlsAlloc();
    if (lowestFree == kNoSlot) return;
    TlsFree(lowestFree);
    pthread_self();
    SetLastError(ERROR_SUCCESS);
    if (TlsGetValue(lowestFree) != nullptr && GetLastError() == ERROR_SUCCESS) g_threadLibrarySlot = lowestFree;
}

void RunThreadDetachCallbacks(HINSTANCE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_TLS];
    if (entry.VirtualAddress == 0) return;
    auto* tls = reinterpret_cast<IMAGE_TLS_DIRECTORY*>(base + entry.VirtualAddress);
    auto* callback = reinterpret_cast<PIMAGE_TLS_CALLBACK*>(tls->AddressOfCallBacks);
    for (; callback && *callback; ++callback) (*callback)(module, DLL_THREAD_DETACH, nullptr);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        FindThreadLibrarySlot();
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {  // FreeLibrary, not process exit
        RunThreadDetachCallbacks(module);
        if (g_threadLibrarySlot != kNoSlot) TlsFree(g_threadLibrarySlot);
        __gnu_cxx::__freeres();
    }
    return TRUE;
}
