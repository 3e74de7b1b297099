// The add-compounds dialog: the fluid files of a folder, filtered and sorted, several
// of which the user chooses.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <memory>

#include "com/OwnedHandles.h"
#include "definition/AnsiText.h"
#include "definition/FluidCatalogue.h"
#include "definition/PackageStore.h"
#include "dialogs/DialogResources.h"
#include "dialogs/DialogWindow.h"
#include "dialogs/Dialogs.h"

namespace tarnevo {
namespace {

constexpr int kColumnCount = 7;
constexpr int kMolarMassColumn = 2;
constexpr int kBoilingPointColumn = 3;

int CALLBACK SelectInitialFolder(HWND window, UINT message, LPARAM, LPARAM folder) {
    if (message == BFFM_INITIALIZED) SendMessageW(window, BFFM_SETSELECTIONW, TRUE, folder);
    return 0;
}

// The system's folder browser on `folder`; true with the chosen folder in it.
bool BrowseForFolder(HWND owner, const std::wstring& title, std::wstring& folder) {
    BROWSEINFOW browse = {};
    browse.hwndOwner = owner;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = &SelectInitialFolder;
    browse.lParam = reinterpret_cast<LPARAM>(folder.c_str());
    UniqueTaskMem<ITEMIDLIST> chosen(SHBrowseForFolderW(&browse));
    wchar_t path[MAX_PATH] = {};
    if (!chosen || !SHGetPathFromIDListW(chosen.get(), path)) return false;
    folder = path;
    return true;
}

std::wstring ColumnText(const FluidCatalogueEntry& entry, int column) {
    switch (column) {
        case 0: return entry.name;
        case 1: return entry.casNumber;
        case kMolarMassColumn: return entry.molarMassText;
        case kBoilingPointColumn: return entry.boilingPointText;
        case 4: return entry.structure;
        case 5: return entry.formula;
        default: return JoinSynonyms(entry);
    }
}

// Numeric columns compare as numbers; rows without a number come last in either direction.
bool Before(const FluidCatalogueEntry& a, const FluidCatalogueEntry& b, int column, bool descending) {
    const std::wstring left = ColumnText(a, column);
    const std::wstring right = ColumnText(b, column);
    if (column == kMolarMassColumn || column == kBoilingPointColumn) {
        if (left.empty() || right.empty()) return !left.empty() && right.empty();
        const double x = std::wcstod(left.c_str(), nullptr);
        const double y = std::wcstod(right.c_str(), nullptr);
        return descending ? y < x : x < y;
    }
    const int order = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, left.c_str(), -1, right.c_str(), -1);
    return descending ? order == CSTR_GREATER_THAN : order == CSTR_LESS_THAN;
}

class CAddCompoundDlg final : public CDialogWindow {
public:
    explicit CAddCompoundDlg(std::vector<std::wstring>& result) : result_(result) {}

private:
    HWND List() const { return Item(IDC_FLUID_LIST); }

