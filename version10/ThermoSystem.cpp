#include "version10/ThermoSystem.h"

namespace tarnevo {
namespace {

constexpr const wchar_t kSystemInterface[] = L"ICapeThermoSystem";

}  // namespace

CThermoSystem::CThermoSystem()
    : CPropertyPackageManager(L"REFPROP Thermo System", L"REFPROP Thermo System, CAPE-OPEN version 1.0") {}

STDMETHODIMP CThermoSystem::GetPropertyPackages(VARIANT* propPackageList) {
    return ListPackages(L"GetPropertyPackages", kSystemInterface, propPackageList);
}

STDMETHODIMP CThermoSystem::ResolvePropertyPackage(BSTR propertyPackage, IDispatch** propPackObject) {
    return HandOutNamedPackage(L"ResolvePropertyPackage", kSystemInterface, propertyPackage, propPackObject);
}

}  // namespace tarnevo
