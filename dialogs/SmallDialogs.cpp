// The input dialog, the model options dialog and its list picker.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <type_traits>

#include "dialogs/DialogResources.h"
#include "dialogs/DialogWindow.h"
#include "dialogs/Dialogs.h"

namespace tarnevo {
namespace {

class CInputDlg final : public CDialogWindow {
public:
    CInputDlg(const std::wstring& prompt, std::wstring& text) : prompt_(prompt), text_(text) {}

private:
    void OnInitDialog() override {
        SetWindowTextW(Window(), prompt_.c_str());
        SetItemText(IDC_INPUT_TEXT, text_);
        SendMessageW(Item(IDC_INPUT_TEXT), EM_SETSEL, 0, -1);
    }
    bool OnCommand(int id, int) override {
        if (id == IDOK) text_ = ItemText(IDC_INPUT_TEXT);
        if (id != IDOK && id != IDCANCEL) return false;
        End(id);
        return true;
    }

    const std::wstring& prompt_;
    std::wstring& text_;
};

struct HookRemover {
    void operator()(HHOOK hook) const noexcept { UnhookWindowsHookEx(hook); }
};
using UniqueHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, HookRemover>;

struct DcReleaser {
    HWND window;
    void operator()(HDC dc) const noexcept { ReleaseDC(window, dc); }
};

class CListPicker final : public CDialogWindow {
public:
    CListPicker(const std::vector<std::wstring>& texts, int& index, POINT at) : texts_(texts), index_(index), at_(at) {}
    ~CListPicker() override { current_ = nullptr; }

private:
    void OnInitDialog() override {
        const HWND list = Item(IDC_PICKER_LIST);
        const auto font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SIZE widest = {0, 0};
        {
            std::unique_ptr<HDC__, DcReleaser> dc(GetDC(Window()), DcReleaser{Window()});
            SelectObject(dc.get(), font);
            for (const std::wstring& text : texts_) {
                SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
                SIZE size = {0, 0};
                GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
                widest.cx = std::max(widest.cx, size.cx);
                widest.cy = std::max(widest.cy, size.cy);
            }
        }
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index_), 0);
        // Widest text plus 16 pixels and the drop-down arrow; tallest row plus 6 pixels,
        // or the closed list's own height when that is more.
        const int width = widest.cx + 16 + GetSystemMetrics(SM_CXVSCROLL);
        const int rowHeight = widest.cy + 6;
        const int dropped = rowHeight * static_cast<int>(std::min<size_t>(texts_.size(), 10) + 1);
        MoveWindow(list, 0, 0, width, dropped, FALSE);
        RECT closed;
        GetWindowRect(list, &closed);
        const int height = std::max<int>(rowHeight, closed.bottom - closed.top) + 2 * GetSystemMetrics(SM_CYBORDER);
        SetWindowPos(Window(), HWND_TOP, at_.x, at_.y, width + 2 * GetSystemMetrics(SM_CXBORDER), height, 0);
        current_ = this;
        hook_.reset(SetWindowsHookExW(WH_MOUSE, &CListPicker::MouseHook, nullptr, GetCurrentThreadId()));
        PostMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
    }

    bool OnCommand(int id, int code) override {
        const HWND list = Item(IDC_PICKER_LIST);
        if (id == IDC_PICKER_LIST) {
            if (code == CBN_SELCHANGE) index_ = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
            if (code == CBN_SELENDOK) PostMessageW(Window(), WM_COMMAND, IDOK, 0);
            return true;
        }
        if (id == IDOK) index_ = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
        if (id == IDCANCEL) index_ = -1;
        if (id != IDOK && id != IDCANCEL) return false;
        hook_.reset();
        End(id);
        return true;
    }

    // A click outside the picker and its open list closes it.
    bool Contains(HWND window) const {
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        GetComboBoxInfo(Item(IDC_PICKER_LIST), &info);
        return window == Window() || IsChild(Window(), window) || window == info.hwndList;
    }

    static LRESULT CALLBACK MouseHook(int code, WPARAM message, LPARAM data) {
        if (code == HC_ACTION && current_) {
            const auto* mouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(data);
            const bool press = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN ||
                               message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN;
            if (press && !current_->Contains(mouse->hwnd)) PostMessageW(current_->Window(), WM_COMMAND, IDCANCEL, 0);
        }
        return CallNextHookEx(nullptr, code, message, data);
    }

    static CListPicker* current_;
    const std::vector<std::wstring>& texts_;
    int& index_;
    POINT at_;
    UniqueHook hook_;
};

CListPicker* CListPicker::current_ = nullptr;

class CConfigureModelDlg final : public CDialogWindow {
public:
    explicit CConfigureModelDlg(ModelOptionsDialogData& data) : data_(data) {}

private:
    HWND List() const { return Item(IDC_MODEL_LIST); }

