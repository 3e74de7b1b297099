#include "package/CompoundConstants.h"

#include <cmath>
#include <new>
#include <string>

#include "package/names/PropertyIds.h"

namespace tarnevo {
namespace {

bool Known(double number) { return number != kUnknownValue && !std::isnan(number); }

bool PutDouble(double number, VARIANT& value) {
    if (!Known(number)) return false;
    value.vt = VT_R8;
    value.dblVal = number;
    return true;
}

bool PutString(bool present, const std::wstring& text, VARIANT& value) {
    if (!present) return false;
    BSTR copy = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!copy) throw std::bad_alloc();
    value.vt = VT_BSTR;
    value.bstrVal = copy;
    return true;
}

}  // namespace

bool GetCompoundConstantValue(const CompoundRecord& record, std::int32_t id, VARIANT& value) {
    switch (id) {
        case kCasRegistryNumber: return PutString(record.hasCasNumber, record.casNumber, value);
        case kChemicalFormula: return PutString(record.hasFormula, record.formula, value);
        case kAcentricFactor: return PutDouble(record.acentricFactor, value);
        case kCharge: return PutDouble(0.0, value);
        case kCriticalDensity: return PutDouble(record.criticalDensity, value);
        case kCriticalPressure: return PutDouble(record.criticalPressure, value);
        case kCriticalTemperature: return PutDouble(record.criticalTemperature, value);
        case kCriticalVolume:
            if (!Known(record.criticalDensity) || !(record.criticalDensity > 0.0)) return false;
            return PutDouble(1.0 / record.criticalDensity, value);
        case kDipoleMoment: return PutDouble(record.dipoleMoment, value);
        case kMolecularWeightConstant: return PutDouble(record.molecularWeight, value);
        case kNormalBoilingPoint: return PutDouble(record.normalBoilingPoint, value);
        default: return false;
    }
}

}  // namespace tarnevo
