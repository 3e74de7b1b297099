#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <thread>

#include "TestFolder.h"
#include "definition/KeyValueReader.h"
#include "definition/PackageStore.h"
#include "definition/StoreLock.h"
#include "capeobject/ErrorTexts.h"

using namespace tarnevo;
using tarnevo_test::TestFolder;
using tarnevo_test::Utf8;

namespace {

// Answers the open-file dialog from a script and records every box shown.
class ScriptedUserInterface : public StoreUserInterface {
public:
    std::deque<std::wstring> answers;  // an empty string is a cancel
    std::vector<std::wstring> initialPaths;
    std::vector<std::pair<std::wstring, std::wstring>> errors;
    std::vector<std::pair<std::wstring, std::wstring>> informations;
    std::function<void()> whileAsking;

    FileChoice ChooseRefpropLibrary(HWND, const std::wstring& initialPath, std::wstring& chosen) override {
        initialPaths.push_back(initialPath);
        if (whileAsking) whileAsking();
        if (answers.empty()) return FileChoice::Cancelled;
        chosen = answers.front();
        answers.pop_front();
        if (chosen == L"<too long>") return FileChoice::TooLong;
        return chosen.empty() ? FileChoice::Cancelled : FileChoice::Chosen;
    }
    void ShowError(HWND, const std::wstring& text, const std::wstring& caption) override {
        errors.emplace_back(text, caption);
    }
    void ShowInformation(HWND, const std::wstring& text, const std::wstring& caption) override {
        informations.emplace_back(text, caption);
    }
};

FolderSource Fixed(const std::wstring& folder) {
    return [folder](std::wstring& out) {
        out = folder;
        return true;
    };
}

FolderSource Failing() {
    return [](std::wstring&) { return false; };
}

class PackageStore : public ::testing::Test {
protected:
    void SetUp() override {
        appData = root / L"AppData";
        programFiles = root / L"Program Files";
        temp = root / L"Temp";
        tarnevo_test::MakeFolder(appData);
        tarnevo_test::MakeFolder(programFiles);
        tarnevo_test::MakeFolder(temp);
        userFolder = appData + L"\\Tarnevo";
        configuration = userFolder + L"\\TARNEVO.conf";
        SetStoreRoots(StoreRoots{Fixed(appData), Fixed(programFiles), Fixed(temp)});
        SetStoreUserInterface(&ui);
        ResetPackageStore();
    }
    void TearDown() override {
        ResetPackageStore();
        SetStoreRoots(StoreRoots{});
        SetStoreUserInterface(nullptr);
    }

    // A folder holding a (dummy) refprop.dll.
    std::wstring MakeRefpropFolder(const std::wstring& name) {
        const std::wstring folder = root / name;
        tarnevo_test::MakeFolder(folder);
        tarnevo_test::WriteBytes(folder + L"\\refprop.dll", "MZ");
        return folder;
    }

    std::string Ansi(const std::wstring& text) {
        std::string out;
        for (wchar_t c : text) out.push_back(static_cast<char>(c));  // ASCII test paths
        return out;
    }

    bool Initialize(std::wstring& message) { return InitializeFolders(message); }

    TestFolder root;
    ScriptedUserInterface ui;
    std::wstring appData, programFiles, temp, userFolder, configuration;
};

}  // namespace

TEST_F(PackageStore, FirstRunCreatesFoldersAndRecordsDefaultLocationWithoutDialog) {
    tarnevo_test::MakeFolder(programFiles + L"\\REFPROP");
    tarnevo_test::WriteBytes(programFiles + L"\\REFPROP\\refprop.dll", "MZ");
    std::wstring message;
    ASSERT_TRUE(Initialize(message)) << Utf8(message);
    EXPECT_TRUE(ui.initialPaths.empty());
    EXPECT_EQ(UserFolder(), userFolder);
    EXPECT_TRUE(tarnevo_test::Exists(userFolder + L"\\PropertyPackages"));
    EXPECT_EQ(RefpropFolder(), programFiles + L"\\REFPROP");
    EXPECT_EQ(TemporaryFolder(), temp + L"\\");
    EXPECT_EQ(tarnevo_test::ReadBytes(configuration), "REFPROP_FOLDER=" + Ansi(programFiles) + "\\REFPROP\r\n");
    EXPECT_EQ(PackageFolder(), userFolder + L"\\PropertyPackages");
    EXPECT_EQ(PackageSearchPattern(), userFolder + L"\\PropertyPackages\\*.rpp");
    EXPECT_EQ(PackageFilePath(L"Gas"), userFolder + L"\\PropertyPackages\\Gas.rpp");
    EXPECT_EQ(ConfigurationFilePath(), configuration);
    EXPECT_EQ(RefpropLibraryPath(), programFiles + L"\\REFPROP\\refprop.dll");
}

