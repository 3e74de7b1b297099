// The package under a host that must not get IPersistPropertyBag.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/refprop/support/TestStore.h"

namespace {

TEST(PackageHost, ProIIGetsNoPropertyBagButKeepsTheStream) {
    std::wstring command = L"\"" + tarnevo_test::WindowsPath(TARNEVO_TEST_PROII) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 99;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
