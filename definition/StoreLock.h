// The store lock: one critical section for the module, re-entrant by its owner thread.
#pragma once

#include <windows.h>

#include <atomic>

namespace tarnevo {

class StoreLock {
public:
    StoreLock();
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    // Enters unless the calling thread already owns the lock; returns whether it
    // entered, which the matching Release must be given.
    bool Acquire();
    void Release(bool entered);

private:
    CRITICAL_SECTION section_;
    std::atomic<DWORD> owner_{0};
};

// The module's one store lock, created at load and deleted at unload.
StoreLock& TheStoreLock();

class StoreLockGuard {
public:
    StoreLockGuard() : entered_(TheStoreLock().Acquire()) {}
    ~StoreLockGuard() { TheStoreLock().Release(entered_); }
    StoreLockGuard(const StoreLockGuard&) = delete;
    StoreLockGuard& operator=(const StoreLockGuard&) = delete;

private:
    bool entered_;
};

}  // namespace tarnevo
