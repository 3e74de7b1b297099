// The package manager dialog: the package files of the package folder and the REFPROP
// folder. It works on the files only; live package objects keep their definitions.
#include <windows.h>

#include <cerrno>
#include <utility>

#include "capeobject/ErrorTexts.h"
#include "com/ModuleState.h"
#include "definition/AnsiText.h"
#include "definition/FileAccess.h"
#include "definition/PackageStore.h"
#include "dialogs/DialogResources.h"
#include "dialogs/DialogWindow.h"
#include "dialogs/Dialogs.h"
#include "manager/PackageList.h"

namespace tarnevo {
namespace {

class CPPMDialog final : public CDialogWindow {
private:
    HWND List() const { return Item(IDC_PACKAGE_LIST); }

    void OnInitDialog() override {
        const HINSTANCE module = DialogResourceModule();
        for (const auto& icon : {std::make_pair(ICON_BIG, SM_CXICON), std::make_pair(ICON_SMALL, SM_CXSMICON)}) {
            const int size = GetSystemMetrics(icon.second);
            const HANDLE image = LoadImageW(module, MAKEINTRESOURCEW(IDI_TARNEVO), IMAGE_ICON, size, size, LR_SHARED);
            SendMessageW(Window(), WM_SETICON, icon.first, reinterpret_cast<LPARAM>(image));
        }
        SetItemText(IDC_REFPROP_FOLDER, RefpropFolder());
        FillList();
        constexpr unsigned kRight = CControlLayout::MoveRight;
        layout_.Capture(Window(), {{IDC_PACKAGE_LIST, CControlLayout::GrowWidth | CControlLayout::GrowHeight},
                                   {IDC_NEW, kRight}, {IDC_EDIT, kRight}, {IDC_RENAME, kRight},
                                   {IDC_DELETE, kRight}, {IDC_COPY, kRight}, {IDC_ABOUT, kRight},
                                   {IDC_HELP_FILE, kRight},
                                   {IDOK, kRight | CControlLayout::MoveDown},
                                   {IDC_REFPROP_FOLDER, CControlLayout::MoveDown | CControlLayout::GrowWidth}});
    }

    void FillList() {
        const HWND list = List();
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        for (const std::wstring& name : BuildPackageList())
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
        UpdateButtons();
    }

    void UpdateButtons() const {
        const bool selected = SendMessageW(List(), LB_GETCURSEL, 0, 0) != LB_ERR;
        for (int id : {IDC_EDIT, IDC_DELETE, IDC_RENAME}) EnableItem(id, selected);
    }

