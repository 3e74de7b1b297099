#include "manager/PropertyPackageManager.h"

#include "manager/ManagerDialogSeam.h"
#include "manager/PackageList.h"
#include "package/PackageFactory.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kManagerInterface[] = L"ICapeThermoPropertyPackageManager";
constexpr const wchar_t kNewPackageInterface[] = L"ICapeThermoNewPropertyPackage";
constexpr const wchar_t kUtilities[] = L"ICapeUtilities";

}  // namespace

CPropertyPackageManager::CPropertyPackageManager()
    : CCapeOpenBaseObject(L"REFPROP Property Package Manager",
                          L"REFPROP Property Package Manager, CAPE-OPEN version 1.1") {}

STDMETHODIMP CPropertyPackageManager::Initialize() {
    if (IsInitialised()) return S_OK;
    HRESULT hr = InitializeCommon();
    if (FAILED(hr)) return hr;
    return Guarded(L"Initialize", kUtilities, [&] {
        packageNames_ = BuildPackageList();
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackageManager::Edit() {
    return Guarded(L"Edit", kUtilities, [&] {
        RunManagerDialog(GetActiveWindow());
        packageNames_ = BuildPackageList();
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackageManager::GetPropertyPackageList(VARIANT* packageNames) {
    return GuardedInitialised(L"GetPropertyPackageList", kManagerInterface, [&] {
        CheckOutPointer(packageNames);
        PackageListToVariant(packageNames_, packageNames);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackageManager::GetPropertyPackage(BSTR packageName, IDispatch** package) {
    return GuardedInitialised(L"GetPropertyPackage", kManagerInterface, [&] {
        CheckOutPointer(package);
        *package = nullptr;
        HandOutPackage(CreatePropertyPackage(BstrToString(packageName)), package);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackageManager::GetNewPropertyPackage(IDispatch** package) {
    return GuardedInitialised(L"GetNewPropertyPackage", kNewPackageInterface, [&] {
        CheckOutPointer(package);
        GetNewPropertyPackageInteractive(GetActiveWindow(), package);
        return S_OK;
    });
}

}  // namespace tarnevo