TEST_F(PackageStore, RecordedFolderIsUsedAsIsAndNotRewritten) {
    const std::wstring folder = MakeRefpropFolder(L"MyRefprop");
    tarnevo_test::MakeFolder(userFolder);
    const std::string recorded = "# written by hand\nOTHER=1\nREFPROP_FOLDER=" + Ansi(folder) +
                                 "\nREFPROP_FOLDER=C:\\elsewhere\n";
    tarnevo_test::WriteBytes(configuration, recorded);
    std::wstring message;
    ASSERT_TRUE(Initialize(message)) << Utf8(message);
    EXPECT_EQ(RefpropFolder(), folder);
    EXPECT_EQ(tarnevo_test::ReadBytes(configuration), recorded);

    // A second run in another process reads the file again and still does not rewrite it.
    ResetPackageStore();
    ASSERT_TRUE(Initialize(message)) << Utf8(message);
    EXPECT_EQ(RefpropFolder(), folder);
    EXPECT_EQ(tarnevo_test::ReadBytes(configuration), recorded);
    EXPECT_TRUE(ui.initialPaths.empty());
}

TEST_F(PackageStore, ConfigurationIsReadOnceAndPackageFolderIsRecreated) {
    const std::wstring folder = MakeRefpropFolder(L"R");
    std::wstring message;
    ui.answers.push_back(folder + L"\\refprop.dll");
    ASSERT_TRUE(Initialize(message)) << Utf8(message);
    tarnevo_test::WriteBytes(configuration, "broken line without value\r\n");
    tarnevo_test::RemoveTree(userFolder + L"\\PropertyPackages");
    ASSERT_TRUE(Initialize(message)) << Utf8(message);
    EXPECT_EQ(RefpropFolder(), folder);
    EXPECT_TRUE(tarnevo_test::Exists(userFolder + L"\\PropertyPackages"));
    EXPECT_EQ(ui.initialPaths.size(), 1u);
}

TEST_F(PackageStore, LowerCaseKeyIsNotRecognisedAndDefaultLocationReplacesIt) {
    const std::wstring other = MakeRefpropFolder(L"Other");
    tarnevo_test::MakeFolder(userFolder);
    tarnevo_test::WriteBytes(configuration, "refprop_folder=" + Ansi(other) + "\r\n");
    tarnevo_test::MakeFolder(programFiles + L"\\REFPROP");
    tarnevo_test::WriteBytes(programFiles + L"\\REFPROP\\refprop.dll", "MZ");
    std::wstring message;
    ASSERT_TRUE(Initialize(message)) << Utf8(message);
    EXPECT_EQ(RefpropFolder(), programFiles + L"\\REFPROP");
    EXPECT_EQ(tarnevo_test::ReadBytes(configuration), "REFPROP_FOLDER=" + Ansi(programFiles) + "\\REFPROP\r\n");
}

TEST_F(PackageStore, RecordedFolderWithoutLibraryAsksTheUserAndRewritesTheFile) {
    tarnevo_test::MakeFolder(userFolder);
    tarnevo_test::WriteBytes(configuration, "REFPROP_FOLDER=" + Ansi(root / L"Gone") + "\r\n");
    const std::wstring chosen = MakeRefpropFolder(L"Chosen");
    ui.answers.push_back(chosen + L"\\refprop.dll");
    std::wstring message;
    ASSERT_TRUE(Initialize(message)) << Utf8(message);
    EXPECT_EQ(ui.initialPaths, std::vector<std::wstring>{L"refprop.dll"});
    EXPECT_EQ(RefpropFolder(), chosen);
    EXPECT_EQ(tarnevo_test::ReadBytes(configuration), "REFPROP_FOLDER=" + Ansi(chosen) + "\r\n");
}

