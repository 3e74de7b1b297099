// Seam between the manager's Edit and the package manager dialog. The dialog plugs in
// with SetManagerDialog when the module loads; tests install a scripted one. Programs
// built without the dialogs get one that closes at once.
#pragma once

#include <windows.h>

namespace tarnevo {

using ManagerDialog = void (*)(HWND owner);

// Installs the dialog; null restores the default.
void SetManagerDialog(ManagerDialog dialog) noexcept;

void RunManagerDialog(HWND owner);

}  // namespace tarnevo
