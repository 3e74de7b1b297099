// Where the program's thread spends its time: a second thread samples the calling thread
// about once a millisecond (suspend, read its context, resume) and attributes each sample
// to the first frame, walking up the stack, that lies in the engine (the private REFPROP
// copies, REFPROP_*.DLL), the server (TARNEVO64.dll) or this program; samples that reach none
// of them count as "other" (the system's libraries on their own).
//   StackSampler sampler;          // on the thread to be measured
//   sampler.Start();  ... work ...  SampleCounts counts = sampler.Stop();
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "com/OwnedHandles.h"

namespace tarnevo::cli {

struct SampleCounts {
    long engine = 0;
    long server = 0;
    long host = 0;
    long other = 0;
    long Total() const noexcept { return engine + server + host + other; }
};

class StackSampler {
public:
    StackSampler();
    ~StackSampler();
    StackSampler(const StackSampler&) = delete;
    StackSampler& operator=(const StackSampler&) = delete;

    // Starts sampling (module ranges are read again first); Stop returns the counts.
    void Start();
    SampleCounts Stop();

private:
    struct Range {
        ULONG_PTR begin = 0, end = 0;
        int kind = 0;
    };
    using Handle = UniqueHandle;

    static DWORD WINAPI ThreadMain(void* self);
    void Sample();
    int Classify(ULONG_PTR address) const noexcept;
    void ReadModules();

    Handle target_;
    Handle thread_;
    std::atomic<bool> running_{false};
    static constexpr int kMaxRanges = 64;
    Range ranges_[kMaxRanges];
    int rangeCount_ = 0;
    std::atomic<long> counts_[4] = {};
};

}  // namespace tarnevo::cli