TEST_F(PackageStore, WronglyNamedLibraryIsRefusedUntilRefpropDllInAnyCaseIsPicked) {
    const std::wstring chosen = MakeRefpropFolder(L"Picked");
    ui.answers = {chosen + L"\\refprp64.dll", L"<too long>", chosen + L"\\REFPROP.DLL"};
    std::wstring message;
    ASSERT_TRUE(Initialize(message)) << Utf8(message);
    ASSERT_EQ(ui.errors.size(), 2u);
    EXPECT_EQ(ui.errors[0].first, L"The selected DLL must be called \"refprop.dll\"");
    EXPECT_EQ(ui.errors[0].second, L"Error:");
    EXPECT_EQ(ui.errors[1].first, L"The path of the selected file is too long (at most 519 characters)");
    EXPECT_EQ(ui.initialPaths.size(), 3u);
    EXPECT_EQ(RefpropFolder(), chosen);
}

TEST_F(PackageStore, CancelReportsAndTheNextCallAsksAgain) {
    std::wstring message;
    ASSERT_FALSE(Initialize(message));
    EXPECT_EQ(message, L"Unable to locate refprop.dll");
    EXPECT_TRUE(RefpropFolder().empty());
    EXPECT_FALSE(tarnevo_test::Exists(configuration));

    const std::wstring chosen = MakeRefpropFolder(L"Later");
    ui.answers.push_back(chosen + L"\\refprop.dll");
    ASSERT_TRUE(Initialize(message)) << Utf8(message);
    EXPECT_EQ(ui.initialPaths.size(), 2u);
    EXPECT_EQ(RefpropFolder(), chosen);
}

TEST_F(PackageStore, FailuresNameTheirCauseAndForgetTheUserFolder) {
    const std::wstring missingRoot = root / L"NoSuchRoot";
    const std::wstring longRoot = L"C:\\" + std::wstring(530, L'x');
    const std::wstring tooLong = L"Path is too long (at most 519 characters): " + longRoot;
    struct Case {
        std::function<void()> arrange;
        std::wstring message;
        bool forgetsUserFolder = true;
    };
    const Case cases[] = {
        {[&] { tarnevo_test::MakeFolder(userFolder), tarnevo_test::WriteBytes(configuration, "REFPROP_FOLDER=\r\n"); },
         L"Syntax error in configuration file " + configuration + L": found key \"REFPROP_FOLDER\" without value", false},
        {[&] { SetStoreRoots(StoreRoots{Fixed(missingRoot), Fixed(programFiles), Fixed(temp)}); },
         L"Failed to create REFPROP User folder: " + missingRoot + L"\\Tarnevo"},
        {[&] { tarnevo_test::WriteBytes(userFolder, "a file where the user folder should be"); },
         L"Failed to create REFPROP Property Packages folder: " + userFolder + L"\\PropertyPackages"},
        {[&] { SetStoreRoots(StoreRoots{Failing(), Fixed(programFiles), Fixed(temp)}); },
         L"Failed to get location of Application Data folder"},
        {[&] { SetStoreRoots(StoreRoots{Fixed(appData), Fixed(programFiles), Failing()}); },
         L"Failed to get location of temporary folder", false},
        {[&] { SetStoreRoots(StoreRoots{Fixed(longRoot), Fixed(programFiles), Fixed(temp)}); }, tooLong},
        {[&] { SetStoreRoots(StoreRoots{Fixed(appData), Fixed(programFiles), Fixed(longRoot)}); }, tooLong, false},
    };
    for (const Case& c : cases) {
        tarnevo_test::RemoveTree(userFolder);
        SetStoreRoots(StoreRoots{Fixed(appData), Fixed(programFiles), Fixed(temp)});
        ResetPackageStore();
        c.arrange();
        std::wstring message;
        EXPECT_FALSE(Initialize(message)) << Utf8(c.message);
        EXPECT_EQ(message, c.message);
        if (c.forgetsUserFolder) {
            EXPECT_TRUE(UserFolder().empty()) << Utf8(c.message);
        }
    }
}

