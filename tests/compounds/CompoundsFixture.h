// Packages for the compound tests: a private package store (user folder and temporary folder
// under a scratch folder, REFPROP folder = the engine's folder of this build) and package
// objects initialised from .rpp files written into its package folder.
//   CompoundsStore& store = CompoundsStore::Get();
//   auto package = store.Package(L"Three");          // PROPANE, BUTANE, PENTANE
//   Expect(package->GetNumCompounds(&n), S_OK);
#pragma once

#include <windows.h>
#include <comdef.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "package/PropertyPackage.h"

namespace tarnevo_test {

// The package object with its REFPROP instance in reach, so tests can script single routines.
class TestPackage : public tarnevo::CPropertyPackage {
public:
    tarnevo::RefpropBinding& Refprop() { return refprop; }
};
using PackagePtr = Microsoft::WRL::ComPtr<tarnevo::ComObject<TestPackage>>;

// The three compounds of the "Three" package, in package order.
extern const std::vector<std::wstring> kThreeCompounds;

class CompoundsStore {
public:
    // The process's store, set up on first use.
    static CompoundsStore& Get();

    const std::wstring& RefpropFolder() const { return refpropFolder_; }
    const std::wstring& TemporaryFolder() const { return temporary_; }
    // Full path of a fluid file of the engine.
    std::wstring FluidFile(const std::wstring& name) const { return refpropFolder_ + L"\\fluids\\" + name + L".FLD"; }
    // A fluid file written into the scratch folder (full path).
    std::wstring WriteFluidFile(const std::wstring& name, const std::string& text) const;
    // Writes <name>.rpp listing `fluidFiles` (paths as written into the definition).
    void WritePackage(const std::wstring& name, const std::vector<std::wstring>& fluidFiles) const;
    // A new package object for `name`, initialised (the test fails if it is not).
    PackagePtr Package(const std::wstring& name) const;

private:
    CompoundsStore();
    ~CompoundsStore();
    CompoundsStore(const CompoundsStore&) = delete;
    CompoundsStore& operator=(const CompoundsStore&) = delete;
    std::wstring root_;
    std::wstring refpropFolder_;
    std::wstring temporary_;
};

// Results of the automation helpers as plain values.
std::vector<std::wstring> Strings(const VARIANT& value);
std::vector<double> Doubles(const VARIANT& value);
// The package's recorded error description (ECapeUser).
std::wstring ErrorDescription(tarnevo::CPropertyPackage* package);
std::string Utf8(const std::wstring& text);

}  // namespace tarnevo_test
