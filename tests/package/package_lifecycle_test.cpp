// CPropertyPackage lifecycle: Initialize, the loader, Terminate, private copies, Edit,
// identification and the interface map.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <comdef.h>

#include "capeobject/ErrorTexts.h"
#include "package/PackageEditorSeam.h"
#include "package/PackageFactory.h"
#include "tests/refprop/support/FakeHost.h"
#include "tests/refprop/support/TestStore.h"

using namespace tarnevo;
using namespace tarnevo_test;
using Microsoft::WRL::ComPtr;
using ::testing::ElementsAre;
using ::testing::SizeIs;

namespace {

IUnknown* Unknown(const PropertyPackagePtr& package) { return static_cast<ICapeThermoCompounds*>(package.Get()); }

// The scripted editor: the next answer (empty optional = Cancel) and what it was shown.
struct ScriptedEditor {
    static bool accept;
    static std::string answer;
    static std::vector<std::string> shown;
    static bool Run(HWND, const std::string& text, std::string& newText) {
        shown.push_back(text);
        if (accept) newText = answer;
        return accept;
    }
};
bool ScriptedEditor::accept = false;
std::string ScriptedEditor::answer;
std::vector<std::string> ScriptedEditor::shown;

std::vector<std::wstring> g_boxes;
void RecordBox(HWND, const std::wstring& text) { g_boxes.push_back(text); }

class PackageTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetPackageEditor(&ScriptedEditor::Run);
        SetFailureBox(&RecordBox);
        ScriptedEditor::shown.clear();
        g_boxes.clear();
        store.WritePackage(L"Gas", kTwoCompoundDefinition);
    }
    void TearDown() override {
        SetPackageEditor(nullptr);
        SetFailureBox(nullptr);
    }
    static ComPtr<ICapeUtilities> Utilities(const PropertyPackagePtr& package) {
        ComPtr<ICapeUtilities> utilities;
        EXPECT_EQ(package->QueryInterface(IID_PPV_ARGS(&utilities)), S_OK);
        return utilities;
    }
    static std::wstring Name(const PropertyPackagePtr& package) {
        ComPtr<ICapeIdentification> identification;
        package->QueryInterface(IID_PPV_ARGS(&identification));
        BSTR name = nullptr;
        identification->get_ComponentName(&name);
        _bstr_t owned(name, false);
        return name ? std::wstring(name) : std::wstring();
    }

    TestStore store;
};

TEST_F(PackageTest, InitializeLoadsAPrivateCopyAndNamesThePackage) {
    PropertyPackagePtr package = CreatePropertyPackage(L"Gas");
    EXPECT_EQ(Name(package), L"REFPROP Property Package");
    ASSERT_EQ(Utilities(package)->Initialize(), S_OK) << Narrow(package->InitialisationMessage());
    EXPECT_EQ(Name(package), L"Gas");
    EXPECT_THAT(store.PrivateCopies(), SizeIs(1));
    // The file's content is kept, so a later save carries the definition.
    EXPECT_EQ(package->DefinitionText(), kTwoCompoundDefinition);
    const auto copies = store.PrivateCopies();
    EXPECT_EQ(Utilities(package)->Initialize(), S_OK);  // no reload
    EXPECT_EQ(store.PrivateCopies(), copies);
}

TEST_F(PackageTest, PackagesSideBySideHoldTheirOwnCopies) {
    PropertyPackagePtr first = CreatePropertyPackage(L"Gas");
    PropertyPackagePtr second = CreatePropertyPackage(L"Gas");
    ASSERT_EQ(Utilities(first)->Initialize(), S_OK);
    ASSERT_EQ(Utilities(second)->Initialize(), S_OK);
    auto copies = store.PrivateCopies();
    ASSERT_THAT(copies, SizeIs(2));
    EXPECT_NE(copies[0], copies[1]);

    ASSERT_EQ(Utilities(first)->Terminate(), S_OK);
    auto remaining = store.PrivateCopies();
    ASSERT_THAT(remaining, SizeIs(1));
    const std::wstring firstCopy = copies[0] == remaining[0] ? copies[1] : copies[0];

    // Terminate, then Initialize: a new copy under a new name.
    ASSERT_EQ(Utilities(first)->Initialize(), S_OK);
    auto again = store.PrivateCopies();
    ASSERT_THAT(again, SizeIs(2));
    EXPECT_THAT(again, ::testing::Contains(remaining[0]));
    EXPECT_THAT(again, ::testing::Not(::testing::Contains(firstCopy)));

    first.Reset();
    second.Reset();
    EXPECT_THAT(store.PrivateCopies(), SizeIs(0));
}