TEST_F(PackageStore, SystemTemporaryPathAndMissingProgramFiles) {
    // The system's own path: a TMP it refuses is named with the reason.
    std::wstring message;
    const std::wstring longTemp = L"C:\\" + std::wstring(496, L't');
    wchar_t oldTemp[MAX_PATH] = {};
    const bool hadTemp = GetEnvironmentVariableW(L"TMP", oldTemp, MAX_PATH) > 0;
    SetEnvironmentVariableW(L"TMP", longTemp.c_str());
    SetStoreRoots(StoreRoots{Fixed(appData), Fixed(programFiles), FolderSource()});
    const bool found = Initialize(message);
    SetEnvironmentVariableW(L"TMP", hadTemp ? oldTemp : nullptr);
    if (!found) {
        EXPECT_EQ(message, L"Failed to get location of temporary folder: " + tarnevo::GetSystemErrorText(ERROR_FILENAME_EXCED_RANGE) +
                               L" (TMP is 499 characters long: " + longTemp + L")");
    }

    // Without a program-files folder the default location is skipped and the user asked.
    const std::wstring chosen = MakeRefpropFolder(L"Asked");
    ui.answers.push_back(chosen + L"\\refprop.dll");
    SetStoreRoots(StoreRoots{Fixed(appData), Failing(), Fixed(temp)});
    ASSERT_TRUE(Initialize(message)) << Utf8(message);
    EXPECT_EQ(RefpropFolder(), chosen);
}

TEST_F(PackageStore, FolderOutsideTheAnsiCodePageCannotBeRecordedButStaysInMemory) {
    // Greek letters have no place in Windows-1252.
    const std::wstring greekRoot = root / L"\u03BB\u03B1";
    tarnevo_test::MakeFolder(greekRoot);
    tarnevo_test::MakeFolder(greekRoot + L"\\REFPROP");
    tarnevo_test::WriteBytes(greekRoot + L"\\REFPROP\\refprop.dll", "MZ");
    SetStoreRoots(StoreRoots{Fixed(appData), Fixed(greekRoot), Fixed(temp)});
    std::wstring message;
    ASSERT_FALSE(Initialize(message));
    EXPECT_EQ(message, L"Failed to create RefProp Configuration File (" + configuration + L"): the REFPROP folder " +
                           greekRoot + L"\\REFPROP cannot be written in the ANSI code page");
    EXPECT_EQ(RefpropFolder(), greekRoot + L"\\REFPROP");
    EXPECT_FALSE(tarnevo_test::Exists(configuration));
    ASSERT_TRUE(Initialize(message));
    EXPECT_FALSE(tarnevo_test::Exists(configuration));
}

TEST_F(PackageStore, ConfigurationThatCannotBeWrittenIsReportedAndFolderKept) {
    const std::wstring chosen = MakeRefpropFolder(L"Unrecorded");
    ui.answers.push_back(chosen + L"\\refprop.dll");
    // While the dialog is open a folder takes the configuration file's name.
    ui.whileAsking = [&] { tarnevo_test::MakeFolder(configuration); };
    std::wstring message;
    ASSERT_FALSE(Initialize(message));
    const std::wstring prefix = L"Failed to create RefProp Configuration File (" + configuration + L"): ";
    EXPECT_EQ(message.substr(0, prefix.size()), prefix);
    EXPECT_GT(message.size(), prefix.size());
    EXPECT_EQ(RefpropFolder(), chosen);
    // The next call succeeds from memory without writing.
    ASSERT_TRUE(Initialize(message)) << Utf8(message);
    EXPECT_EQ(ui.initialPaths.size(), 1u);
}

