#include "manager/ManagerDialogSeam.h"

#include "package/PackageEditorSeam.h"

namespace tarnevo {
namespace {

void DialogNotAvailable(HWND owner) {
    ShowFailureBox(owner, L"The property package manager dialog is not available in this build.");
}

ManagerDialog g_dialog = &DialogNotAvailable;

}  // namespace

void SetManagerDialog(ManagerDialog dialog) noexcept { g_dialog = dialog ? dialog : &DialogNotAvailable; }

void RunManagerDialog(HWND owner) { g_dialog(owner); }

}  // namespace tarnevo
