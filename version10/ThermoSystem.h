// CThermoSystem: the CAPE-OPEN 1.0 entry point. Lists the packages of the package folder
// and hands out CPropertyPackage objects by name, as the 1.1 manager does, through
// ICapeThermoSystem.
#pragma once

#include <string>
#include <vector>

#include "TARNEVO.h"
#include "errors/CapeOpenBaseObject.h"

namespace tarnevo {

class CThermoSystem : public CCapeOpenBaseObject,
                      public DispatchImpl<ICapeThermoSystem>,
                      public DispatchImpl<ICapeThermoNewPropertyPackage> {
public:
    TARNEVO_BEGIN_INTERFACE_MAP(CThermoSystem)
        TARNEVO_INTERFACE_AS(IDispatch, ICapeThermoSystem)
        TARNEVO_INTERFACE(ICapeThermoSystem)
        TARNEVO_INTERFACE(ICapeThermoNewPropertyPackage)
        TARNEVO_CAPE_OPEN_BASE_INTERFACES()
    TARNEVO_END_INTERFACE_MAP()

    CThermoSystem();

    // ICapeUtilities (own versions)
    STDMETHODIMP Initialize() override;
    STDMETHODIMP Edit() override;

    // ICapeThermoSystem
    STDMETHODIMP GetPropertyPackages(VARIANT* propPackageList) override;
    STDMETHODIMP ResolvePropertyPackage(BSTR propertyPackage, IDispatch** propPackObject) override;

    // ICapeThermoNewPropertyPackage
    STDMETHODIMP GetNewPropertyPackage(IDispatch** package) override;

private:
    std::vector<std::wstring> packageNames_;
};

}  // namespace tarnevo
