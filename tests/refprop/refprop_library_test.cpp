// Private copies of the REFPROP library: naming, loading, resolution, deletion, failures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "capeobject/CapeFailure.h"
#include "capeobject/ErrorTexts.h"
#include "refprop/RefpropLibrary.h"
#include "tests/refprop/support/TestStore.h"

using namespace tarnevo;
using namespace tarnevo_test;
using ::testing::SizeIs;

namespace {

std::wstring LoadFailure(RefpropBinding& binding, const std::wstring& refpropFolder, const std::wstring& temporary) {
    try {
        LoadRefpropLibrary(binding, refpropFolder, temporary);
    } catch (const CapeFailure& failure) {
        EXPECT_EQ(failure.hr(), ECapeUnknownHR);
        return failure.message();
    }
    return L"<no failure>";
}

class RefpropLibraryTest : public ::testing::Test {
protected:
    TestStore store{FakeLibrary(L"full")};
};

TEST_F(RefpropLibraryTest, PrivateCopyIsNamedByANewGuidLoadedAndDeletedOnUnload) {
    RefpropBinding binding;
    LoadRefpropLibrary(binding, store.RefpropFolder(), store.TemporaryFolder());
    ASSERT_TRUE(binding.libraryReady);
    ASSERT_THAT(store.PrivateCopies(), SizeIs(1));
    const std::wstring copy = binding.privateCopyPath;
    EXPECT_EQ(store.PrivateCopies()[0], copy);
    // temporary folder + "REFPROP_" + {8-4-4-4-12} + ".DLL"
    const std::wstring name = copy.substr(store.TemporaryFolder().size());
    ASSERT_EQ(name.size(), 8u + 38u + 4u) << Narrow(name);
    EXPECT_EQ(name.substr(0, 9), L"REFPROP_{");
    EXPECT_EQ(name.substr(name.size() - 5), L"}.DLL");
    EXPECT_NE(binding.refpropModule, nullptr);
    EXPECT_NE(binding.routines.FUGCOFdll, nullptr);
    EXPECT_NE(binding.routines.VIRBdll, nullptr);

    // A new load replaces the instance: the old copy is gone, a new name is used.
    LoadRefpropLibrary(binding, store.RefpropFolder(), store.TemporaryFolder());
    EXPECT_NE(binding.privateCopyPath, copy);
    EXPECT_FALSE(FileExists(copy));
    ASSERT_THAT(store.PrivateCopies(), SizeIs(1));

    UnloadRefpropLibrary(binding);
    EXPECT_FALSE(binding.libraryReady);
    EXPECT_TRUE(binding.privateCopyPath.empty());
    EXPECT_EQ(binding.refpropModule, nullptr);
    EXPECT_EQ(binding.routines.TPRHOdll, nullptr);
    EXPECT_THAT(store.PrivateCopies(), SizeIs(0));
}

TEST_F(RefpropLibraryTest, LibraryWithoutFugcofIsReadyAndLeavesTheSlotEmpty) {
    store.UseLibrary(FakeLibrary(L"nofugcof"));
    RefpropBinding binding;
    LoadRefpropLibrary(binding, store.RefpropFolder(), store.TemporaryFolder());
    EXPECT_TRUE(binding.libraryReady);
    EXPECT_FALSE(binding.HasFUGCOF());
    EXPECT_NE(binding.routines.FGCTYdll, nullptr);
    UnloadRefpropLibrary(binding);
}

TEST_F(RefpropLibraryTest, LibraryLackingARequiredRoutineNamesItAndKeepsTheCopyUntilUnload) {
    store.UseLibrary(FakeLibrary(L"notpflsh"));
    RefpropBinding binding;
    std::wstring message = LoadFailure(binding, store.RefpropFolder(), store.TemporaryFolder());
    EXPECT_EQ(message, L"Failed to load TPFLSH from REFPROP dll: " + GetSystemErrorText(ERROR_PROC_NOT_FOUND));
    EXPECT_FALSE(binding.libraryReady);
    EXPECT_THAT(store.PrivateCopies(), SizeIs(1));
    UnloadRefpropLibrary(binding);
    EXPECT_THAT(store.PrivateCopies(), SizeIs(0));
}

TEST_F(RefpropLibraryTest, FolderWithoutRefprp64FailsWithTheExpectedPath) {
    store.UseLibrary(L"");  // refprop.dll stays
    RefpropBinding binding;
    EXPECT_EQ(LoadFailure(binding, store.RefpropFolder(), store.TemporaryFolder()),
              L"Could not find refprop DLL: " + store.RefpropFolder() + L"\\refprp64.dll");
    EXPECT_FALSE(binding.libraryReady);
    UnloadRefpropLibrary(binding);
    EXPECT_THAT(store.PrivateCopies(), SizeIs(0));
}

TEST_F(RefpropLibraryTest, CopyAndLoadFailuresCarryTheSystemText) {
    RefpropBinding binding;
    const std::wstring missingTemp = store.Root() + L"\\NoSuchFolder\\";
    std::wstring message = LoadFailure(binding, store.RefpropFolder(), missingTemp);
    const std::wstring prefix = L"Failed to copy REFPROP dll to \"" + missingTemp + L"REFPROP_{";
    EXPECT_EQ(message.substr(0, prefix.size()), prefix) << Narrow(message);
    EXPECT_EQ(message.substr(message.size() - GetSystemErrorText(ERROR_PATH_NOT_FOUND).size()),
              GetSystemErrorText(ERROR_PATH_NOT_FOUND))
        << Narrow(message);
    UnloadRefpropLibrary(binding);

    WriteFileBytes(store.RefpropFolder() + L"\\refprp64.dll", "this is not a library");
    message = LoadFailure(binding, store.RefpropFolder(), store.TemporaryFolder());
    EXPECT_EQ(message.rfind(L"Failed to load REFPROP dll: ", 0), 0u) << Narrow(message);
    EXPECT_GT(message.size(), std::wstring(L"Failed to load REFPROP dll: ").size());
    EXPECT_THAT(store.PrivateCopies(), SizeIs(1));  // copied, not loaded
    UnloadRefpropLibrary(binding);
    EXPECT_THAT(store.PrivateCopies(), SizeIs(0));
}

TEST_F(RefpropLibraryTest, TooLongPrivateCopyPathIsRefusedBeforeCopying) {
    RefpropBinding binding;
    const std::wstring longTemp = store.TemporaryFolder() + std::wstring(480, L'x') + L"\\";
    std::wstring message = LoadFailure(binding, store.RefpropFolder(), longTemp);
    EXPECT_EQ(message.rfind(L"Path of the private REFPROP copy is too long: " + longTemp, 0), 0u);
    EXPECT_TRUE(binding.privateCopyPath.empty());
}

TEST_F(RefpropLibraryTest, CopiesOfEndedProcessesAreRemovedThoseOfLiveOnesKept) {
    // Left by ended processes: a copy without lock file, and one whose lock nobody holds.
    const std::wstring orphan = store.TemporaryFolder() + L"REFPROP_{00000000-0000-0000-0000-000000000001}";
    const std::wstring unheld = store.TemporaryFolder() + L"REFPROP_{00000000-0000-0000-0000-000000000002}";
    for (const std::wstring& file : {orphan + L".DLL", unheld + L".DLL", unheld + L".LOCK"}) WriteFileBytes(file, "MZ");
    std::wstring command = L"\"" + WindowsPath(TARNEVO_TEST_COPY_HOLDER) + L"\" \"" + store.RefpropFolder() + L"\" " +
                           store.TemporaryFolder();
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    UniqueHandle holder(process.hProcess), holderThread(process.hThread);
    // Its own load sweeps the two left-overs away first.
    std::vector<std::wstring> held;
    auto holderReady = [&] {
        held = store.PrivateCopies();
        return held.size() == 1 && held[0].find(L"{00000000-") == std::wstring::npos;
    };
    for (int wait = 0; wait < 600 && !holderReady(); ++wait) Sleep(50);
    ASSERT_THAT(held, SizeIs(1));

    RefpropBinding binding;
    LoadRefpropLibrary(binding, store.RefpropFolder(), store.TemporaryFolder());
    EXPECT_THAT(store.PrivateCopies(), ::testing::UnorderedElementsAre(held[0], binding.privateCopyPath));

    TerminateProcess(holder.get(), 1);  // an abnormal end
    WaitForSingleObject(holder.get(), 10000);
    EXPECT_EQ(RemoveStaleCopies(store.TemporaryFolder()), 1);
    EXPECT_THAT(store.PrivateCopies(), ::testing::ElementsAre(binding.privateCopyPath));
    const std::wstring lock = binding.privateCopyPath.substr(0, binding.privateCopyPath.size() - 4) + L".LOCK";
    EXPECT_TRUE(FileExists(lock));
    UnloadRefpropLibrary(binding);
    EXPECT_THAT(store.PrivateCopies(), SizeIs(0));
    EXPECT_FALSE(FileExists(lock) || FileExists(unheld + L".LOCK"));
}

}  // namespace
