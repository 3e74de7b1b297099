#include "version10/PropertyCalculation10.h"

#include <comdef.h>

#include <cmath>
#include <string>
#include <vector>

#include "errors/CapeFailure.h"
#include "errors/CapeOpenBaseObject.h"
#include "package/MaterialPhaseAccess.h"
#include "package/SinglePhaseProperties.h"
#include "package/TDependentProperties.h"
#include "package/TwoPhaseProperties.h"
#include "package/names/PropertyNameTables.h"
#include "version10/MaterialObject10.h"

namespace tarnevo {
namespace {

enum class PropertyKind { SinglePhase, Pure, TwoPhase };
enum class Phase10 { Vapor, Liquid, VaporLiquid };

struct Requested {
    BSTR name;
    PropertyKind kind;
    std::int32_t id;
};

bool Equal(BSTR text, const wchar_t* word) {
    return CompareStringOrdinal(text, static_cast<int>(SysStringLen(text)), word, -1, TRUE) == CSTR_EQUAL;
}

std::wstring TextOrNull(BSTR text) { return text ? BstrToString(text) : std::wstring(L"NULL"); }

Phase10 ClassifyPhase(BSTR label) {
    if (!label || SysStringLen(label) == 0) throw CapeFailure(L"One or more empty strings in phase list");
    if (Equal(label, L"Vapor")) return Phase10::Vapor;
    if (Equal(label, L"Liquid")) return Phase10::Liquid;
    if (Equal(label, L"VaporLiquid")) return Phase10::VaporLiquid;
    throw CapeFailure(L"Unknown/unsupported phase: " + BstrToString(label));
}

std::optional<std::int32_t> Find(const NameMap& map, BSTR name) {
    if (!name || wcslen(name) != SysStringLen(name)) return std::nullopt;
    return map.Find(name);
}

Requested ClassifyProperty(BSTR name, bool pure) {
    const PropertyNameTables& tables = NameTables();
    const std::wstring text = TextOrNull(name);
    if (const auto id = Find(tables.SinglePhaseProperties().map, name)) {
        if (pure) throw CapeFailure(L"Pure calcType not allowed for " + text);
        return {name, PropertyKind::SinglePhase, *id};
    }
    if (const auto id = Find(tables.TDependentProperties().map, name)) {
        if (!pure) throw CapeFailure(L"Mixture calcType not allowed for " + text);
        return {name, PropertyKind::Pure, *id};
    }
    if (const auto id = Find(tables.TwoPhaseProperties().map, name)) {
        if (pure) throw CapeFailure(L"Pure calcType not allowed for " + text);
        if (FormOf(*id) == kDMoles || FormOf(*id) == kDMolFraction)
            throw CapeFailure(L"Composition derivatives of two-phase properties are not supported in CAPE-OPEN "
                              L"version 1.0 as they are not well defined");
        return {name, PropertyKind::TwoPhase, *id};
    }
    throw CapeFailure(L"Unknown/unsupported property " + text);
}

void CheckPairing(const Requested& item, BSTR label, Phase10 phase) {
    if (item.kind == PropertyKind::SinglePhase && phase == Phase10::VaporLiquid)
        throw CapeFailure(L"Single phase property " + BstrToString(item.name) +
                          L" is not supported for VaporLiquid phase");
    if (item.kind == PropertyKind::TwoPhase && phase != Phase10::VaporLiquid)
        throw CapeFailure(L"Two phase property " + BstrToString(item.name) + L" is not supported for " +
                          BstrToString(label) + L" phase");
}

// Pure-compound properties stored on a mole basis.
bool MolarPureProperty(std::int32_t id) {
    switch (id) {
    case kHeatCapacityOfLiquid:
    case kHeatOfVaporization:
    case kIdealGasEnthalpy:
    case kIdealGasEnthalpyDT:
    case kIdealGasEntropy:
    case kIdealGasHeatCapacity:
    case kVolumeChangeUponVaporization:
    case kVolumeOfLiquid: return true;
    default: return false;
    }
}

std::vector<double> ReadComposition(const MaterialObject10& material, Keyword phase, std::size_t count) {
    const PropertyNameTables& tables = NameTables();
    VariantArray values;
    const HRESULT hr = material.GetProp(tables.Word(Keyword::Fraction), tables.Word(phase), nullptr,
                                        tables.Word(Keyword::Mole), values);
    if (FAILED(hr))
        throw CapeFailure(std::wstring(phase == Keyword::Vapor ? L"Failed to get vapor composition"
                                                               : L"Failed to get liquid composition") +
                          L" from material object: " + material.ErrorText(hr));
    std::wstring reason;
    if (!values.Validate(VT_R8, reason)) throw CapeFailure(L"Invalid composition from material object: " + reason);
    if (static_cast<std::size_t>(values.Count()) != count)
        throw CapeFailure(L"Invalid composition from material object: unexpected number of values");
    std::vector<double> fractions(count);
    if (count == 0) return fractions;
    values.Lock();
    const double* elements = values.Elements<double>();
    fractions.assign(elements, elements + count);
    values.Unlock();
    return fractions;
}

// The request of one CalcProp call after validation.
class Request10 {
public:
    Request10(Package10Context& context, const MaterialObject10& material, std::vector<std::int32_t> map,
              BSTR calcType, bool pure)
        : context_(context), material_(material), map_(std::move(map)), calcType_(calcType), pure_(pure),
          calculation_{context.refprop,     context.diagnostics, nullptr,
                       context.compounds,   map_,                context.composition,
                       context.scalarResult, context.compoundResult, context.matrixResult} {}

