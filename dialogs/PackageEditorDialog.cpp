// The package editor: description, compounds, model type, custom overrides and mixture
// file of one package definition, checked by building a package from it before OK.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "definition/AnsiText.h"
#include "definition/FileAccess.h"
#include "definition/FluidCatalogue.h"
#include "definition/ModelOptions.h"
#include "definition/PackageDefinition.h"
#include "definition/PackageEditorModel.h"
#include "definition/PackageStore.h"
#include "dialogs/DialogResources.h"
#include "dialogs/DialogWindow.h"
#include "dialogs/Dialogs.h"
#include "package/PackageFactory.h"

namespace tarnevo {
namespace {

constexpr size_t kMaximumCompounds = 20;
constexpr int kOverrideFields[4] = {IDC_EOS_FIELD, IDC_ETA_FIELD, IDC_TCX_FIELD, IDC_STN_FIELD};
constexpr int kModelTypeCustom = 4;

// The open-file dialog for a mixture file; true with the chosen path.
bool ChooseMixtureFile(HWND owner, const std::wstring& initial, std::wstring& chosen) {
    constexpr DWORD kBufferLength = 520;
    std::vector<wchar_t> buffer(kBufferLength, L'\0');
    if (initial.size() < kBufferLength && PathExists(initial)) initial.copy(buffer.data(), initial.size());
    const std::wstring filter = ResourceText(IDS_MIXTURE_FILTER) + std::wstring(L"\0*.bnc\0", 8);
    const std::wstring title = ResourceText(IDS_MIXTURE_TITLE);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kBufferLength;
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return false;
    chosen.assign(buffer.data());
    return true;
}

class CPPDialog final : public CDialogWindow {
public:
    CPPDialog(const std::string& definitionText, std::string& result) : definitionText_(definitionText), result_(result) {}

private:
    HWND List() const { return Item(IDC_COMPOUND_LIST); }
    int SelectedCompound() const { return static_cast<int>(SendMessageW(List(), LB_GETCURSEL, 0, 0)); }

    void OnInitDialog() override {
        HWND types = Item(IDC_MODEL_TYPE);
        for (int i = 0; i < kModelTypeCount; ++i)
            SendMessageW(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ModelTypeDisplayName(i)));
        std::vector<EditorMessage> messages;
        LoadPackageDefinitionIntoEditor(definitionText_, model_, messages);
        for (const EditorMessage& message : messages) {
            ShowMessage(message.text, message.caption,
                        MB_OK | (message.kind == EditorMessageKind::Error ? MB_ICONERROR : MB_ICONWARNING));
        }
        SetItemText(IDC_DESCRIPTION, model_.description);
        SetItemText(IDC_MIXTURE_FILE, model_.mixtureFile);
        SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(model_.modelTypeIndex), 0);
        ShowCompounds(0);
        ShowOverrides();
        UpdateOverrideVisibility();
    }

