// Real COM activation by ProgID of the manager and the thermo system: the registered module is
// driven by late-bound VBScript and JScript sessions under cscript, as a scripting host would.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <sstream>

#include "com/OwnedHandles.h"
#include "tests/common/ClassActivation.h"
#include "tests/refprop/support/TestStore.h"

using namespace tarnevo_test;
using ::testing::ElementsAre;

namespace {

using tarnevo::UniqueHandle;

// Runs a command line, optionally with its output in `outputFile`; returns the exit code.
DWORD RunProgram(std::wstring command, const std::wstring& outputFile = L"") {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    UniqueHandle output;
    if (!outputFile.empty()) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        output.reset(CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output.get();
        startup.hStdError = output.get();
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return 0xFFFFFFFF;
    UniqueHandle thread(process.hThread), handle(process.hProcess);
    WaitForSingleObject(process.hProcess, 120000);
    DWORD exitCode = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &exitCode);
    return exitCode;
}

std::wstring AppData() {
    wchar_t path[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// Runs scripts/<name> under cscript with its output file as argument; the lines it wrote.
std::vector<std::string> RunScript(const char* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    // The script writes its findings through the scripting runtime (cscript's own output is
    // not reliably redirected under Wine).
    const std::wstring output = std::wstring(temp) + L"tarnevo_session.txt";
    const std::wstring script = WindowsPath(std::string(TARNEVO_TEST_SCRIPTS) + "/" + name);
    const DWORD exitCode = RunProgram(L"cscript.exe //nologo \"" + script + L"\" \"" + output + L"\"");
    std::vector<std::string> lines{"exit code " + std::to_string(exitCode)};
    std::istringstream stream(ReadFileBytes(output));
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    DeleteFileW(output.c_str());
    return lines;
}

TEST(ManagerActivation, ScriptSessionsByProgIdReachEveryInterfaceWithScriptArrays) {
    const std::wstring dll = WindowsPath(TARNEVO_TEST_DLL);
    const std::wstring userFolder = AppData() + L"\\Tarnevo";
    CreateDirectoryW(userFolder.c_str(), nullptr);
    CreateDirectoryW((userFolder + L"\\PropertyPackages").c_str(), nullptr);
    // The module finds the bundled library through its configuration file (restored afterwards).
    const std::wstring configuration = userFolder + L"\\TARNEVO.conf";
    const bool hadConfiguration = FileExists(configuration);
    const std::string previousConfiguration = ReadFileBytes(configuration);
    WriteFileBytes(configuration, "REFPROP_FOLDER=" + Narrow(EngineRefpropFolder()) + "\r\n");
    const std::wstring package = userFolder + L"\\PropertyPackages\\ScriptGas.rpp";
    WriteFileBytes(package, kTwoCompoundDefinition);

    ASSERT_EQ(RunProgram(L"regsvr32.exe /s \"" + dll + L"\""), 0u);
    // Wine activates only what is registered under HKLM: mirror the per-user registration
    // for the scripts' lifetime.
    auto mirror = std::make_unique<tarnevo_test::MachineClassMirror>();
    ASSERT_GT(mirror->MirroredKeys(), 0u);
    const std::vector<std::string> vbscript = RunScript("session.vbs");
    const std::vector<std::string> jscript = RunScript("session.js");
    mirror.reset();
    RunProgram(L"regsvr32.exe /s /u \"" + dll + L"\"");
    DeleteFileW(package.c_str());
    if (hadConfiguration)
        WriteFileBytes(configuration, previousConfiguration);
    else
        DeleteFileW(configuration.c_str());

    EXPECT_THAT(vbscript, ElementsAre("exit code 0", "list: True", "package: ScriptGas 2 2", "constants: 30069 30532",
                                      "vapor pressure: True",
                                      "error: 80040501 Invalid list of constant identifiers: Expected an array of "
                                      "type string (ICapeThermoCompounds)",
                                      "missing: 8004050F", "system list: 0 8200", "system package: 0 2"));
    EXPECT_THAT(jscript, ElementsAre("exit code 0", "constants: ScriptGas 30069",
                                     "error: 80040501 Compound list contains unknown compound ID \"WATER\""));
}

}  // namespace