TEST_F(PackageTest, MissingDefinitionIsReportedByInitializeAndEveryLaterGuardedCall) {
    PropertyPackagePtr package = CreatePropertyPackage(L"Nowhere");
    const std::wstring expected = L"Property package definition (" + store.PackageFile(L"Nowhere") + L") does not exist";
    EXPECT_EQ(Utilities(package)->Initialize(), ECapeFailedInitialisationHR);
    EXPECT_EQ(ErrorDescription(Unknown(package)), expected);
    EXPECT_EQ(ErrorScope(Unknown(package)), L"Initialize");
    EXPECT_EQ(ErrorInterface(Unknown(package)), L"ICapeUtilities");

    ComPtr<ICapeIdentification> identification;
    package->QueryInterface(IID_PPV_ARGS(&identification));
    EXPECT_EQ(identification->put_ComponentName(_bstr_t(L"x")), ECapeFailedInitialisationHR);
    EXPECT_EQ(ErrorDescription(Unknown(package)), expected);
    EXPECT_EQ(ErrorScope(Unknown(package)), L"put_ComponentName");

    ComPtr<ICapeThermoCompounds> compounds;
    package->QueryInterface(IID_PPV_ARGS(&compounds));
    long count = 0;
    EXPECT_EQ(compounds->GetNumCompounds(&count), ECapeFailedInitialisationHR);
    EXPECT_EQ(ErrorDescription(Unknown(package)), expected);
    EXPECT_EQ(ErrorInterface(Unknown(package)), L"ICapeThermoCompounds");

    ComPtr<IPersistStream> persist;
    package->QueryInterface(IID_PPV_ARGS(&persist));
    ULARGE_INTEGER size;
    EXPECT_EQ(persist->GetSizeMax(&size), ECapeFailedInitialisationHR);
    EXPECT_EQ(ErrorDescription(Unknown(package)), expected);
    EXPECT_EQ(ErrorScope(Unknown(package)), L"GetSizeMax");

    // The library was loaded before the definition failed; Terminate removes it.
    EXPECT_THAT(store.PrivateCopies(), SizeIs(1));
    EXPECT_EQ(Utilities(package)->Terminate(), ECapeFailedInitialisationHR);
    EXPECT_THAT(store.PrivateCopies(), SizeIs(0));
}

TEST_F(PackageTest, NamesThatAreNotPlainFileNamesNeverReachAnotherFile) {
    store.WritePackage(L"Other", kTwoCompoundDefinition);
    for (const wchar_t* name :
         {L"", L"*", L"Ga?", L"..\\PropertyPackages\\Gas", L"a/b", L"C:Gas", L"CON", L"nul.x", L"com1", L"Lpt9 "}) {
        PropertyPackagePtr package = CreatePropertyPackage(name);
        EXPECT_EQ(Utilities(package)->Initialize(), ECapeFailedInitialisationHR) << Narrow(name);
        EXPECT_EQ(package->InitialisationMessage(),
                  L"Property package definition (" + store.PackageFile(name) + L") does not exist")
            << Narrow(name);
    }
    EXPECT_THAT(store.PrivateCopies(), SizeIs(0));
}

