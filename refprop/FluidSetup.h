// Setting up a package's REFPROP fluid system for its interpreted definition: model
// overrides (custom), GERG, the fluid files and mixture file, Peng-Robinson, AGA8.
#pragma once

#include <string>
#include <vector>

#include "TARNEVO.h"
#include "definition/PackageDefinition.h"
#include "refprop/RefpropBinding.h"

namespace tarnevo {

// A compound path or mixture file with a ":" unchanged, any other prefixed with the
// REFPROP folder (8-bit) and a backslash.
std::string ResolveRefpropPath(const std::string& refpropFolder, const std::string& path);

// SETUPdll's hfiles: the resolved paths joined by "|", blank-padded to 10000 characters.
// Throws CapeFailure when they do not fit.
std::string BuildFluidFileList(const std::string& refpropFolder, const std::vector<std::string>& compounds);

// SETUPdll's hfmix: the resolved mixture file blank-padded to 255 characters.
std::string BuildMixtureFileArgument(const std::string& refpropFolder, const std::string& mixtureFile);

// Runs the setup calls in order on a loaded instance. Throws CapeFailure with the
// message of the failing step; warnings go to `diagnostics` (may be null).
void SetUpFluidSystem(RefpropBinding& binding, const PackageDefinition& definition,
                      const std::wstring& refpropFolder, ICapeDiagnostic* diagnostics);

}  // namespace tarnevo
