// What the CAPE-OPEN 1.0 calculations use of the property package: its REFPROP instance,
// compounds and working storage, and a way to run the shared 1.1 calculation code so that
// its failures are recorded with that code's own operation and interface names.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "TARNEVO.h"
#include "automation/VariantArray.h"
#include "definition/CompoundRecord.h"
#include "package/names/NameMap.h"
#include "refprop/RefpropBinding.h"

namespace tarnevo {

// Runs `body`; a failure is recorded as one of `scope` on `interfaceName` and its HRESULT returned.
using SharedCodeRunner =
    std::function<HRESULT(const wchar_t* scope, const wchar_t* interfaceName, const std::function<void()>& body)>;

struct Package10Context {
    RefpropBinding& refprop;
    ICapeDiagnostic* diagnostics;                  // may be null
    const std::vector<CompoundRecord>& compounds;  // package order
    const NameMap& compoundNames;
    std::vector<double>& composition;              // package working arrays
    std::vector<double>& liquidComposition;
    std::vector<double>& vaporComposition;
    std::vector<double>& fugacityCoefficients;
    VariantArray& scalarResult;
    VariantArray& compoundResult;
    VariantArray& matrixResult;
    SharedCodeRunner runShared;
    std::shared_ptr<void>& storage;                // what the 1.0 calls keep between calls
};

}  // namespace tarnevo
