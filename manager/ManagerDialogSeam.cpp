#include "manager/ManagerDialogSeam.h"

namespace tarnevo {
namespace {

// Until the dialogs install themselves (programs built without them), the dialog closes at once.
void NoDialog(HWND) {}

ManagerDialog g_dialog = &NoDialog;

}  // namespace

void SetManagerDialog(ManagerDialog dialog) noexcept { g_dialog = dialog ? dialog : &NoDialog; }

void RunManagerDialog(HWND owner) { g_dialog(owner); }

}  // namespace tarnevo
