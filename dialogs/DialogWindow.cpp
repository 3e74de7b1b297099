#include "dialogs/DialogWindow.h"

#include <new>

#include "dialogs/DialogResources.h"

namespace tarnevo {

HINSTANCE DialogResourceModule() noexcept {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&DialogResourceModule), &module);
    return module;
}

std::wstring ResourceText(UINT id, std::initializer_list<std::wstring> arguments) {
    const wchar_t* stored = nullptr;
    const int length = LoadStringW(DialogResourceModule(), id, reinterpret_cast<LPWSTR>(&stored), 0);
    const std::wstring pattern = length > 0 ? std::wstring(stored, length) : std::wstring();
    std::wstring text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t next = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
        const size_t argument = static_cast<size_t>(next - L'1');
        if (pattern[i] == L'%' && next >= L'1' && next <= L'9' && argument < arguments.size()) {
            text += arguments.begin()[argument];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

void ShowUnexpectedFailure(HWND owner, bool outOfMemory) noexcept {
    MessageBoxW(owner, outOfMemory ? L"Out of memory" : L"Unexpected failure in the dialog", L"Error:",
                MB_OK | MB_ICONERROR);
}

INT_PTR CDialogWindow::RunModal(HWND owner, int templateId) {
    return DialogBoxParamW(DialogResourceModule(), MAKEINTRESOURCEW(templateId), owner, &CDialogWindow::Procedure,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CDialogWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<CDialogWindow*>(lParam)->window_ = window;
    }
    auto* dialog = reinterpret_cast<CDialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!dialog) return FALSE;
    try {
        return dialog->Dispatch(message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        ShowUnexpectedFailure(window, true);
    } catch (...) {
        ShowUnexpectedFailure(window, false);
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

INT_PTR CDialogWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (!OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return FALSE;
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_SIZE:
            OnSize(LOWORD(lParam), HIWORD(lParam));
            return TRUE;
        default:
            return FALSE;
    }
}

std::wstring CDialogWindow::ItemText(int id) const {
    const HWND item = Item(id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(item, &text[0], static_cast<int>(text.size()))));
    return text;
}

void CDialogWindow::SetItemText(int id, const std::wstring& text) const { SetDlgItemTextW(window_, id, text.c_str()); }

void CDialogWindow::EnableItem(int id, bool enabled) const { EnableWindow(Item(id), enabled ? TRUE : FALSE); }

void CDialogWindow::ShowItem(int id, bool shown) const { ShowWindow(Item(id), shown ? SW_SHOW : SW_HIDE); }

int CDialogWindow::ShowMessage(const std::wstring& text, const std::wstring& caption, UINT flags) const {
    return MessageBoxW(window_, text.c_str(), caption.c_str(), flags);
}

void CDialogWindow::ShowError(const std::wstring& text) const {
    ShowMessage(text, ResourceText(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
}

void CControlLayout::Capture(HWND dialog, std::initializer_list<std::pair<int, unsigned>> controls) {
    dialog_ = dialog;
    RECT client;
    GetClientRect(dialog, &client);
    client_ = {client.right, client.bottom};
    placed_.clear();
    for (const auto& control : controls) {
        Placed placed = {GetDlgItem(dialog, control.first), control.second, {}};
        GetWindowRect(placed.control, &placed.rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&placed.rect), 2);
        placed_.push_back(placed);
    }
}

void CControlLayout::Apply(int width, int height) const {
    if (!dialog_ || width <= 0 || height <= 0) return;
    const int dx = width - client_.cx;
    const int dy = height - client_.cy;
    for (const Placed& placed : placed_) {
        RECT rect = placed.rect;
        if (placed.anchor & MoveRight) OffsetRect(&rect, dx, 0);
        if (placed.anchor & MoveDown) OffsetRect(&rect, 0, dy);
        if (placed.anchor & GrowWidth) rect.right += dx;
        if (placed.anchor & GrowHeight) rect.bottom += dy;
        MoveWindow(placed.control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    }
    InvalidateRect(dialog_, nullptr, TRUE);
}

}  // namespace tarnevo
