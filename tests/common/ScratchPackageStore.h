// A private package store for package tests: user folder and temporary folder under a scratch
// folder, REFPROP folder = an engine folder of this build (recorded in TARNEVO.conf), .rpp
// definitions written into its package folder and initialised package objects made from them.
//   ScratchPackageStore store(L"compounds", L"REFPROP", [](const std::string& m) { ADD_FAILURE() << m; });
//   store.WritePackage(L"Three", store.FluidFiles({L"PROPANE", L"BUTANE", L"PENTANE"}));
//   auto package = store.Package(L"Three");       // ComPtr<ComObject<TestPackage>>
#pragma once

#include <windows.h>
#include <comdef.h>
#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

#include "package/PropertyPackage.h"

namespace tarnevo_test {

// The package object with its REFPROP instance and compound records in reach.
class TestPackage : public tarnevo::CPropertyPackage {
public:
    tarnevo::RefpropBinding& Refprop() { return refprop; }
    const std::vector<tarnevo::CompoundRecord>& Records() const { return compounds; }
    std::vector<tarnevo::CompoundRecord>& MutableRecords() { return compounds; }
    // Package index of compound `id`, -1 when the package does not hold it.
    int PackageIndex(const std::wstring& id) const {
        for (size_t i = 0; i < compounds.size(); ++i)
            if (compounds[i].id == id) return static_cast<int>(i);
        return -1;
    }
};
template <class P>
using PackageObject = Microsoft::WRL::ComPtr<tarnevo::ComObject<P>>;

// Where set-up failures go: a test failure under GoogleTest, an exception elsewhere.
using FailureReport = std::function<void(const std::string& message)>;
[[noreturn]] void ThrowFailure(const std::string& message);

class ScratchPackageStore {
public:
    // Scratch folder <temp>\tarnevo-<tag>-<process id>; REFPROP folder <build>\<engineFolder>.
    ScratchPackageStore(const std::wstring& tag, const std::wstring& engineFolder, FailureReport report);
    // Removes the scratch folder.
    ~ScratchPackageStore();
    ScratchPackageStore(const ScratchPackageStore&) = delete;
    ScratchPackageStore& operator=(const ScratchPackageStore&) = delete;

    const std::wstring& ScratchFolder() const { return root_; }
    const std::wstring& RefpropFolder() const { return refpropFolder_; }
    const std::wstring& TemporaryFolder() const { return temporary_; }  // ends in a backslash
    // Full path of a fluid file of the engine.
    std::wstring FluidFile(const std::wstring& name) const { return refpropFolder_ + L"\\fluids\\" + name + L".FLD"; }
    std::vector<std::wstring> FluidFiles(const std::vector<std::wstring>& names) const;
    // A fluid file written into the scratch folder; its full path.
    std::wstring WriteFluidFile(const std::wstring& name, const std::string& text) const;
    // Writes <name>.rpp listing `fluidFiles` (written as given) with the engine's mixture file.
    void WritePackage(const std::wstring& name, const std::vector<std::wstring>& fluidFiles,
                      const std::string& description = "test package") const;
    // A new package object for `name`, initialised (a failure is reported).
    template <class P = TestPackage>
    PackageObject<P> Package(const std::wstring& name) const;

protected:
    void Fail(const std::string& message) const { report_(message); }

private:
    FailureReport report_;
    std::wstring root_;
    std::wstring refpropFolder_;
    std::wstring temporary_;
};

// ASCII text of `text`, '?' for any other character.
std::string Narrow(const std::wstring& text);
// The package's recorded error (ECapeUser): description, scope, interface name.
std::wstring ErrorDescription(tarnevo::CPropertyPackage* package);
std::wstring ErrorScope(tarnevo::CPropertyPackage* package);
std::wstring ErrorInterface(tarnevo::CPropertyPackage* package);
template <class P>
std::wstring ErrorDescription(const PackageObject<P>& package) { return ErrorDescription(package.Get()); }
template <class P>
std::wstring ErrorScope(const PackageObject<P>& package) { return ErrorScope(package.Get()); }
template <class P>
std::wstring ErrorInterface(const PackageObject<P>& package) { return ErrorInterface(package.Get()); }

// Files and folders; false where the file could not be written.
bool WriteBytes(const std::wstring& path, const std::string& bytes);
std::wstring MakeFolder(const std::wstring& path);  // `path`, created when missing
void RemoveTree(const std::wstring& folder);

template <class P>
PackageObject<P> ScratchPackageStore::Package(const std::wstring& name) const {
    PackageObject<P> package = tarnevo::MakeComObject<P>();
    package->SetPackageName(name);
    if (package->Initialize() != S_OK) Fail("package " + Narrow(name) + ": " + Narrow(package->InitialisationMessage()));
    return package;
}

}  // namespace tarnevo_test
