// Drives the modal dialogs of the test thread from a second thread, as a user would.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace tarnevo_test {

class DialogDriver {
public:
    explicit DialogDriver(DWORD uiThread) : uiThread_(uiThread) {}
    // The visible window titled `title`; with `owner`, any visible window it owns; with
    // `messageBox`, only message boxes. Throws after 20 s.
    HWND Wait(const std::wstring& title, HWND owner = nullptr, bool messageBox = false) const;
    void WaitClosed(HWND window) const;
    // Posts a press (for buttons that open windows or end the dialog); Command sends one.
    void Press(HWND dialog, int id) const { PostMessageW(dialog, WM_COMMAND, id, 0); }
    void Command(HWND dialog, int id, int code = BN_CLICKED) const {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    std::wstring ItemText(HWND dialog, int id) const;
    void Type(HWND dialog, int id, const std::wstring& text) const {
        SendDlgItemMessageW(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    bool Enabled(HWND dialog, int id) const { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
    bool Shown(HWND dialog, int id) const { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
    // The items of a list box (column -1) or a column of a list view.
    std::vector<std::wstring> Texts(HWND dialog, int id, int column = -1) const;
    void Select(HWND dialog, int id, int index) const {
        SendDlgItemMessageW(dialog, id, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Command(dialog, id, LBN_SELCHANGE);
    }
    void SelectRow(HWND dialog, int id, int row) const {
        ListView_SetItemState(GetDlgItem(dialog, id), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    // Answers the message box captioned `caption`; returns its text.
    std::wstring Answer(const std::wstring& caption, int answer = IDOK) const;
    // Types `text` into the input dialog titled `prompt` and presses OK.
    void Enter(const std::wstring& prompt, const std::wstring& text) const;
    // With TARNEVO_SHOTS set to a folder: asks for the window's picture on stdout
    // ("shot <name> <geometry>") and waits until <folder>\<name>.png exists; the first
    // window of a name counts.
    void Shot(HWND window, const std::wstring& name) const;

private:
    DWORD uiThread_;
};

// Runs `show` (which opens modal dialogs) on this thread while `script` drives them from
// another; returns the script's failures. After a failure, or when the script leaves
// windows open, every window of this thread is cancelled until `show` returns.
std::vector<std::string> DriveDialogs(const std::function<void()>& show,
                                      const std::function<void(DialogDriver&)>& script);

}  // namespace tarnevo_test
