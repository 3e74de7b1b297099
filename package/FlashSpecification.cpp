#include "package/FlashSpecification.h"

#include "automation/VariantArray.h"
#include "capeobject/CapeOpenBaseObject.h"

namespace tarnevo {
namespace {

bool Same(BSTR text, const wchar_t* word) noexcept { return IsPlainBstr(text) && SameName(text, word); }
bool Empty(BSTR text) noexcept { return SysStringLen(text) == 0; }

// The properties a specification may name, in the order of their flags.
enum Flag { kTemperature, kPressure, kVolume, kEnthalpy, kEntropy, kInternalEnergy, kMoleFraction, kMassFraction,
            kFlagCount };

struct OverallProperty {
    const wchar_t* name;
    Flag flag;
    const wchar_t* duplicate;
    bool FlashBases::*mass;  // null: no basis allowed
};

constexpr OverallProperty kOverallProperties[] = {
    {L"Temperature", kTemperature, L"Duplicate specification of temperature", nullptr},
    {L"Pressure", kPressure, L"Duplicate specification of pressure", nullptr},
    {L"Volume", kVolume, L"Duplicate specification of volume", &FlashBases::volumeMass},
    {L"enthalpy", kEnthalpy, L"Duplicate specification of enthalpy", &FlashBases::enthalpyMass},
    {L"entropy", kEntropy, L"Duplicate specification of entropy", &FlashBases::entropyMass},
    {L"internalEnergy", kInternalEnergy, L"Duplicate specification of internal energy",
     &FlashBases::internalEnergyMass},
};

// Outcome of one specification: accepted, or a message with or without the
// "Invalid specification N: " prefix.
struct ReadOutcome {
    enum Kind { Accepted, Fail, Stop } kind = Accepted;
    std::wstring message;
};

ReadOutcome Fail(std::wstring message) { return {ReadOutcome::Fail, std::move(message)}; }
ReadOutcome Stop(std::wstring message) { return {ReadOutcome::Stop, std::move(message)}; }

// Reads one locked specification (property, basis, phase, optional compound) into `flags`.
ReadOutcome ReadSpecificationElements(const BSTR* elements, LONG count, bool (&flags)[kFlagCount],
                                      FlashBases& bases) {
    const BSTR property = elements[0];
    const BSTR basis = elements[1];
    const BSTR phase = elements[2];
    if (Same(property, L"PhaseFraction")) {
        if (!Same(phase, L"Vapor")) return Fail(L"Phase fraction specification only supported for the Vapor phase");
        if (flags[kMoleFraction] || flags[kMassFraction])
            return Stop(L"Duplicate specification for the vapor phase fraction");
        if (Same(basis, L"mole"))
            flags[kMoleFraction] = true;
        else if (Same(basis, L"mass"))
            flags[kMassFraction] = true;
        else
            return Fail(L"Invalid basis: vapor phase fraction must be mass or mole basis");
    } else {
        if (!Same(phase, L"Overall")) return Fail(L"Unsupported");
        const OverallProperty* match = nullptr;
        for (const OverallProperty& candidate : kOverallProperties) {
            if (Same(property, candidate.name)) {
                match = &candidate;
                break;
            }
        }
        if (!Empty(basis)) {
            if (!match || !match->mass || !(Same(basis, L"mole") || Same(basis, L"mass")))
                return Fail(L"Unsupported basis");
            bases.*(match->mass) = Same(basis, L"mass");
        }
        if (!match) {
            return Fail(L"unsupported specification \"" +
                        (property ? std::wstring(property) : std::wstring(L"NULL")) + L"\"");
        }
        if (flags[match->flag]) return Stop(match->duplicate);
        flags[match->flag] = true;
    }
    if (count == 4 && !Empty(elements[3])) return Fail(L"compound based specification is not supported");
    return {};
}

ReadOutcome ReadSpecification(const VARIANT& specification, bool (&flags)[kFlagCount], FlashBases& bases) {
    VariantArray list;
    list.Attach(specification, false);
    std::wstring reason;
    if (!list.Validate(VT_BSTR, reason)) return Fail(reason);
    if (list.Count() != 3 && list.Count() != 4) return Fail(L"each specification must have 3 or 4 string values");
    const ArrayLock lock(list);
    return ReadSpecificationElements(list.Elements<BSTR>(), list.Count(), flags, bases);
}

FlashType TypeOfFlags(const bool (&flags)[kFlagCount]) {
    const bool volume = flags[kVolume], enthalpy = flags[kEnthalpy], entropy = flags[kEntropy];
    const bool energy = flags[kInternalEnergy], mole = flags[kMoleFraction], mass = flags[kMassFraction];
    if (flags[kTemperature]) {
        if (flags[kPressure]) return FlashType::TP;
        if (enthalpy) return FlashType::TH;
        if (entropy) return FlashType::TS;
        if (energy) return FlashType::TU;
        if (volume) return FlashType::TRho;
        if (mole) return FlashType::TQMole;
        if (mass) return FlashType::TQMass;
        return FlashType::None;
    }
    if (flags[kPressure]) {
        if (volume) return FlashType::PRho;
        if (enthalpy) return FlashType::PH;
        if (entropy) return FlashType::PS;
        if (energy) return FlashType::PU;
        if (mole) return FlashType::PQMole;
        if (mass) return FlashType::PQMass;
        return FlashType::None;
    }
    if (volume) {
        if (enthalpy) return FlashType::RhoH;
        if (entropy) return FlashType::RhoS;
        if (energy) return FlashType::RhoU;
        return FlashType::None;
    }
    if (enthalpy && entropy) return FlashType::SH;
    return FlashType::None;
}

}  // namespace

bool SameName(const wchar_t* text, const wchar_t* word) noexcept {
    if (!text) text = L"";
    // ASCII text is compared here; lstrcmpiW is slow and only needed beyond ASCII.
    for (const wchar_t *a = text, *b = word;; ++a, ++b) {
        if (*a >= 0x80 || *b >= 0x80) return lstrcmpiW(text, word) == 0;
        const wchar_t la = (*a >= L'A' && *a <= L'Z') ? *a + 32 : *a;
        const wchar_t lb = (*b >= L'A' && *b <= L'Z') ? *b + 32 : *b;
        if (la != lb) return false;
        if (la == 0) return true;
    }
}

FlashType ParseFlashSpecification(const VARIANT& specification1, const VARIANT& specification2, BSTR solutionType,
                                  std::wstring& error, FlashBases* bases) {
    bool flags[kFlagCount] = {};
    FlashBases read;
    const VARIANT* specifications[] = {&specification1, &specification2};
    for (int n = 0; n < 2; ++n) {
        ReadOutcome outcome = ReadSpecification(*specifications[n], flags, read);
        if (outcome.kind == ReadOutcome::Fail) {
            error = L"Invalid specification " + std::to_wstring(n + 1) + L": " + outcome.message;
            return FlashType::None;
        }
        if (outcome.kind == ReadOutcome::Stop) {
            error = std::move(outcome.message);
            return FlashType::None;
        }
    }
    const FlashType type = TypeOfFlags(flags);
    if (type == FlashType::None) {
        error = L"Unsupported flash specification";
        return FlashType::None;
    }
    if (Empty(solutionType) || Same(solutionType, L"unspecified")) {
        if (bases) *bases = read;
        return type;
    }
    if (IsVaporFractionFlash(type) && (Same(solutionType, L"Normal") || Same(solutionType, L"Retrograde")))
        error = L"Normal or retrograde flash types are not supported; please use Unspecified";
    else
        error = L"Invalid solution type \"" + std::wstring(solutionType) + L"\" for the specified flash";
    return FlashType::None;
}

const wchar_t* FlashLabel(FlashType type) noexcept {
    switch (type) {
    case FlashType::TP: return L"T-P flash";
    case FlashType::RhoH: return L"Rho-H flash";
    case FlashType::RhoS: return L"Rho-S flash";
    case FlashType::RhoU: return L"Rho-U flash";
    case FlashType::TH: return L"T-H flash";
    case FlashType::TS: return L"T-S flash";
    case FlashType::TU: return L"T-U flash";
    case FlashType::TRho: return L"T-rho flash";
    case FlashType::PRho: return L"P-rho flash";
    case FlashType::PH: return L"P-H flash";
    case FlashType::PS: return L"P-S flash";
    case FlashType::PU: return L"P-U flash";
    case FlashType::TQMole:
    case FlashType::TQMass: return L"T-Q flash";
    case FlashType::PQMole:
    case FlashType::PQMass: return L"P-Q flash";
    case FlashType::SH: return L"S-H flash";
    default: return L"";
    }
}

bool IsVaporFractionFlash(FlashType type) noexcept {
    return type == FlashType::TQMole || type == FlashType::PQMole || type == FlashType::TQMass ||
           type == FlashType::PQMass;
}

bool MaterialHasTwoPresentPhases(ICapeThermoMaterial* material) noexcept {
    if (!material) return false;
    VariantArray labels, status;
    if (FAILED(material->GetPresentPhases(labels.ResetForOutput(), status.ResetForOutput()))) return false;
    std::wstring reason;
    return labels.Validate(VT_BSTR, reason) && labels.Count() == 2;
}

}  // namespace tarnevo
