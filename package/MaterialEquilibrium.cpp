#include "package/MaterialEquilibrium.h"

#include <algorithm>
#include <string>

#include "capeobject/CapeFailure.h"
#include "capeobject/CapeOpenBaseObject.h"
#include "capeobject/ErrorTexts.h"
#include "package/FlashExecution.h"
#include "package/FlashSpecification.h"
#include "package/names/PropertyNameTables.h"

namespace tarnevo {
namespace {

BSTR Word(Keyword word) noexcept { return NameTables().Word(word); }

bool ReadsTemperature(FlashType t) noexcept {
    // S-H does not read it: HSFLSHdll does not use it.
    return t == FlashType::TH || t == FlashType::TS || t == FlashType::TU || t == FlashType::TRho ||
           t == FlashType::TQMole || t == FlashType::TQMass;
}
bool ReadsPressure(FlashType t) noexcept {
    return t == FlashType::PRho || t == FlashType::PH || t == FlashType::PS || t == FlashType::PU ||
           t == FlashType::PQMole || t == FlashType::PQMass;
}
bool ReadsEnthalpy(FlashType t) noexcept {
    return t == FlashType::RhoH || t == FlashType::TH || t == FlashType::PH || t == FlashType::SH;
}
bool ReadsEntropy(FlashType t) noexcept {
    return t == FlashType::RhoS || t == FlashType::TS || t == FlashType::PS || t == FlashType::SH;
}
bool ReadsVolume(FlashType t) noexcept {
    return t == FlashType::RhoH || t == FlashType::RhoS || t == FlashType::RhoU || t == FlashType::TRho ||
           t == FlashType::PRho;
}
bool ReadsInternalEnergy(FlashType t) noexcept {
    return t == FlashType::RhoU || t == FlashType::TU || t == FlashType::PU;
}

class MaterialEquilibrium {
public:
    MaterialEquilibrium(EquilibriumContext& context, FlashType type, const FlashBases& bases)
        : c_(context), type_(type), bases_(bases) {}

    void Run() {
        const FlashRoute route = ReadPresentPhases();
        ReadComposition();
        ReadSpecifiedValues();
        RunFlashRoutine(c_.refprop, c_.diagnostics, type_, route, values_, c_.z, c_.x, c_.y);
        const double pressure = pressureIsInput_ ? inputPressure_ : values_.P * 1000;
        const PresentPhases phases = DecidePresentPhases(type_, values_.q);
        if (phases.vapor && phases.liquid && (type_ == FlashType::TQMass || type_ == FlashType::PQMass))
            values_.q = MassToMoleVaporFraction(values_.q, c_.x, c_.y, c_.compounds, c_.map);
        WritePresentPhases(phases);
        if (phases.vapor) WritePhase(Keyword::Vapor, values_.T, pressure, c_.y, values_.q, L"vapor");
        if (phases.liquid) WritePhase(Keyword::Liquid, values_.T, pressure, c_.x, 1 - values_.q, L"liquid");
        if (!temperatureIsInput_) WriteOverall(Keyword::Temperature, values_.T, L"Failed to set overall temperature: ");
        if (!pressureIsInput_) WriteOverall(Keyword::Pressure, pressure, L"Failed to set overall pressure: ");
    }

private:
    [[noreturn]] void MaterialFailure(const std::wstring& prefix, HRESULT hr) const {
        throw CapeFailure(prefix + GetCapeErrorText(c_.material, hr));
    }

    // The route from the listed phases: two-phase when both are listed.
    FlashRoute ReadPresentPhases() {
        VariantArray labels, status;
        const HRESULT hr = c_.material->GetPresentPhases(labels.ResetForOutput(), status.ResetForOutput());
        if (FAILED(hr)) MaterialFailure(L"Failed to get a list of present phases from the material object: ", hr);
        status.Release();
        std::wstring reason;
        if (!labels.Validate(VT_BSTR, reason))
            throw CapeFailure(L"Invalid list of present phases from material object: " + reason);
        if (labels.Count() == 0) throw CapeFailure(L"Cannot perform flash with zero phases");
        bool vapor = false, liquid = false;
        const ArrayLock lock(labels);
        const BSTR* elements = labels.Elements<BSTR>();
        for (LONG i = 0; i < labels.Count(); ++i) {
            const BSTR label = elements[i];
            if (label && IsPlainBstr(label) && SameName(label, L"Vapor"))
                vapor = true;
            else if (label && IsPlainBstr(label) && SameName(label, L"Liquid"))
                liquid = true;
            else
                throw CapeFailure(L"Unknown phase \"" + (label ? BstrToString(label) : std::wstring(L"NULL")) +
                                  L"\" returned in list of present phases of material object");
        }
        if (vapor && liquid) return FlashRoute::TwoPhase;
        return vapor ? FlashRoute::Vapor : FlashRoute::Liquid;
    }

