#include "tools/host/HostMaterial.h"

#include <algorithm>
#include <mutex>
#include <set>

#include "tools/host/VariantValues.h"

namespace tarnevo::host {
namespace {

constexpr const wchar_t kMaterial[] = L"ICapeThermoMaterial";

// Live materials of this process, for FromUnknown (CopyFromMaterial, tests).
struct LiveMaterials {
    std::mutex mutex;
    std::set<CHostMaterial*> materials;
};

LiveMaterials& Live() {
    static LiveMaterials live;
    return live;
}

std::optional<std::wstring> OptionalText(BSTR text) {
    if (!text) return std::nullopt;
    return std::wstring(text, SysStringLen(text));
}

std::wstring Text(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// " (basis \"mole\")" or nothing for the undefined basis.
std::wstring BasisPart(const std::wstring& basis) { return basis.empty() ? L"" : L" (basis " + Quoted(basis) + L")"; }

std::wstring NotSetMessage(PropertyScope scope, const std::wstring& property, const std::vector<std::wstring>& phases,
                           const std::wstring& basis) {
    std::wstring where;
    switch (scope) {
        case PropertyScope::Overall: where = L"the overall material"; break;
        case PropertyScope::SinglePhase: where = L"phase " + Quoted(phases.at(0)); break;
        case PropertyScope::TwoPhase:
            where = L"phases " + Quoted(phases.at(0)) + L" and " + Quoted(phases.at(1));
            break;
    }
    return L"Property " + Quoted(property) + BasisPart(basis) + L" is not set for " + where;
}

// Replaces the caller's [in,out] VARIANT with a copy of `value`.
void ReturnValue(VARIANT* out, const VARIANT& value) {
    _variant_t copy(value);
    VariantClear(out);
    *out = copy.Detach();
}

std::optional<std::vector<double>> DoublesOf(const StoredProperty* stored) {
    if (!stored) return std::nullopt;
    try {
        return ReadDoubles(stored->values);
    } catch (const ValueError&) {
        return std::nullopt;
    }
}

}  // namespace

CHostMaterial::CHostMaterial(std::vector<std::wstring> compounds) : compounds_(std::move(compounds)) {
    LiveMaterials& live = Live();
    std::lock_guard<std::mutex> lock(live.mutex);
    live.materials.insert(this);
}

CHostMaterial::~CHostMaterial() {
    LiveMaterials& live = Live();
    std::lock_guard<std::mutex> lock(live.mutex);
    live.materials.erase(this);
}

CHostMaterial::Ptr CHostMaterial::Create(std::vector<std::wstring> compounds) {
    return MakeComObject<CHostMaterial>(std::move(compounds));
}

CHostMaterial* CHostMaterial::FromUnknown(IUnknown* object) noexcept {
    if (!object) return nullptr;
    Microsoft::WRL::ComPtr<IUnknown> identity;
    if (FAILED(object->QueryInterface(IID_PPV_ARGS(&identity)))) return nullptr;
    LiveMaterials& live = Live();
    std::lock_guard<std::mutex> lock(live.mutex);
    for (CHostMaterial* material : live.materials)
        if (static_cast<IUnknown*>(static_cast<ICapeThermoMaterial*>(material)) == identity.Get()) return material;
    return nullptr;
}

// --- Stored values ---------------------------------------------------------------------------

void CHostMaterial::PutOverall(const std::wstring& property, const std::wstring& basis,
                               const std::vector<double>& values) {
    PutOverallRaw(property, basis, DoubleArray(values));
}

void CHostMaterial::PutOverallRaw(const std::wstring& property, const std::wstring& basis, const VARIANT& values) {
    store_.Put(PropertyScope::Overall, property, {}, basis, values);
}

void CHostMaterial::PutSinglePhase(const std::wstring& property, const std::wstring& phase, const std::wstring& basis,
                                   const std::vector<double>& values) {
    PutSinglePhaseRaw(property, phase, basis, DoubleArray(values));
}

void CHostMaterial::PutSinglePhaseRaw(const std::wstring& property, const std::wstring& phase,
                                      const std::wstring& basis, const VARIANT& values) {
    store_.Put(PropertyScope::SinglePhase, property, {phase}, basis, values);
}

void CHostMaterial::PutTwoPhase(const std::wstring& property, const std::vector<std::wstring>& phases,
                                const std::wstring& basis, const std::vector<double>& values) {
    PutTwoPhaseRaw(property, phases, basis, DoubleArray(values));
}

void CHostMaterial::PutTwoPhaseRaw(const std::wstring& property, const std::vector<std::wstring>& phases,
                                   const std::wstring& basis, const VARIANT& values) {
    store_.Put(PropertyScope::TwoPhase, property, phases, basis, values);
}

void CHostMaterial::PutPhaseState(const std::wstring& phase, double temperature, double pressure,
                                  const std::vector<double>& fractions) {
    PutSinglePhase(L"temperature", phase, L"", {temperature});
    PutSinglePhase(L"pressure", phase, L"", {pressure});
    PutSinglePhase(L"fraction", phase, L"mole", fractions);
}

void CHostMaterial::PutOverallState(double temperature, double pressure, const std::vector<double>& fractions) {
    PutOverall(L"temperature", L"", {temperature});
    PutOverall(L"pressure", L"", {pressure});
    PutOverall(L"fraction", L"mole", fractions);
}

void CHostMaterial::PutPresentPhases(const std::vector<std::wstring>& labels, std::vector<long> status) {
    if (labels.empty()) {
        PutPresentPhasesRaw(_variant_t(), _variant_t());
        return;
    }
    if (status.empty()) status.assign(labels.size(), 1L);
    PutPresentPhasesRaw(StringArray(labels), LongArray(status));
}

void CHostMaterial::PutPresentPhasesRaw(const VARIANT& labels, const VARIANT& status) {
    store_.PutPresentPhases(labels, status);
}

std::optional<std::vector<double>> CHostMaterial::Overall(const std::wstring& property,
                                                          const std::wstring& basis) const {
    return DoublesOf(store_.Find(PropertyScope::Overall, property, {}, basis));
}

std::optional<std::vector<double>> CHostMaterial::SinglePhase(const std::wstring& property, const std::wstring& phase,
                                                              const std::wstring& basis) const {
    return DoublesOf(store_.Find(PropertyScope::SinglePhase, property, {phase}, basis));
}

std::optional<std::vector<double>> CHostMaterial::TwoPhase(const std::wstring& property,
                                                           const std::vector<std::wstring>& phases,
                                                           const std::wstring& basis) const {
    return DoublesOf(store_.Find(PropertyScope::TwoPhase, property, phases, basis));
}

std::vector<std::wstring> CHostMaterial::PresentPhaseLabels() const { return ReadStrings(store_.PresentLabels()); }

std::vector<long> CHostMaterial::PresentPhaseStatus() const { return ReadLongs(store_.PresentStatus()); }

// --- Checks ------------------------------------------------------------------------------------

std::wstring CHostMaterial::KnownPhase(BSTR phaseLabel) const {
    std::wstring label = Text(phaseLabel);
    if (label.empty()) throw HostFailure{ECapeInvalidArgumentHR, L"Phase label is empty"};
    for (const std::wstring& known : knownPhases_)
        if (EqualsNoCase(known, label)) return known;
    throw HostFailure{ECapeInvalidArgumentHR, L"Unknown phase label " + Quoted(label)};
}

std::vector<std::wstring> CHostMaterial::KnownPhasePair(const VARIANT& phaseLabels) const {
    std::vector<std::wstring> labels = ReadStrings(phaseLabels);
    if (labels.size() != 2)
        throw HostFailure{ECapeInvalidArgumentHR, L"Two phase labels expected, got " + std::to_wstring(labels.size())};
    std::vector<std::wstring> known;
    for (const std::wstring& label : labels) {
        _bstr_t text(label.c_str());
        known.push_back(KnownPhase(text.GetBSTR()));
    }
    return known;
}

std::wstring CHostMaterial::CheckedBasis(BSTR basis) const {
    std::wstring text = Text(basis);
    if (text.empty()) return text;
    if (EqualsNoCase(text, L"mole")) return L"mole";
    if (EqualsNoCase(text, L"mass")) return L"mass";
    throw HostFailure{ECapeInvalidArgumentHR, L"Unknown basis " + Quoted(text)};
}

std::wstring CHostMaterial::CheckedProperty(BSTR property) const {
    std::wstring name = Text(property);
    if (name.empty()) throw HostFailure{ECapeInvalidArgumentHR, L"Property name is empty"};
    return name;
}

_variant_t CHostMaterial::CheckedValues(const std::wstring& property, const VARIANT& values) const {
    std::vector<double> numbers;
    try {
        numbers = ReadDoubles(values);
    } catch (const ValueError& error) {
        throw HostFailure{ECapeInvalidArgumentHR, L"Invalid values for " + Quoted(property) + L": " + error.message()};
    }
    if (EqualsNoCase(property, L"fraction") && numbers.size() != compounds_.size())
        throw HostFailure{ECapeInvalidArgumentHR, L"Invalid values for \"fraction\": " +
                                                       std::to_wstring(compounds_.size()) + L" values expected, got " +
                                                       std::to_wstring(numbers.size())};
    return DoubleArray(numbers);
}

const StoredProperty& CHostMaterial::Required(PropertyScope scope, const std::wstring& property,
                                              const std::vector<std::wstring>& phases,
                                              const std::wstring& basis) const {
    const StoredProperty* stored = store_.Find(scope, property, phases, basis);
    if (!stored) throw HostFailure{ECapeThrmPropertyNotAvailableHR, NotSetMessage(scope, property, phases, basis)};
    return *stored;
}

double CHostMaterial::ScalarOf(const StoredProperty& stored) const {
    std::vector<double> values = ReadDoubles(stored.values);
    if (values.size() != 1)
        throw HostFailure{ECapeInvalidArgumentHR,
                          L"Property " + Quoted(stored.property) + L" does not hold one value"};
    return values[0];
}

void CHostMaterial::ReturnTPFraction(const std::vector<std::wstring>& phases, PropertyScope scope,
                                     double* temperature, double* pressure, VARIANT* composition,
                                     MaterialCall& call) const {
    const StoredProperty& t = Required(scope, L"temperature", phases, L"");
    const StoredProperty& p = Required(scope, L"pressure", phases, L"");
    const StoredProperty& x = Required(scope, L"fraction", phases, L"mole");
    call.temperature = ScalarOf(t);
    call.pressure = ScalarOf(p);
    call.values = x.values;
    if (temperature) *temperature = call.temperature;
    if (pressure) *pressure = call.pressure;
    if (composition) ReturnValue(composition, x.values);
}

// --- ICapeThermoMaterial ---------------------------------------------------------------------

STDMETHODIMP CHostMaterial::ClearAllProps() {
    return Run(kMaterial, [] { return MaterialCall{L"ClearAllProps"}; }, [&](MaterialCall&) {
        store_.ClearProperties();
        return S_OK;
    });
}

STDMETHODIMP CHostMaterial::CopyFromMaterial(IDispatch** source) {
    return Run(kMaterial, [] { return MaterialCall{L"CopyFromMaterial"}; }, [&](MaterialCall&) {
        if (!source || !*source) throw HostFailure{ECapeInvalidArgumentHR, L"No source material"};
        CHostMaterial* from = FromUnknown(*source);
        if (!from) throw HostFailure{ECapeNoImplHR, L"CopyFromMaterial accepts only materials of this host"};
        bool same = from->compounds_.size() == compounds_.size() &&
                    std::equal(compounds_.begin(), compounds_.end(), from->compounds_.begin(), EqualsNoCase);
        if (!same) throw HostFailure{ECapeInvalidArgumentHR, L"The source material has other compounds"};
        if (from != this) store_ = from->store_;
        return S_OK;
    });
}

STDMETHODIMP CHostMaterial::CreateMaterial(IDispatch** materialObject) {
    return Run(kMaterial, [] { return MaterialCall{L"CreateMaterial"}; }, [&](MaterialCall&) {
        if (!materialObject) throw HostFailure{E_POINTER, L"Invalid output pointer"};
        Ptr created = Create(compounds_);
        created->compoundData_ = compoundData_;
        created->rawCompoundIds_ = rawCompoundIds_;
        created->knownPhases_ = knownPhases_;
        created->offersCompounds_ = offersCompounds_;
        *materialObject = created->Dispatch();
        (*materialObject)->AddRef();
        return S_OK;
    });
}

STDMETHODIMP CHostMaterial::GetOverallProp(BSTR property, BSTR basis, VARIANT* results) {
    return Run(kMaterial,
               [&] { return MaterialCall{L"GetOverallProp", Text(property), {}, OptionalText(basis)}; },
               [&](MaterialCall& call) {
                   if (!results) throw HostFailure{E_POINTER, L"Invalid output pointer"};
                   const std::wstring name = CheckedProperty(property), checkedBasis = CheckedBasis(basis);
                   if (basislessOnlyInTPFraction_ && checkedBasis.empty())
                       throw HostFailure{ECapeThrmPropertyNotAvailableHR,
                                         NotSetMessage(PropertyScope::Overall, name, {}, checkedBasis)};
                   const StoredProperty& stored = Required(PropertyScope::Overall, name, {}, checkedBasis);
                   call.values = stored.values;
                   ReturnValue(results, stored.values);
                   return S_OK;
               });
}

STDMETHODIMP CHostMaterial::GetOverallTPFraction(double* temperature, double* pressure, VARIANT* composition) {
    return Run(kMaterial, [] { return MaterialCall{L"GetOverallTPFraction"}; }, [&](MaterialCall& call) {
        ReturnTPFraction({}, PropertyScope::Overall, temperature, pressure, composition, call);
        return S_OK;
    });
}

STDMETHODIMP CHostMaterial::GetPresentPhases(VARIANT* phaseLabels, VARIANT* phaseStatus) {
    return Run(kMaterial, [] { return MaterialCall{L"GetPresentPhases"}; }, [&](MaterialCall& call) {
        call.phases = ReadStrings(store_.PresentLabels());
        call.status = store_.PresentStatus();
        if (phaseLabels) ReturnValue(phaseLabels, store_.PresentLabels());
        if (phaseStatus) ReturnValue(phaseStatus, store_.PresentStatus());
        return S_OK;
    });
}

STDMETHODIMP CHostMaterial::GetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT* results) {
    return Run(kMaterial,
               [&] {
                   return MaterialCall{L"GetSinglePhaseProp", Text(property), {Text(phaseLabel)}, OptionalText(basis)};
               },
               [&](MaterialCall& call) {
                   if (!results) throw HostFailure{E_POINTER, L"Invalid output pointer"};
                   const StoredProperty& stored = Required(PropertyScope::SinglePhase, CheckedProperty(property),
                                                           {KnownPhase(phaseLabel)}, CheckedBasis(basis));
                   call.values = stored.values;
                   ReturnValue(results, stored.values);
                   return S_OK;
               });
}

STDMETHODIMP CHostMaterial::GetTPFraction(BSTR phaseLabel, double* temperature, double* pressure,
                                          VARIANT* composition) {
    return Run(kMaterial, [&] { return MaterialCall{L"GetTPFraction", L"", {Text(phaseLabel)}}; },
               [&](MaterialCall& call) {
                   ReturnTPFraction({KnownPhase(phaseLabel)}, PropertyScope::SinglePhase, temperature, pressure,
                                    composition, call);
                   return S_OK;
               });
}

STDMETHODIMP CHostMaterial::GetTwoPhaseProp(BSTR property, VARIANT phaseLabels, BSTR basis, VARIANT* results) {
    return Run(kMaterial,
               [&] {
                   MaterialCall call{L"GetTwoPhaseProp", Text(property), {}, OptionalText(basis)};
                   try {
                       call.phases = ReadStrings(phaseLabels);
                   } catch (const ValueError&) {
                       // recorded without labels; the body reports the bad list
                   }
                   return call;
               },
               [&](MaterialCall& call) {
                   if (!results) throw HostFailure{E_POINTER, L"Invalid output pointer"};
                   const StoredProperty& stored = Required(PropertyScope::TwoPhase, CheckedProperty(property),
                                                           KnownPhasePair(phaseLabels), CheckedBasis(basis));
                   call.values = stored.values;
                   ReturnValue(results, stored.values);
                   return S_OK;
               });
}

STDMETHODIMP CHostMaterial::SetOverallProp(BSTR property, BSTR basis, VARIANT values) {
    return Run(kMaterial,
               [&] {
                   MaterialCall call{L"SetOverallProp", Text(property), {}, OptionalText(basis)};
                   call.values = CopyIndirect(values);
                   return call;
               },
               [&](MaterialCall&) {
                   std::wstring name = CheckedProperty(property);
                   std::wstring checkedBasis = CheckedBasis(basis);
                   store_.Put(PropertyScope::Overall, name, {}, checkedBasis, CheckedValues(name, values));
                   return S_OK;
               });
}

STDMETHODIMP CHostMaterial::SetPresentPhases(VARIANT phaseLabels, VARIANT phaseStatus) {
    return Run(kMaterial,
               [&] {
                   MaterialCall call{L"SetPresentPhases"};
                   try {
                       call.phases = ReadStrings(phaseLabels);
                   } catch (const ValueError&) {
                   }
                   call.status = CopyIndirect(phaseStatus);
                   return call;
               },
               [&](MaterialCall&) {
                   std::vector<std::wstring> labels = ReadStrings(phaseLabels);
                   std::vector<long> status = ReadLongs(phaseStatus);
                   if (status.size() != labels.size())
                       throw HostFailure{ECapeInvalidArgumentHR, L"Phase status count " +
                                                                      std::to_wstring(status.size()) +
                                                                      L" differs from the label count " +
                                                                      std::to_wstring(labels.size())};
                   std::vector<std::wstring> known;
                   for (const std::wstring& label : labels) {
                       _bstr_t text(label.c_str());
                       std::wstring phase = KnownPhase(text.GetBSTR());
                       if (std::find(known.begin(), known.end(), phase) != known.end())
                           throw HostFailure{ECapeInvalidArgumentHR, L"Phase " + Quoted(phase) + L" listed twice"};
                       known.push_back(phase);
                   }
                   PutPresentPhases(known, status);
                   return S_OK;
               });
}

STDMETHODIMP CHostMaterial::SetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT values) {
    return Run(kMaterial,
               [&] {
                   MaterialCall call{L"SetSinglePhaseProp", Text(property), {Text(phaseLabel)}, OptionalText(basis)};
                   call.values = CopyIndirect(values);
                   return call;
               },
               [&](MaterialCall&) {
                   std::wstring name = CheckedProperty(property);
                   std::wstring phase = KnownPhase(phaseLabel);
                   std::wstring checkedBasis = CheckedBasis(basis);
                   store_.Put(PropertyScope::SinglePhase, name, {phase}, checkedBasis, CheckedValues(name, values));
                   return S_OK;
               });
}

STDMETHODIMP CHostMaterial::SetTwoPhaseProp(BSTR property, VARIANT phaseLabels, BSTR basis, VARIANT values) {
    return Run(kMaterial,
               [&] {
                   MaterialCall call{L"SetTwoPhaseProp", Text(property), {}, OptionalText(basis)};
                   try {
                       call.phases = ReadStrings(phaseLabels);
                   } catch (const ValueError&) {
                   }
                   call.values = CopyIndirect(values);
                   return call;
               },
               [&](MaterialCall&) {
                   std::wstring name = CheckedProperty(property);
                   std::vector<std::wstring> phases = KnownPhasePair(phaseLabels);
                   std::wstring checkedBasis = CheckedBasis(basis);
                   store_.Put(PropertyScope::TwoPhase, name, phases, checkedBasis, CheckedValues(name, values));
                   return S_OK;
               });
}

}  // namespace tarnevo::host
