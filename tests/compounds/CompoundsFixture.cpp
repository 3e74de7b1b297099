#include "tests/compounds/CompoundsFixture.h"

#include <gtest/gtest.h>

#include "tools/host/VariantValues.h"

namespace tarnevo_test {

const std::vector<std::wstring> kThreeCompounds = {L"PROPANE", L"BUTANE", L"PENTANE"};

CompoundsStore& CompoundsStore::Get() {
    static CompoundsStore store;
    return store;
}

CompoundsStore::CompoundsStore()
    : ScratchPackageStore(L"compounds", L"REFPROP", [](const std::string& message) { ADD_FAILURE() << message; }) {
    WritePackage(L"Three", FluidFiles(kThreeCompounds), "compound tests");
}

std::vector<std::wstring> Strings(const VARIANT& value) { return tarnevo::host::ReadStrings(value); }
std::vector<double> Doubles(const VARIANT& value) { return tarnevo::host::ReadDoubles(value); }

}  // namespace tarnevo_test