    void Add(const Requested& item) {
        items_.push_back(item);
        ids_.push_back(item.id);
    }

    const std::vector<Requested>& Items() const noexcept { return items_; }

    void ReadInputs(const std::vector<Phase10>& phases) {
        const PropertyNameTables& tables = NameTables();
        temperature_ = material_.GetScalar(tables.Word(Keyword::Temperature), tables.Word(Keyword::Overall), nullptr,
                                           nullptr, {L"Failed to get temperature from material object: ",
                                                     L"Invalid temperature from material object: "});
        if (pure_) {
            if (temperature_ == kUnknownValue || std::isnan(temperature_))
                throw CapeFailure(L"Missing / unspecified value for temperature");
            if (!(temperature_ > 0)) throw CapeFailure(L"Temperature must be positive");
            return;
        }
        pressure_ = material_.GetScalar(tables.Word(Keyword::Pressure), tables.Word(Keyword::Overall), nullptr,
                                        nullptr, {L"Failed to get pressure from material object: ",
                                                  L"Invalid pressure from material object: "});
        for (Phase10 phase : phases) {
            if (phase != Phase10::Liquid && !haveVapor_) {
                vapor_ = ReadComposition(material_, Keyword::Vapor, map_.size());
                haveVapor_ = true;
            }
            if (phase != Phase10::Vapor && !haveLiquid_) {
                liquid_ = ReadComposition(material_, Keyword::Liquid, map_.size());
                haveLiquid_ = true;
            }
        }
    }

    // Computes the values of every item for `phase` into results_; a failure of the shared
    // code is recorded by the runner and its HRESULT returned.
    HRESULT Compute(Phase10 phase) {
        if (pure_) return pureComputed_ ? S_OK : ComputePure();
        results_.resize(items_.size());
        if (phase == Phase10::VaporLiquid) {
            return context_.runShared(L"CalcTwoPhaseProp", L"ICapeThermoPropertyRoutine", [&] {
                TwoPhaseCalculation calculation(calculation_);
                calculation.Compute(ids_, temperature_, pressure_, vapor_, liquid_);
                for (std::size_t k = 0; k < items_.size(); ++k) results_[k] = calculation.Result(k);
            });
        }
        return context_.runShared(L"CalcSinglePhaseProp", L"ICapeThermoPropertyRoutine", [&] {
            SinglePhaseCalculation calculation(calculation_);
            const bool vapor = phase == Phase10::Vapor;
            calculation.Compute(ids_, vapor ? 2 : 1, temperature_, pressure_, vapor ? vapor_ : liquid_,
                                context_.diagnostics);
            for (std::size_t k = 0; k < items_.size(); ++k) results_[k] = calculation.Result(k);
        });
    }