    void ReadComposition() {
        VariantArray fractions;
        double t = 0, p = 0;
        HRESULT hr = c_.material->GetOverallTPFraction(&t, &p, fractions.ResetForOutput());
        if (SUCCEEDED(hr)) {
            if (type_ == FlashType::TP || ReadsTemperature(type_)) SetTemperatureInput(t);
            if (type_ == FlashType::TP || ReadsPressure(type_)) SetPressureInput(p);
        } else if (type_ == FlashType::TP) {
            MaterialFailure(L"Failed to get T, P and composition from material object: ", hr);
        } else {
            hr = c_.material->GetOverallProp(Word(Keyword::Fraction), Word(Keyword::Mole), fractions.ResetForOutput());
            if (FAILED(hr)) MaterialFailure(L"Failed to get composition from material object: ", hr);
        }
        c_.z.assign(c_.compounds.size(), 0.0);
        std::wstring reason;
        if (!fractions.Validate(VT_R8, reason))
            throw CapeFailure(L"Invalid values for overall composition from material object: " + reason);
        if (static_cast<std::size_t>(fractions.Count()) != c_.map.size())
            throw CapeFailure(L"Invalid values for overall composition from material object: invalid number of values");
        if (c_.map.empty()) return;
        const ArrayLock lock(fractions);
        const double* elements = fractions.Elements<double>();
        for (std::size_t i = 0; i < c_.map.size(); ++i) c_.z[static_cast<std::size_t>(c_.map[i])] = elements[i];
    }

    void ReadSpecifiedValues() {
        if (ReadsTemperature(type_) && !temperatureIsInput_)
            SetTemperatureInput(OverallScalar(Keyword::Temperature, nullptr, L"temperature"));
        if (ReadsPressure(type_) && !pressureIsInput_)
            SetPressureInput(OverallScalar(Keyword::Pressure, nullptr, L"pressure"));
        if (ReadsEnthalpy(type_)) values_.h = MolarValue(Keyword::Enthalpy, bases_.enthalpyMass, L"enthalpy");
        if (ReadsEntropy(type_)) values_.s = MolarValue(Keyword::Entropy, bases_.entropyMass, L"entropy");
        if (ReadsVolume(type_)) values_.D = 0.001 / MolarValue(Keyword::Volume, bases_.volumeMass, L"volume");
        if (ReadsInternalEnergy(type_))
            values_.e = MolarValue(Keyword::InternalEnergy, bases_.internalEnergyMass, L"internal energy");
        if (IsVaporFractionFlash(type_)) {
            const bool mass = type_ == FlashType::TQMass || type_ == FlashType::PQMass;
            VariantArray value;
            const HRESULT hr = c_.material->GetSinglePhaseProp(Word(Keyword::PhaseFraction), Word(Keyword::Vapor),
                                                               Word(mass ? Keyword::Mass : Keyword::Mole),
                                                               value.ResetForOutput());
            values_.q = Scalar(hr, value, L"vapor fraction");
        }
    }

    // A specified value per mole; a mass-basis value per kg is converted with the molecular
    // weight of the overall composition.
    double MolarValue(Keyword property, bool mass, const wchar_t* name) {
        const double value = OverallScalar(property, Word(mass ? Keyword::Mass : Keyword::Mole), name);
        return mass ? value * 0.001 * MeanMolecularWeight(c_.z, c_.compounds, c_.map) : value;
    }

    double OverallScalar(Keyword property, BSTR basis, const wchar_t* name) {
        VariantArray value;
        const HRESULT hr = c_.material->GetOverallProp(Word(property), basis, value.ResetForOutput());
        return Scalar(hr, value, name);
    }

