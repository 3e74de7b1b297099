// The host's CAPE-OPEN 1.1 material object: what a simulator hands a property package with
// ICapeThermoMaterialContext::SetMaterial.
//   auto material = CHostMaterial::Create({L"METHANE", L"ETHANE"});
//   material->PutPhaseState(L"Vapor", 300.0, 5e6, {0.9, 0.1});
//   material->PutPresentPhases({L"Vapor"});
//   context->SetMaterial(material->Dispatch());
//   ... package->CalcSinglePhaseProp(props, L"Vapor") ...
//   material->SinglePhase(L"density", L"Vapor", L"mole");     // what the package wrote
//   material->CallDescriptions();                              // what it asked, in order
//
// Through COM it behaves as a simulator's material: values must be double arrays (VBScript's
// VT_ARRAY|VT_VARIANT of numbers is accepted and stored as doubles), phase labels must be
// known ("Vapor" and "Liquid" unless SetKnownPhases says otherwise), bases are "mole",
// "mass" or undefined (null or empty), and "fraction" must hold one value per compound.
// Reading a value never set fails with ECapeThrmPropertyNotAvailableHR (0x8004051A) and an
// ECapeUser description naming the property. The C++ Put*/Raw methods bypass every check so
// tests can hand a package malformed data; they are not recorded as calls.
// GetTPFraction reads the phase's "temperature" and "pressure" (basis undefined) and
// "fraction" (basis "mole"); GetOverallTPFraction the same overall properties.
// ClearAllProps removes every property but keeps the present phases. CreateMaterial gives an
// empty material with the same compounds and phases; CopyFromMaterial copies properties and
// present phases from another material of this host. ICapeThermoCompounds answers
// GetCompoundList and GetNumCompounds; its other methods fail with ECapeNoImplHR.
// Every interface call is recorded (MaterialCallLog), including those that fail.
#pragma once

#include <windows.h>
#include <comdef.h>
#include <wrl/client.h>

#include <optional>
#include <string>
#include <vector>

#include "TARNEVO.h"
#include "com/CapeHResults.h"
#include "com/ComObject.h"
#include "tools/host/MaterialStore.h"
#include "tools/host/RecordingHostObject.h"