    void OnInitDialog() override {
        SendMessageW(List(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        const int widths[kColumnCount] = {90, 70, 70, 60, 110, 70, 200};
        for (int column = 0; column < kColumnCount; ++column) {
            const std::wstring header = ResourceText(IDS_COLUMN_NAME + column);
            LVCOLUMNW definition = {};
            definition.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            definition.pszText = const_cast<wchar_t*>(header.c_str());
            definition.cx = widths[column];
            definition.iSubItem = column;
            SendMessageW(List(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&definition));
        }
        layout_.Capture(Window(), {{IDC_FLUID_FOLDER, CControlLayout::MoveRight},
                                   {IDC_FLUID_LIST, CControlLayout::GrowWidth | CControlLayout::GrowHeight},
                                   {IDOK, CControlLayout::MoveRight | CControlLayout::MoveDown},
                                   {IDCANCEL, CControlLayout::MoveRight | CControlLayout::MoveDown}});
        folder_ = RefpropFolder() + L"\\fluids";
        entries_ = ScanFluidFolder(folder_);
        Refill();
    }

    // The rows of the entries that pass the filter, exact matches before partial ones,
    // each group in the chosen sort order.
    void Refill() {
        const std::wstring filter = ItemText(IDC_FILTER);
        std::vector<size_t> shown = FilterCatalogue(entries_, filter);
        if (sortColumn_ >= 0) {
            std::stable_sort(shown.begin(), shown.end(), [&](size_t a, size_t b) {
                const bool exactA = ScoreCatalogueEntry(entries_[a], filter) > 1;
                const bool exactB = ScoreCatalogueEntry(entries_[b], filter) > 1;
                if (exactA != exactB) return exactA;
                return Before(entries_[a], entries_[b], sortColumn_, descending_);
            });
        }
        SendMessageW(List(), WM_SETREDRAW, FALSE, 0);
        SendMessageW(List(), LVM_DELETEALLITEMS, 0, 0);
        for (size_t row = 0; row < shown.size(); ++row) {
            const FluidCatalogueEntry& entry = entries_[shown[row]];
            LVITEMW item = {};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = static_cast<int>(row);
            item.pszText = const_cast<wchar_t*>(entry.name.c_str());
            item.lParam = static_cast<LPARAM>(shown[row]);
            const int at = static_cast<int>(SendMessageW(List(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
            for (int column = 1; column < kColumnCount; ++column) {
                const std::wstring text = ColumnText(entry, column);
                LVITEMW cell = {};
                cell.iSubItem = column;
                cell.pszText = const_cast<wchar_t*>(text.c_str());
                SendMessageW(List(), LVM_SETITEMTEXTW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&cell));
            }
        }
        SendMessageW(List(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(List(), nullptr, TRUE);
        UpdateOk();
    }

    void UpdateOk() const { EnableItem(IDOK, SendMessageW(List(), LVM_GETSELECTEDCOUNT, 0, 0) > 0); }

    void Accept() {
        std::vector<std::wstring> chosen;
        for (int row = -1; (row = static_cast<int>(SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                                LVNI_SELECTED))) >= 0;) {
            LVITEMW item = {};
            item.mask = LVIF_PARAM;
            item.iItem = row;
            SendMessageW(List(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            chosen.push_back(entries_[static_cast<size_t>(item.lParam)].filePath);
        }
        if (chosen.empty()) return;
        result_ = std::move(chosen);
        End(IDOK);
    }

    bool OnCommand(int id, int code) override {
        switch (id) {
            case IDC_FILTER:
                if (code == EN_CHANGE) Refill();
                return true;
            case IDC_FLUID_FOLDER:
                if (BrowseForFolder(Window(), ResourceText(IDS_FLUID_FOLDER_TITLE), folder_)) {
                    entries_ = ScanFluidFolder(folder_);
                    Refill();
                }
                return true;
            case IDOK:
                Accept();
                return true;
            case IDCANCEL:
                End(IDCANCEL);
                return true;
            default:
                return false;
        }
    }

    bool OnNotify(const NMHDR& header, LRESULT&) override {
        if (header.idFrom != IDC_FLUID_LIST) return false;
        if (header.code == LVN_COLUMNCLICK) {
            const int column = reinterpret_cast<const NMLISTVIEW&>(header).iSubItem;
            descending_ = column == sortColumn_ && !descending_;
            sortColumn_ = column;
            Refill();
            return true;
        }
        if (header.code == LVN_ITEMCHANGED) {
            UpdateOk();
            return true;
        }
        return false;
    }

    void OnSize(int width, int height) override { layout_.Apply(width, height); }

    std::vector<std::wstring>& result_;
    std::wstring folder_;
    std::vector<FluidCatalogueEntry> entries_;
    int sortColumn_ = -1;
    bool descending_ = false;
    CControlLayout layout_;
};

}  // namespace

bool ChooseFluidFiles(HWND owner, std::vector<std::wstring>& files) {
    CAddCompoundDlg dialog(files);
    return dialog.RunModal(owner, IDD_ADD_COMPOUNDS) == IDOK;
}

}  // namespace tarnevo
