#include "package/names/PropertyNameTables.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tarnevo {

namespace {

using Names = std::vector<std::wstring>;

const wchar_t* const kWords[kKeywordCount] = {
    L"pressure", L"temperature", L"fraction", L"phaseFraction", L"mole", L"mass", L"Vapor",
    L"Liquid", L"enthalpy", L"entropy", L"internalEnergy", L"volume", L"overall", L"mixture",
};

// Suffixes of the five forms, in form order.
const wchar_t* const kFormSuffixes[kFormCount] = {
    L"", L".Dtemperature", L".Dpressure", L".Dmoles", L".DmolFraction",
};

const wchar_t* const kSinglePhaseBases[kSinglePhaseBaseCount] = {
    L"compressibility", L"compressibilityFactor", L"density", L"enthalpy", L"entropy",
    L"fugacity", L"fugacityCoefficient", L"gibbsEnergy", L"heatCapacityCp", L"heatCapacityCv",
    L"helmholtzEnergy", L"internalEnergy", L"jouleThomsonCoefficient", L"logFugacityCoefficient",
    L"speedOfSound", L"thermalConductivity", L"viscosity", L"volume",
};

const wchar_t* const kTwoPhaseBases[kTwoPhaseBaseCount] = {L"kvalue", L"logKvalue", L"surfaceTension"};

Names CompoundConstantNames() {
    return {L"casRegistryNumber", L"chemicalFormula", L"acentricFactor", L"charge",
            L"criticalDensity", L"criticalPressure", L"criticalTemperature", L"criticalVolume",
            L"dipoleMoment", L"molecularWeight", L"normalBoilingPoint"};
}

Names TDependentNames() {
    return {L"vaporPressure", L"vaporPressure.Dtemperature", L"fugacityCoefficientOfVapor",
            L"heatCapacityOfLiquid", L"heatOfVaporization", L"surfaceTensionSatLiquid",
            L"thermalConductivityOfLiquid", L"thermalConductivityOfVapor", L"virialCoefficient",
            L"virialCoefficient.Dtemperature", L"idealGasEnthalpy", L"idealGasEnthalpy.Dtemperature",
            L"idealGasEntropy", L"idealGasHeatCapacity", L"viscosityOfLiquid", L"viscosityOfVapor",
            L"volumeChangeUponVaporization", L"volumeOfLiquid"};
}

// The name of every form of a base, in form order (the first `forms` forms).
Names Forms(const std::wstring& base, int forms = kFormCount) {
    Names names;
    for (int form = 0; form < forms; ++form) names.push_back(base + kFormSuffixes[form]);
    return names;
}

Names SinglePhaseNames() {
    Names names;
    for (const wchar_t* base : kSinglePhaseBases) {
        for (std::wstring& name : Forms(base)) names.push_back(std::move(name));
    }
    names.push_back(L"molecularWeight");
    return names;
}

Names TwoPhaseNames() {
    Names names;
    for (const wchar_t* base : kTwoPhaseBases) {
        for (std::wstring& name : Forms(base)) names.push_back(std::move(name));
    }
    return names;
}

// 1.0 names for 1.1 single-phase bases; each maps with all its forms onto the base's identifiers.
struct Alias {
    const wchar_t* name;
    std::int32_t base;
};
const Alias kSinglePhaseAliases[] = {
    {L"heatCapacity", kHeatCapacityCp},
    {L"gibbsFreeEnergy", kGibbsEnergy},
    {L"helmholtzFreeEnergy", kHelmholtzEnergy},
    {L"energy", kInternalEnergy},
};
const Alias kTwoPhaseAliases[] = {
    {L"kvalues", kKValue},
    {L"logKvalues", kLogKValue},
};

// The 1.0 list: the temperature-dependent names, the single-phase names except the bases
// renamed in 1.0, the 1.0 names of those bases (with "heatCapacityCv" kept), and the
// two-phase names without their composition derivatives.
Names Version10Names(const Names& tDependent, const Names& singlePhase) {
    Names names = tDependent;
    for (std::size_t id = 0; id < singlePhase.size(); ++id) {
        const auto base = BaseOf(static_cast<std::int32_t>(id));
        if (base >= kGibbsEnergy && base <= kInternalEnergy) continue;
        names.push_back(singlePhase[id]);
    }
    for (const wchar_t* base : {L"heatCapacity", L"heatCapacityCv", L"gibbsFreeEnergy",
                                L"helmholtzFreeEnergy", L"energy"}) {
        for (std::wstring& name : Forms(base)) names.push_back(std::move(name));
    }
    for (const wchar_t* base : {L"kvalues", L"logKvalues", L"surfaceTension"}) {
        // The value and its temperature and pressure derivatives.
        for (std::wstring& name : Forms(base, kDMoles)) names.push_back(std::move(name));
    }
    return names;
}

NameTable MakeTable(Names names) {
    NameTable table{NameList(std::move(names)), NameMap()};
    const Names& listed = table.list.Names();
    for (std::size_t id = 0; id < listed.size(); ++id) table.map[listed[id]] = static_cast<std::int32_t>(id);
    return table;
}

void AddAliases(NameMap& map, const Alias& alias) {
    const Names forms = Forms(alias.name);
    for (int form = 0; form < kFormCount; ++form) map[forms[form]] = PropertyId(alias.base, form);
}

}  // namespace

PropertyNameTables::PropertyNameTables()
    : compoundConstants_(MakeTable(CompoundConstantNames())),
      tDependent_(MakeTable(TDependentNames())),
      pDependent_(MakeTable({L"boilingPointTemperature"})),
      singlePhase_(MakeTable(SinglePhaseNames())),
      twoPhase_(MakeTable(TwoPhaseNames())),
      version10_(Version10Names(tDependent_.list.Names(), singlePhase_.list.Names())) {
    for (int i = 0; i < kKeywordCount; ++i) words_[i] = kWords[i];
    for (const Alias& alias : kSinglePhaseAliases) AddAliases(singlePhase_.map, alias);
    for (const Alias& alias : kTwoPhaseAliases) AddAliases(twoPhase_.map, alias);

    const std::pair<const wchar_t*, FlashType> flashKeys[] = {
        {L"TP", FlashType::TP}, {L"PT", FlashType::TP},       {L"TH", FlashType::TH},
        {L"HT", FlashType::TH}, {L"TS", FlashType::TS},       {L"ST", FlashType::TS},
        {L"PH", FlashType::PH}, {L"HP", FlashType::PH},       {L"PS", FlashType::PS},
        {L"SP", FlashType::PS}, {L"TVF", FlashType::TQMole}, {L"PVF", FlashType::PQMole},
        {L"HS", FlashType::SH}, {L"SH", FlashType::SH},
    };
    for (const auto& [key, type] : flashKeys) flashTypes_[key] = static_cast<std::int32_t>(type);
}

FlashType PropertyNameTables::FindFlashType(const wchar_t* key) const {
    const auto code = flashTypes_.Find(key);
    return code ? static_cast<FlashType>(*code) : FlashType::None;
}

const PropertyNameTables& NameTables() {
    static const PropertyNameTables tables;
    return tables;
}

namespace {
// Builds the tables while the module loads, before any object exists.
[[maybe_unused]] const PropertyNameTables& builtAtLoad = NameTables();
}  // namespace

}  // namespace tarnevo
