#include "package/PackageFactory.h"

namespace tarnevo {

PropertyPackagePtr CreatePropertyPackage(const std::wstring& packageName, const std::string& definitionText) {
    PropertyPackagePtr package = MakeComObject<CPropertyPackage>();
    package->SetPackageName(packageName);
    package->SetDefinitionText(definitionText);
    return package;
}

void HandOutPackage(const PropertyPackagePtr& package, IDispatch** out) noexcept {
    *out = static_cast<ICapeThermoCompounds*>(package.Get());
    (*out)->AddRef();
}

void GetNewPropertyPackageInteractive(HWND owner, IDispatch** out) {
    *out = nullptr;
    PropertyPackagePtr package = CreatePropertyPackage(L"New REFPROP Package", kNewPackageMarker);
    if (FAILED(package->Initialize()))
        throw CapeFailure(L"Failed to initialize new PP: " + package->InitialisationMessage());
    if (!package->EditPackage(owner)) return;  // cancelled, or the user has seen the failure
    HandOutPackage(package, out);
}

}  // namespace tarnevo
