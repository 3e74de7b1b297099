// Packages for the compound tests: the scratch package store on the engine's folder of this
// build, with the "Three" package written.
//   CompoundsStore& store = CompoundsStore::Get();
//   auto package = store.Package(L"Three");          // PROPANE, BUTANE, PENTANE
//   Expect(package->GetNumCompounds(&n), S_OK);
#pragma once

#include <string>
#include <vector>

#include "tests/common/ScratchPackageStore.h"

namespace tarnevo_test {

using PackagePtr = PackageObject<TestPackage>;

// The three compounds of the "Three" package, in package order.
extern const std::vector<std::wstring> kThreeCompounds;

class CompoundsStore : public ScratchPackageStore {
public:
    // The process's store, set up on first use.
    static CompoundsStore& Get();

private:
    CompoundsStore();
};

// Results of the automation helpers as plain values.
std::vector<std::wstring> Strings(const VARIANT& value);
std::vector<double> Doubles(const VARIANT& value);

}  // namespace tarnevo_test