    const std::vector<ModelOption>& Options(int row) const {
        return row == 0 ? *data_.mixtureOptions : *data_.componentOptions;
    }
    int& Selection(int row) { return row == 0 ? data_.selections.mixture : data_.selections.components[row - 1]; }

    void SetCell(int row, int column, const std::wstring& text) {
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        SendMessageW(List(), LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }

    void OnInitDialog() override {
        SetWindowTextW(Window(), data_.title.c_str());
        data_.selections.components.resize(data_.compoundNames.size(), 0);
        SendMessageW(List(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        for (int column = 0; column < 2; ++column) {
            const std::wstring header = ResourceText(column == 0 ? IDS_COLUMN_COMPONENT : IDS_COLUMN_MODEL);
            LVCOLUMNW definition = {};
            definition.mask = LVCF_TEXT | LVCF_SUBITEM;
            definition.pszText = const_cast<wchar_t*>(header.c_str());
            definition.iSubItem = column;
            SendMessageW(List(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&definition));
        }
        const int rows = static_cast<int>(data_.compoundNames.size()) + 1;
        for (int row = 0; row < rows; ++row) {
            const std::wstring name = row == 0 ? ResourceText(IDS_MIXTURE_ROW) : data_.compoundNames[row - 1];
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = row;
            item.pszText = const_cast<wchar_t*>(name.c_str());
            SendMessageW(List(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            ShowSelection(row);
        }
        ListView_SetItemState(List(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        SizeColumns();
    }

    void ShowSelection(int row) {
        const std::vector<ModelOption>& options = Options(row);
        const int index = Selection(row);
        SetCell(row, 1, index >= 0 && static_cast<size_t>(index) < options.size() ? options[index].text : L"");
    }

    // Each column as wide as the wider of its header and its content.
    void SizeColumns() {
        for (int column = 0; column < 2; ++column) {
            SendMessageW(List(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), LVSCW_AUTOSIZE);
            const int content = ListView_GetColumnWidth(List(), column);
            const std::wstring header = ResourceText(column == 0 ? IDS_COLUMN_COMPONENT : IDS_COLUMN_MODEL);
            const int headerWidth = static_cast<int>(
                SendMessageW(List(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(header.c_str())) + 12);
            ListView_SetColumnWidth(List(), column, std::max(content, headerWidth));
        }
    }

    void Pick(int row) {
        if (row < 0 || row > static_cast<int>(data_.compoundNames.size())) return;
        std::vector<std::wstring> texts;
        for (const ModelOption& option : Options(row)) texts.push_back(option.text);
        RECT cell = {};
        cell.top = 1;
        cell.left = LVIR_BOUNDS;
        SendMessageW(List(), LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        POINT at = {cell.left, cell.top};
        ClientToScreen(List(), &at);
        int index = Selection(row);
        if (PickFromList(Window(), texts, index, at) == IDOK && index >= 0) {
            Selection(row) = index;
            ShowSelection(row);
            SizeColumns();
        }
    }

    bool OnNotify(const NMHDR& header, LRESULT&) override {
        if (header.idFrom != IDC_MODEL_LIST) return false;
        if (header.code == NM_CLICK) {
            Pick(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
            return true;
        }
        if (header.code == LVN_KEYDOWN) {
            const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
            if (key == VK_SPACE || key == VK_F4)
                Pick(static_cast<int>(SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
            return true;
        }
        return false;
    }

    bool OnCommand(int id, int) override {
        if (id != IDOK && id != IDCANCEL && id != IDC_DEFAULTS) return false;
        End(id);
        return true;
    }

    ModelOptionsDialogData& data_;
};

}  // namespace

bool AskForText(HWND owner, const std::wstring& prompt, std::wstring& text) {
    std::wstring entered = text;
    CInputDlg dialog(prompt, entered);
    if (dialog.RunModal(owner, IDD_INPUT) != IDOK) return false;
    text = entered;
    return true;
}

int ShowModelOptionsDialog(HWND owner, ModelOptionsDialogData& data) {
    CConfigureModelDlg dialog(data);
    const INT_PTR result = dialog.RunModal(owner, IDD_MODEL_OPTIONS);
    return result == IDOK || result == IDC_DEFAULTS ? static_cast<int>(result) : IDCANCEL;
}

int PickFromList(HWND owner, const std::vector<std::wstring>& texts, int& index, POINT at) {
    CListPicker picker(texts, index, at);
    const INT_PTR result = picker.RunModal(owner, IDD_LIST_PICKER);
    if (result == IDOK) return IDOK;
    index = -1;
    return IDCANCEL;
}

}  // namespace tarnevo
