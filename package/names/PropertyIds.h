// Identifiers of the names in the property tables. Single-phase and two-phase
// identifiers are 5 x base + form.
#pragma once

#include <cstdint>

namespace tarnevo {

enum class Keyword : int {
    Pressure = 0,
    Temperature,
    Fraction,
    PhaseFraction,
    Mole,
    Mass,
    Vapor,
    Liquid,
    Enthalpy,
    Entropy,
    InternalEnergy,
    Volume,
    Overall,
    Mixture,
};
constexpr int kKeywordCount = 14;

enum CompoundConstantId : std::int32_t {
    kCasRegistryNumber = 0,
    kChemicalFormula,
    kAcentricFactor,
    kCharge,
    kCriticalDensity,
    kCriticalPressure,
    kCriticalTemperature,
    kCriticalVolume,
    kDipoleMoment,
    kMolecularWeightConstant,
    kNormalBoilingPoint,
    kCompoundConstantCount,
};

enum TDependentId : std::int32_t {
    kVaporPressure = 0,
    kVaporPressureDT,
    kFugacityCoefficientOfVapor,
    kHeatCapacityOfLiquid,
    kHeatOfVaporization,
    kSurfaceTensionSatLiquid,
    kThermalConductivityOfLiquid,
    kThermalConductivityOfVapor,
    kVirialCoefficient,
    kVirialCoefficientDT,
    kIdealGasEnthalpy,
    kIdealGasEnthalpyDT,
    kIdealGasEntropy,
    kIdealGasHeatCapacity,
    kViscosityOfLiquid,
    kViscosityOfVapor,
    kVolumeChangeUponVaporization,
    kVolumeOfLiquid,
    kTDependentCount,
};

enum PDependentId : std::int32_t {
    kBoilingPointTemperature = 0,
};

// The forms of a property: the value and its four derivatives.
enum PropertyForm : std::int32_t {
    kValue = 0,
    kDTemperature = 1,
    kDPressure = 2,
    kDMoles = 3,
    kDMolFraction = 4,
    kFormCount = 5,
};

enum SinglePhaseBase : std::int32_t {
    kCompressibility = 0,
    kCompressibilityFactor,
    kDensity,
    kEnthalpy,
    kEntropy,
    kFugacity,
    kFugacityCoefficient,
    kGibbsEnergy,
    kHeatCapacityCp,
    kHeatCapacityCv,
    kHelmholtzEnergy,
    kInternalEnergy,
    kJouleThomsonCoefficient,
    kLogFugacityCoefficient,
    kSpeedOfSound,
    kThermalConductivity,
    kViscosity,
    kVolume,
    kSinglePhaseBaseCount,
};

enum TwoPhaseBase : std::int32_t {
    kKValue = 0,
    kLogKValue,
    kSurfaceTension,
    kTwoPhaseBaseCount,
};

constexpr std::int32_t PropertyId(std::int32_t base, std::int32_t form) { return kFormCount * base + form; }
constexpr std::int32_t BaseOf(std::int32_t id) { return id / kFormCount; }
constexpr std::int32_t FormOf(std::int32_t id) { return id % kFormCount; }

// Single-phase "molecularWeight": after the 90 base-and-form identifiers, no derivatives.
constexpr std::int32_t kMolecularWeightId = kFormCount * kSinglePhaseBaseCount;
constexpr std::int32_t kSinglePhaseCount = kMolecularWeightId + 1;
constexpr std::int32_t kTwoPhaseCount = kFormCount * kTwoPhaseBaseCount;
constexpr std::int32_t kVersion10Count = 118;

}  // namespace tarnevo
