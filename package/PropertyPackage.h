// CPropertyPackage: one property package (CAPE-OPEN 1.1 and the 1.0 package interface).
// Each instance owns its private REFPROP instance (refprop), the definition text it was
// configured from, the compound records and the working arrays of the calculations.
// Methods are split by interface: PackageLifecycle.cpp (ICapeUtilities, loader),
// PackagePersistence.cpp, Compounds.cpp, Phases.cpp, MaterialContext.cpp,
// UniversalConstants.cpp, PropertyRoutine.cpp, EquilibriumRoutine.cpp and
// version10/PropertyPackage10.cpp (the 1.0 adapter).
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TARNEVO.h"
#include "automation/VariantArray.h"
#include "definition/CompoundRecord.h"
#include "definition/PackageDefinition.h"
#include "capeobject/CapeOpenBaseObject.h"
#include "package/names/NameMap.h"
#include "refprop/RefpropBinding.h"

namespace tarnevo {

class SinglePhaseCalculation;

// The definition-text marker of a package whose definition does not exist yet.
constexpr char kNewPackageMarker[] = "#NEW";

class CPropertyPackage : public CCapeOpenBaseObject,
                         public DispatchImpl<ICapeThermoCompounds>,
                         public DispatchImpl<ICapeThermoEquilibriumRoutine>,
                         public DispatchImpl<ICapeThermoMaterialContext>,
                         public DispatchImpl<ICapeThermoPhases>,
                         public DispatchImpl<ICapeThermoPropertyRoutine>,
                         public DispatchImpl<ICapeThermoUniversalConstant>,
                         public IPersistStream,
                         public DispatchImpl<ICapeThermoPropertyPackage>,
                         public IPersistPropertyBag {
public:
    TARNEVO_BEGIN_INTERFACE_MAP(CPropertyPackage)
        TARNEVO_INTERFACE_AS(IDispatch, ICapeThermoCompounds)
        TARNEVO_INTERFACE(ICapeThermoCompounds)
        TARNEVO_INTERFACE(ICapeThermoEquilibriumRoutine)
        TARNEVO_INTERFACE(ICapeThermoMaterialContext)
        TARNEVO_INTERFACE(ICapeThermoPhases)
        TARNEVO_INTERFACE(ICapeThermoPropertyRoutine)
        TARNEVO_INTERFACE(ICapeThermoUniversalConstant)
        TARNEVO_INTERFACE(IPersistStream)
        TARNEVO_CAPE_OPEN_BASE_INTERFACES()
        TARNEVO_INTERFACE(ICapeThermoPropertyPackage)
        TARNEVO_INTERFACE_FUNC(IPersistPropertyBag, PropertyBagInterface)
    TARNEVO_END_INTERFACE_MAP()

    CPropertyPackage();
    ~CPropertyPackage() override;

    // Set by the manager and the thermo system before the package is handed out.
    void SetPackageName(const std::wstring& name) { packageName = name; }
    void SetDefinitionText(const std::string& text) { definitionText = text; }
    const std::wstring& PackageName() const noexcept { return packageName; }
    const std::string& DefinitionText() const noexcept { return definitionText; }
    bool Dirty() const noexcept { return dirty; }
    // The message of the last failed initialisation (empty when none).
    const std::wstring& InitialisationMessage() const noexcept { return InitialisationError(); }

    // The package edit operation: the editor on the definition text, then the new
    // definition applied. True when the user accepted and it was applied; on a failed
    // application the user has seen the error box.
    bool EditPackage(HWND owner);

    // The material compound mapping (MaterialCompounds.cpp): the package index of each
    // compound of the current material, in the material's order, built once per material.
    // False with `error` set for the caller's message when it cannot be built.
    bool ResolveMaterialCompounds(std::wstring& error);
    const std::vector<std::int32_t>& MaterialCompoundMap() const noexcept { return materialCompoundMap; }
    // Resolves a host's compound identifiers into resolvedCompounds (Compounds.cpp); an empty
    // list means all compounds when `emptyMeansAll`. Throws CapeFailure `prefix` + the
    // resolver's text.
    void ResolveCompoundIds(const VARIANT& compIds, bool emptyMeansAll, const wchar_t* prefix);
    // The compound list of GetCompoundList into the six values (cleared first). Throws CapeFailure.
    void FillCompoundList(VARIANT* compIds, VARIANT* formulae, VARIANT* names, VARIANT* boilTemps, VARIANT* molwts,
                          VARIANT* casnos);
    // The constants `props` of the compounds `compIds` (empty: all), property-major, into
    // `result`; true when an element is not available. Throws CapeFailure.
    bool CompoundConstantArray(const VARIANT& props, const VARIANT& compIds, VariantArray& result);

    // ICapeUtilities (own versions)
    STDMETHODIMP Initialize() override;
    STDMETHODIMP Terminate() override;
    STDMETHODIMP Edit() override;

    // ICapeThermoCompounds
    STDMETHODIMP GetCompoundConstant(VARIANT props, VARIANT compIds, VARIANT* propVals) override;
    STDMETHODIMP GetCompoundList(VARIANT* compIds, VARIANT* formulae, VARIANT* names, VARIANT* boilTemps,
                                 VARIANT* molwts, VARIANT* casnos) override;
    STDMETHODIMP GetConstPropList(VARIANT* props) override;
    STDMETHODIMP GetNumCompounds(long* num) override;
    STDMETHODIMP GetPDependentProperty(VARIANT props, double pressure, VARIANT compIds, VARIANT* propVals) override;
    STDMETHODIMP GetPDependentPropList(VARIANT* props) override;
    STDMETHODIMP GetTDependentProperty(VARIANT props, double temperature, VARIANT compIds,
                                       VARIANT* propVals) override;
    STDMETHODIMP GetTDependentPropList(VARIANT* props) override;

    // ICapeThermoEquilibriumRoutine
    STDMETHODIMP CalcEquilibrium(VARIANT specification1, VARIANT specification2, BSTR solutionType) override;
    STDMETHODIMP CheckEquilibriumSpec(VARIANT specification1, VARIANT specification2, BSTR solutionType,
                                      VARIANT_BOOL* isSupported) override;

    // ICapeThermoMaterialContext
    STDMETHODIMP SetMaterial(IDispatch* material) override;
    STDMETHODIMP UnsetMaterial() override;

    // ICapeThermoPhases
    STDMETHODIMP GetNumPhases(long* num) override;
    STDMETHODIMP GetPhaseInfo(BSTR phaseLabel, BSTR phaseAttribute, VARIANT* value) override;
    STDMETHODIMP GetPhaseList(VARIANT* phaseLabels, VARIANT* stateOfAggregation, VARIANT* keyCompoundId) override;

    // ICapeThermoPropertyRoutine
    STDMETHODIMP CalcAndGetLnPhi(BSTR phaseLabel, double temperature, double pressure, VARIANT moleNumbers,
                                 int fFlags, VARIANT* lnPhi, VARIANT* lnPhiDT, VARIANT* lnPhiDP,
                                 VARIANT* lnPhiDn) override;
    STDMETHODIMP CalcSinglePhaseProp(VARIANT props, BSTR phaseLabel) override;
    STDMETHODIMP CalcTwoPhaseProp(VARIANT props, VARIANT phaseLabels) override;
    STDMETHODIMP CheckSinglePhasePropSpec(BSTR property, BSTR phaseLabel, VARIANT_BOOL* valid) override;
    STDMETHODIMP CheckTwoPhasePropSpec(BSTR property, VARIANT phaseLabels, VARIANT_BOOL* valid) override;
    STDMETHODIMP GetSinglePhasePropList(VARIANT* props) override;
    STDMETHODIMP GetTwoPhasePropList(VARIANT* props) override;

    // ICapeThermoUniversalConstant
    STDMETHODIMP GetUniversalConstant(BSTR constantId, VARIANT* constantValue) override;
    STDMETHODIMP GetUniversalConstantList(VARIANT* constantId) override;

    // IPersist (both persistence interfaces)
    STDMETHODIMP GetClassID(CLSID* classId) override;
    // IPersistStream
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(IStream* stream) override;
    STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    // IPersistPropertyBag
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* errorLog) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAllProperties) override;

    // ICapeThermoPropertyPackage (CAPE-OPEN 1.0)
    STDMETHODIMP GetPhaseList(VARIANT* phases) override;
    STDMETHODIMP GetComponentList(VARIANT* compIds, VARIANT* formulae, VARIANT* names, VARIANT* boilTemps,
                                  VARIANT* molWts, VARIANT* casNos) override;
    STDMETHODIMP GetUniversalConstant(IDispatch* materialObject, VARIANT props, VARIANT* results) override;
    STDMETHODIMP GetComponentConstant(IDispatch* materialObject, VARIANT props, VARIANT* propVals) override;
    STDMETHODIMP CalcProp(IDispatch* materialObject, VARIANT props, VARIANT phases, BSTR calcType) override;
    STDMETHODIMP CalcEquilibrium(IDispatch* materialObject, BSTR flashType, VARIANT props) override;
    STDMETHODIMP PropCheck(IDispatch* materialObject, VARIANT props, VARIANT* valid) override;
    STDMETHODIMP ValidityCheck(IDispatch* materialObject, VARIANT props, VARIANT* relList) override;
    STDMETHODIMP GetPropList(VARIANT* props) override;