TEST_F(PackageTest, DefinitionErrorsKeepTheLibraryAndAreRepeatedUntilInitializeSucceeds) {
    store.WritePackage(L"Bad", "nfluid=1\r\nfluid1=fluids\\METHANE.FLD\r\ncolour=blue\r\n");
    PropertyPackagePtr package = CreatePropertyPackage(L"Bad");
    EXPECT_EQ(Utilities(package)->Initialize(), ECapeFailedInitialisationHR);
    EXPECT_EQ(package->InitialisationMessage(), L"configuration file contains unknown key \"colour\"");
    EXPECT_THAT(store.PrivateCopies(), SizeIs(1));

    store.WritePackage(L"Syntax", "nfluid\r\n");
    PropertyPackagePtr syntax = CreatePropertyPackage(L"Syntax");
    EXPECT_EQ(Utilities(syntax)->Initialize(), ECapeFailedInitialisationHR);
    EXPECT_EQ(syntax->InitialisationMessage(),
              L"Property package configuration error: Syntax error in property package file: found key \"nfluid\" "
              L"without value");

    // Fixed on disk: an explicit Initialize retries and succeeds.
    store.WritePackage(L"Bad", kTwoCompoundDefinition);
    package->SetDefinitionText("");
    EXPECT_EQ(Utilities(package)->Initialize(), S_OK);
    EXPECT_TRUE(package->InitialisationMessage().empty());
}

TEST_F(PackageTest, FileThatIsNoMixtureFileIsNamedNotQuoted) {
    const std::wstring notMixture = store.Root() + L"\\win.ini";
    WriteFileBytes(notMixture, "[private] first line\r\n");
    store.WritePackage(L"Mix", std::string(kTwoCompoundDefinition) + "MIX=" + Narrow(notMixture) + "\r\n");
    PropertyPackagePtr package = CreatePropertyPackage(L"Mix");
    EXPECT_EQ(Utilities(package)->Initialize(), ECapeFailedInitialisationHR);
    EXPECT_THAT(Narrow(package->InitialisationMessage()),
                ::testing::AllOf(::testing::HasSubstr(Narrow(notMixture)), ::testing::HasSubstr("line 1"),
                                 ::testing::Not(::testing::HasSubstr("private"))));
}

