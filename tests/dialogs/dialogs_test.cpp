// The configuration dialogs driven as a user would, under Xvfb: the files they write,
// their refusals and messages, Cancel, and the ways in (Edit, DllConfigure).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <thread>

#include "definition/PackageEditorModel.h"
#include "definition/PackageStore.h"
#include "dialogs/DialogResources.h"
#include "dialogs/Dialogs.h"
#include "manager/PropertyPackageManager.h"
#include "tests/common/ScratchPackageStore.h"
#include "tests/common/TestPaths.h"

using namespace tarnevo;
using namespace tarnevo_test;
using Strings = std::vector<std::wstring>;

namespace {

const std::wstring kManager = L"TARNEVO Property Package Manager:", kEditor = L"Edit Property Package:",
                   kAdd = L"Add compounds:", kNewPrompt = L"Enter name for new package:",
                   kNamePrompt = L"Enter new package name:";

// --- Driving the modal dialogs of the test thread from a second thread, as a user would ---

struct Search {
    const std::wstring& title;
    HWND owner;       // any visible window it owns, whatever its title
    bool messageBox;  // only message boxes (they have the text item 0xFFFF)
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    const bool matches = IsWindowVisible(window) && (!search.messageBox || GetDlgItem(window, 0xFFFF)) &&
                         (search.owner ? GetWindow(window, GW_OWNER) == search.owner : search.title == text);
    if (matches) search.found = window;
    return !matches;
}

BOOL CALLBACK Cancel(HWND window, LPARAM) { return PostMessageW(window, WM_COMMAND, IDCANCEL, 0); }

class DialogDriver {
public:
    explicit DialogDriver(DWORD uiThread) : uiThread_(uiThread) {}
    HWND Wait(const std::wstring& title, HWND owner = nullptr, bool messageBox = false) const {
        for (int attempt = 0; attempt < 1000; ++attempt, Sleep(20)) {
            Search search = {title, owner, messageBox, nullptr};
            EnumThreadWindows(uiThread_, &Match, reinterpret_cast<LPARAM>(&search));
            if (search.found) return search.found;
        }
        throw std::runtime_error("no window " + Narrow(title));
    }
    void WaitClosed(HWND window) const {
        for (int attempt = 0; attempt < 1000 && IsWindowVisible(window); ++attempt) Sleep(20);
        if (IsWindowVisible(window)) throw std::runtime_error("a window stays open");
    }
    // Press posts (for buttons that open windows or end the dialog); Command sends.
    void Press(HWND dialog, int id) const { PostMessageW(dialog, WM_COMMAND, id, 0); }
    void Command(HWND dialog, int id, int code = BN_CLICKED) const {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    std::wstring ItemText(HWND dialog, int id) const {
        wchar_t text[4096] = {};
        SendDlgItemMessageW(dialog, id, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
        return text;
    }
    void Type(HWND dialog, int id, const std::wstring& text) const {
        SendDlgItemMessageW(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    bool Enabled(HWND dialog, int id) const { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
    bool Shown(HWND dialog, int id) const { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
    // The items of a list box (column -1) or a column of a list view.
    Strings Texts(HWND dialog, int id, int column = -1) const {
        const bool listBox = column < 0;
        Strings texts(static_cast<size_t>(SendDlgItemMessageW(dialog, id, listBox ? LB_GETCOUNT : LVM_GETITEMCOUNT, 0, 0)));
        for (size_t i = 0; i < texts.size(); ++i) {
            wchar_t text[1024] = {};
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = 1024;
            SendDlgItemMessageW(dialog, id, listBox ? LB_GETTEXT : LVM_GETITEMTEXTW, i,
                                listBox ? reinterpret_cast<LPARAM>(text) : reinterpret_cast<LPARAM>(&item));
            texts[i] = text;
        }
        return texts;
    }
    void Select(HWND dialog, int id, int index) const {
        SendDlgItemMessageW(dialog, id, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Command(dialog, id, LBN_SELCHANGE);
    }
    void SelectRow(HWND dialog, int id, int row) const {
        ListView_SetItemState(GetDlgItem(dialog, id), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    // Answers the message box captioned `caption`; returns its text.
    std::wstring Answer(const std::wstring& caption, int answer = IDOK) const {
        const HWND box = Wait(caption, nullptr, true);
        const std::wstring text = ItemText(box, 0xFFFF);
        Press(box, answer);
        WaitClosed(box);
        return text;
    }
    void Enter(const std::wstring& prompt, const std::wstring& text) const {
        const HWND input = Wait(prompt);
        Type(input, IDC_INPUT_TEXT, text);
        Shot(input, L"input");
        Press(input, IDOK);
        WaitClosed(input);
    }
    // With TARNEVO_SHOTS set to a folder: asks for the window's picture on stdout ("shot
    // <name> <geometry>") and waits until <folder>\<name>.png exists; the first one counts.
    void Shot(HWND window, const std::wstring& name) const {
        const wchar_t* folder = _wgetenv(L"TARNEVO_SHOTS");
        const std::wstring picture = std::wstring(folder ? folder : L"") + L"\\" + name + L".png";
        if (!folder || GetFileAttributesW(picture.c_str()) != INVALID_FILE_ATTRIBUTES) return;
        Sleep(300);  // painting
        RECT r;
        GetWindowRect(window, &r);
        std::printf("shot %ls %ldx%ld+%ld+%ld\n", name.c_str(), r.right - r.left, r.bottom - r.top, r.left, r.top);
        std::fflush(stdout);
        for (int attempt = 0; attempt < 500 && GetFileAttributesW(picture.c_str()) == INVALID_FILE_ATTRIBUTES; ++attempt)
            Sleep(20);
    }

private:
    DWORD uiThread_;
};

// Runs `show` (which opens modal dialogs) on this thread while `script` drives them from
// another; returns the script's failures. After a failure, or when the script leaves
// windows open, every window of this thread is cancelled until `show` returns.
std::vector<std::string> DriveDialogs(const std::function<void()>& show,
                                      const std::function<void(DialogDriver&)>& script) {
    std::vector<std::string> failures;
    std::atomic<bool> shown(false);
    const DWORD uiThread = GetCurrentThreadId();
    const HDESK desktop = GetThreadDesktop(uiThread);
    std::thread user([&] {
        SetThreadDesktop(desktop);  // windows are listed on the thread's own desktop
        DialogDriver driver(uiThread);
        try {
            script(driver);
            for (int attempt = 0; attempt < 500 && !shown; ++attempt) Sleep(20);
            if (!shown) throw std::runtime_error("windows left open after the script");
        } catch (const std::exception& failure) {
            failures.push_back(failure.what());
            for (; !shown; Sleep(50)) EnumThreadWindows(uiThread, &Cancel, 0);
        }
    });
    show();
    shown = true;
    user.join();
    return failures;
}

// --- The dialogs -----------------------------------------------------------------------

const Strings kGasFluids = {L"fluids\\METHANE.FLD", L"fluids\\ETHANE.FLD"};

std::string Read(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

std::string Written(const std::wstring& description, const Strings& compounds, const std::wstring& mixture,
                    const std::wstring& eos = kNistRecommended) {
    PackageEditorModel model;
    model.description = description;
    model.compounds = compounds;
    model.mixtureFile = mixture;
    model.overrides[0] = eos;
    std::string text;
    std::wstring message;
    return WritePackageDefinition(model, text, message) ? text : "<not written>";
}

// Adds row `row` of the fluids that pass `filter`.
void AddFluid(const DialogDriver& d, HWND editor, const std::wstring& filter, int row) {
    d.Press(editor, IDC_ADD_COMPOUNDS);
    const HWND add = d.Wait(kAdd);
    d.Type(add, IDC_FILTER, filter);
    d.SelectRow(add, IDC_FLUID_LIST, row);
    d.Shot(add, L"add-compounds");
    d.Press(add, IDOK);
    d.WaitClosed(add);
}

HWND EditFirst(const DialogDriver& d, HWND manager) {
    d.Select(manager, IDC_PACKAGE_LIST, 0);
    d.Press(manager, IDC_EDIT);
    return d.Wait(kEditor);
}

void ChooseModelType(const DialogDriver& d, HWND editor, int index) {
    SendDlgItemMessageW(editor, IDC_MODEL_TYPE, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    d.Command(editor, IDC_MODEL_TYPE, CBN_SELCHANGE);
}

struct FileDialog : StoreUserInterface {  // answers the open-file dialog with `answer`
    std::wstring answer;
    FileChoice ChooseRefpropLibrary(HWND, const std::wstring&, std::wstring& chosen) override {
        return (chosen = answer).empty() ? FileChoice::Cancelled : FileChoice::Chosen;
    }
    void ShowError(HWND, const std::wstring&, const std::wstring&) override {}
    void ShowInformation(HWND, const std::wstring&, const std::wstring&) override {}
};

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetPackageStore();
        store = std::make_unique<ScratchPackageStore>(L"dialogs", L"REFPROP", [](const std::string& m) { FAIL() << m; });
        store->WritePackage(L"Gas", kGasFluids);
        gas = Read(PackageFilePath(L"Gas"));
    }
    void Drive(const std::function<void()>& show, const std::function<void(DialogDriver&)>& script) {
        for (const std::string& failure : DriveDialogs(show, script)) ADD_FAILURE() << failure;
    }
    // The manager dialog as a simulator opens it: Edit of the manager.
    void Manager(const std::function<void(DialogDriver&, HWND)>& script) {
        Microsoft::WRL::ComPtr<ICapeUtilities> manager;
        ASSERT_EQ(CreateComInstance<CPropertyPackageManager>(nullptr, IID_PPV_ARGS(&manager)), S_OK);
        HRESULT edited = E_FAIL;
        Drive([&] { edited = manager->Edit(); }, [&](DialogDriver& d) {
            const HWND dialog = d.Wait(kManager);
            script(d, dialog);
            d.Press(dialog, IDOK);
        });
        EXPECT_EQ(edited, S_OK);
    }
    std::unique_ptr<ScratchPackageStore> store;
    std::string gas;
};

TEST_F(DialogsTest, NewPackageIsWrittenAndListed) {
    Strings listed;
    Manager([&](DialogDriver& d, HWND manager) {
        d.Press(manager, IDC_NEW);
        d.Enter(kNewPrompt, L"NaturalGas");
        const HWND editor = d.Wait(kEditor);
        d.Type(editor, IDC_DESCRIPTION, L"Natural gas");
        AddFluid(d, editor, L"methane", 0);  // exact matches come first
        AddFluid(d, editor, L"ethane", 0);
        d.Shot(editor, L"package-editor");
        d.Press(editor, IDOK);
        d.WaitClosed(editor);
        listed = d.Texts(manager, IDC_PACKAGE_LIST);
        d.Shot(manager, L"package-manager");
    });
    EXPECT_EQ(Read(PackageFilePath(L"NaturalGas")), Written(L"Natural gas", kGasFluids, L"fluids\\hmx.bnc"));
    EXPECT_EQ(listed, (Strings{L"Gas", L"NaturalGas"}));
}

TEST_F(DialogsTest, FileOperationsRefusalsCancelAndRefpropFolder) {
    store->WritePackage(L"Other", {L"fluids\\PROPANE.FLD"});
    const std::wstring invalid = L" cannot be a package name: a package name is a file name without \\ / : * ? \" < > | "
                                 L"and not a device name such as CON or NUL";
    const std::vector<std::pair<int, Strings>> cases = {  // button, {name, caption, message}
        {IDC_NEW, {L"Gas", L"Add property package:", L"A property package named \"Gas\" already exist"}},
        {IDC_NEW, {L"a:b", L"Add property package:", L"\"a:b\"" + invalid}},
        {IDC_RENAME, {L"CON", L"Rename package:", L"\"CON\"" + invalid}},
        {IDC_RENAME, {L"Other", L"Error:", L"Failed to rename \"" + PackageFilePath(L"Gas") + L"\" to \"" +
                                               PackageFilePath(L"Other") + L"\": "}},
        {IDC_COPY, {L"Gas", L"Copy package:", L"Name of copy must differ from name of original"}},
        {IDC_COPY, {L"Other", L"Copy package:", L"A property package with the specified name already exists"}}};
    FileDialog files;
    SetStoreUserInterface(&files);
    const std::wstring folder = store->ScratchFolder() + L"\\Other REFPROP";
    Strings messages, shown;
    bool enabledWithoutSelection = true;
    Manager([&](DialogDriver& d, HWND manager) {
        d.Command(manager, IDC_REFPROP_FOLDER);  // cancelled
        shown.push_back(d.ItemText(manager, IDC_REFPROP_FOLDER));
        files.answer = folder + L"\\REFPROP.DLL";
        d.Command(manager, IDC_REFPROP_FOLDER);
        shown.push_back(d.ItemText(manager, IDC_REFPROP_FOLDER));
        enabledWithoutSelection = d.Enabled(manager, IDC_EDIT) || d.Enabled(manager, IDC_RENAME);
        for (const auto& c : cases) {
            d.Select(manager, IDC_PACKAGE_LIST, 0);  // Gas
            d.Press(manager, c.first);
            d.Enter(c.first == IDC_NEW ? kNewPrompt : kNamePrompt, c.second[0]);
            messages.push_back(d.Answer(c.second[1]));
        }
        const HWND editor = EditFirst(d, manager);
        d.Type(editor, IDC_DESCRIPTION, L"changed");
        d.Press(editor, IDCANCEL);
        d.WaitClosed(editor);
        d.Press(manager, IDC_COPY);
        d.Enter(kNamePrompt, L"Gas3");
        d.Select(manager, IDC_PACKAGE_LIST, 1);  // Gas3
        d.Press(manager, IDC_RENAME);
        d.Enter(kNamePrompt, L"Gas4");
        d.Select(manager, IDC_PACKAGE_LIST, 2);  // Other
        d.Press(manager, IDC_DELETE);
        messages.push_back(d.Answer(L"Delete package:", IDCANCEL));
        d.Press(manager, IDC_DELETE);
        d.Answer(L"Delete package:", IDOK);
        d.Press(manager, IDC_ABOUT);
        messages.push_back(d.Answer(L"About TARNEVO:"));
        d.Press(manager, IDC_HELP_FILE);
        messages.push_back(d.Answer(L"Error starting Help:"));
    });
    SetStoreUserInterface(nullptr);
    EXPECT_EQ(shown, (Strings{store->RefpropFolder(), folder}));
    EXPECT_EQ(Read(ConfigurationFilePath()), "REFPROP_FOLDER=" + Narrow(folder) + "\r\n");
    EXPECT_FALSE(enabledWithoutSelection);
    ASSERT_EQ(messages.size(), cases.size() + 3);
    for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(messages[i].find(cases[i].second[2]), 0u) << i;
    EXPECT_EQ(messages[6], L"Deleting a property package is permanent. Are you sure you want to delete package \"Other\"?");
    EXPECT_EQ(messages[7].find(L"TARNEVO version 1.1 interface"), 0u);
    EXPECT_NE(messages[7].find(L"Using REFPROP: " + folder), std::wstring::npos);  // the one chosen above
    EXPECT_EQ(messages[8].find(L"Failed to load HTML Help file "), 0u);
    EXPECT_EQ(Read(PackageFilePath(L"Gas")), gas);
    EXPECT_EQ(Read(PackageFilePath(L"Gas4")), gas);
    EXPECT_EQ(Read(PackageFilePath(L"Gas3")) + Read(PackageFilePath(L"Other")), "<missing><missing>");
}

TEST_F(DialogsTest, CustomOverridesAreWrittenForAnyModelAndLivePackagesKeepTheirDefinition) {
    auto package = store->Package(L"Gas");  // as a simulator holds it
    Strings rows, fields;
    std::wstring chosen, refused;
    bool hiddenAtFirst = false, shownForCustom = false;
    Manager([&](DialogDriver& d, HWND manager) {
        const HWND editor = EditFirst(d, manager);
        hiddenAtFirst = !d.Shown(editor, IDC_EOS_FIELD);
        ChooseModelType(d, editor, 4);
        shownForCustom = d.Shown(editor, IDC_EOS_FIELD) && d.Shown(editor, IDC_STN_CHOOSE);
        d.Press(editor, IDC_EOS_CHOOSE);
        const HWND options = d.Wait(L"EOS model options:");
        rows = d.Texts(options, IDC_MODEL_LIST, 0);
        for (int row : {0, 1}) {  // mixture: Helmholtz model; methane: Helmholtz free energy
            d.SelectRow(options, IDC_MODEL_LIST, row);
            PostMessageW(GetDlgItem(options, IDC_MODEL_LIST), WM_KEYDOWN, VK_SPACE, 0);
            const HWND picker = d.Wait(L"", options);
            SendDlgItemMessageW(picker, IDC_PICKER_LIST, CB_SETCURSEL, 1, 0);
            d.Shot(picker, L"list-picker");
            d.Press(picker, IDOK);
            d.WaitClosed(picker);
        }
        chosen = d.Texts(options, IDC_MODEL_LIST, 1)[1];
        d.Shot(options, L"model-options");
        d.Press(options, IDOK);
        d.WaitClosed(options);
        d.Press(editor, IDC_ETA_CHOOSE);
        d.Press(d.Wait(L"Viscosity model options:"), IDC_DEFAULTS);
        d.Select(editor, IDC_COMPOUND_LIST, 1);
        d.Command(editor, IDC_MOVE_UP);  // ethane first: its code moves with it
        fields = {d.ItemText(editor, IDC_EOS_FIELD), d.ItemText(editor, IDC_ETA_FIELD)};
        d.Shot(editor, L"package-editor-custom");
        d.Press(editor, IDOK);  // the engine offers neither HMX nor FEQ
        refused = d.Answer(L"Cannot create configuration:");
        ChooseModelType(d, editor, 0);
        d.Press(editor, IDOK);
        d.WaitClosed(editor);
    });
    EXPECT_TRUE(hiddenAtFirst && shownForCustom);
    EXPECT_EQ(rows, (Strings{L"Mixture", kGasFluids[0], kGasFluids[1]}));
    EXPECT_EQ(chosen, L"Helmholtz free energy");
    EXPECT_EQ(fields, (Strings{L"HMX;NBS;FEQ", L"NIST recommended"}));
    EXPECT_NE(refused.find(L"SETMODdll"), std::wstring::npos) << refused;
    EXPECT_EQ(Read(PackageFilePath(L"Gas")), Written(L"test package", {kGasFluids[1], kGasFluids[0]},
                                                     store->RefpropFolder() + L"\\fluids\\hmx.bnc", L"HMX;NBS;FEQ"));
    long count = 0;
    EXPECT_EQ(package->DefinitionText(), gas);
    EXPECT_EQ(package->GetNumCompounds(&count), S_OK);
    EXPECT_EQ(count, 2);
}

TEST_F(DialogsTest, CompoundPickerSortsAndTheEditorKeepsTwentyDistinctCompounds) {
    Strings boilingPoints, names, messages, added;
    bool addEnabled = true, accepted = true;
    std::string text;
    Drive([&] { accepted = ShowPackageEditorDialog(nullptr, "#NEW", text); }, [&](DialogDriver& d) {
        const HWND editor = d.Wait(kEditor);
        d.Press(editor, IDOK);
        messages.push_back(d.Answer(L"Error:"));
        AddFluid(d, editor, L"METHANE", 0);
        d.Press(editor, IDC_ADD_COMPOUNDS);
        const HWND add = d.Wait(kAdd);
        for (int click = 0; click < 2; ++click) {
            NMLISTVIEW header = {{GetDlgItem(add, IDC_FLUID_LIST), IDC_FLUID_LIST, LVN_COLUMNCLICK}, -1, 3, 0, 0, 0, {}, 0};
            SendMessageW(add, WM_NOTIFY, IDC_FLUID_LIST, reinterpret_cast<LPARAM>(&header));
        }
        boilingPoints = d.Texts(add, IDC_FLUID_LIST, 3);
        names = d.Texts(add, IDC_FLUID_LIST, 0);
        for (int row = 0; row < 20; ++row) d.SelectRow(add, IDC_FLUID_LIST, row);  // 19 fit
        d.SelectRow(add, IDC_FLUID_LIST, static_cast<int>(std::find(names.begin(), names.end(), L"METHANE") - names.begin()));
        d.Press(add, IDOK);
        messages.push_back(d.Answer(kAdd));
        messages.push_back(d.Answer(kAdd));
        added = d.Texts(editor, IDC_COMPOUND_LIST);
        addEnabled = d.Enabled(editor, IDC_ADD_COMPOUNDS);
        d.Press(editor, IDCANCEL);
    });
    ASSERT_GT(std::find(names.begin(), names.end(), L"METHANE") - names.begin(), 19);
    for (size_t i = 1; i < boilingPoints.size() && !boilingPoints[i].empty(); ++i)
        EXPECT_GE(std::stod(boilingPoints[i - 1]), std::stod(boilingPoints[i])) << i;
    EXPECT_FALSE(accepted || addEnabled);
    EXPECT_EQ(added.size(), 20u);
    EXPECT_EQ(messages, (Strings{L"At least one fluid must be present in package",
                                 L"Not adding compound \"fluids\\" + names[19] + L".FLD\"; maximum number of compounds "
                                 L"exceeded. Maximum number of compounds is 20",
                                 L"Not adding compound \"fluids\\METHANE.FLD\"; already present in property package "
                                 L"configuration."}));
}

TEST(DllConfigureTest, OpensTheManagerDialogOutsideASimulator) {
    const std::unique_ptr<HINSTANCE__, decltype(&FreeLibrary)> module(LoadLibraryW(WindowsPath(TARNEVO_TEST_DLL).c_str()),
                                                                   &FreeLibrary);
    const auto configure = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(module.get(), "DllConfigure")));
    ASSERT_TRUE(configure);
    HRESULT result = E_FAIL;
    std::wstring folder;
    const auto failures = DriveDialogs([&] { result = configure(); }, [&](DialogDriver& d) {
        const HWND manager = d.Wait(kManager);
        folder = d.ItemText(manager, IDC_REFPROP_FOLDER);
        d.Press(manager, IDOK);
    });
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(result, S_OK);
    EXPECT_NE(folder.find(L"REFPROP"), std::wstring::npos);
}

}  // namespace

