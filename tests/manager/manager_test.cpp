// CPropertyPackageManager: package list, packages by name, new packages, Edit,
// identification and initialisation on demand.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <comdef.h>

#include <algorithm>

#include "definition/PackageStore.h"
#include "manager/ManagerDialogSeam.h"
#include "manager/PropertyPackageManager.h"
#include "package/PackageEditorSeam.h"
#include "package/PropertyPackage.h"
#include "tests/refprop/support/FakeHost.h"
#include "tests/refprop/support/TestStore.h"

using namespace tarnevo;
using namespace tarnevo_test;
using Microsoft::WRL::ComPtr;
using ::testing::ElementsAre;
using ::testing::SizeIs;
using ::testing::UnorderedElementsAre;

namespace {

bool g_editorAccepts = false;
std::string g_editorAnswer;
int g_editorRuns = 0;
bool ScriptedEditor(HWND, const std::string& text, std::string& newText) {
    ++g_editorRuns;
    EXPECT_EQ(text, kNewPackageMarker);
    if (g_editorAccepts) newText = g_editorAnswer;
    return g_editorAccepts;
}
std::vector<std::wstring> g_boxes;
void RecordBox(HWND, const std::wstring& text) { g_boxes.push_back(text); }
const TestStore* g_store = nullptr;
int g_dialogRuns = 0;
void ScriptedManagerDialog(HWND) {
    ++g_dialogRuns;
    g_store->WritePackage(L"Added", kTwoCompoundDefinition);
}

std::vector<std::wstring> Strings(const VARIANT& value) {
    std::vector<std::wstring> result;
    if (value.vt != (VT_ARRAY | VT_BSTR)) return result;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(value.parray, 1, &lower);
    SafeArrayGetUBound(value.parray, 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
        BSTR text = nullptr;
        SafeArrayGetElement(value.parray, &i, &text);
        result.emplace_back(text ? text : L"");
        SysFreeString(text);
    }
    return result;
}

class ManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_store = &store;
        g_editorAccepts = false;
        g_editorRuns = 0;
        g_dialogRuns = 0;
        g_boxes.clear();
        SetPackageEditor(&ScriptedEditor);
        SetFailureBox(&RecordBox);
        SetManagerDialog(&ScriptedManagerDialog);
        ASSERT_EQ(CreateComInstance<CPropertyPackageManager>(nullptr, IID_PPV_ARGS(&manager)), S_OK);
    }
    void TearDown() override {
        SetPackageEditor(nullptr);
        SetFailureBox(nullptr);
        SetManagerDialog(nullptr);
    }
    std::vector<std::wstring> List() {
        _variant_t names;
        EXPECT_EQ(manager->GetPropertyPackageList(&names), S_OK);
        return Strings(names);
    }
    template <class I>
    ComPtr<I> As(IUnknown* object) {
        ComPtr<I> result;
        EXPECT_EQ(object->QueryInterface(IID_PPV_ARGS(&result)), S_OK);
        return result;
    }

    TestStore store;
    ComPtr<ICapeThermoPropertyPackageManager> manager;
};

TEST_F(ManagerTest, ListsThePackageFilesOnDemandAndIgnoresOtherEntries) {
    store.WritePackage(L"a", kTwoCompoundDefinition);
    store.WritePackage(L"b", "not a definition at all");
    WriteFileBytes(store.PackageFolder() + L"\\notes.txt", "x");
    CreateDirectoryW((store.PackageFolder() + L"\\folder.rpp").c_str(), nullptr);
    // No Initialize: the first call initialises the manager.
    EXPECT_THAT(List(), UnorderedElementsAre(L"a", L"b"));
    // The list is kept until Initialize after Terminate or Edit.
    store.WritePackage(L"c", kTwoCompoundDefinition);
    EXPECT_THAT(List(), SizeIs(2));

    // A listed file that is not a definition fails when its package is initialised.
    ComPtr<IDispatch> package;
    ASSERT_EQ(manager->GetPropertyPackage(_bstr_t(L"b"), &package), S_OK);
    EXPECT_EQ(As<ICapeUtilities>(package.Get())->Initialize(), ECapeFailedInitialisationHR);
    EXPECT_EQ(ErrorDescription(package.Get()),
              L"Property package configuration error: Syntax error in property package file: found key \"not a "
              L"definition at all\" without value");
    EXPECT_EQ(As<ICapeUtilities>(manager.Get())->Terminate(), S_OK);
    EXPECT_EQ(As<ICapeUtilities>(manager.Get())->Initialize(), S_OK);
    EXPECT_THAT(List(), UnorderedElementsAre(L"a", L"b", L"c"));
}

