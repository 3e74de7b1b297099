// The host's CAPE-OPEN 1.0 material object (ICapeThermoMaterialObject): what a 1.0 simulator
// passes to each call of a 1.0 property package.
//   auto material = CHostMaterial10::Create({L"METHANE", L"ETHANE"});
//   material->Put(L"temperature", L"overall", {300.0});
//   material->Put(L"fraction", L"Vapor", {0.9, 0.1}, L"mole");
//   package10->CalcProp(material->Dispatch(), props, phases, _bstr_t(L"Mixture"));
//   material->Get(L"density", L"Vapor", L"mole", L"Mixture");   // what the package stored
//   material->CallDescriptions();        // e.g. "GetProp(temperature,overall)"
//
// Values are kept per property, phase, compound list (empty: all compounds), calcType and
// basis (empty: undefined), all compared without regard to ASCII case. Through COM, values
// must be double arrays (VBScript's VT_ARRAY|VT_VARIANT of numbers is stored as doubles) and
// "fraction" for all compounds needs one value per compound; reading a value never set fails
// with ECapeThrmPropertyNotAvailableHR. The C++ Put/PutRaw bypass the checks and are not
// recorded. Recorded calls list the phase, then the calcType when given, as their phases.
// Only ComponentIds, PhaseIds, GetNumComponents, GetProp and SetProp are answered; the other
// methods fail with ECapeNoImplHR.
#pragma once

#include <windows.h>
#include <comdef.h>
#include <wrl/client.h>

#include <optional>
#include <string>
#include <vector>

#include "TARNEVO.h"
#include "com/ComObject.h"
#include "tools/host/MaterialStore.h"
#include "tools/host/RecordingHostObject.h"

namespace tarnevo::host {

class CHostMaterial10 : public DispatchImpl<ICapeThermoMaterialObject>, public CRecordingHostObject {
public:
    TARNEVO_BEGIN_INTERFACE_MAP(CHostMaterial10)
        TARNEVO_INTERFACE_AS(IDispatch, ICapeThermoMaterialObject)
        TARNEVO_INTERFACE(ICapeThermoMaterialObject)
        TARNEVO_HOST_ERROR_INTERFACES()
    TARNEVO_END_INTERFACE_MAP()

    using Ptr = Microsoft::WRL::ComPtr<ComObject<CHostMaterial10>>;
    static Ptr Create(std::vector<std::wstring> compounds);

    IDispatch* Dispatch() noexcept { return static_cast<ICapeThermoMaterialObject*>(this); }
    const std::vector<std::wstring>& CompoundIds() const noexcept { return compounds_; }
    // ComponentIds returns `ids` instead of the compound list (e.g. a double array).
    void SetComponentIdsRaw(const VARIANT& ids) { rawComponentIds_ = _variant_t(ids); }

    // Stored values, bypassing the interface (not recorded).
    void Put(const std::wstring& property, const std::wstring& phase, const std::vector<double>& values,
             const std::wstring& basis = L"", const std::wstring& calcType = L"",
             const std::vector<std::wstring>& compounds = {});
    void PutRaw(const std::wstring& property, const std::wstring& phase, const VARIANT& values,
                const std::wstring& basis = L"", const std::wstring& calcType = L"",
                const std::vector<std::wstring>& compounds = {});
    // A stored value as doubles; nullopt when not set.
    std::optional<std::vector<double>> Get(const std::wstring& property, const std::wstring& phase,
                                           const std::wstring& basis = L"", const std::wstring& calcType = L"",
                                           const std::vector<std::wstring>& compounds = {}) const;
    void ClearValues() noexcept { store_.ClearProperties(); }

    // ICapeThermoMaterialObject
    STDMETHODIMP get_ComponentIds(VARIANT* compIds) override;
    STDMETHODIMP get_PhaseIds(VARIANT* phaseIds) override;
    STDMETHODIMP GetUniversalConstant(VARIANT props, VARIANT* propVals) override;
    STDMETHODIMP GetComponentConstant(VARIANT props, VARIANT compIds, VARIANT* propVals) override;
    STDMETHODIMP CalcProp(VARIANT props, VARIANT phases, BSTR calcType) override;
    STDMETHODIMP GetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis,
                         VARIANT* results) override;
    STDMETHODIMP SetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis,
                         VARIANT values) override;
    STDMETHODIMP CalcEquilibrium(BSTR flashType, VARIANT props) override;
    STDMETHODIMP SetIndependentVar(VARIANT indVars, VARIANT values) override;
    STDMETHODIMP GetIndependentVar(VARIANT indVars, VARIANT* values) override;
    STDMETHODIMP PropCheck(VARIANT props, VARIANT* valid) override;
    STDMETHODIMP AvailableProps(VARIANT* props) override;
    STDMETHODIMP RemoveResults(VARIANT props) override;
    STDMETHODIMP CreateMaterialObject(IDispatch** materialObject) override;
    STDMETHODIMP Duplicate(IDispatch** clone) override;
    STDMETHODIMP ValidityCheck(VARIANT props, VARIANT* relList) override;
    STDMETHODIMP GetPropList(VARIANT* props) override;
    STDMETHODIMP GetNumComponents(long* numComp) override;

protected:
    explicit CHostMaterial10(std::vector<std::wstring> compounds) : compounds_(std::move(compounds)) {}
    ~CHostMaterial10() = default;

private:
    // The store's key parts of a value: phase, calcType, compound list.
    static std::vector<std::wstring> KeyParts(const std::wstring& phase, const std::wstring& calcType,
                                              const std::vector<std::wstring>& compounds);
    HRESULT NotImplemented(const wchar_t* method) noexcept;

    std::vector<std::wstring> compounds_;
    std::optional<_variant_t> rawComponentIds_;
    MaterialStore store_;
};

}  // namespace tarnevo::host
