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
    // The same evaluation at a state the caller gives: the properties `ids` of phase kph
    // (1 liquid, 2 vapour) at T (K), P (Pa) and `fractions` (material order). Throws
    // CapeFailure; afterwards Result(k) holds the values of ids[k].
    void Compute(const std::vector<std::int32_t>& ids, int kph, double temperature, double pressure,
                 const std::vector<double>& fractions, ICapeDiagnostic* diagnostics);
    // The values of request item k in the result array of its shape (valid until the next call).
    const VARIANT& Result(std::size_t k);
    // True while Run is under way (a material calling back into the package).
    bool Busy() const noexcept { return busy_; }

private:
    void RunBody(const VARIANT& props, BSTR phaseLabel);
    void ReadRequest(const VARIANT& props);
    void EvaluateAt(int kph, double temperature, double pressure, const std::vector<double>& fractions);
    void Evaluate(int kph);
    void Write(std::size_t k, BSTR name, BSTR phaseLabel);
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