TEST_F(ManagerTest, EmptyFolderGivesAnEmptyVariant) {
    VARIANT names;
    VariantInit(&names);
    ASSERT_EQ(manager->GetPropertyPackageList(&names), S_OK);
    EXPECT_EQ(names.vt, VT_EMPTY);
    EXPECT_EQ(manager->GetPropertyPackageList(nullptr), E_POINTER);
}

TEST_F(ManagerTest, GetPropertyPackageHandsOutAnUninitialisedPackageByName) {
    store.WritePackage(L"Gas", kTwoCompoundDefinition);
    ComPtr<IDispatch> package;
    ASSERT_EQ(manager->GetPropertyPackage(_bstr_t(L"Gas"), &package), S_OK);
    ComPtr<ICapeThermoCompounds> compounds;
    ASSERT_EQ(package.As(&compounds), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(package.Get()), static_cast<IUnknown*>(compounds.Get()));
    EXPECT_THAT(store.PrivateCopies(), SizeIs(0));
    EXPECT_EQ(As<ICapeUtilities>(package.Get())->Initialize(), S_OK);
    EXPECT_THAT(store.PrivateCopies(), SizeIs(1));

    // Unknown and null names are not checked here; Initialize reports the missing file.
    ComPtr<IDispatch> unknown;
    ASSERT_EQ(manager->GetPropertyPackage(_bstr_t(L"Unknown"), &unknown), S_OK);
    EXPECT_EQ(As<ICapeUtilities>(unknown.Get())->Initialize(), ECapeFailedInitialisationHR);
    EXPECT_EQ(ErrorDescription(unknown.Get()),
              L"Property package definition (" + store.PackageFile(L"Unknown") + L") does not exist");
    ComPtr<IDispatch> unnamed;
    ASSERT_EQ(manager->GetPropertyPackage(nullptr, &unnamed), S_OK);
    EXPECT_EQ(As<ICapeUtilities>(unnamed.Get())->Initialize(), ECapeFailedInitialisationHR);
    EXPECT_EQ(ErrorDescription(unnamed.Get()),
              L"Property package definition (" + store.PackageFile(L"") + L") does not exist");
    EXPECT_EQ(manager->GetPropertyPackage(_bstr_t(L"Gas"), nullptr), E_POINTER);
}

TEST_F(ManagerTest, IdentificationDefaults) {
    auto identification = As<ICapeIdentification>(manager.Get());
    BSTR text = nullptr;
    identification->get_ComponentName(&text);
    EXPECT_EQ(std::wstring(text), L"REFPROP Property Package Manager");
    SysFreeString(text);
    identification->get_ComponentDescription(&text);
    EXPECT_EQ(std::wstring(text), L"REFPROP Property Package Manager, CAPE-OPEN version 1.1");
    SysFreeString(text);
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(manager.As(&dispatch), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(dispatch.Get()), static_cast<IUnknown*>(manager.Get()));
    ComPtr<ICapeThermoNewPropertyPackage> extension;
    EXPECT_EQ(manager.As(&extension), S_OK);
}

