// Real COM activation by ProgID of the manager and the thermo system: the registered module is
// driven by a late-bound VBScript
// under cscript, as a scripting host would.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <sstream>

#include "tests/common/ClassActivation.h"
#include "tests/refprop/support/TestStore.h"

using namespace tarnevo_test;
using ::testing::Contains;
using ::testing::HasSubstr;

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept {
        if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

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

TEST(ManagerActivation, ScriptCreatesTheManagerAndTheThermoSystemByProgIdAndGetsPackages) {
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
    // for the script's lifetime.
    auto mirror = std::make_unique<tarnevo_test::MachineClassMirror>();
    ASSERT_GT(mirror->MirroredKeys(), 0u);

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring script = std::wstring(temp) + L"tarnevo_activation.vbs";
    const std::wstring output = std::wstring(temp) + L"tarnevo_activation.txt";
    // The script writes its findings through the scripting runtime (cscript's own output is
    // not reliably redirected under Wine).
    WriteFileBytes(script,
                   "Set files = CreateObject(\"Scripting.FileSystemObject\")\r\n"
                   "Set out = files.CreateTextFile(\"" + Narrow(output) + "\", True)\r\n"
                   "Set manager = CreateObject(\"TARNEVO.PropertyPackageManager\")\r\n"
                   "names = manager.GetPropertyPackageList()\r\n"
                   // Wine's VBScript cannot walk a string array (UBound, For Each and Join fail on
                   // VT_ARRAY|VT_BSTR), so the script checks the kind of the list only.
                   "out.WriteLine \"list: \" & IsArray(names)\r\n"
                   "Set package = manager.GetPropertyPackage(\"ScriptGas\")\r\n"
                   "On Error Resume Next\r\n"
                   "count = package.GetNumCompounds()\r\n"
                   "out.WriteLine \"initialised: \" & Hex(Err.Number) & \" \" & count\r\n"
                   "Err.Clear\r\n"
                   "Set missing = manager.GetPropertyPackage(\"NoSuchPackage\")\r\n"
                   "count = missing.GetNumCompounds()\r\n"
                   "out.WriteLine \"missing: \" & Hex(Err.Number) & \" \" & Err.Description\r\n"
                   "Err.Clear\r\n"
                   "Set system = CreateObject(\"TARNEVO.ThermoSystem\")\r\n"
                   "systemNames = system.GetPropertyPackages()\r\n"
                   "out.WriteLine \"system list: \" & Hex(Err.Number) & \" \" & VarType(systemNames)\r\n"
                   "Set package10 = system.ResolvePropertyPackage(\"ScriptGas\")\r\n"
                   "out.WriteLine \"system package: \" & Hex(Err.Number) & \" \" & package10.GetNumCompounds()\r\n"
                   "out.Close\r\n");
    DWORD exitCode = RunProgram(L"cscript.exe //nologo \"" + script + L"\"");
    std::string text = ReadFileBytes(output);
    mirror.reset();
    RunProgram(L"regsvr32.exe /s /u \"" + dll + L"\"");
    DeleteFileW(package.c_str());
    if (hadConfiguration)
        WriteFileBytes(configuration, previousConfiguration);
    else
        DeleteFileW(configuration.c_str());
    DeleteFileW(script.c_str());
    DeleteFileW(output.c_str());

    EXPECT_EQ(exitCode, 0u) << text;
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    EXPECT_THAT(lines, Contains("list: True")) << text;
    // Initialised on demand: either the count, or the operation is not written yet; never the
    // initialisation failure 8004050F.
    EXPECT_THAT(lines, Contains(::testing::AnyOf("initialised: 0 2", "initialised: 80040509 "))) << text;
    // A package without a definition file fails its on-demand initialisation.
    EXPECT_THAT(text, HasSubstr("missing: 8004050F")) << text;
    // The 1.0 thermo system by its ProgID: the package names as a string array (vbArray + vbString).
    EXPECT_THAT(lines, Contains("system list: 0 8200")) << text;
    EXPECT_THAT(lines, Contains("system package: 0 2")) << text;
}

}  // namespace
