#include "version10/Equilibrium10.h"

#include <string>

#include "capeobject/CapeFailure.h"
#include "capeobject/CapeOpenBaseObject.h"
#include "package/FlashExecution.h"
#include "package/MaterialPhaseAccess.h"
#include "package/names/PropertyNameTables.h"
#include "version10/MaterialObject10.h"

namespace tarnevo {
namespace {

bool Specifies(FlashType type, std::initializer_list<FlashType> types) {
    for (FlashType t : types)
        if (t == type) return true;
    return false;
}

void StoreScalar(Package10Context& context, const MaterialObject10& material, Keyword property, Keyword phase,
                 BSTR basis, double value, const wchar_t* failurePrefix) {
    const PropertyNameTables& tables = NameTables();
    {
        double* out = PrepareResult(context.scalarResult, 1);
        const ArrayLock lock(context.scalarResult, std::adopt_lock);
        out[0] = value;
    }
    material.SetProp(tables.Word(property), tables.Word(phase), nullptr, basis, context.scalarResult.Value(),
                     failurePrefix);
}

}  // namespace

std::vector<BSTR> CalcEquilibrium10(Package10Context& context, IDispatch* materialObject, BSTR flashType,
                                    const VARIANT& props) {
    const PropertyNameTables& tables = NameTables();
    MaterialObject10 material(materialObject,
                              L"Failed to obtain ICapeThermoMaterialObject interface from material object: ");
    VariantArray propList;
    propList.Attach(props, false);
    std::wstring reason;
    if (!propList.Validate(VT_BSTR, reason)) throw CapeFailure(L"Invalid list of properties: " + reason);
    const std::vector<std::int32_t> map = ResolveMaterialObjectCompounds(
        material, context.compoundNames, context.compounds.size(),
        L"Failed to get the list of compound IDs from material object: ", L"Invalid list of compounds on material object: ");
    const FlashType type = flashType && wcslen(flashType) == SysStringLen(flashType)
                               ? tables.FindFlashType(flashType)
                               : FlashType::None;
    if (type == FlashType::None)
        throw CapeFailure(L"Unknown/unsupported flash type \"" +
                          (flashType ? BstrToString(flashType) : std::wstring(L"NULL")) + L"\"");

    // Overall composition; a refused read shows in the checks of its value.
    std::vector<double>& z = context.composition;
    z.assign(context.compounds.size(), 0.0);
    VariantArray fractions;
    material.GetProp(tables.Word(Keyword::Fraction), tables.Word(Keyword::Overall), nullptr, tables.Word(Keyword::Mole),
                     fractions);
    if (!fractions.Validate(VT_R8, reason))
        throw CapeFailure(L"Invalid values for overall composition from material object: " + reason);
    if (static_cast<std::size_t>(fractions.Count()) != map.size())
        throw CapeFailure(L"Invalid values for overall composition from material object: invalid number of values");
    if (!map.empty()) {
        const ArrayLock lock(fractions);
        const double* values = fractions.Elements<double>();
        for (std::size_t i = 0; i < map.size(); ++i) z[static_cast<std::size_t>(map[i])] = values[i];
    }

    FlashValues v;
    const BSTR overall = tables.Word(Keyword::Overall);
    const BSTR mole = tables.Word(Keyword::Mole);
    const BSTR mixture = tables.Word(Keyword::Mixture);
    const bool temperatureInput = Specifies(type, {FlashType::TP, FlashType::TH, FlashType::TS, FlashType::TQMole});
    const bool pressureInput = Specifies(type, {FlashType::TP, FlashType::PH, FlashType::PS, FlashType::PQMole});
    if (temperatureInput)
        v.T = material.GetScalar(tables.Word(Keyword::Temperature), overall, nullptr, nullptr,
                                 {L"Failed to get temperature from material object: ",
                                  L"Invalid value for temperature from material object: "});
    if (pressureInput)
        v.P = 0.001 * material.GetScalar(tables.Word(Keyword::Pressure), overall, nullptr, nullptr,
                                         {L"Failed to get pressure from material object: ",
                                          L"Invalid value for pressure from material object: "});
    if (Specifies(type, {FlashType::TH, FlashType::PH, FlashType::SH}))
        v.h = material.GetScalar(tables.Word(Keyword::Enthalpy), overall, mixture, mole,
                                 {L"Failed to get enthalpy from material object: ",
                                  L"Invalid value for enthalpy from material object: "});
    if (Specifies(type, {FlashType::TS, FlashType::PS, FlashType::SH}))
        v.s = material.GetScalar(tables.Word(Keyword::Entropy), overall, mixture, mole,
                                 {L"Failed to get entropy from material object: ",
                                  L"Invalid value for entropy from material object: "});
    if (Specifies(type, {FlashType::TQMole, FlashType::PQMole}))
        v.q = material.GetScalar(tables.Word(Keyword::PhaseFraction), tables.Word(Keyword::Vapor), nullptr, mole,
                                 {L"Failed to get vapor fraction from material object: ",
                                  L"Invalid value for vapor fraction from material object: "});

    std::vector<double>& x = context.liquidComposition;
    std::vector<double>& y = context.vaporComposition;
    RunFlashRoutine(context.refprop, context.diagnostics, type, FlashRoute::TwoPhase, v, z, x, y);
    v.P *= 1000.0;
    const PresentPhases present = DecidePresentPhases(type, v.q);

    std::vector<BSTR> phases;
    if (present.vapor) {
        material.SetProp(tables.Word(Keyword::Fraction), tables.Word(Keyword::Vapor), nullptr, mole,
                         MaterialOrder(y, map, context.compoundResult), L"Failed to set vapor composition: ");
        StoreScalar(context, material, Keyword::PhaseFraction, Keyword::Vapor, mole, v.q,
                    L"Failed to set vapor phase fraction: ");
        phases.push_back(tables.Word(Keyword::Vapor));
    }
    if (present.liquid) {
        material.SetProp(tables.Word(Keyword::Fraction), tables.Word(Keyword::Liquid), nullptr, mole,
                         MaterialOrder(x, map, context.compoundResult), L"Failed to set liquid composition: ");
        StoreScalar(context, material, Keyword::PhaseFraction, Keyword::Liquid, mole, 1.0 - v.q,
                    L"Failed to set liquid phase fraction: ");
        phases.push_back(tables.Word(Keyword::Liquid));
    }
    if (!temperatureInput)
        StoreScalar(context, material, Keyword::Temperature, Keyword::Overall, nullptr, v.T,
                    L"Failed to set overall temperature: ");
    if (!pressureInput)
        StoreScalar(context, material, Keyword::Pressure, Keyword::Overall, nullptr, v.P,
                    L"Failed to set overall pressure: ");
    return phases;
}

}  // namespace tarnevo