TEST_F(ManagerTest, StoreFailureIsReportedByEveryManagerCall) {
    ResetPackageStore();
    SetStoreRoots(StoreRoots{[](std::wstring&) { return false; }, {}, {}});
    _variant_t names;
    EXPECT_EQ(manager->GetPropertyPackageList(&names), ECapeFailedInitialisationHR);
    EXPECT_EQ(ErrorDescription(manager.Get()), L"Failed to get location of Application Data folder");
    EXPECT_EQ(ErrorScope(manager.Get()), L"GetPropertyPackageList");
    EXPECT_EQ(ErrorInterface(manager.Get()), L"ICapeThermoPropertyPackageManager");
    ComPtr<IDispatch> package;
    EXPECT_EQ(manager->GetPropertyPackage(_bstr_t(L"Gas"), &package), ECapeFailedInitialisationHR);
    EXPECT_EQ(ErrorScope(manager.Get()), L"GetPropertyPackage");
    ComPtr<IDispatch> created;
    EXPECT_EQ(As<ICapeThermoNewPropertyPackage>(manager.Get())->GetNewPropertyPackage(&created),
              ECapeFailedInitialisationHR);
    EXPECT_EQ(ErrorInterface(manager.Get()), L"ICapeThermoNewPropertyPackage");
    EXPECT_EQ(ErrorDescription(manager.Get()), L"Failed to get location of Application Data folder");
}

TEST_F(ManagerTest, EditRunsTheManagerDialogAndRebuildsTheList) {
    EXPECT_THAT(List(), SizeIs(0));
    EXPECT_EQ(As<ICapeUtilities>(manager.Get())->Edit(), S_OK);
    EXPECT_EQ(g_dialogRuns, 1);
    EXPECT_THAT(List(), ElementsAre(L"Added"));
}

TEST_F(ManagerTest, NewPackageCancelledGivesNull) {
    auto extension = As<ICapeThermoNewPropertyPackage>(manager.Get());
    IDispatch* package = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(extension->GetNewPropertyPackage(&package), S_OK);
    EXPECT_EQ(package, nullptr);
    EXPECT_EQ(g_editorRuns, 1);
    EXPECT_THAT(store.PrivateCopies(), SizeIs(0));  // the released package took its copy along
}

TEST_F(ManagerTest, NewPackageAcceptedIsInitialisedWithTheEditedDefinition) {
    g_editorAccepts = true;
    g_editorAnswer = kTwoCompoundDefinition;
    ComPtr<IDispatch> package;
    ASSERT_EQ(As<ICapeThermoNewPropertyPackage>(manager.Get())->GetNewPropertyPackage(&package), S_OK);
    ASSERT_NE(package, nullptr);
    auto identification = As<ICapeIdentification>(package.Get());
    BSTR name = nullptr;
    identification->get_ComponentName(&name);
    EXPECT_EQ(std::wstring(name), L"New REFPROP Package");
    SysFreeString(name);
    EXPECT_EQ(As<IPersistStream>(package.Get())->IsDirty(), S_OK);
    EXPECT_EQ(identification->put_ComponentDescription(_bstr_t(L"edited")), S_OK);
    EXPECT_THAT(store.PrivateCopies(), SizeIs(1));
}

TEST_F(ManagerTest, NewPackageWithAFailingDefinitionShowsTheBoxAndGivesNull) {
    g_editorAccepts = true;
    g_editorAnswer = "nfluid=0\r\n";
    ComPtr<IDispatch> package;
    ASSERT_EQ(As<ICapeThermoNewPropertyPackage>(manager.Get())->GetNewPropertyPackage(&package), S_OK);
    EXPECT_EQ(package, nullptr);
    EXPECT_THAT(g_boxes, ElementsAre(L"Failed to re-initialize property package: value of \"nfluid\" should be "
                                     L"positive integer"));
    EXPECT_THAT(store.PrivateCopies(), SizeIs(0));
}

TEST_F(ManagerTest, NewPackageThatCannotBeInitialisedFails) {
    store.UseLibrary(L"");
    ComPtr<IDispatch> package;
    EXPECT_EQ(As<ICapeThermoNewPropertyPackage>(manager.Get())->GetNewPropertyPackage(&package), ECapeUnknownHR);
    EXPECT_EQ(package, nullptr);
    EXPECT_EQ(ErrorDescription(manager.Get()),
              L"Failed to initialize new PP: Could not find refprop DLL: " + store.RefpropFolder() + L"\\refprp64.dll");
    EXPECT_EQ(ErrorScope(manager.Get()), L"GetNewPropertyPackage");
    EXPECT_EQ(g_editorRuns, 0);
}

}  // namespace
