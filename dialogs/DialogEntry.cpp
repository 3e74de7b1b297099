// The dialogs take their places behind the seams of the manager and the package, and
// the help file is opened beside the module.
#include <windows.h>

#include <memory>

#include "definition/FileAccess.h"
#include "dialogs/DialogResources.h"
#include "dialogs/DialogWindow.h"
#include "dialogs/Dialogs.h"
#include "manager/ManagerDialogSeam.h"
#include "package/PackageEditorSeam.h"

namespace tarnevo {
namespace {

const bool kDialogsInstalled =
    (SetPackageEditor(&ShowPackageEditorDialog), SetManagerDialog(&ShowPackageManagerDialog), true);

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
constexpr UINT kDisplayTopic = 0x0000;  // HH_DISPLAY_TOPIC
constexpr UINT kCloseAll = 0x0012;      // HH_CLOSE_ALL

// The viewer library stays loaded while help windows may be open; its windows are
// closed before it is freed.
struct HelpLibraryFree {
    void operator()(HMODULE library) const noexcept {
        if (auto close = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpW"))))
            close(nullptr, nullptr, kCloseAll, 0);
        FreeLibrary(library);
    }
};

HtmlHelpFunction HtmlHelpEntry() {
    static const std::unique_ptr<HINSTANCE__, HelpLibraryFree> library(LoadLibraryW(L"hhctrl.ocx"));
    return library ? reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(library.get(), "HtmlHelpW"))) : nullptr;
}

}  // namespace

void ShowHelpFile(HWND owner) {
    std::wstring path(1024, L'\0');
    path.resize(GetModuleFileNameW(DialogResourceModule(), &path[0], static_cast<DWORD>(path.size())));
    path = path.substr(0, path.find_last_of(L'\\') + 1) + L"TARNEVO.chm";
    const HtmlHelpFunction htmlHelp = PathExists(path) ? HtmlHelpEntry() : nullptr;
    if (htmlHelp && htmlHelp(owner, path.c_str(), kDisplayTopic, 0)) return;
    MessageBoxW(owner, ResourceText(IDS_HELP_FAILED, {path}).c_str(), ResourceText(IDS_HELP_CAPTION).c_str(),
                MB_OK | MB_ICONERROR);
}

}  // namespace tarnevo
