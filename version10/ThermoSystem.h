// CThermoSystem: the CAPE-OPEN 1.0 entry point. The 1.1 manager's package list, Initialize,
// Edit and GetNewPropertyPackage under the 1.0 interface ICapeThermoSystem, with identification
// of its own.
#pragma once

#include "TARNEVO.h"
#include "manager/PropertyPackageManager.h"

namespace tarnevo {

class CThermoSystem : public CPropertyPackageManager, public DispatchImpl<ICapeThermoSystem> {
public:
    TARNEVO_BEGIN_INTERFACE_MAP(CThermoSystem)
        TARNEVO_INTERFACE_AS(IDispatch, ICapeThermoSystem)
        TARNEVO_INTERFACE(ICapeThermoSystem)
        TARNEVO_INTERFACE(ICapeThermoNewPropertyPackage)
        TARNEVO_CAPE_OPEN_BASE_INTERFACES()
    TARNEVO_END_INTERFACE_MAP()

    CThermoSystem();

    // ICapeThermoSystem
    STDMETHODIMP GetPropertyPackages(VARIANT* propPackageList) override;
    STDMETHODIMP ResolvePropertyPackage(BSTR propertyPackage, IDispatch** propPackObject) override;
};

}  // namespace tarnevo
