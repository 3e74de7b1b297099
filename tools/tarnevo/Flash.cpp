#include "tools/tarnevo/Flash.h"

#include <comdef.h>

#include "tools/host/VariantValues.h"
#include "tools/tarnevo/CapeFailure.h"

namespace tarnevo::cli {
namespace {

_variant_t Specification(const FlashSpecification& spec, bool massBasis) {
    switch (spec.variable) {
        case FlashVariable::T: return host::StringArray({L"temperature", L"", L"Overall"});
        case FlashVariable::P: return host::StringArray({L"pressure", L"", L"Overall"});
        case FlashVariable::H: return host::StringArray({L"enthalpy", L"", L"Overall"});
        case FlashVariable::S: return host::StringArray({L"entropy", L"", L"Overall"});
        case FlashVariable::U: return host::StringArray({L"internalEnergy", L"", L"Overall"});
        case FlashVariable::V: return host::StringArray({L"volume", L"", L"Overall"});
        case FlashVariable::Q: return host::StringArray({L"phaseFraction", massBasis ? L"mass" : L"mole", L"Vapor"});
    }
    return _variant_t();
}

void PutSpecifiedValue(host::CHostMaterial& material, const FlashSpecification& spec, bool massBasis) {
    switch (spec.variable) {
        case FlashVariable::T: material.PutOverall(L"temperature", L"", {spec.value}); break;
        case FlashVariable::P: material.PutOverall(L"pressure", L"", {spec.value}); break;
        case FlashVariable::H: material.PutOverall(L"enthalpy", L"mole", {spec.value}); break;
        case FlashVariable::S: material.PutOverall(L"entropy", L"mole", {spec.value}); break;
        case FlashVariable::U: material.PutOverall(L"internalEnergy", L"mole", {spec.value}); break;
        case FlashVariable::V: material.PutOverall(L"volume", L"mole", {spec.value}); break;
        case FlashVariable::Q:
            material.PutSinglePhase(L"phaseFraction", L"Vapor", massBasis ? L"mass" : L"mole", {spec.value});
            break;
    }
}

double Scalar(const std::optional<std::vector<double>>& values, const wchar_t* what) {
    if (!values || values->size() != 1) throw ProgramFailure(std::wstring(L"the flash did not set ") + what);
    return (*values)[0];
}

}  // namespace

const wchar_t* VariableName(FlashVariable variable) {
    static const wchar_t* const names[] = {L"T", L"P", L"H", L"S", L"U", L"V", L"Q"};
    return names[static_cast<int>(variable)];
}

const wchar_t* VariableUnit(FlashVariable variable) {
    static const wchar_t* const units[] = {L"K", L"Pa", L"J/mol", L"J/(mol K)", L"J/mol", L"m3/mol", L"-"};
    return units[static_cast<int>(variable)];
}

Flasher::Flasher(Package& package) : package_(package), material_(package.NewMaterial()) {}

FlashResult Flasher::Run(const FlashSpecification& first, const FlashSpecification& second,
                         const std::vector<double>& z, bool massBasis) {
    host::CHostMaterial& material = *material_.Get();
    material.ClearAllProps();
    material.ClearCalls();
    material.PutOverall(L"fraction", L"mole", z);
    PutSpecifiedValue(material, first, massBasis);
    PutSpecifiedValue(material, second, massBasis);
    material.PutPresentPhases({L"Vapor", L"Liquid"});

    ICapeThermoEquilibriumRoutine* routine = package_.Equilibrium();
    CheckCape(routine->CalcEquilibrium(Specification(first, massBasis), Specification(second, massBasis),
                                       _bstr_t(L"Unspecified")),
              routine, L"CalcEquilibrium", L"ICapeThermoEquilibriumRoutine");

    FlashResult result;
    result.temperature = Scalar(material.Overall(L"temperature", L""), L"the overall temperature");
    result.pressure = Scalar(material.Overall(L"pressure", L""), L"the overall pressure");
    for (const std::wstring& label : material.PresentPhaseLabels()) {
        PhaseResult phase;
        phase.label = label;
        phase.fraction = Scalar(material.SinglePhase(L"phaseFraction", label, L"mole"), L"a phase fraction");
        phase.temperature = Scalar(material.SinglePhase(L"temperature", label, L""), L"a phase temperature");
        phase.pressure = Scalar(material.SinglePhase(L"pressure", label, L""), L"a phase pressure");
        auto composition = material.SinglePhase(L"fraction", label, L"mole");
        if (!composition) throw ProgramFailure(L"the flash did not set the composition of " + label);
        phase.composition = *composition;
        result.phases.push_back(std::move(phase));
    }
    return result;
}

Flasher10::Flasher10(Package& package)
    : package_(package), material_(host::CHostMaterial10::Create(package.CompoundIds())) {}

std::wstring Flasher10::Key(const FlashSpecification& first, const FlashSpecification& second) {
    std::wstring pair = std::wstring(VariableName(first.variable)) + VariableName(second.variable);
    for (const wchar_t* key : {L"TP", L"TH", L"TS", L"PH", L"PS", L"HS"}) {
        const std::wstring text = key;
        if (pair == text || pair == std::wstring{text[1], text[0]}) return text;
    }
    if (pair == L"TQ" || pair == L"QT") return L"TVF";
    if (pair == L"PQ" || pair == L"QP") return L"PVF";
    return L"";
}

FlashResult Flasher10::Run(const FlashSpecification& first, const FlashSpecification& second,
                           const std::vector<double>& z) {
    host::CHostMaterial10& material = *material_.Get();
    material.ClearValues();
    material.ClearCalls();
    material.Put(L"fraction", L"overall", z, L"mole");
    for (const FlashSpecification& spec : {first, second}) {
        switch (spec.variable) {
            case FlashVariable::T: material.Put(L"temperature", L"overall", {spec.value}); break;
            case FlashVariable::P: material.Put(L"pressure", L"overall", {spec.value}); break;
            case FlashVariable::H: material.Put(L"enthalpy", L"overall", {spec.value}, L"mole", L"mixture"); break;
            case FlashVariable::S: material.Put(L"entropy", L"overall", {spec.value}, L"mole", L"mixture"); break;
            case FlashVariable::Q: material.Put(L"phaseFraction", L"Vapor", {spec.value}, L"mole"); break;
            default: break;
        }
    }
    ICapeThermoPropertyPackage* package10 = package_.Version10();
    CheckCape(package10->CalcEquilibrium(material_->Dispatch(), _bstr_t(Key(first, second).c_str()), _variant_t()),
              package10, L"CalcEquilibrium", L"ICapeThermoPropertyPackage");

    FlashResult result;
    result.temperature = Scalar(material.Get(L"temperature", L"overall"), L"the overall temperature");
    result.pressure = Scalar(material.Get(L"pressure", L"overall"), L"the overall pressure");
    for (const wchar_t* label : {L"Vapor", L"Liquid"}) {
        auto composition = material.Get(L"fraction", label, L"mole");
        if (!composition) continue;
        PhaseResult phase;
        phase.label = label;
        phase.fraction = Scalar(material.Get(L"phaseFraction", label, L"mole"), L"a phase fraction");
        phase.temperature = result.temperature;
        phase.pressure = result.pressure;
        phase.composition = *composition;
        result.phases.push_back(std::move(phase));
    }
    return result;
}

}  // namespace tarnevo::cli