namespace tarnevo::host {

// Optional compound data returned by GetCompoundList (an empty list is returned as UNDEFINED).
struct HostCompoundData {
    std::vector<std::wstring> formulae;
    std::vector<double> boilingPoints;
    std::vector<double> molecularWeights;
    std::vector<std::wstring> casNumbers;
};

class CHostMaterial : public DispatchImpl<ICapeThermoMaterial>,
                      public DispatchImpl<ICapeThermoCompounds>,
                      public CRecordingHostObject {
public:
    TARNEVO_BEGIN_INTERFACE_MAP(CHostMaterial)
        TARNEVO_INTERFACE_AS(IDispatch, ICapeThermoMaterial)
        TARNEVO_INTERFACE(ICapeThermoMaterial)
        TARNEVO_INTERFACE_FUNC(ICapeThermoCompounds, CompoundsIfOffered)
        TARNEVO_HOST_ERROR_INTERFACES()
    TARNEVO_END_INTERFACE_MAP()

    using Ptr = Microsoft::WRL::ComPtr<ComObject<CHostMaterial>>;
    // A material of `compounds` (any names, in any order, repeated or unknown to a package).
    static Ptr Create(std::vector<std::wstring> compounds);
    // The material behind `object` (any of its interfaces) when it is one of ours, else null.
    static CHostMaterial* FromUnknown(IUnknown* object) noexcept;

    IDispatch* Dispatch() noexcept { return static_cast<ICapeThermoMaterial*>(this); }
    ICapeThermoMaterial* Material() noexcept { return this; }
    ICapeThermoCompounds* Compounds() noexcept { return this; }

    // --- Configuration ---
    const std::vector<std::wstring>& CompoundIds() const noexcept { return compounds_; }
    void SetCompoundData(HostCompoundData data) { compoundData_ = std::move(data); }
    // GetCompoundList returns `ids` as compIds and names instead of the compound list
    // (e.g. a double array, to provoke a package's conversion failure).
    void SetCompoundIdsRaw(const VARIANT& ids);
    void SetKnownPhases(std::vector<std::wstring> labels) { knownPhases_ = std::move(labels); }
    // false: QueryInterface refuses ICapeThermoCompounds, as a material without it would.
    void SetOffersCompounds(bool offers) noexcept { offersCompounds_ = offers; }
    // true: basis-less overall values are found only by GetOverallTPFraction; GetOverallProp
    // with an undefined basis reports them as not set (a host that files them elsewhere).
    void SetBasislessOnlyInTPFraction(bool only) noexcept { basislessOnlyInTPFraction_ = only; }

    // --- Stored values, bypassing the interface (not recorded). Empty basis: undefined. ---
    void PutOverall(const std::wstring& property, const std::wstring& basis, const std::vector<double>& values);
    void PutOverallRaw(const std::wstring& property, const std::wstring& basis, const VARIANT& values);
    void PutSinglePhase(const std::wstring& property, const std::wstring& phase, const std::wstring& basis,
                        const std::vector<double>& values);
    void PutSinglePhaseRaw(const std::wstring& property, const std::wstring& phase, const std::wstring& basis,
                           const VARIANT& values);
    void PutTwoPhase(const std::wstring& property, const std::vector<std::wstring>& phases, const std::wstring& basis,
                     const std::vector<double>& values);
    void PutTwoPhaseRaw(const std::wstring& property, const std::vector<std::wstring>& phases,
                        const std::wstring& basis, const VARIANT& values);
    // "temperature", "pressure" (undefined basis) and "fraction" ("mole") of a phase / overall.
    void PutPhaseState(const std::wstring& phase, double temperature, double pressure,
                       const std::vector<double>& fractions);
    void PutOverallState(double temperature, double pressure, const std::vector<double>& fractions);
    // Status defaults to 1 (CAPE_ATEQUILIBRIUM) per label; an empty list means no phase present.
    void PutPresentPhases(const std::vector<std::wstring>& labels, std::vector<long> status = {});
    void PutPresentPhasesRaw(const VARIANT& labels, const VARIANT& status);

    // Stored values read as doubles; nullopt when not set (or not readable as doubles).
    std::optional<std::vector<double>> Overall(const std::wstring& property, const std::wstring& basis) const;
    std::optional<std::vector<double>> SinglePhase(const std::wstring& property, const std::wstring& phase,
                                                   const std::wstring& basis) const;
    std::optional<std::vector<double>> TwoPhase(const std::wstring& property, const std::vector<std::wstring>& phases,
                                                const std::wstring& basis) const;
    std::vector<std::wstring> PresentPhaseLabels() const;
    std::vector<long> PresentPhaseStatus() const;
    const MaterialStore& Store() const noexcept { return store_; }

    // ICapeThermoMaterial
    STDMETHODIMP ClearAllProps() override;
    STDMETHODIMP CopyFromMaterial(IDispatch** source) override;
    STDMETHODIMP CreateMaterial(IDispatch** materialObject) override;
    STDMETHODIMP GetOverallProp(BSTR property, BSTR basis, VARIANT* results) override;
    STDMETHODIMP GetOverallTPFraction(double* temperature, double* pressure, VARIANT* composition) override;
    STDMETHODIMP GetPresentPhases(VARIANT* phaseLabels, VARIANT* phaseStatus) override;
    STDMETHODIMP GetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT* results) override;
    STDMETHODIMP GetTPFraction(BSTR phaseLabel, double* temperature, double* pressure, VARIANT* composition) override;
    STDMETHODIMP GetTwoPhaseProp(BSTR property, VARIANT phaseLabels, BSTR basis, VARIANT* results) override;
    STDMETHODIMP SetOverallProp(BSTR property, BSTR basis, VARIANT values) override;
    STDMETHODIMP SetPresentPhases(VARIANT phaseLabels, VARIANT phaseStatus) override;
    STDMETHODIMP SetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT values) override;
    STDMETHODIMP SetTwoPhaseProp(BSTR property, VARIANT phaseLabels, BSTR basis, VARIANT values) override;

    // ICapeThermoCompounds
    STDMETHODIMP GetCompoundConstant(VARIANT props, VARIANT compIds, VARIANT* propVals) override;
    STDMETHODIMP GetCompoundList(VARIANT* compIds, VARIANT* formulae, VARIANT* names, VARIANT* boilTemps,
                                 VARIANT* molwts, VARIANT* casnos) override;
    STDMETHODIMP GetConstPropList(VARIANT* props) override;
    STDMETHODIMP GetNumCompounds(long* num) override;
    STDMETHODIMP GetPDependentProperty(VARIANT props, double pressure, VARIANT compIds, VARIANT* propVals) override;
    STDMETHODIMP GetPDependentPropList(VARIANT* props) override;
    STDMETHODIMP GetTDependentProperty(VARIANT props, double temperature, VARIANT compIds, VARIANT* propVals) override;
    STDMETHODIMP GetTDependentPropList(VARIANT* props) override;

protected:
    explicit CHostMaterial(std::vector<std::wstring> compounds);
    ~CHostMaterial();
    CHostMaterial(const CHostMaterial&) = delete;
    CHostMaterial& operator=(const CHostMaterial&) = delete;

private:
    IUnknown* CompoundsIfOffered() noexcept {
        return offersCompounds_ ? static_cast<ICapeThermoCompounds*>(this) : nullptr;
    }

    // Checks shared by the interface methods; each throws HostFailure.
    std::wstring KnownPhase(BSTR phaseLabel) const;
    std::vector<std::wstring> KnownPhasePair(const VARIANT& phaseLabels) const;
    std::wstring CheckedBasis(BSTR basis) const;
    std::wstring CheckedProperty(BSTR property) const;
    _variant_t CheckedValues(const std::wstring& property, const VARIANT& values) const;
    const StoredProperty& Required(PropertyScope scope, const std::wstring& property,
                                   const std::vector<std::wstring>& phases, const std::wstring& basis) const;
    double ScalarOf(const StoredProperty& stored) const;
    void ReturnTPFraction(const std::vector<std::wstring>& phases, PropertyScope scope, double* temperature,
                          double* pressure, VARIANT* composition, MaterialCall& call) const;

    std::vector<std::wstring> compounds_;
    HostCompoundData compoundData_;
    std::optional<_variant_t> rawCompoundIds_;
    std::vector<std::wstring> knownPhases_{L"Vapor", L"Liquid"};
    bool offersCompounds_ = true;
    bool basislessOnlyInTPFraction_ = false;
    MaterialStore store_;
};

}  // namespace tarnevo::host
