#include "package/TwoPhaseProperties.h"

#include <cmath>
#include <string>

#include "capeobject/CapeFailure.h"
#include "capeobject/ErrorTexts.h"
#include "package/Fugacity.h"
#include "package/MaterialPhaseAccess.h"
#include "package/PerturbationDerivatives.h"
#include "package/names/PropertyNameTables.h"

namespace tarnevo {
namespace {

constexpr int kLiquidPhase = 0;
constexpr int kVaporPhase = 1;
const wchar_t* const kPhaseWord[2] = {L"liquid", L"vapor"};

std::wstring BstrText(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

// Point kinds: base, temperature, pressure, liquid composition, vapour composition.
enum Kind { kBase = 0, kTemperature, kPressure, kLiquidComposition, kVaporComposition };

const wchar_t* PointSuffix(int kind) {
    switch (kind) {
    case kTemperature: return L"temperature perturbation";
    case kPressure: return L"pressure perturbation";
    case kLiquidComposition: return L"liquid composition perturbation";
    case kVaporComposition: return L"vapor composition perturbation";
    default: return L"";
    }
}

}  // namespace

void TwoPhaseCalculation::ReadPhaseLabels(const VARIANT& phaseLabels) {
    VariantArray labels;
    labels.Attach(phaseLabels, false);
    std::wstring reason;
    if (!labels.Validate(VT_BSTR, reason)) throw CapeFailure(L"Invalid phase list: " + reason);
    if (labels.Count() != 2) throw CapeFailure(L"Invalid phase list: expected two phases");
    labels.Lock();
    const BSTR* elements = labels.Elements<BSTR>();
    for (int p = 0; p < 2; ++p) {
        int kph = 0;
        if (!PhaseSelector(elements[p], kph))
            throw CapeFailure(L"Invalid or unsupported phase: " +
                              (elements[p] ? BstrText(elements[p]) : std::wstring(L"NULL")));
        phaseAt_[p] = kph == 1 ? kLiquidPhase : kVaporPhase;
    }
    if (phaseAt_[0] == phaseAt_[1]) throw CapeFailure(L"Phases cannot be identical");
}

void TwoPhaseCalculation::ReadProperties(const VARIANT& props) {
    ids_.clear();
    names_.clear();
    for (unsigned& f : forms_) f = 0;
    nameArray_.Release();
    nameArray_.Attach(props, false);
    std::wstring reason;
    if (!nameArray_.Validate(VT_BSTR, reason)) throw CapeFailure(L"Invalid property list: " + reason);
    if (nameArray_.Count() == 0) return;
    nameArray_.Lock();
    const BSTR* elements = nameArray_.Elements<BSTR>();
    const NameMap& map = NameTables().TwoPhaseProperties().map;
    for (LONG k = 0; k < nameArray_.Count(); ++k) {
        BSTR name = elements[k];
        if (!name || SysStringLen(name) == 0) throw CapeFailure(L"Property array contains empty strings");
        const std::wstring text = BstrText(name);
        const auto id = text.find(L'\0') == std::wstring::npos ? map.Find(text.c_str()) : std::nullopt;
        if (!id) throw CapeFailure(L"Unknown/unsupported two-phase property \"" + text + L"\"");
        ids_.push_back(*id);
        names_.push_back(name);
        forms_[BaseOf(*id)] |= 1u << FormOf(*id);
    }
}

void TwoPhaseCalculation::Calculate(const VARIANT& phaseLabels) {
    const std::size_t nc = context_.materialMap.size();
    const PropertyNameTables& tables = NameTables();
    for (int phase : {kLiquidPhase, kVaporPhase}) {
        const std::wstring word = kPhaseWord[phase];
        double temperature = 0, pressure = 0;
        std::vector<double> fractions;
        ReadPhaseState(context_.material, tables.Word(phase == kLiquidPhase ? Keyword::Liquid : Keyword::Vapor),
                       L"Failed to obtain " + word + L" composition, T & P from material object: ", nc,
                       (L"Invalid values for " + word + L" composition from material object: invalid number of values")
                           .c_str(),
                       temperature, pressure, fractions);
        SetPhaseState(phase, temperature, pressure, fractions);
    }
    if (forms_[kSurfaceTension] && base_.T[kLiquidPhase] != base_.T[kVaporPhase])
        throw CapeFailure(L"Surface tension calculations at phases of different temperature are not supported");
    EvaluatePoints();
    for (std::size_t k = 0; k < ids_.size(); ++k) {
        const HRESULT hr = context_.material->SetTwoPhaseProp(names_[k], phaseLabels, nullptr, Result(k));
        if (FAILED(hr))
            throw CapeFailure(L"Failed to set " + BstrText(names_[k]) + L" on material object: " +
                              GetCapeErrorText(context_.material, hr));
    }
}

void TwoPhaseCalculation::Compute(const std::vector<std::int32_t>& ids, double temperature, double pressure,
                                  const std::vector<double>& vapor, const std::vector<double>& liquid) {
    phaseAt_[0] = kVaporPhase;
    phaseAt_[1] = kLiquidPhase;
    ids_ = ids;
    for (unsigned& f : forms_) f = 0;
    for (std::int32_t id : ids_) forms_[BaseOf(id)] |= 1u << FormOf(id);
    SetPhaseState(kVaporPhase, temperature, pressure, vapor);
    SetPhaseState(kLiquidPhase, temperature, pressure, liquid);
    EvaluatePoints();
}

void TwoPhaseCalculation::SetPhaseState(int phase, double temperature, double pressure,
                                        const std::vector<double>& fractions) {
    const std::vector<std::int32_t>& map = context_.materialMap;
    base_.T[phase] = temperature;
    base_.P[phase] = pressure * 0.001;
    base_.x[phase].assign(context_.compounds.size(), 0.0);
    for (std::size_t j = 0; j < map.size(); ++j) base_.x[phase][map[j]] = fractions[j];
}

void TwoPhaseCalculation::EvaluatePoints() {
    const std::vector<std::int32_t>& map = context_.materialMap;
    const std::size_t nc = map.size();
    if (ids_.empty()) return;

    Evaluate(base_, kBase, 3, nullptr, 0x1Fu);
    unsigned forms = 0;
    for (unsigned f : forms_) forms |= f;
    if (forms & kTemperatureBit) {
        temperature_ = base_;
        for (double& T : temperature_.T) T *= 1 + kRelativeStep;
        dT_ = temperature_.T[kLiquidPhase] - base_.T[kLiquidPhase];
        Evaluate(temperature_, kTemperature, 3, &base_, kTemperatureBit);
    }
    if (forms & kPressureBit) {
        pressure_ = base_;
        for (double& P : pressure_.P) P *= 1 + kRelativeStep;
        dP_ = pressure_.P[kLiquidPhase] - base_.P[kLiquidPhase];
        Evaluate(pressure_, kPressure, 3, &base_, kPressureBit);
    }
    for (int phase : {kLiquidPhase, kVaporPhase}) {
        if (!(forms & (kMolesBit | kMolFractionBit))) break;
        steps_[phase].resize(nc);
        for (std::size_t j = 0; j < nc; ++j) steps_[phase][j] = CompositionStep(base_.x[phase][map[j]]);
        const int kind = phase == kLiquidPhase ? kLiquidComposition : kVaporComposition;
        if (forms & kMolesBit) {
            moles_[phase].assign(nc, base_);
            for (std::size_t j = 0; j < nc; ++j) {
                MoleNumberPoint(base_.x[phase], static_cast<std::size_t>(map[j]), steps_[phase][j],
                                moles_[phase][j].x[phase]);
                Evaluate(moles_[phase][j], kind, 1u << phase, &base_, kMolesBit);
            }
        }
        if (forms & kMolFractionBit) {
            fractions_[phase].assign(nc, base_);
            for (std::size_t j = 0; j < nc; ++j) {
                fractions_[phase][j].x[phase][map[j]] += steps_[phase][j];  // not renormalised
                Evaluate(fractions_[phase][j], kind, 1u << phase, &base_, kMolFractionBit);
            }
        }
    }
}

const VARIANT& TwoPhaseCalculation::Result(std::size_t k) {
    const std::size_t nc = context_.materialMap.size();
    const std::int32_t id = ids_[k];
    const std::int32_t form = FormOf(id);
    const bool composition = form == kDMoles || form == kDMolFraction;
    const bool sigma = BaseOf(id) == kSurfaceTension;
    const std::size_t count = sigma ? (composition ? 2 * nc : 1) : (composition ? 2 * nc * nc : nc);
    VariantArray& result = count == 1 ? context_.scalarResult
                           : composition ? context_.matrixResult
                                         : context_.compoundResult;
    double* values = PrepareResult(result, count);
    {
        const ArrayLock lock(result, std::adopt_lock);
        Values(id, values);
    }
    return result.Value();
}

void TwoPhaseCalculation::Evaluate(TwoPhasePoint& point, int kind, unsigned which, const TwoPhasePoint* guess,
                                   unsigned formBit) {
    RefpropBinding& refprop = context_.refprop;
    const std::wstring suffix = PointSuffix(kind);
    const bool compositionPoint = kind == kLiquidComposition || kind == kVaporComposition;
    for (int phase : {kLiquidPhase, kVaporPhase}) {
        if (!(which & (1u << phase))) continue;
        const std::wstring word = kPhaseWord[phase];
        point.rho[phase] = guess ? guess->rho[phase] : kUnsetValue;
        const int ierr = refprop.TPRHO(point.T[phase], point.P[phase], point.x[phase].data(),
                                       phase == kLiquidPhase ? 1 : 2, point.rho[phase]);
        if (ierr > 0) {
            std::wstring message = compositionPoint ? L"Failed to get density at " + word +
                                                          L" composition perturbation for given conditions: "
                                   : kind == kBase ? L"Failed to get " + word + L" density for given conditions: "
                                                   : L"Failed to get " + word + L" density at " + suffix +
                                                         L" for given conditions: ";
            throw CapeFailure(message + GetRefpropMessage(refprop));
        }
        if (ierr < 0)
            ReportRefpropWarning(refprop, context_.diagnostics,
                                 L"Density calculation " + word + L" phase" +
                                     (kind == kBase ? std::wstring()
                                                    : compositionPoint ? std::wstring(L" (composition perturbation)")
                                                                       : L" (" + suffix + L")"));
    }
    if ((forms_[kKValue] | forms_[kLogKValue]) & formBit) {
        std::wstring error;
        for (int phase : {kLiquidPhase, kVaporPhase}) {
            if (!(which & (1u << phase))) continue;
            if (!ComputePhi(refprop, context_.diagnostics, point.T[phase], point.P[phase], point.rho[phase],
                            point.x[phase], point.phi[phase], error))
                throw CapeFailure(error);
        }
    }
    if (forms_[kSurfaceTension] & formBit) {
        const int ierr = refprop.SURTEN(point.T[kLiquidPhase], point.rho[kLiquidPhase], point.rho[kVaporPhase],
                                        point.x[kLiquidPhase].data(), point.x[kVaporPhase].data(), point.sigma);
        if (ierr > 0)
            throw CapeFailure(L"Failed to get surface tension" + (kind == kBase ? std::wstring() : L" at " + suffix) +
                              L" for given conditions: " + GetRefpropMessage(refprop));
        if (ierr < 0)
            ReportRefpropWarning(refprop, context_.diagnostics,
                                 L"Surface tension" + (kind == kBase ? std::wstring() : L" (" + suffix + L")"));
        if (point.sigma < 0) throw CapeFailure(L"No data");
    }
}

void TwoPhaseCalculation::Values(std::int32_t id, double* out) const {
    const std::vector<std::int32_t>& map = context_.materialMap;
    const std::size_t nc = map.size();
    const std::int32_t base = BaseOf(id);
    const std::int32_t form = FormOf(id);
    const int first = phaseAt_[0], second = phaseAt_[1];
    auto ratio = [&](const TwoPhasePoint& p, std::size_t i) {
        const std::int32_t k = map[i];
        const double K = p.phi[second][k] / p.phi[first][k];
        return base == kLogKValue ? std::log(K) : K;
    };
    if (base == kSurfaceTension) {
        switch (form) {
        case kValue: *out = base_.sigma; return;
        case kDTemperature: *out = (temperature_.sigma - base_.sigma) / dT_; return;
        case kDPressure: *out = (pressure_.sigma - base_.sigma) / (dP_ * 1000.0); return;
        default:
            for (int p = 0; p < 2; ++p) {
                const int phase = phaseAt_[p];
                const auto& points = form == kDMoles ? moles_[phase] : fractions_[phase];
                for (std::size_t j = 0; j < nc; ++j)
                    out[p * nc + j] = (points[j].sigma - base_.sigma) / steps_[phase][j];
            }
            return;
        }
    }
    switch (form) {
    case kValue:
        for (std::size_t i = 0; i < nc; ++i) out[i] = ratio(base_, i);
        return;
    case kDTemperature:
        for (std::size_t i = 0; i < nc; ++i) out[i] = (ratio(temperature_, i) - ratio(base_, i)) / dT_;
        return;
    case kDPressure:
        for (std::size_t i = 0; i < nc; ++i) out[i] = (ratio(pressure_, i) - ratio(base_, i)) / (dP_ * 1000.0);
        return;
    default:
        break;
    }
    // Composition blocks: first the listed first phase's composition, then the second's.
    for (int p = 0; p < 2; ++p) {
        const int phase = phaseAt_[p];
        const auto& points = form == kDMoles ? moles_[phase] : fractions_[phase];
        for (std::size_t j = 0; j < nc; ++j) {
            const double step = steps_[phase][j];
            for (std::size_t i = 0; i < nc; ++i) {
                const std::int32_t k = map[i];
                double& value = out[p * nc * nc + j * nc + i];
                if (base == kLogKValue) {
                    const double phi0 = base_.phi[phase][k];
                    const double change = (points[j].phi[phase][k] - phi0) / (step * phi0);
                    value = p == 0 ? -change : change;
                } else {
                    value = (ratio(points[j], i) - ratio(base_, i)) / step;
                }
            }
        }
    }
}

}  // namespace tarnevo
