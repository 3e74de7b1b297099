// CPropertyPackageManager: the CAPE-OPEN 1.1 entry point. Lists the packages of the
// package folder and hands out CPropertyPackage objects by name.
#pragma once

#include <string>
#include <vector>

#include "TARNEVO.h"
#include "capeobject/CapeOpenBaseObject.h"

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

protected:
    // For the 1.0 thermo system, which shares the package list, Initialize, Edit and
    // GetNewPropertyPackage and answers its own interface.
    CPropertyPackageManager(std::wstring componentName, std::wstring componentDescription);
    // The package names into `packageNames`, as the operation `scope` of `interfaceName`.
    HRESULT ListPackages(const wchar_t* scope, const wchar_t* interfaceName, VARIANT* packageNames);
    // A new, not initialised package named `packageName` into `package`.
    HRESULT HandOutNamedPackage(const wchar_t* scope, const wchar_t* interfaceName, BSTR packageName,
                                IDispatch** package);

private:
    std::vector<std::wstring> packageNames_;
};

}  // namespace tarnevo
