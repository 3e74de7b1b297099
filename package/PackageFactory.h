// Making package objects for the manager, the thermo system and the editor's check.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "package/PropertyPackage.h"

namespace tarnevo {

using PropertyPackagePtr = Microsoft::WRL::ComPtr<ComObject<CPropertyPackage>>;

// A new, not initialised package (one reference held by the result); throws std::bad_alloc.
PropertyPackagePtr CreatePropertyPackage(const std::wstring& packageName, const std::string& definitionText = "");

// The package's IDispatch (its ICapeThermoCompounds), AddRef'ed into `out`.
void HandOutPackage(const PropertyPackagePtr& package, IDispatch** out) noexcept;

// GetNewPropertyPackage of the manager and the thermo system: a package named
// "New REFPROP Package" with the "#NEW" marker is initialised and edited by the user.
// `out` receives it, or null when the user cancels or the new definition fails.
// Throws CapeFailure "Failed to initialize new PP: " + message when it cannot be
// initialised.
void GetNewPropertyPackageInteractive(HWND owner, IDispatch** out);

}  // namespace tarnevo
