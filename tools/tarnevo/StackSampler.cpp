#include "tools/tarnevo/StackSampler.h"

#include <psapi.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

namespace tarnevo::cli {
namespace {

enum Kind { kNone = -1, kEngine = 0, kServer = 1, kHost = 2, kOther = 3 };

std::wstring BaseName(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring name(path);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
    return name;
}

}  // namespace

StackSampler::StackSampler() {
    HANDLE thread = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread,
                    THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_QUERY_INFORMATION, FALSE, 0);
    target_.reset(thread);
}

StackSampler::~StackSampler() {
    if (running_) Stop();
}

void StackSampler::ReadModules() {
    rangeCount_ = 0;
    std::vector<HMODULE> modules(512);
    DWORD needed = 0;
    if (!EnumProcessModules(GetCurrentProcess(), modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                            &needed))
        return;
    modules.resize(std::min<size_t>(needed / sizeof(HMODULE), modules.size()));
    const HMODULE self = GetModuleHandleW(nullptr);
    for (HMODULE module : modules) {
        const std::wstring name = BaseName(module);
        int kind = kNone;
        if (module == self) kind = kHost;
        else if (name == L"TARNEVO64.DLL") kind = kServer;
        else if (name.compare(0, 8, L"REFPROP_") == 0) kind = kEngine;
        if (kind == kNone || rangeCount_ == kMaxRanges) continue;
        MODULEINFO info = {};
        if (!GetModuleInformation(GetCurrentProcess(), module, &info, sizeof info)) continue;
        const auto begin = reinterpret_cast<ULONG_PTR>(info.lpBaseOfDll);
        ranges_[rangeCount_++] = {begin, begin + info.SizeOfImage, kind};
    }
}

int StackSampler::Classify(ULONG_PTR address) const noexcept {
    for (int i = 0; i < rangeCount_; ++i) {
        if (address >= ranges_[i].begin && address < ranges_[i].end) return ranges_[i].kind;
    }
    return kNone;
}

void StackSampler::Start() {
    ReadModules();
    for (auto& count : counts_) count = 0;
    running_ = true;
    thread_.reset(CreateThread(nullptr, 0, &StackSampler::ThreadMain, this, 0, nullptr));
    if (!thread_) running_ = false;
}

SampleCounts StackSampler::Stop() {
    running_ = false;
    if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
    SampleCounts counts;
    counts.engine = counts_[kEngine];
    counts.server = counts_[kServer];
    counts.host = counts_[kHost];
    counts.other = counts_[kOther];
    return counts;
}

DWORD WINAPI StackSampler::ThreadMain(void* self) {
    auto* sampler = static_cast<StackSampler*>(self);
    while (sampler->running_) {
        Sleep(1);
        sampler->Sample();
    }
    return 0;
}

// Nothing here allocates while the target is suspended: it may hold the heap lock.
void StackSampler::Sample() {
    if (SuspendThread(target_.get()) == static_cast<DWORD>(-1)) return;
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_FULL;
    int kind = kOther;
    if (GetThreadContext(target_.get(), &context)) {
        for (int depth = 0; depth < 64 && context.Rip; ++depth) {
            const int found = Classify(static_cast<ULONG_PTR>(context.Rip));
            if (found != kNone) {
                kind = found;
                break;
            }
            DWORD64 imageBase = 0;
            PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(context.Rip, &imageBase, nullptr);
            if (function) {
                void* handlerData = nullptr;
                DWORD64 establisher = 0;
                RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, context.Rip, function, &context, &handlerData,
                                 &establisher, nullptr);
            } else {
                // A leaf function: the return address is on top of the stack.
                DWORD64 returnAddress = 0;
                SIZE_T read = 0;
                if (!ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<void*>(context.Rsp), &returnAddress,
                                       sizeof returnAddress, &read) ||
                    read != sizeof returnAddress)
                    break;
                context.Rip = returnAddress;
                context.Rsp += sizeof returnAddress;
            }
        }
    }
    ResumeThread(target_.get());
    ++counts_[kind];
}

}  // namespace tarnevo::cli
