// CPropertyPackageManager: the CAPE-OPEN 1.1 entry point. Lists the packages of the
// package folder and hands out CPropertyPackage objects by name.
#pragma once

#include <string>
#include <vector>

#include "TARNEVO.h"
#include "errors/CapeOpenBaseObject.h"

namespace tarnevo {

class CPropertyPackageManager : public CCapeOpenBaseObject,
                                public DispatchImpl<ICapeThermoPropertyPackageManager>,
                                public DispatchImpl<ICapeThermoNewPropertyPackage> {
public:
    TARNEVO_BEGIN_INTERFACE_MAP(CPropertyPackageManager)
        TARNEVO_INTERFACE_AS(IDispatch, ICapeThermoPropertyPackageManager)
        TARNEVO_INTERFACE(ICapeThermoPropertyPackageManager)
        TARNEVO_CAPE_OPEN_BASE_INTERFACES()
        TARNEVO_INTERFACE(ICapeThermoNewPropertyPackage)
    TARNEVO_END_INTERFACE_MAP()

    CPropertyPackageManager();

    // ICapeUtilities (own versions)
    STDMETHODIMP Initialize() override;
    STDMETHODIMP Edit() override;

    // ICapeThermoPropertyPackageManager
    STDMETHODIMP GetPropertyPackageList(VARIANT* packageNames) override;
    STDMETHODIMP GetPropertyPackage(BSTR packageName, IDispatch** package) override;

    // ICapeThermoNewPropertyPackage
    STDMETHODIMP GetNewPropertyPackage(IDispatch** package) override;

private:
    std::vector<std::wstring> packageNames_;
};

}  // namespace tarnevo