TEST_F(PackageTest, LibraryLackingARoutineFailsInitialisationWithoutCopiesLeftBehind) {
    store.UseLibrary(FakeLibrary(L"notpflsh"));
    PropertyPackagePtr lacking = CreatePropertyPackage(L"Gas");
    EXPECT_EQ(Utilities(lacking)->Initialize(), ECapeFailedInitialisationHR);
    EXPECT_EQ(lacking->InitialisationMessage(),
              L"Failed to load TPFLSH from REFPROP dll: " + GetSystemErrorText(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(Utilities(lacking)->Terminate(), ECapeFailedInitialisationHR);
    EXPECT_THAT(store.PrivateCopies(), SizeIs(0));
}

TEST_F(PackageTest, SetupFailureAndWarningsGoThroughTheContext) {
    store.UseLibrary(FakeLibrary(L"full"));
    const std::wstring script = store.Root() + L"\\script.txt";
    SetEnvironmentVariableW(L"TARNEVO_FAKE_SCRIPT", script.c_str());
    WriteFileBytes(script, "SETUPdll -117 binary parameters estimated\n");
    auto context = FakeContext::Create();
    PropertyPackagePtr package = CreatePropertyPackage(L"Gas");
    ASSERT_EQ(Utilities(package)->put_simulationContext(context.Get()), S_OK);
    EXPECT_EQ(Utilities(package)->Initialize(), S_OK);
    EXPECT_THAT(context->logged, ElementsAre(L"Warning: Setting configuration: binary parameters estimated"));

    SetEnvironmentVariableW(L"TARNEVO_FAKE_SCRIPT", nullptr);

    // An unknown model type is ignored with a warning.
    store.WritePackage(L"Quantum", std::string(kTwoCompoundDefinition) + "MODELTYPE=QUANTUM\r\n");
    PropertyPackagePtr quantum = CreatePropertyPackage(L"Quantum");
    ASSERT_EQ(Utilities(quantum)->put_simulationContext(context.Get()), S_OK);
    EXPECT_EQ(Utilities(quantum)->Initialize(), S_OK);
    EXPECT_EQ(context->logged.back(), L"Warning: Property package Quantum: unknown model type \"QUANTUM\" ignored "
                                      L"(MODELTYPE is one of DEFAULT, GERG, AGA, PR, CUSTOM)");

    // A context without the diagnostic interface is accepted; warnings are then dropped.
    auto silent = FakeContext::Create(false);
    EXPECT_EQ(Utilities(package)->put_simulationContext(silent.Get()), S_OK);
    EXPECT_EQ(Utilities(package)->put_simulationContext(nullptr), S_OK);
}

TEST_F(PackageTest, NewPackageInitialisesWithoutADefinition) {
    PropertyPackagePtr package = CreatePropertyPackage(L"New REFPROP Package", kNewPackageMarker);
    EXPECT_EQ(Utilities(package)->Initialize(), S_OK);
    EXPECT_THAT(store.PrivateCopies(), SizeIs(1));
}

TEST_F(PackageTest, EditCancelChangesNothing) {
    PropertyPackagePtr package = CreatePropertyPackage(L"Gas");
    ASSERT_EQ(Utilities(package)->Initialize(), S_OK);
    auto before = store.PrivateCopies();
    ScriptedEditor::accept = false;
    EXPECT_EQ(Utilities(package)->Edit(), S_FALSE);
    EXPECT_THAT(ScriptedEditor::shown, ElementsAre(kTwoCompoundDefinition));
    EXPECT_FALSE(package->Dirty());
    EXPECT_EQ(store.PrivateCopies(), before);
}

TEST_F(PackageTest, EditAppliesTheNewDefinitionOnAFreshInstance) {
    PropertyPackagePtr package = CreatePropertyPackage(L"Gas");
    ASSERT_EQ(Utilities(package)->Initialize(), S_OK);
    auto before = store.PrivateCopies();
    ScriptedEditor::accept = true;
    ScriptedEditor::answer = "nfluid=1\r\nfluid1=fluids\\NITROGEN.FLD\r\nMODELTYPE=PR\r\n";
    EXPECT_EQ(Utilities(package)->Edit(), S_OK);
    EXPECT_EQ(package->DefinitionText(), ScriptedEditor::answer);
    EXPECT_TRUE(package->Dirty());
    ComPtr<IPersistStream> persist;
    package->QueryInterface(IID_PPV_ARGS(&persist));
    EXPECT_EQ(persist->IsDirty(), S_OK);
    auto stream = MemoryStream();
    EXPECT_EQ(persist->Save(stream.Get(), FALSE), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_OK);
    EXPECT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    auto after = store.PrivateCopies();
    ASSERT_THAT(after, SizeIs(1));
    EXPECT_NE(after, before);
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(PackageTest, FailedEditShowsTheBoxKeepsTheTextAndReportsItLater) {
    PropertyPackagePtr package = CreatePropertyPackage(L"Gas");
    ASSERT_EQ(Utilities(package)->Initialize(), S_OK);
    ScriptedEditor::accept = true;
    ScriptedEditor::answer = "nfluid=1\r\nfluid1=fluids\\NOSUCH.FLD\r\n";
    EXPECT_EQ(Utilities(package)->Edit(), ECapeFailedInitialisationHR);
    const std::wstring message = package->InitialisationMessage();
    ASSERT_FALSE(message.empty());
    EXPECT_THAT(g_boxes, ElementsAre(L"Failed to re-initialize property package: " + message));
    EXPECT_EQ(ErrorDescription(Unknown(package)), message);
    EXPECT_EQ(ErrorScope(Unknown(package)), L"Edit");
    EXPECT_EQ(package->DefinitionText(), ScriptedEditor::answer);

    ComPtr<ICapeIdentification> identification;
    package->QueryInterface(IID_PPV_ARGS(&identification));
    EXPECT_EQ(identification->put_ComponentDescription(_bstr_t(L"d")), ECapeFailedInitialisationHR);
    EXPECT_EQ(ErrorDescription(Unknown(package)), message);

    // Library loaded, definition failed: Edit is allowed and can repair it.
    ScriptedEditor::answer = kTwoCompoundDefinition;
    EXPECT_EQ(Utilities(package)->Edit(), S_OK);
    EXPECT_EQ(identification->put_ComponentDescription(_bstr_t(L"d")), S_OK);
}

TEST_F(PackageTest, EditOfAPackageThatNeverLoadedItsLibraryFailsTheGuard) {
    store.UseLibrary(L"");
    PropertyPackagePtr package = CreatePropertyPackage(L"Gas");
    EXPECT_EQ(Utilities(package)->Initialize(), ECapeFailedInitialisationHR);
    EXPECT_EQ(Utilities(package)->Edit(), ECapeFailedInitialisationHR);
    EXPECT_EQ(ErrorScope(Unknown(package)), L"Edit");
    EXPECT_TRUE(ScriptedEditor::shown.empty());
}

TEST_F(PackageTest, InterfaceMapAnswersEveryInterfaceWithOneIdentity) {
    PropertyPackagePtr package = CreatePropertyPackage(L"Gas");
    ComPtr<IUnknown> identity;
    ASSERT_EQ(package->QueryInterface(IID_PPV_ARGS(&identity)), S_OK);
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(package->QueryInterface(IID_PPV_ARGS(&dispatch)), S_OK);
    ComPtr<ICapeThermoCompounds> compounds;
    ASSERT_EQ(package->QueryInterface(IID_PPV_ARGS(&compounds)), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(dispatch.Get()), static_cast<IUnknown*>(compounds.Get()));
    const IID iids[] = {__uuidof(ICapeThermoEquilibriumRoutine), __uuidof(ICapeThermoMaterialContext),
                        __uuidof(ICapeThermoPhases), __uuidof(ICapeThermoPropertyRoutine),
                        __uuidof(ICapeThermoUniversalConstant), IID_IPersistStream, __uuidof(ECapeUser),
                        __uuidof(ECapeRoot), __uuidof(ECapeUnknown), __uuidof(ICapeIdentification),
                        __uuidof(ICapeUtilities), __uuidof(ICapeThermoPropertyPackage), IID_IPersistPropertyBag};
    for (const IID& iid : iids) {
        ComPtr<IUnknown> answer, back;
        ASSERT_EQ(package->QueryInterface(iid, &answer), S_OK);
        answer.As(&back);
        EXPECT_EQ(back.Get(), identity.Get());
    }
    CLSID classId;
    ComPtr<IPersistStream> persist;
    package->QueryInterface(IID_PPV_ARGS(&persist));
    EXPECT_EQ(persist->GetClassID(&classId), S_OK);
    EXPECT_EQ(classId, CLSID_PropertyPackage);
}

TEST_F(PackageTest, EditThatCannotReloadTheLibraryReportsResettingModelOptions) {
    PropertyPackagePtr package = CreatePropertyPackage(L"Gas");
    ASSERT_EQ(Utilities(package)->Initialize(), S_OK);
    store.UseLibrary(L"");
    ScriptedEditor::accept = true;
    ScriptedEditor::answer = kTwoCompoundDefinition;
    EXPECT_EQ(Utilities(package)->Edit(), ECapeFailedInitialisationHR);
    const std::wstring expected =
        L"Error resetting model options: Could not find refprop DLL: " + store.RefpropFolder() + L"\\refprp64.dll";
    EXPECT_EQ(package->InitialisationMessage(), expected);
    EXPECT_THAT(g_boxes, ElementsAre(L"Failed to re-initialize property package: " + expected));
    Utilities(package)->Terminate();
    EXPECT_THAT(store.PrivateCopies(), SizeIs(0));
}

TEST_F(PackageTest, EmptyComponentNameIsRefused) {
    PropertyPackagePtr package = CreatePropertyPackage(L"Gas");
    ComPtr<ICapeIdentification> identification;
    package->QueryInterface(IID_PPV_ARGS(&identification));
    EXPECT_EQ(identification->put_ComponentName(_bstr_t(L"")), ECapeUnknownHR);  // initialises on demand
    EXPECT_EQ(ErrorDescription(Unknown(package)), L"Name cannot be empty");
    EXPECT_EQ(identification->put_ComponentName(_bstr_t(L"Mine")), S_OK);
    EXPECT_EQ(Name(package), L"Mine");
}

}  // namespace
