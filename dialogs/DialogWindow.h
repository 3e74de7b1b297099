// Common ground of the modal dialogs: the dialog procedure that dispatches to the
// dialog object and keeps every exception inside it, item helpers, texts from the
// module's string table, message boxes and the layout of resizable dialogs.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace tarnevo {

// The module whose resources the dialogs use (the one that holds this code).
HINSTANCE DialogResourceModule() noexcept;

// A text of the string table with "%1" … "%9" replaced by `arguments`.
std::wstring ResourceText(UINT id, std::initializer_list<std::wstring> arguments = {});

// "Out of memory" (or another unexpected failure) in a box captioned "Error:".
void ShowUnexpectedFailure(HWND owner, bool outOfMemory) noexcept;

class CDialogWindow {
public:
    virtual ~CDialogWindow() = default;
    // Runs the dialog of `templateId` modally; its end code, or -1 when it could not be made.
    INT_PTR RunModal(HWND owner, int templateId);

protected:
    virtual void OnInitDialog() {}
    // Return true when the command was handled.
    virtual bool OnCommand(int id, int code) = 0;
    virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    virtual void OnSize(int /*width*/, int /*height*/) {}

    HWND Window() const noexcept { return window_; }
    HWND Item(int id) const noexcept { return GetDlgItem(window_, id); }
    std::wstring ItemText(int id) const;
    void SetItemText(int id, const std::wstring& text) const;
    void EnableItem(int id, bool enabled) const;
    void ShowItem(int id, bool shown) const;
    int ShowMessage(const std::wstring& text, const std::wstring& caption, UINT flags) const;
    void ShowError(const std::wstring& text) const;  // caption "Error:"
    void End(INT_PTR code) const { EndDialog(window_, code); }

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

// Keeps controls at their distances to the right and bottom edges of a resizable dialog.
class CControlLayout {
public:
    enum Anchor : unsigned { Fixed = 0, MoveRight = 1, MoveDown = 2, GrowWidth = 4, GrowHeight = 8 };
    // Records the controls' places against the dialog's current client size.
    void Capture(HWND dialog, std::initializer_list<std::pair<int, unsigned>> controls);
    void Apply(int width, int height) const;

private:
    struct Placed {
        HWND control;
        unsigned anchor;
        RECT rect;
    };
    HWND dialog_ = nullptr;
    SIZE client_ = {};
    std::vector<Placed> placed_;
};

}  // namespace tarnevo
