// The package store as this program sees it (the same folders the server uses): opened
// without dialogs, and the description and model type of a package definition file.
#pragma once

#include <string>

namespace tarnevo::cli {

// Establishes the store paths; a missing REFPROP folder is a ProgramFailure, never a dialog.
void OpenPackageStore();

struct DefinitionSummary {
    std::wstring description;
    std::wstring modelType = L"DEFAULT";
};

// What the package's definition file says; empty fields when it cannot be read.
DefinitionSummary ReadDefinitionSummary(const std::wstring& packageName);

}  // namespace tarnevo::cli
