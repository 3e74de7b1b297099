// CalcEquilibrium on a CAPE-OPEN 1.1 material: the present phases, the overall composition
// and the specified values read from the material, the flash, and the phases, their
// conditions and the overall temperature and pressure written back.
#pragma once

#include <cstdint>
#include <vector>

#include "TARNEVO.h"
#include "automation/VariantArray.h"
#include "definition/CompoundRecord.h"
#include "package/FlashSpecification.h"
#include "package/names/FlashType.h"
#include "refprop/RefpropBinding.h"

namespace tarnevo {

// What one flash uses of the package.
struct EquilibriumContext {
    RefpropBinding& refprop;
    ICapeDiagnostic* diagnostics;                  // may be null
    ICapeThermoMaterial* material;                 // not null
    const std::vector<CompoundRecord>& compounds;  // package order
    const std::vector<std::int32_t>& map;          // package index per material compound
    std::vector<double>& z;                        // package order, resized to the package
    std::vector<double>& x;
    std::vector<double>& y;
    VariantArray& scalarResult;
    VariantArray& compoundResult;
};

// Runs the flash of `type` on the material, with specified energies and volumes read on the
// `bases` given. Temperature, pressure and composition come from GetOverallTPFraction; a
// material that cannot give all three is read one by one with GetOverallProp (except for the
// T-P flash). Throws CapeFailure with the message of the step that failed; values written
// before it stay on the material.
void CalcMaterialEquilibrium(EquilibriumContext& context, FlashType type, const FlashBases& bases = {});

}  // namespace tarnevo