    void Store(BSTR label) {
        const PropertyNameTables& tables = NameTables();
        const std::wstring phaseText = BstrToString(label);
        for (std::size_t k = 0; k < items_.size(); ++k) {
            const Requested& item = items_[k];
            const std::wstring name = BstrToString(item.name);
            if (pure_) {
                const std::size_t nc = map_.size();
                double* out = PrepareResult(context_.compoundResult, nc);
                for (std::size_t i = 0; i < nc; ++i) out[i] = pureValues_[k * nc + i];
                if (out) context_.compoundResult.Unlock();
                material_.SetProp(item.name, label, calcType_,
                                  MolarPureProperty(item.id) ? tables.Word(Keyword::Mole) : nullptr,
                                  context_.compoundResult.Value(),
                                  L"Failed to set " + name + L" for phase " + phaseText + L": ");
                continue;
            }
            const bool molar = item.kind == PropertyKind::SinglePhase && item.id != kMolecularWeightId &&
                               IsMolarBase(BaseOf(item.id));
            material_.SetProp(item.name, label, calcType_, molar ? tables.Word(Keyword::Mole) : nullptr, results_[k],
                              L"Failed to set values for " + name + L" of phase " + phaseText + L": ");
        }
    }

private:
    HRESULT ComputePure() {
        pureComputed_ = true;
        pureValues_.assign(items_.size() * map_.size(), 0.0);
        return context_.runShared(L"GetTDependentProperty", L"ICapeThermoCompounds", [&] {
            TDependentWorkspace workspace{context_.refprop,           context_.diagnostics,
                                          context_.composition,       context_.liquidComposition,
                                          context_.vaporComposition,  context_.fugacityCoefficients};
            const TDependentCounts counts =
                EvaluateTDependentProperties(workspace, temperature_, map_, ids_, pureValues_.data());
            if (counts.valued == 0) throw CapeFailure(L"No data");
        });
    }

    Package10Context& context_;
    const MaterialObject10& material_;
    std::vector<std::int32_t> map_;
    BSTR calcType_;
    bool pure_;
    PropertyCalculationContext calculation_;
    std::vector<Requested> items_;
    std::vector<std::int32_t> ids_;
    double temperature_ = 0, pressure_ = 0;
    std::vector<double> vapor_, liquid_;
    bool haveVapor_ = false, haveLiquid_ = false;
    bool pureComputed_ = false;
    std::vector<double> pureValues_;
    std::vector<_variant_t> results_;
};

}  // namespace

HRESULT CalcProp10(Package10Context& context, IDispatch* materialObject, const VARIANT& props, const VARIANT& phases,
                   BSTR calcType) {
    MaterialObject10 material(materialObject,
                              L"Failed to obtain ICapeThermoMaterialObject interface from material object: ");
    std::vector<std::int32_t> map = ResolveMaterialObjectCompounds(
        material, context.compoundNames, context.compounds.size(),
        L"Failed to get the list of compound IDs from material object: ", L"Invalid list of compounds on material object: ");
    const bool mixture = calcType && Equal(calcType, L"Mixture");
    const bool pure = calcType && Equal(calcType, L"Pure");
    if (!mixture && !pure)
        throw CapeFailure(L"Invalid calcType \"" + TextOrNull(calcType) + L"\"; expected \"Mixture\" or \"Pure\"");

    VariantArray phaseList, propList;
    phaseList.Attach(phases, false);
    propList.Attach(props, false);
    std::wstring reason;
    if (!phaseList.Validate(VT_BSTR, reason)) throw CapeFailure(L"Invalid list of phases: " + reason);
    if (!propList.Validate(VT_BSTR, reason)) throw CapeFailure(L"Invalid list of properties: " + reason);
    if (phaseList.Count() == 0 || propList.Count() == 0) return S_OK;

    phaseList.Lock();
    propList.Lock();
    const BSTR* labels = phaseList.Elements<BSTR>();
    const BSTR* names = propList.Elements<BSTR>();
    std::vector<Phase10> phaseKinds;
    for (LONG p = 0; p < phaseList.Count(); ++p) phaseKinds.push_back(ClassifyPhase(labels[p]));
    Request10 request(context, material, std::move(map), calcType, pure);
    for (LONG k = 0; k < propList.Count(); ++k) request.Add(ClassifyProperty(names[k], pure));
    for (const Requested& item : request.Items())
        for (LONG p = 0; p < phaseList.Count(); ++p) CheckPairing(item, labels[p], phaseKinds[p]);

    request.ReadInputs(phaseKinds);
    for (LONG p = 0; p < phaseList.Count(); ++p) {
        const HRESULT hr = request.Compute(phaseKinds[p]);
        if (FAILED(hr)) return hr;
        request.Store(labels[p]);
    }
    return S_OK;
}

}  // namespace tarnevo
