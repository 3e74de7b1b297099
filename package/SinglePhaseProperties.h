// CalcSinglePhaseProp: request analysis, base and perturbed evaluation, and the values
// written to the material, in the material's compound order and size.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "TARNEVO.h"
#include "automation/VariantArray.h"
#include "definition/CompoundRecord.h"
#include "package/PropertyRequest.h"
#include "package/SinglePhaseValues.h"
#include "refprop/RefpropBinding.h"

namespace tarnevo {

// What a property calculation of the package works with.
struct PropertyCalculationContext {
    RefpropBinding& refprop;
    ICapeDiagnostic* diagnostics;                    // may be null
    ICapeThermoMaterial* material;                   // the current material (mapping resolved)
    const std::vector<CompoundRecord>& compounds;    // package order
    const std::vector<std::int32_t>& materialMap;    // package index per material compound
    std::vector<double>& composition;                // package working composition
    VariantArray& scalarResult;
    VariantArray& compoundResult;
    VariantArray& matrixResult;
};

// Kept by the package between calls so that its storage is reused.
class SinglePhaseCalculation {
public:
    explicit SinglePhaseCalculation(const PropertyCalculationContext& context) : context_(context) {}

    // Reads `props` and the phase's state from `material`, evaluates (warnings to
    // `diagnostics`, may be null) and writes every
    // property in the caller's order. Throws CapeFailure with the message to report; the
    // properties written before a failure stay on the material.
    void Run(ICapeThermoMaterial* material, ICapeDiagnostic* diagnostics, const VARIANT& props, BSTR phaseLabel);
    // True while Run is under way (a material calling back into the package).
    bool Busy() const noexcept { return busy_; }

private:
    void RunBody(const VARIANT& props, BSTR phaseLabel);
    void ReadRequest(const VARIANT& props);
    void Evaluate(int kph);
    void Write(std::int32_t id, BSTR name, BSTR phaseLabel);
    double MolecularWeight() const;

    PropertyCalculationContext context_;
    bool busy_ = false;
    std::vector<BSTR> names_;
    PropertyRequest request_;
    SinglePhasePoints points_;
    VariantArray nameArray_;
    std::vector<double> fractions_;
};

}  // namespace tarnevo
