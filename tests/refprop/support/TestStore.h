// A private package store for tests: user folder, REFPROP folder and temporary folder under
// one scratch folder, installed as the process's store roots.
//   TestStore store;                          // REFPROP folder holds the engine's library
//   store.WritePackage(L"Gas", kTwoCompoundDefinition);
//   store.UseLibrary(FakeLibrary(L"nofugcof"));
//   store.PrivateCopies();                    // REFPROP_*.DLL files in the temporary folder
#pragma once

#include <string>
#include <vector>

namespace tarnevo_test {

// "Z:\dir\file" for a Unix path "/dir/file".
std::wstring WindowsPath(const std::string& unixPath);

// The engine's library folder of this build (refprp64.dll, refprop.dll, fluids).
std::wstring EngineRefpropFolder();
// A scripted library of tests/refprop/fake: "full", "nofugcof" or "notpflsh".
std::wstring FakeLibrary(const std::wstring& variant);

// A two-compound definition (methane, ethane; default model).
extern const char kTwoCompoundDefinition[];

class TestStore {
public:
    // `library`: the file copied in as refprp64.dll (and refprop.dll).
    explicit TestStore(const std::wstring& library = EngineRefpropFolder() + L"\\refprp64.dll");
    ~TestStore();
    TestStore(const TestStore&) = delete;
    TestStore& operator=(const TestStore&) = delete;

    const std::wstring& Root() const { return root_; }
    const std::wstring& RefpropFolder() const { return refpropFolder_; }
    const std::wstring& TemporaryFolder() const { return temporary_; }  // ends in a backslash
    std::wstring PackageFolder() const { return userFolder_ + L"\\PropertyPackages"; }
    std::wstring PackageFile(const std::wstring& name) const { return PackageFolder() + L"\\" + name + L".rpp"; }

    void WritePackage(const std::wstring& name, const std::string& text) const;
    // Replaces refprp64.dll of the REFPROP folder (empty: removes it).
    void UseLibrary(const std::wstring& library) const;
    // Full paths of the private copies now in the temporary folder.
    std::vector<std::wstring> PrivateCopies() const;

private:
    std::wstring root_;
    std::wstring userFolder_;
    std::wstring refpropFolder_;
    std::wstring temporary_;
};

// Shared helpers for files.
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
void DeleteTree(const std::wstring& path);
std::string Narrow(const std::wstring& text);

}  // namespace tarnevo_test