    std::wstring SelectedName() const {
        const LRESULT index = SendMessageW(List(), LB_GETCURSEL, 0, 0);
        if (index == LB_ERR) return std::wstring();
        std::wstring name(static_cast<size_t>(SendMessageW(List(), LB_GETTEXTLEN, index, 0)) + 1, L'\0');
        name.resize(static_cast<size_t>(SendMessageW(List(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(&name[0]))));
        return name;
    }

    void ShowFailure(UINT captionId, const std::wstring& text) const {
        ShowMessage(text, ResourceText(captionId), MB_OK | MB_ICONERROR);
    }

    // Asks for a name that can only name a file in the package folder.
    bool AskForName(UINT promptId, UINT captionId, std::wstring& name) const {
        if (!AskForText(Window(), ResourceText(promptId), name)) return false;
        if (IsPlainPackageName(name)) return true;
        ShowFailure(captionId, ResourceText(IDS_INVALID_NAME, {name}));
        return false;
    }

    void New() {
        std::wstring name;
        if (!AskForName(IDS_MANAGER_NEW_PROMPT, IDS_ADD_PACKAGE_CAPTION, name)) return;
        const std::wstring path = PackageFilePath(name);
        if (PathExists(path)) {
            ShowFailure(IDS_ADD_PACKAGE_CAPTION, ResourceText(IDS_ALREADY_EXISTS, {name}));
            return;
        }
        std::string text;
        if (!ShowPackageEditorDialog(GetActiveWindow(), std::string(), text)) return;
        std::wstring message;
        if (!WriteWholeFile(path, text, ResourceText(IDS_CREATE_FAILED, {name}), message)) ShowError(message);
        FillList();
    }

    void Edit() {
        const std::wstring name = SelectedName();
        const std::wstring path = PackageFilePath(name);
        int errorNumber = 0;
        std::string text;
        UniqueFile file = OpenFile(path, L"rb", errorNumber);
        const bool read = file && ReadAll(file.get(), text);
        if (file && !read) errorNumber = errno;
        if (!read) {
            const std::wstring reason = ResourceText(IDS_OPEN_FOR_READING_FAILED, {path, CrtErrorText(errorNumber)});
            ShowFailure(IDS_EDIT_CAPTION, ResourceText(IDS_EDIT_FAILED, {reason}));
            return;
        }
        file.reset();
        std::string newText;
        if (!ShowPackageEditorDialog(GetActiveWindow(), text, newText)) return;
        std::wstring message;
        if (!WriteWholeFile(path, newText, ResourceText(IDS_OPEN_FOR_WRITING_FAILED, {name}), message))
            ShowError(message);
        FillList();
    }

    void Delete() {
        const std::wstring name = SelectedName();
        if (ShowMessage(ResourceText(IDS_DELETE_QUESTION, {name}), ResourceText(IDS_DELETE_CAPTION),
                        MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK)
            return;
        const std::wstring path = PackageFilePath(name);
        if (!DeleteFileW(path.c_str())) ShowError(ResourceText(IDS_DELETE_FAILED, {path, GetLastErrorText()}));
        FillList();
    }

    void Rename() {
        const std::wstring name = SelectedName();
        std::wstring newName = name;
        if (!AskForName(IDS_RENAME_PROMPT, IDS_RENAME_CAPTION, newName) || newName == name) return;
        const std::wstring from = PackageFilePath(name);
        const std::wstring to = PackageFilePath(newName);
        if (!MoveFileW(from.c_str(), to.c_str())) ShowError(ResourceText(IDS_RENAME_FAILED, {from, to, GetLastErrorText()}));
        FillList();
    }

    void Copy() {
        const std::wstring name = SelectedName();
        if (name.empty()) {
            ShowFailure(IDS_COPY_CAPTION, ResourceText(IDS_COPY_SELECT));
            return;
        }
        std::wstring newName = name;
        if (!AskForName(IDS_RENAME_PROMPT, IDS_COPY_CAPTION, newName)) return;
        if (newName == name) {
            ShowFailure(IDS_COPY_CAPTION, ResourceText(IDS_COPY_SAME_NAME));
            return;
        }
        const std::wstring from = PackageFilePath(name);
        const std::wstring to = PackageFilePath(newName);
        if (PathExists(to)) {
            ShowFailure(IDS_COPY_CAPTION, ResourceText(IDS_COPY_EXISTS));
            return;
        }
        if (!CopyFileW(from.c_str(), to.c_str(), TRUE)) ShowError(ResourceText(IDS_COPY_FAILED, {from, to, GetLastErrorText()}));
        FillList();
    }

    void About() const {
        wchar_t path[1024] = {};
        GetModuleFileNameW(DialogResourceModule(), path, 1024);
        const std::wstring version = FormatFileVersion(path);
        ShowMessage(ResourceText(IDS_ABOUT_TEXT, {RefpropFolder(), version.empty() ? L"<unknown>" : version}),
                    ResourceText(IDS_ABOUT_CAPTION), MB_OK | MB_ICONINFORMATION);
    }

    bool OnCommand(int id, int code) override {
        switch (id) {
            case IDOK: case IDCANCEL: End(id); return true;
            case IDC_PACKAGE_LIST:
                if (code == LBN_SELCHANGE) UpdateButtons();
                if (code == LBN_DBLCLK) Edit();
                return true;
            case IDC_NEW: New(); return true;
            case IDC_EDIT: Edit(); return true;
            case IDC_DELETE: Delete(); return true;
            case IDC_RENAME: Rename(); return true;
            case IDC_COPY: Copy(); return true;
            case IDC_ABOUT: About(); return true;
            case IDC_HELP_FILE: ShowHelpFile(Window()); return true;
            case IDC_REFPROP_FOLDER:
                ChangeRefpropFolder(Window(), [this](const std::wstring& folder) { SetItemText(IDC_REFPROP_FOLDER, folder); });
                return true;
            default: return false;
        }
    }

    void OnSize(int width, int height) override { layout_.Apply(width, height); }

    CControlLayout layout_;
};

}  // namespace

void ShowPackageManagerDialog(HWND owner) noexcept {
    try {
        CPPMDialog dialog;
        dialog.RunModal(owner, IDD_PACKAGE_MANAGER);
    } catch (const std::bad_alloc&) {
        ShowUnexpectedFailure(owner, true);
    } catch (...) {
        ShowUnexpectedFailure(owner, false);
    }
}

}  // namespace tarnevo
