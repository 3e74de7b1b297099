#include "package/PropertyRequest.h"

namespace tarnevo {

void PropertyRequest::Clear() noexcept {
    ids.clear();
    for (unsigned& bits : groups) bits = 0;
    densityForms = 0;
    enthalpyDTemperature = false;
    enthalpyDPressure = false;
}

void PropertyRequest::Add(std::int32_t id) {
    ids.push_back(id);
    if (id == kMolecularWeightId) return;
    const std::int32_t base = BaseOf(id);
    const std::int32_t form = FormOf(id);
    const unsigned bit = 1u << form;
    switch (base) {
    case kCompressibility:
        groups[kVolumetricGroup] |= bit;
        break;
    case kCompressibilityFactor:
    case kDensity:
    case kVolume:
        // Temperature and pressure forms are analytic from THERM2dll at the base point.
        if (form == kDTemperature || form == kDPressure) groups[kVolumetricGroup] |= kValueBit;
        else densityForms |= bit;
        break;
    case kEnthalpy:
        if (form == kDPressure) enthalpyDPressure = true;
        else if (form == kDTemperature) enthalpyDTemperature = true;
        else groups[kEnthalpyGroup] |= bit;
        break;
    case kEntropy:
    case kInternalEnergy:
    case kJouleThomsonCoefficient:
    case kSpeedOfSound:
        groups[kCaloricGroup] |= bit;
        break;
    case kFugacity:
    case kFugacityCoefficient:
    case kLogFugacityCoefficient:
        groups[kFugacityGroup] |= bit;
        break;
    case kGibbsEnergy:
    case kHelmholtzEnergy:
        groups[kFreeEnergyGroup] |= bit;
        break;
    case kHeatCapacityCp:
    case kHeatCapacityCv:
        groups[kHeatCapacityGroup] |= bit;
        break;
    case kThermalConductivity:
    case kViscosity:
        groups[kTransportGroup] |= bit;
        break;
    default:
        break;
    }
}

void PropertyRequest::ApplySuperseding() noexcept {
    // cp for "enthalpy.Dtemperature": dh/dT at constant p of DHD1dll when that runs anyway.
    if (enthalpyDTemperature && !enthalpyDPressure) groups[kCaloricGroup] |= kValueBit;
    // One THERMdll call instead of ENTHALdll and CVCPdll at the same points.
    groups[kCaloricGroup] |= groups[kEnthalpyGroup] & groups[kHeatCapacityGroup];
    const unsigned volumetric = groups[kVolumetricGroup];
    for (RoutineGroup covered : {kCaloricGroup, kFreeEnergyGroup, kHeatCapacityGroup, kEnthalpyGroup})
        groups[covered] &= ~volumetric;
    const unsigned caloric = groups[kCaloricGroup];
    groups[kHeatCapacityGroup] &= ~caloric;
    groups[kEnthalpyGroup] &= ~caloric;
}

unsigned PropertyRequest::PointForms() const noexcept {
    unsigned forms = densityForms;
    for (unsigned bits : groups) forms |= bits;
    return forms;
}

bool PropertyRequest::NeedsRefprop() const noexcept {
    for (std::int32_t id : ids)
        if (id != kMolecularWeightId) return true;
    return false;
}

}  // namespace tarnevo
