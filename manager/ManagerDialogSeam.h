// Seam between the manager's Edit and the package manager dialog. The dialog plugs in
// with SetManagerDialog; tests install a scripted one. Until the dialog exists the
// default shows that it is not available.
#pragma once

#include <windows.h>

namespace tarnevo {

using ManagerDialog = void (*)(HWND owner);

// Installs the dialog; null restores the default.
void SetManagerDialog(ManagerDialog dialog) noexcept;

void RunManagerDialog(HWND owner);

}  // namespace tarnevo
