#include "definition/StoreLock.h"

namespace tarnevo {

StoreLock::StoreLock() { InitializeCriticalSection(&section_); }

StoreLock::~StoreLock() { DeleteCriticalSection(&section_); }

bool StoreLock::Acquire() {
    const DWORD self = GetCurrentThreadId();
    if (owner_.load() == self) return false;
    // The owner is recorded only once the section is held, so another thread's
    // attempt never overwrites the id of the thread inside.
    EnterCriticalSection(&section_);
    owner_.store(self);
    return true;
}

void StoreLock::Release(bool entered) {
    if (!entered) return;
    owner_.store(0);
    LeaveCriticalSection(&section_);
}

StoreLock& TheStoreLock() {
    static StoreLock lock;
    return lock;
}

}  // namespace tarnevo
