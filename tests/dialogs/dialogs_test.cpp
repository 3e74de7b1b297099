// The configuration dialogs driven as a user would, under Xvfb: the files they write,
// their refusals and messages, Cancel, and the ways in (Edit, DllConfigure).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

#include "definition/PackageEditorModel.h"
#include "definition/PackageStore.h"
#include "dialogs/DialogResources.h"
#include "dialogs/Dialogs.h"
#include "manager/PropertyPackageManager.h"
#include "tests/common/ScratchPackageStore.h"
#include "tests/common/TestPaths.h"
#include "tests/dialogs/DialogDriver.h"

using namespace tarnevo;
using namespace tarnevo_test;

namespace {

const std::wstring kManager = L"TARNEVO Property Package Manager:";
const std::wstring kEditor = L"Edit Property Package:";
const std::wstring kAdd = L"Add compounds:";
const std::wstring kNewPrompt = L"Enter name for new package:";
const std::wstring kNamePrompt = L"Enter new package name:";

// The writer's text for a package of METHANE and ETHANE described as "Natural gas".
const char kNaturalGas[] =
    "#TARNEVO PROPERTY PACKAGE\r\n#property package name is same as file name\r\n#optional description\r\n"
    "description=Natural gas\r\n#fluid information\r\nnfluid=2\r\nfluid1=fluids\\METHANE.FLD\r\n"
    "fluid2=fluids\\ETHANE.FLD\r\n#optional model type selection (DEFAULT,GERG,AGA,PR,CUSTOM)\r\n"
    "MODELTYPE=DEFAULT\r\n#optional equation of state override (only for CUSTOM model)\r\n#EOS=NBS;NBS;NBS\r\n"
    "#optional viscosity override (only for CUSTOM model)\r\n#ETA=NBS;NBS;NBS\r\n"
    "#optional thermal conductivity override (only for CUSTOM model)\r\n#TCX=NBS;NBS;NBS\r\n"
    "#optional surface tension override (only for CUSTOM model)\r\n#STN=NBS;NBS;NBS\r\n"
    "#mixture file override (default is fluids\\hmx.bnc)\r\n#MIX=fluids\\hmx.bnc\r\n"
    "#mixture rules overrides and reference state overrides currently not supported\r\n";

const std::vector<std::wstring> kGasFluids = {L"fluids\\METHANE.FLD", L"fluids\\ETHANE.FLD"};

std::string Read(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

// Adds the row `row` (-1: all rows) of the fluids that pass `filter`.
void AddFluids(const DialogDriver& d, HWND editor, const std::wstring& filter, int row) {
    d.Press(editor, IDC_ADD_COMPOUNDS);
    const HWND add = d.Wait(kAdd);
    d.Type(add, IDC_FILTER, filter);
    d.SelectRow(add, IDC_FLUID_LIST, row);
    d.Shot(add, L"add-compounds");
    d.Press(add, IDOK);
    d.WaitClosed(add);
}

class NoFileDialog : public StoreUserInterface {
public:
    std::wstring answer;
    FileChoice ChooseRefpropLibrary(HWND, const std::wstring&, std::wstring& chosen) override {
        chosen = answer;
        return answer.empty() ? FileChoice::Cancelled : FileChoice::Chosen;
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
    void Manager(const std::function<void(DialogDriver&, HWND)>& script) {
        Drive([] { ShowPackageManagerDialog(nullptr); }, [&](DialogDriver& d) {
            const HWND manager = d.Wait(kManager);
            script(d, manager);
            d.Press(manager, IDOK);
        });
    }
    std::unique_ptr<ScratchPackageStore> store;
    std::string gas;
};

TEST_F(DialogsTest, NewPackageIsWrittenByTheWriterAndListed) {
    std::vector<std::wstring> listed;
    Manager([&](DialogDriver& d, HWND manager) {
        d.Press(manager, IDC_NEW);
        const HWND input = d.Wait(kNewPrompt);
        d.Type(input, IDC_INPUT_TEXT, L"NaturalGas");
        d.Shot(input, L"input");
        d.Press(input, IDOK);
        const HWND editor = d.Wait(kEditor);
        d.Type(editor, IDC_DESCRIPTION, L"Natural gas");
        AddFluids(d, editor, L"methane", 0);
        AddFluids(d, editor, L"ethane", 0);
        d.Shot(editor, L"package-editor");
        d.Press(editor, IDOK);
        d.WaitClosed(editor);
        listed = d.Items(manager, IDC_PACKAGE_LIST);
        d.Shot(manager, L"package-manager");
    });
    EXPECT_EQ(Read(PackageFilePath(L"NaturalGas")), kNaturalGas);
    EXPECT_EQ(listed, (std::vector<std::wstring>{L"Gas", L"NaturalGas"}));
}

TEST_F(DialogsTest, FileOperationsAndTheirRefusals) {
    store->WritePackage(L"Other", store->FluidFiles({L"PROPANE"}));
    const std::string other = Read(PackageFilePath(L"Other"));
    struct Case {
        int button;
        std::wstring name, caption, message;
    };
    const std::wstring invalid = L" cannot be a package name: a package name is a file name without \\ / : * ? \" < > | "
                                 L"and not a device name such as CON or NUL";
    const std::vector<Case> cases = {
        {IDC_NEW, L"Gas", L"Add property package:", L"A property package named \"Gas\" already exist"},
        {IDC_NEW, L"a:b", L"Add property package:", L"\"a:b\"" + invalid},
        {IDC_RENAME, L"CON", L"Rename package:", L"\"CON\"" + invalid},
        {IDC_RENAME, L"Other", L"Error:", L"Failed to rename \"" + PackageFilePath(L"Gas") + L"\" to \"" +
                                              PackageFilePath(L"Other") + L"\": "},
        {IDC_COPY, L"Gas", L"Copy package:", L"Name of copy must differ from name of original"},
        {IDC_COPY, L"Other", L"Copy package:", L"A property package with the specified name already exists"},
    };
    std::vector<std::wstring> messages;
    bool buttonsWithoutSelection = true;
    std::wstring about, help;
    Manager([&](DialogDriver& d, HWND manager) {
        buttonsWithoutSelection = d.Enabled(manager, IDC_EDIT) || d.Enabled(manager, IDC_DELETE) ||
                                  d.Enabled(manager, IDC_RENAME);
        for (const Case& c : cases) {
            d.Select(manager, IDC_PACKAGE_LIST, 0);  // Gas
            d.Press(manager, c.button);
            d.Enter(c.button == IDC_NEW ? kNewPrompt : kNamePrompt, c.name);
            messages.push_back(d.Answer(c.caption));
        }
        d.Select(manager, IDC_PACKAGE_LIST, 0);
        d.Press(manager, IDC_RENAME);  // the same name changes nothing
        d.Enter(kNamePrompt, L"Gas");
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
        about = d.Answer(L"About TARNEVO:");
        d.Press(manager, IDC_HELP_FILE);
        help = d.Answer(L"Error starting Help:");
    });
    EXPECT_FALSE(buttonsWithoutSelection);
    ASSERT_EQ(messages.size(), cases.size() + 1);
    for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(messages[i].substr(0, cases[i].message.size()), cases[i].message);
    EXPECT_EQ(messages.back(), L"Deleting a property package is permanent. Are you sure you want to delete package "
                               L"\"Other\"?");
    EXPECT_EQ(Read(PackageFilePath(L"Gas")), gas);
    EXPECT_EQ(Read(PackageFilePath(L"Gas4")), gas);
    EXPECT_EQ(Read(PackageFilePath(L"Gas3")), "<missing>");
    EXPECT_EQ(Read(PackageFilePath(L"Other")), "<missing>");
    EXPECT_EQ(about.find(L"TARNEVO version 1.1 interface"), 0u);
    EXPECT_NE(about.find(L"Using REFPROP: " + store->RefpropFolder()), std::wstring::npos);
    EXPECT_EQ(help.find(L"Failed to load HTML Help file "), 0u);
    EXPECT_NE(help.find(L"\\TARNEVO.chm"), std::wstring::npos);
}

TEST_F(DialogsTest, EditorValidatesAndCancelLeavesTheFile) {
    std::vector<std::wstring> compounds;
    std::wstring empty;
    Manager([&](DialogDriver& d, HWND manager) {
        d.Select(manager, IDC_PACKAGE_LIST, 0);
        d.Press(manager, IDC_EDIT);
        const HWND editor = d.Wait(kEditor);
        compounds = d.Items(editor, IDC_COMPOUND_LIST);
        d.Type(editor, IDC_DESCRIPTION, L"changed");
        d.Select(editor, IDC_COMPOUND_LIST, 0);
        d.Command(editor, IDC_REMOVE_COMPOUND);
        d.Command(editor, IDC_REMOVE_COMPOUND);
        d.Press(editor, IDOK);
        empty = d.Answer(L"Error:");
        d.Press(editor, IDCANCEL);
        d.WaitClosed(editor);
    });
    EXPECT_EQ(compounds, kGasFluids);
    EXPECT_EQ(empty, L"At least one fluid must be present in package");
    EXPECT_EQ(Read(PackageFilePath(L"Gas")), gas);
}

TEST_F(DialogsTest, CustomOverridesFollowTheCompoundsAndAreWrittenForAnyModel) {
    std::vector<std::wstring> rows;
    std::wstring chosenText, eos, eta, refused;
    bool hiddenAtFirst = true, shownForCustom = false;
    Manager([&](DialogDriver& d, HWND manager) {
        d.Select(manager, IDC_PACKAGE_LIST, 0);
        d.Press(manager, IDC_EDIT);
        const HWND editor = d.Wait(kEditor);
        hiddenAtFirst = !d.Shown(editor, IDC_EOS_FIELD);
        SendMessageW(GetDlgItem(editor, IDC_MODEL_TYPE), CB_SETCURSEL, 4, 0);
        d.Command(editor, IDC_MODEL_TYPE, CBN_SELCHANGE);
        shownForCustom = d.Shown(editor, IDC_EOS_FIELD) && d.Shown(editor, IDC_STN_CHOOSE);
        d.Press(editor, IDC_EOS_CHOOSE);
        const HWND options = d.Wait(L"EOS model options:");
        rows = d.Rows(options, IDC_MODEL_LIST);
        for (int row : {0, 1}) {  // mixture: Helmholtz model; methane: Helmholtz free energy
            ListView_SetItemState(GetDlgItem(options, IDC_MODEL_LIST), row, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
            PostMessageW(GetDlgItem(options, IDC_MODEL_LIST), WM_KEYDOWN, VK_SPACE, 0);
            const HWND picker = d.Wait(L"", options);
            SendMessageW(GetDlgItem(picker, IDC_PICKER_LIST), CB_SETCURSEL, 1, 0);
            d.Shot(picker, L"list-picker");
            d.Press(picker, IDOK);
            d.WaitClosed(picker);
        }
        chosenText = d.Rows(options, IDC_MODEL_LIST, 1)[1];
        d.Shot(options, L"model-options");
        d.Press(options, IDOK);
        d.WaitClosed(options);
        d.Press(editor, IDC_ETA_CHOOSE);
        d.Press(d.Wait(L"Viscosity model options:"), IDC_DEFAULTS);
        d.Select(editor, IDC_COMPOUND_LIST, 1);
        d.Command(editor, IDC_MOVE_UP);  // ethane first: its code moves with it
        eos = d.ItemText(editor, IDC_EOS_FIELD);
        eta = d.ItemText(editor, IDC_ETA_FIELD);
        d.Shot(editor, L"package-editor-custom");
        d.Press(editor, IDOK);  // the engine offers neither HMX nor FEQ
        refused = d.Answer(L"Cannot create configuration:");
        SendMessageW(GetDlgItem(editor, IDC_MODEL_TYPE), CB_SETCURSEL, 0, 0);
        d.Command(editor, IDC_MODEL_TYPE, CBN_SELCHANGE);
        d.Press(editor, IDOK);
        d.WaitClosed(editor);
    });
    const std::vector<std::wstring>& methaneEthane = kGasFluids;
    EXPECT_TRUE(hiddenAtFirst);
    EXPECT_TRUE(shownForCustom);
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"Mixture", methaneEthane[0], methaneEthane[1]}));
    EXPECT_EQ(chosenText, L"Helmholtz free energy");
    EXPECT_EQ(eos, L"HMX;NBS;FEQ");
    EXPECT_EQ(eta, L"NIST recommended");
    EXPECT_NE(refused.find(L"SETMODdll"), std::wstring::npos) << refused;
    PackageEditorModel expected;
    expected.description = L"test package";
    expected.compounds = {methaneEthane[1], methaneEthane[0]};
    expected.overrides[0] = eos;
    expected.mixtureFile = store->RefpropFolder() + L"\\fluids\\hmx.bnc";
    std::string text;
    std::wstring message;
    ASSERT_TRUE(WritePackageDefinition(expected, text, message));
    EXPECT_EQ(Read(PackageFilePath(L"Gas")), text);
}

TEST_F(DialogsTest, CompoundPickerSortsAndTheEditorKeepsTwentyDistinctCompounds) {
    std::vector<std::wstring> boilingPoints, names, messages, added;
    bool addEnabled = true, accepted = true;
    std::string text;
    Drive([&] { accepted = ShowPackageEditorDialog(nullptr, "#NEW", text); }, [&](DialogDriver& d) {
        const HWND editor = d.Wait(kEditor);
        AddFluids(d, editor, L"METHANE", 0);
        d.Press(editor, IDC_ADD_COMPOUNDS);
        const HWND add = d.Wait(kAdd);
        for (int click = 0; click < 2; ++click) {
            NMLISTVIEW header = {{GetDlgItem(add, IDC_FLUID_LIST), IDC_FLUID_LIST, LVN_COLUMNCLICK}, -1, 3};
            SendMessageW(add, WM_NOTIFY, IDC_FLUID_LIST, reinterpret_cast<LPARAM>(&header));
        }
        boilingPoints = d.Rows(add, IDC_FLUID_LIST, 3);
        names = d.Rows(add, IDC_FLUID_LIST, 0);
        for (int row = 0; row < 20; ++row) d.SelectRow(add, IDC_FLUID_LIST, row);  // 19 fit
        const auto methane = std::find(names.begin(), names.end(), L"METHANE") - names.begin();
        d.SelectRow(add, IDC_FLUID_LIST, static_cast<int>(methane));  // after the 20 others
        d.Press(add, IDOK);
        messages.push_back(d.Answer(kAdd));
        messages.push_back(d.Answer(kAdd));
        added = d.Items(editor, IDC_COMPOUND_LIST);
        addEnabled = d.Enabled(editor, IDC_ADD_COMPOUNDS);
        d.Press(editor, IDCANCEL);
    });
    ASSERT_GT(names.size(), 22u);
    ASSERT_GT(std::find(names.begin(), names.end(), L"METHANE") - names.begin(), 19);
    for (size_t i = 1; i < boilingPoints.size() && !boilingPoints[i].empty(); ++i)
        EXPECT_GE(std::stod(boilingPoints[i - 1]), std::stod(boilingPoints[i])) << i;
    EXPECT_FALSE(accepted);
    EXPECT_EQ(added.size(), 20u);
    EXPECT_FALSE(addEnabled);
    EXPECT_EQ(messages, (std::vector<std::wstring>{
                            L"Not adding compound \"fluids\\" + names[19] + L".FLD\"; maximum number of compounds "
                            L"exceeded. Maximum number of compounds is 20",
                            L"Not adding compound \"fluids\\METHANE.FLD\"; already present in property package "
                            L"configuration."}));
}

TEST_F(DialogsTest, RefpropFolderChangeIsRecorded) {
    NoFileDialog files;
    SetStoreUserInterface(&files);
    const std::wstring folder = store->ScratchFolder() + L"\\Other REFPROP";
    std::wstring cancelled, shown;
    Manager([&](DialogDriver& d, HWND manager) {
        d.Command(manager, IDC_REFPROP_FOLDER);
        cancelled = d.ItemText(manager, IDC_REFPROP_FOLDER);
        files.answer = folder + L"\\REFPROP.DLL";
        d.Command(manager, IDC_REFPROP_FOLDER);
        shown = d.ItemText(manager, IDC_REFPROP_FOLDER);
    });
    EXPECT_EQ(cancelled, store->RefpropFolder());
    EXPECT_EQ(shown, folder);
    EXPECT_EQ(Read(ConfigurationFilePath()), "REFPROP_FOLDER=" + Narrow(folder) + "\r\n");
    SetStoreUserInterface(nullptr);
}

TEST_F(DialogsTest, PackagesAndManagerOpenTheDialogsAndLivePackagesKeepTheirDefinition) {
    auto package = store->Package(L"Gas");
    HRESULT cancelled = S_OK, edited = E_FAIL, managed = E_FAIL;
    Drive([&] { cancelled = package->Edit(); edited = package->Edit(); }, [&](DialogDriver& d) {
        const HWND cancelled = d.Wait(kEditor);
        d.Press(cancelled, IDCANCEL);
        d.WaitClosed(cancelled);
        const HWND editor = d.Wait(kEditor);
        d.Type(editor, IDC_DESCRIPTION, L"edited in the package");
        d.Press(editor, IDOK);
    });
    EXPECT_EQ(cancelled, S_FALSE);
    EXPECT_EQ(edited, S_OK);
    EXPECT_NE(package->DefinitionText().find("description=edited in the package"), std::string::npos);
    EXPECT_EQ(Read(PackageFilePath(L"Gas")), gas);

    const std::string live = package->DefinitionText();
    Microsoft::WRL::ComPtr<ICapeUtilities> manager;
    ASSERT_EQ(CreateComInstance<CPropertyPackageManager>(nullptr, IID_PPV_ARGS(&manager)), S_OK);
    Drive([&] { managed = manager->Edit(); }, [&](DialogDriver& d) {
        const HWND dialog = d.Wait(kManager);
        d.Select(dialog, IDC_PACKAGE_LIST, 0);
        d.Press(dialog, IDC_EDIT);
        const HWND editor = d.Wait(kEditor);
        d.Type(editor, IDC_DESCRIPTION, L"edited in the manager");
        d.Press(editor, IDOK);
        d.WaitClosed(editor);
        d.Press(dialog, IDOK);
    });
    EXPECT_EQ(managed, S_OK);
    EXPECT_NE(Read(PackageFilePath(L"Gas")).find("description=edited in the manager"), std::string::npos);
    EXPECT_EQ(package->DefinitionText(), live);
    long count = 0;
    EXPECT_EQ(package->GetNumCompounds(&count), S_OK);
    EXPECT_EQ(count, 2);
}

TEST(DllConfigureTest, OpensTheManagerDialogOutsideASimulator) {
    const std::unique_ptr<HINSTANCE__, decltype(&FreeLibrary)> module(LoadLibraryW(WindowsPath(TARNEVO_TEST_DLL).c_str()),
                                                                   &FreeLibrary);
    ASSERT_TRUE(module);
    const auto configure = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(module.get(), "DllConfigure"));
    ASSERT_TRUE(configure);
    HRESULT result = E_FAIL;
    std::wstring folder;
    for (const std::string& failure : DriveDialogs([&] { result = configure(); }, [&](DialogDriver& d) {
             const HWND manager = d.Wait(kManager);
             folder = d.ItemText(manager, IDC_REFPROP_FOLDER);
             d.Press(manager, IDOK);
         }))
        ADD_FAILURE() << failure;
    EXPECT_EQ(result, S_OK);
    EXPECT_NE(folder.find(L"REFPROP"), std::wstring::npos);
}

}  // namespace

int main(int argc, char** argv) {
    if (!_wgetenv(L"TARNEVO_DIALOG_DESKTOP")) return RunOnOwnDesktop();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
