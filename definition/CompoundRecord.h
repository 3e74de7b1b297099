// The constants of one compound, read from the header of its fluid file, in SI units.
#pragma once

#include <cfloat>
#include <string>

namespace tarnevo {

// Marker of a numeric constant the fluid file did not give.
constexpr double kUnknownValue = -DBL_MAX;

struct CompoundRecord {
    std::wstring id;                 // short name, reported as identifier and name
    bool hasCasNumber = false;
    std::wstring casNumber;
    bool hasRawFormula = false;
    std::wstring rawFormula;         // as written in the fluid file
    bool hasFormula = false;
    std::wstring formula;            // molecular formula in Hill order, or the raw text
    double molecularWeight = kUnknownValue;     // g/mol
    double tripleTemperature = kUnknownValue;   // K
    double normalBoilingPoint = kUnknownValue;  // K
    double criticalTemperature = kUnknownValue; // K
    double criticalPressure = kUnknownValue;    // Pa
    double criticalDensity = kUnknownValue;     // mol/m3
    double acentricFactor = kUnknownValue;
    double dipoleMoment = kUnknownValue;        // C m
};

}  // namespace tarnevo
