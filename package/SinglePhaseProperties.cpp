#include "package/SinglePhaseProperties.h"

#include <cmath>
#include <cwchar>
#include <string>

#include "capeobject/CapeFailure.h"
#include "capeobject/ErrorTexts.h"
#include "package/MaterialPhaseAccess.h"
#include "package/PerturbationDerivatives.h"
#include "package/names/PropertyNameTables.h"

namespace tarnevo {
namespace {

std::wstring BstrText(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

}  // namespace

void SinglePhaseCalculation::Run(ICapeThermoMaterial* material, ICapeDiagnostic* diagnostics, const VARIANT& props,
                                 BSTR phaseLabel) {
    struct BusyFlag {
        bool& flag;
        explicit BusyFlag(bool& f) : flag(f) { flag = true; }
        ~BusyFlag() { flag = false; }
    } busy(busy_);
    context_.material = material;
    context_.diagnostics = diagnostics;
    try {
        RunBody(props, phaseLabel);
    } catch (...) {
        nameArray_.Release();
        throw;
    }
    nameArray_.Release();
}

void SinglePhaseCalculation::RunBody(const VARIANT& props, BSTR phaseLabel) {
    request_.Clear();
    int kph = 0;
    if (!phaseLabel) throw CapeFailure(L"Empty phase label");
    if (!PhaseSelector(phaseLabel, kph)) throw CapeFailure(L"Unknown phase label: " + BstrText(phaseLabel));

    ReadRequest(props);

    double temperature = 0, pressure = 0;
    ReadPhaseState(context_.material, phaseLabel,
                   L"Failed to obtain " + BstrText(phaseLabel) + L" composition, T & P from material object: ",
                   context_.materialMap.size(),
                   L"Invalid values for composition from material object: invalid number of values", temperature,
                   pressure, fractions_);
    EvaluateAt(kph, temperature, pressure, fractions_);
    for (std::size_t k = 0; k < names_.size(); ++k) Write(k, names_[k], phaseLabel);
}

void SinglePhaseCalculation::Compute(const std::vector<std::int32_t>& ids, int kph, double temperature,
                                     double pressure, const std::vector<double>& fractions,
                                     ICapeDiagnostic* diagnostics) {
    context_.diagnostics = diagnostics;
    request_.Clear();
    for (std::int32_t id : ids) request_.Add(id);
    EvaluateAt(kph, temperature, pressure, fractions);
}

void SinglePhaseCalculation::EvaluateAt(int kph, double temperature, double pressure,
                                        const std::vector<double>& fractions) {
    const std::vector<std::int32_t>& map = context_.materialMap;
    std::vector<double>& x = context_.composition;
    x.assign(context_.compounds.size(), 0.0);
    for (std::size_t j = 0; j < map.size(); ++j) x[map[j]] = fractions[j];

    EvaluationPoint& base = points_.base;
    base.T = temperature;
    base.P = pressure * 0.001;
    base.x = x;
    request_.ApplySuperseding();
    if (request_.NeedsRefprop()) Evaluate(kph);
}

void SinglePhaseCalculation::ReadRequest(const VARIANT& props) {
    names_.clear();
    nameArray_.Release();
    nameArray_.Attach(props, false);
    std::wstring reason;
    if (!nameArray_.Validate(VT_BSTR, reason)) throw CapeFailure(L"Invalid property list: " + reason);
    if (nameArray_.Count() == 0) return;
    nameArray_.Lock();  // the names are passed on to the material as they are
    const BSTR* elements = nameArray_.Elements<BSTR>();
    const NameMap& map = NameTables().SinglePhaseProperties().map;
    for (LONG k = 0; k < nameArray_.Count(); ++k) {
        BSTR name = elements[k];
        const UINT length = name ? SysStringLen(name) : 0;
        if (length == 0) throw CapeFailure(L"Property array contains empty strings");
        const auto id = wcslen(name) == length ? map.Find(name) : std::nullopt;
        if (!id) throw CapeFailure(L"Unknown/unsupported single phase property \"" + BstrText(name) + L"\"");
        request_.Add(*id);
        names_.push_back(name);
    }
}

void SinglePhaseCalculation::Evaluate(int kph) {
    PhaseEvaluator evaluator(context_.refprop, context_.diagnostics, context_.materialMap, kph);
    EvaluationPoint& base = points_.base;
    evaluator.Evaluate(base, PointKind::Base, kUnsetValue, request_,
                       kValueBit | kTemperatureBit | kPressureBit | kMolesBit | kMolFractionBit);
    points_.enthalpyDerivatives = request_.enthalpyDPressure;
    if (request_.enthalpyDPressure) evaluator.EvaluateEnthalpyDerivatives(base);
    EvaluatePerturbedPoints(evaluator, request_, context_.materialMap, points_);
}

const VARIANT& SinglePhaseCalculation::Result(std::size_t k) {
    const std::int32_t id = request_.ids[k];
    const std::size_t nc = context_.materialMap.size();
    const std::size_t count = ValueCount(id, nc);
    const std::int32_t base = id == kMolecularWeightId ? -1 : BaseOf(id);
    // Shape: one value, one per compound, or nc x nc.
    const bool perCompound = base >= 0 && IsPerCompoundBase(base);
    const bool composition = base >= 0 && (FormOf(id) == kDMoles || FormOf(id) == kDMolFraction);
    VariantArray& result = perCompound && composition       ? context_.matrixResult
                           : perCompound || composition     ? context_.compoundResult
                                                            : context_.scalarResult;
    double* values = PrepareResult(result, count);
    {
        const ArrayLock lock(result, std::adopt_lock);
        if (id == kMolecularWeightId) values[0] = MolecularWeight();
        else if (FormOf(id) == kValue) BaseValue(base, points_.base, context_.materialMap, values);
        else FormDerivative(base, FormOf(id), points_, context_.materialMap, values);
    }
    return result.Value();
}

void SinglePhaseCalculation::Write(std::size_t k, BSTR name, BSTR phaseLabel) {
    const VARIANT& values = Result(k);
    const std::int32_t id = request_.ids[k];
    const bool molar = id != kMolecularWeightId && IsMolarBase(BaseOf(id));
    const BSTR basis = molar ? NameTables().Word(Keyword::Mole) : nullptr;
    const HRESULT hr = context_.material->SetSinglePhaseProp(name, phaseLabel, basis, values);
    if (FAILED(hr))
        throw CapeFailure(L"Failed to set " + BstrText(name) + L": " + GetCapeErrorText(context_.material, hr));
}

double SinglePhaseCalculation::MolecularWeight() const {
    double sum = 0;
    for (std::int32_t k : context_.materialMap) {
        const double x = context_.composition[k];
        if (!(x > 0)) continue;
        const CompoundRecord& compound = context_.compounds[k];
        const double weight = compound.molecularWeight;
        if (weight == kUnknownValue || std::isnan(weight))
            throw CapeFailure(L"Missing molecular weight for compound " + compound.id);
        sum += x * weight;
    }
    return sum;
}

}  // namespace tarnevo
