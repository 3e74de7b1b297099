// Drives modal dialogs of this thread from a second thread, as a user would: finds
// windows by title, reads and types text, presses buttons, answers message boxes.
//   DriveDialogs([&] { ShowPackageManagerDialog(nullptr); },
//                [&](DialogDriver& d) { d.Press(d.Wait(L"TARNEVO Property Package Manager:"), IDOK); });
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tarnevo_test {

class DialogDriver {
public:
    explicit DialogDriver(DWORD uiThread) : uiThread_(uiThread) {}
    // The visible window titled `title` (or, with `owner`, the visible window it owns).
    HWND Wait(const std::wstring& title, HWND owner = nullptr, bool messageBox = false) const;
    void WaitClosed(HWND window) const;
    // Posts a button press (for buttons that open further windows or end the dialog).
    void Press(HWND dialog, int id) const;
    // Sends a command and returns when it has been handled.
    void Command(HWND dialog, int id, int code = BN_CLICKED) const;
    std::wstring Text(HWND window) const;
    std::wstring ItemText(HWND dialog, int id) const { return Text(GetDlgItem(dialog, id)); }
    void Type(HWND dialog, int id, const std::wstring& text) const;
    bool Enabled(HWND dialog, int id) const { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
    bool Shown(HWND dialog, int id) const { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
    // List box items, and selecting one as a click would.
    std::vector<std::wstring> Items(HWND dialog, int id) const;
    void Select(HWND dialog, int id, int index) const;
    // List view rows (column `column` of each), and selecting rows (-1: all).
    std::vector<std::wstring> Rows(HWND dialog, int id, int column = 0) const;
    void SelectRow(HWND dialog, int id, int row) const;
    // Answers the message box captioned `caption` with `answer`; returns its text.
    std::wstring Answer(const std::wstring& caption, int answer = IDOK) const;
    // Enters `text` in the input dialog titled `prompt` and presses OK (or Cancel).
    void Enter(const std::wstring& prompt, const std::wstring& text, bool ok = true) const;
    // With TARNEVO_SHOTS set to a folder: the window's picture as <folder>\<name>.bmp.
    void Shot(HWND window, const std::wstring& name) const;

private:
    DWORD uiThread_;
};

// Runs `show` (which opens modal dialogs) on this thread while `script` drives them from
// another. Returns the script's failures; after one, every window of this thread is
// cancelled until `show` returns.
std::vector<std::string> DriveDialogs(const std::function<void()>& show,
                                      const std::function<void(DialogDriver&)>& script);

// Wine starts the desktop window of a prefix with the display of the process that first
// needed it, possibly none. The tests therefore run again in a child process on a (Wine
// virtual) desktop of their own, whose desktop window gets this display; its exit code is
// returned. The child has TARNEVO_DIALOG_DESKTOP set.
int RunOnOwnDesktop();

}  // namespace tarnevo_test