protected:
    // The CAPE-OPEN 1.0 interface (version10/) works on the package's calculation state.
    friend struct Package10Access;

    // Asks the new simulation context for its diagnostic interface.
    void OnSimulationContextChanged() override;

    // --- Lifecycle (PackageLifecycle.cpp) -------------------------------------------------
    // Loads a fresh private REFPROP instance; then, unless the package is new, applies the
    // definition. On failure the message is stored, recorded for Initialize and the
    // initialised flag cleared; false.
    bool LoadLibraryAndDefinition();
    // The package loader: reads (empty definitionText) or parses the definition, interprets
    // it, sets REFPROP up (after a fresh instance when `reload`), fills the compound data.
    // On failure: message stored as the initialisation error, initialised cleared; false.
    bool ApplyDefinition(bool reload);
    // Editor on the definition text, then the new definition applied as a re-application;
    // a failed application is shown in an error box and recorded for "Edit".
    enum class EditOutcome { Applied, Cancelled, Failed };
    EditOutcome RunEdit(HWND owner);
    // Unloads the REFPROP instance after releasing the host interfaces and compound data.
    void UnloadRefpropInstance() noexcept;
    // Sizes the compound data and work arrays for the applied definition.
    void SetUpCompoundData(PackageDefinition& applied);
    void ClearCompoundData() noexcept;
    // IPersistPropertyBag, refused for one host.
    IUnknown* PropertyBagInterface();
    // GetTDependentProperty at a temperature, or GetPDependentProperty at a pressure (Compounds.cpp).
    HRESULT DependentProperties(const VARIANT& props, double condition, const VARIANT& compIds, VARIANT* propVals,
                                bool pressureDependent);

    // --- Shared members -------------------------------------------------------------------
    std::wstring packageName;
    // Definition in the text form of the definition file; empty: read the file;
    // kNewPackageMarker: a new package without a definition yet.
    std::string definitionText;
    // libraryReady, privateCopyPath, refpropModule, herr and routines.
    RefpropBinding refprop;
    // The host's diagnostic interface from the simulation context, or null.
    Microsoft::WRL::ComPtr<ICapeDiagnostic> contextDiagnostics;
    // The material set through ICapeThermoMaterialContext, or null.
    Microsoft::WRL::ComPtr<ICapeThermoMaterial> currentMaterial;
    // Material compound mapping: package index per material compound; empty = not built.
    std::vector<std::int32_t> materialCompoundMap;
    bool dirty = false;

    // Compound and model data of the applied definition.
    PackageDefinition definition;              // model flags, overrides, mixture file, description
    std::vector<CompoundRecord> compounds;     // package order; REFPROP component = index + 1
    NameMap compoundNameMap;                   // compound id (any case) -> index

    // Working arrays, one element per package compound (package order).
    std::vector<double> composition;           // z or x passed to REFPROP
    std::vector<double> liquidComposition;     // x
    std::vector<double> vaporComposition;      // y
    std::vector<double> fugacityCoefficients;  // phi
    // Resolved-list scratch reused by each call.
    std::vector<std::int32_t> resolvedCompounds;
    std::vector<std::int32_t> resolvedProperties;
    // Result arrays handed to the material: one element, one per compound, nc x nc.
    VariantArray scalarResult;
    VariantArray compoundResult;
    VariantArray matrixResult;
    // Working storage of CalcSinglePhaseProp, kept between calls (PropertyRoutine.cpp).
    std::shared_ptr<SinglePhaseCalculation> singlePhaseCalculation;
    // Working storage of the CAPE-OPEN 1.0 calls, kept between calls (version10/).
    std::shared_ptr<void> version10Storage;
};

}  // namespace tarnevo
