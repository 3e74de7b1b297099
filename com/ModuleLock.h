// The module's lock count: live objects plus IClassFactory::LockServer locks.
#pragma once

#include <windows.h>

namespace tarnevo {

void LockModule() noexcept;
void UnlockModule() noexcept;
LONG ModuleLockCount() noexcept;

}  // namespace tarnevo