TEST_F(PackageStore, ChangingTheRefpropFolderRecordsItAndInforms) {
    const std::wstring first = MakeRefpropFolder(L"First");
    const std::wstring second = MakeRefpropFolder(L"Second");
    ui.answers.push_back(first + L"\\refprop.dll");
    std::wstring message;
    ASSERT_TRUE(Initialize(message)) << Utf8(message);

    ui.answers = {second + L"\\refprp64.dll", second + L"\\Refprop.dll"};
    std::wstring shown;
    EXPECT_EQ(ChangeRefpropFolder(nullptr, [&](const std::wstring& folder) { shown = folder; }),
              RefpropFolderChange::Changed);
    EXPECT_EQ(ui.initialPaths.back(), first + L"\\refprop.dll");
    EXPECT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(shown, second);
    EXPECT_EQ(RefpropFolder(), second);
    EXPECT_EQ(tarnevo_test::ReadBytes(configuration), "REFPROP_FOLDER=" + Ansi(second) + "\r\n");
    ASSERT_EQ(ui.informations.size(), 1u);
    EXPECT_EQ(ui.informations[0].first,
              L"Property packages created from this point on will use the new REFPROP location");
    EXPECT_EQ(ui.informations[0].second, L"REFPROP Folder change:");

    ui.answers.clear();
    EXPECT_EQ(ChangeRefpropFolder(nullptr, nullptr), RefpropFolderChange::Cancelled);
    EXPECT_EQ(RefpropFolder(), second);
}

TEST_F(PackageStore, ChangeThatCannotWriteTheFileKeepsTheOldFolder) {
    const std::wstring first = MakeRefpropFolder(L"Kept");
    const std::wstring second = MakeRefpropFolder(L"Refused");
    ui.answers.push_back(first + L"\\refprop.dll");
    std::wstring message;
    ASSERT_TRUE(Initialize(message)) << Utf8(message);

    // Hold the file open without sharing, so it cannot be opened for writing.
    HANDLE held = CreateFileW(configuration.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ui.answers.push_back(second + L"\\refprop.dll");
    const RefpropFolderChange result = ChangeRefpropFolder(nullptr, nullptr);
    CloseHandle(held);
    EXPECT_EQ(result, RefpropFolderChange::Failed);
    EXPECT_EQ(RefpropFolder(), first);
    ASSERT_EQ(ui.errors.size(), 1u);
    const std::wstring prefix = L"Failed to create RefProp Configuration File (" + configuration + L"): ";
    EXPECT_EQ(ui.errors[0].first.substr(0, prefix.size()), prefix);
    EXPECT_GT(ui.errors[0].first.size(), prefix.size());
    EXPECT_EQ(ui.errors[0].second, L"Error:");
}

TEST(StoreLock, OwnerReentersAndOtherThreadsWait) {
    std::atomic<bool> entered{false};
    std::thread other;
    {
        StoreLockGuard outer;
        {
            StoreLockGuard inner;  // re-entry by the owner neither blocks nor releases
        }
        other = std::thread([&] {
            StoreLockGuard guard;
            entered = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_FALSE(entered.load());
    }
    other.join();
    EXPECT_TRUE(entered.load());
}

TEST(PackageStoreSystem, DefaultLocationOfTheTestPrefixIsRecorded) {
    // The real folders of the prefix: only when the bundled REFPROP folder is installed.
    wchar_t programFiles[MAX_PATH] = {};
    ExpandEnvironmentStringsW(L"%ProgramFiles%", programFiles, MAX_PATH);
    const std::wstring refprop = std::wstring(programFiles) + L"\\REFPROP";
    if (!tarnevo_test::Exists(refprop + L"\\refprop.dll")) GTEST_SKIP() << "no REFPROP in program files";
    ResetPackageStore();
    std::wstring message;
    ASSERT_TRUE(InitializeFolders(message)) << Utf8(message);
    KeyValueReader reader;
    ASSERT_TRUE(reader.ReadKeyValueFile(ConfigurationFilePath(), message)) << Utf8(message);
    ASSERT_FALSE(reader.entries().empty());
    EXPECT_EQ(reader.entries()[0].key, L"REFPROP_FOLDER");
    EXPECT_EQ(reader.entries()[0].value, RefpropFolder());
    ResetPackageStore();
}