    double Scalar(HRESULT hr, VariantArray& value, const wchar_t* name) {
        const std::wstring what(name);
        if (FAILED(hr)) MaterialFailure(L"Failed to get " + what + L" from material object: ", hr);
        std::wstring reason;
        if (!value.Validate(VT_R8, reason))
            throw CapeFailure(L"Invalid value for " + what + L" from material object: " + reason);
        if (value.Count() != 1)
            throw CapeFailure(L"Invalid value for " + what + L" from material object: scalar expected");
        return value.GetDouble(0);
    }

    void SetTemperatureInput(double t) {
        values_.T = t;
        temperatureIsInput_ = true;
    }
    // Pa from the material; the flash works in kPa. The input is written back unchanged.
    void SetPressureInput(double p) {
        inputPressure_ = p;
        values_.P = p * 0.001;
        pressureIsInput_ = true;
    }

    void WritePresentPhases(const PresentPhases& phases) {
        const LONG count = (phases.vapor ? 1 : 0) + (phases.liquid ? 1 : 0);
        VariantArray labels, status;
        labels.Create(count, VT_BSTR);
        status.Create(count, VT_I4);
        LONG i = 0;
        if (phases.vapor) labels.PutString(i++, L"Vapor");
        if (phases.liquid) labels.PutString(i++, L"Liquid");
        for (i = 0; i < count; ++i) status.PutLong(i, 1);
        const HRESULT hr = c_.material->SetPresentPhases(labels.Value(), status.Value());
        if (FAILED(hr)) MaterialFailure(L"Failed to set present phases after flash calculation: ", hr);
    }

    const VARIANT& ScalarValue(double value) {
        SizeCompoundResult(c_.scalarResult, 1);
        {
            const ArrayLock lock(c_.scalarResult);
            c_.scalarResult.Elements<double>()[0] = value;
        }
        return c_.scalarResult.Value();
    }

    // Composition in the material's compound order.
    const VARIANT& CompositionValue(const std::vector<double>& packageFractions) {
        const LONG count = static_cast<LONG>(c_.map.size());
        SizeCompoundResult(c_.compoundResult, count);
        if (count == 0) return c_.compoundResult.Value();
        {
            const ArrayLock lock(c_.compoundResult);
            double* elements = c_.compoundResult.Elements<double>();
            for (std::size_t i = 0; i < c_.map.size(); ++i)
                elements[i] = packageFractions[static_cast<std::size_t>(c_.map[i])];
        }
        return c_.compoundResult.Value();
    }

    void WritePhase(Keyword phase, double t, double p, const std::vector<double>& fractions, double fraction,
                    const std::wstring& name) {
        ICapeThermoMaterial* m = c_.material;
        HRESULT hr = m->SetSinglePhaseProp(Word(Keyword::Temperature), Word(phase), nullptr, ScalarValue(t));
        if (FAILED(hr)) MaterialFailure(L"Failed to set " + name + L" temperature: ", hr);
        hr = m->SetSinglePhaseProp(Word(Keyword::Pressure), Word(phase), nullptr, ScalarValue(p));
        if (FAILED(hr)) MaterialFailure(L"Failed to set " + name + L" pressure: ", hr);
        hr = m->SetSinglePhaseProp(Word(Keyword::Fraction), Word(phase), Word(Keyword::Mole),
                                   CompositionValue(fractions));
        if (FAILED(hr)) MaterialFailure(L"Failed to set " + name + L" composition: ", hr);
        hr = m->SetSinglePhaseProp(Word(Keyword::PhaseFraction), Word(phase), Word(Keyword::Mole),
                                   ScalarValue(fraction));
        if (FAILED(hr)) MaterialFailure(L"Failed to set " + name + L" phase fraction: ", hr);
    }

    void WriteOverall(Keyword property, double value, const wchar_t* failurePrefix) {
        const HRESULT hr = c_.material->SetOverallProp(Word(property), nullptr, ScalarValue(value));
        if (FAILED(hr)) MaterialFailure(failurePrefix, hr);
    }

    EquilibriumContext& c_;
    FlashType type_;
    FlashBases bases_;
    FlashValues values_;
    bool temperatureIsInput_ = false;
    bool pressureIsInput_ = false;
    double inputPressure_ = 0;
};

}  // namespace

void CalcMaterialEquilibrium(EquilibriumContext& context, FlashType type, const FlashBases& bases) {
    MaterialEquilibrium(context, type, bases).Run();
}

}  // namespace tarnevo