    void ShowCompounds(int selection) {
        SendMessageW(List(), LB_RESETCONTENT, 0, 0);
        for (const std::wstring& compound : model_.compounds)
            SendMessageW(List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(compound.c_str()));
        if (!model_.compounds.empty()) SendMessageW(List(), LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
        UpdateButtons();
    }

    void ShowOverrides() const {
        for (size_t i = 0; i < 4; ++i) SetItemText(kOverrideFields[i], model_.overrides[i]);
    }

    void UpdateOverrideVisibility() const {
        const bool custom = SendMessageW(Item(IDC_MODEL_TYPE), CB_GETCURSEL, 0, 0) == kModelTypeCustom;
        for (int id = IDC_EOS_FIELD; id <= IDC_STN_CHOOSE; ++id) ShowItem(id, custom);
        for (int id = IDC_EOS_LABEL; id <= IDC_STN_LABEL; ++id) ShowItem(id, custom);
    }

    void UpdateButtons() const {
        const int count = static_cast<int>(model_.compounds.size());
        const int selected = SelectedCompound();
        EnableItem(IDC_ADD_COMPOUNDS, model_.compounds.size() < kMaximumCompounds);
        EnableItem(IDC_REMOVE_COMPOUND, selected >= 0);
        EnableItem(IDC_MOVE_UP, selected > 0);
        EnableItem(IDC_MOVE_DOWN, selected >= 0 && selected < count - 1);
    }

    void AddCompounds() {
        std::vector<std::wstring> files;
        if (!ChooseFluidFiles(Window(), files)) return;
        const std::wstring caption = ResourceText(IDS_ADD_COMPOUNDS_CAPTION);
        for (const std::wstring& file : files) {
            const std::wstring compound = CompoundStringForFluidFile(file, RefpropFolder());
            bool present = false;
            for (const std::wstring& existing : model_.compounds) present = present || EqualsNoCase(existing, compound);
            if (present) {
                ShowMessage(ResourceText(IDS_COMPOUND_PRESENT, {compound}), caption, MB_OK | MB_ICONWARNING);
            } else if (model_.compounds.size() >= kMaximumCompounds) {
                ShowMessage(ResourceText(IDS_TOO_MANY_COMPOUNDS, {compound, std::to_wstring(kMaximumCompounds)}),
                            caption, MB_OK | MB_ICONWARNING);
            } else {
                model_.compounds.push_back(compound);
                AdjustModelOverrides(model_, CompoundListChange::Added, model_.compounds.size() - 1);
            }
        }
        ShowCompounds(static_cast<int>(model_.compounds.size()) - 1);
        ShowOverrides();
    }

    void ChangeCompound(CompoundListChange change) {
        const int selected = SelectedCompound();
        const int count = static_cast<int>(model_.compounds.size());
        if (selected < 0 || selected >= count) return;
        const auto at = model_.compounds.begin() + selected;
        int next = selected;
        if (change == CompoundListChange::Removed) {
            model_.compounds.erase(at);
            next = std::min(selected, count - 2);
        } else if (change == CompoundListChange::MovedUp && selected > 0) {
            std::swap(*at, *(at - 1));
            next = selected - 1;
        } else if (change == CompoundListChange::MovedDown && selected < count - 1) {
            std::swap(*at, *(at + 1));
            next = selected + 1;
        } else {
            return;
        }
        AdjustModelOverrides(model_, change, static_cast<size_t>(selected));
        ShowCompounds(next);
        ShowOverrides();
    }

    void ChooseOverride(size_t field) {
        std::wstring message;
        const bool chosen = ChooseModelOptions(
            model_, field, [this](ModelOptionsDialogData& data) { return ShowModelOptionsDialog(Window(), data); },
            message);
        if (!chosen) ShowError(message);
        SetItemText(kOverrideFields[field], model_.overrides[field]);
    }

    void BrowseMixtureFile() {
        std::wstring current = ItemText(IDC_MIXTURE_FILE);
        if (current.find(L':') == std::wstring::npos) current = RefpropFolder() + L"\\" + current;
        std::wstring chosen;
        if (ChooseMixtureFile(Window(), current, chosen))
            SetItemText(IDC_MIXTURE_FILE, CompoundStringForFluidFile(chosen, RefpropFolder()));
    }

    // Writes the definition and checks it with a package named "Test"; ends with OK.
    void Accept() {
        model_.description = ItemText(IDC_DESCRIPTION);
        model_.modelTypeIndex = static_cast<int>(SendMessageW(Item(IDC_MODEL_TYPE), CB_GETCURSEL, 0, 0));
        model_.mixtureFile = ItemText(IDC_MIXTURE_FILE);
        std::string text;
        std::wstring message;
        if (!WritePackageDefinition(model_, text, message)) {
            ShowError(message);
            return;
        }
        PropertyPackagePtr check = CreatePropertyPackage(L"Test", text);
        if (FAILED(check->Initialize())) {
            ShowMessage(check->InitialisationMessage(), ResourceText(IDS_CANNOT_CREATE_CAPTION), MB_OK | MB_ICONERROR);
            return;
        }
        check.Reset();
        result_ = std::move(text);
        End(IDOK);
    }

    bool OnCommand(int id, int code) override {
        switch (id) {
            case IDC_ADD_COMPOUNDS: AddCompounds(); return true;
            case IDC_REMOVE_COMPOUND: ChangeCompound(CompoundListChange::Removed); return true;
            case IDC_MOVE_UP: ChangeCompound(CompoundListChange::MovedUp); return true;
            case IDC_MOVE_DOWN: ChangeCompound(CompoundListChange::MovedDown); return true;
            case IDC_EOS_CHOOSE: case IDC_ETA_CHOOSE: case IDC_TCX_CHOOSE: case IDC_STN_CHOOSE:
                ChooseOverride(static_cast<size_t>(id - IDC_EOS_CHOOSE) / 2);
                return true;
            case IDC_COMPOUND_LIST:
                if (code == LBN_SELCHANGE) UpdateButtons();
                return true;
            case IDC_MODEL_TYPE:
                if (code == CBN_SELCHANGE) UpdateOverrideVisibility();
                return true;
            case IDC_MIXTURE_BROWSE: BrowseMixtureFile(); return true;
            case IDC_HELP_FILE: ShowHelpFile(Window()); return true;
            case IDOK: Accept(); return true;
            case IDCANCEL: End(IDCANCEL); return true;
            default: return false;
        }
    }

    const std::string& definitionText_;
    std::string& result_;
    PackageEditorModel model_;
};

}  // namespace

bool ShowPackageEditorDialog(HWND owner, const std::string& definitionText, std::string& newText) noexcept {
    try {
        std::string result;
        CPPDialog dialog(definitionText, result);
        if (dialog.RunModal(owner, IDD_PACKAGE_EDITOR) != IDOK) return false;
        newText = std::move(result);
        return true;
    } catch (const std::bad_alloc&) {
        ShowUnexpectedFailure(owner, true);
    } catch (...) {
        ShowUnexpectedFailure(owner, false);
    }
    return false;
}

}  // namespace tarnevo
