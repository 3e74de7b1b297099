// Analysis of a single-phase property request: which REFPROP routine groups run at which
// evaluation points. Each group carries a five-bit set of forms (value, temperature,
// pressure, mole-number and mole-fraction derivative), accumulated over the request.
#pragma once

#include <cstdint>
#include <vector>

#include "package/names/PropertyIds.h"

namespace tarnevo {

// Form bits: 1 << form.
constexpr unsigned kValueBit = 1u << kValue;
constexpr unsigned kTemperatureBit = 1u << kDTemperature;
constexpr unsigned kPressureBit = 1u << kDPressure;
constexpr unsigned kMolesBit = 1u << kDMoles;
constexpr unsigned kMolFractionBit = 1u << kDMolFraction;

// Routine groups in their calling order at each evaluation point.
enum RoutineGroup : int {
    kVolumetricGroup = 0,  // THERM2dll
    kCaloricGroup,         // THERMdll
    kFugacityGroup,        // FUGCOFdll (or FGCTYdll)
    kFreeEnergyGroup,      // AGdll
    kHeatCapacityGroup,    // CVCPdll
    kTransportGroup,       // TRNPRPdll
    kEnthalpyGroup,        // ENTHALdll
    kGroupCount,
};

struct PropertyRequest {
    std::vector<std::int32_t> ids;   // requested identifiers in the caller's order
    unsigned groups[kGroupCount] = {};
    // Forms whose perturbed points only need the density (density, volume, compressibility factor).
    unsigned densityForms = 0;
    bool enthalpyDTemperature = false;
    bool enthalpyDPressure = false;  // DHD1dll at the base point

    void Clear() noexcept;
    // Records `id` and sets the group bits it needs.
    void Add(std::int32_t id);
    // Lets broader routines supply what narrower ones would: THERM2dll covers THERMdll,
    // AGdll, CVCPdll and ENTHALdll; THERMdll covers CVCPdll and ENTHALdll, and replaces the
    // pair where both would run.
    void ApplySuperseding() noexcept;

    // Bits of any group or density-only property: the perturbed points to evaluate.
    unsigned PointForms() const noexcept;
    // True when some property needs REFPROP (anything but the molecular weight).
    bool NeedsRefprop() const noexcept;
    bool Runs(RoutineGroup group, unsigned formBit) const noexcept { return (groups[group] & formBit) != 0; }
};

}  // namespace tarnevo
