#include "version10/PropertyCalculation10.h"


#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "capeobject/CapeFailure.h"
#include "capeobject/CapeOpenBaseObject.h"
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
    const ArrayLock lock(values);
    const double* elements = values.Elements<double>();
    fractions.assign(elements, elements + count);
    return fractions;
}

// What CalcProp keeps between calls: the material's compound mapping and the single-phase
// calculation working on it (its storage reused as the 1.1 routine's is).
struct Storage10 {
    explicit Storage10(Package10Context& context)
        : calculation{context.refprop,       nullptr, nullptr, context.compounds, map, context.composition,
                      context.scalarResult, context.compoundResult, context.matrixResult},
          singlePhase(calculation) {}

    std::vector<std::int32_t> map;
    PropertyCalculationContext calculation;
    SinglePhaseCalculation singlePhase;
};

// The kept storage, or new storage while the kept one is in use (a material calling back).
std::shared_ptr<Storage10> TakeStorage(Package10Context& context) {
    std::shared_ptr<void>& kept = context.storage;
    if (kept && kept.use_count() == 1) return std::static_pointer_cast<Storage10>(kept);
    auto storage = std::make_shared<Storage10>(context);
    if (!kept) kept = storage;
    return storage;
}

// The request of one CalcProp call after validation.
class Request10 {
public:
    Request10(Package10Context& context, const MaterialObject10& material, Storage10& storage, BSTR calcType,
              bool pure)
        : context_(context), material_(material), map_(storage.map), calculation_(storage.calculation),
          singlePhase_(storage.singlePhase), calcType_(calcType), pure_(pure) {
        calculation_.diagnostics = context.diagnostics;
    }

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

    // Computes every item for `phase` and stores it under `label`. A failure of the shared
    // code is recorded by the runner and its HRESULT returned; other failures throw.
    HRESULT Run(Phase10 phase, BSTR label) {
        if (pure_) {
            if (!pureComputed_) {
                const HRESULT hr = ComputePure();
                if (FAILED(hr)) return hr;
            }
            const std::size_t nc = map_.size();
            for (std::size_t k = 0; k < items_.size(); ++k) {
                {
                    double* out = PrepareResult(context_.compoundResult, nc);
                    const ArrayLock lock(context_.compoundResult, std::adopt_lock);
                    for (std::size_t i = 0; i < nc; ++i) out[i] = pureValues_[k * nc + i];
                }
                Store(k, label, context_.compoundResult.Value());
            }
            return S_OK;
        }
        if (phase == Phase10::VaporLiquid) {
            TwoPhaseCalculation calculation(calculation_);
            return RunShared(L"CalcTwoPhaseProp", calculation, label,
                             [&] { calculation.Compute(ids_, temperature_, pressure_, vapor_, liquid_); });
        }
        const bool vapor = phase == Phase10::Vapor;
        return RunShared(L"CalcSinglePhaseProp", singlePhase_, label, [&] {
            singlePhase_.Compute(ids_, vapor ? 2 : 1, temperature_, pressure_, vapor ? vapor_ : liquid_,
                                context_.diagnostics);
        });
    }

private:
    // `compute` then each item's values, run as the shared code `scope`; each stored at once.
    template <class Calculation>
    HRESULT RunShared(const wchar_t* scope, Calculation& calculation, BSTR label,
                      const std::function<void()>& compute) {
        HRESULT hr = context_.runShared(scope, L"ICapeThermoPropertyRoutine", compute);
        for (std::size_t k = 0; k < items_.size() && SUCCEEDED(hr); ++k) {
            const VARIANT* values = nullptr;
            hr = context_.runShared(scope, L"ICapeThermoPropertyRoutine", [&] { values = &calculation.Result(k); });
            if (SUCCEEDED(hr)) Store(k, label, *values);
        }
        return hr;
    }

    void Store(std::size_t k, BSTR label, const VARIANT& values) {
        const Requested& item = items_[k];
        const bool molar = pure_ ? MolarPureProperty(item.id)
                                 : item.kind == PropertyKind::SinglePhase && item.id != kMolecularWeightId &&
                                       IsMolarBase(BaseOf(item.id));
        const HRESULT hr = material_.TrySetProp(item.name, label, calcType_,
                                                molar ? NameTables().Word(Keyword::Mole) : nullptr, values);
        if (FAILED(hr))
            throw CapeFailure((pure_ ? L"Failed to set " + BstrToString(item.name) + L" for phase "
                                     : L"Failed to set values for " + BstrToString(item.name) + L" of phase ") +
                              BstrToString(label) + L": " + material_.ErrorText(hr));
    }

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
    const std::vector<std::int32_t>& map_;
    PropertyCalculationContext& calculation_;
    SinglePhaseCalculation& singlePhase_;
    BSTR calcType_;
    bool pure_;
    std::vector<Requested> items_;
    std::vector<std::int32_t> ids_;
    double temperature_ = 0, pressure_ = 0;
    std::vector<double> vapor_, liquid_;
    bool haveVapor_ = false, haveLiquid_ = false;
    bool pureComputed_ = false;
    std::vector<double> pureValues_;
};

}  // namespace

HRESULT CalcProp10(Package10Context& context, IDispatch* materialObject, const VARIANT& props, const VARIANT& phases,
                   BSTR calcType) {
    MaterialObject10 material(materialObject,
                              L"Failed to obtain ICapeThermoMaterialObject interface from material object: ");
    const std::shared_ptr<Storage10> storage = TakeStorage(context);
    storage->map = ResolveMaterialObjectCompounds(
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
    Request10 request(context, material, *storage, calcType, pure);
    for (LONG k = 0; k < propList.Count(); ++k) request.Add(ClassifyProperty(names[k], pure));
    for (const Requested& item : request.Items())
        for (LONG p = 0; p < phaseList.Count(); ++p) CheckPairing(item, labels[p], phaseKinds[p]);

    request.ReadInputs(phaseKinds);
    for (LONG p = 0; p < phaseList.Count(); ++p) {
        const HRESULT hr = request.Run(phaseKinds[p], labels[p]);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

}  // namespace tarnevo
