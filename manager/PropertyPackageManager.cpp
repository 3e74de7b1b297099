#include "manager/PropertyPackageManager.h"

#include <utility>

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

CPropertyPackageManager::CPropertyPackageManager(std::wstring componentName, std::wstring componentDescription)
    : CCapeOpenBaseObject(std::move(componentName), std::move(componentDescription)) {}

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

HRESULT CPropertyPackageManager::ListPackages(const wchar_t* scope, const wchar_t* interfaceName,
                                              VARIANT* packageNames) {
    return GuardedInitialised(scope, interfaceName, [&] {
        CheckOutPointer(packageNames);
        PackageListToVariant(packageNames_, packageNames);
        return S_OK;
    });
}

HRESULT CPropertyPackageManager::HandOutNamedPackage(const wchar_t* scope, const wchar_t* interfaceName,
                                                     BSTR packageName, IDispatch** package) {
    return GuardedInitialised(scope, interfaceName, [&] {
        CheckOutPointer(package);
        *package = nullptr;
        HandOutPackage(CreatePropertyPackage(BstrToString(packageName)), package);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackageManager::GetPropertyPackageList(VARIANT* packageNames) {
    return ListPackages(L"GetPropertyPackageList", kManagerInterface, packageNames);
}

STDMETHODIMP CPropertyPackageManager::GetPropertyPackage(BSTR packageName, IDispatch** package) {
    return HandOutNamedPackage(L"GetPropertyPackage", kManagerInterface, packageName, package);
}

STDMETHODIMP CPropertyPackageManager::GetNewPropertyPackage(IDispatch** package) {
    return GuardedInitialised(L"GetNewPropertyPackage", kNewPackageInterface, [&] {
        CheckOutPointer(package);
        GetNewPropertyPackageInteractive(GetActiveWindow(), package);
        return S_OK;
    });
}

}  // namespace tarnevo
