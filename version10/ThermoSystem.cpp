#include "version10/ThermoSystem.h"

#include "manager/ManagerDialogSeam.h"
#include "manager/PackageList.h"
#include "package/PackageFactory.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kSystemInterface[] = L"ICapeThermoSystem";
constexpr const wchar_t kNewPackageInterface[] = L"ICapeThermoNewPropertyPackage";
constexpr const wchar_t kUtilities[] = L"ICapeUtilities";

}  // namespace

CThermoSystem::CThermoSystem()
    : CCapeOpenBaseObject(L"REFPROP Thermo System", L"REFPROP Thermo System, CAPE-OPEN version 1.0") {}

STDMETHODIMP CThermoSystem::Initialize() {
    if (IsInitialised()) return S_OK;
    HRESULT hr = InitializeCommon();
    if (FAILED(hr)) return hr;
    return Guarded(L"Initialize", kUtilities, [&] {
        packageNames_ = BuildPackageList();
        return S_OK;
    });
}

STDMETHODIMP CThermoSystem::Edit() {
    return Guarded(L"Edit", kUtilities, [&] {
        RunManagerDialog(GetActiveWindow());
        packageNames_ = BuildPackageList();
        return S_OK;
    });
}

STDMETHODIMP CThermoSystem::GetPropertyPackages(VARIANT* propPackageList) {
    return GuardedInitialised(L"GetPropertyPackages", kSystemInterface, [&] {
        CheckOutPointer(propPackageList);
        PackageListToVariant(packageNames_, propPackageList);
        return S_OK;
    });
}

STDMETHODIMP CThermoSystem::ResolvePropertyPackage(BSTR propertyPackage, IDispatch** propPackObject) {
    return GuardedInitialised(L"ResolvePropertyPackage", kSystemInterface, [&] {
        CheckOutPointer(propPackObject);
        *propPackObject = nullptr;
        HandOutPackage(CreatePropertyPackage(BstrToString(propertyPackage)), propPackObject);
        return S_OK;
    });
}

STDMETHODIMP CThermoSystem::GetNewPropertyPackage(IDispatch** package) {
    return GuardedInitialised(L"GetNewPropertyPackage", kNewPackageInterface, [&] {
        CheckOutPointer(package);
        GetNewPropertyPackageInteractive(GetActiveWindow(), package);
        return S_OK;
    });
}

}  // namespace tarnevo
