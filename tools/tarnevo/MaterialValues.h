// Reading what a package wrote to the host's material: single-phase values by property name
// and phase, whatever basis the package chose (nullopt when none was written).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/host/HostMaterial.h"
#include "tools/host/HostMaterial10.h"

namespace tarnevo::cli {

std::optional<std::vector<double>> WrittenSinglePhase(const host::CHostMaterial& material,
                                                      const std::wstring& property, const std::wstring& phase);
// What a package stored on a 1.0 material for all compounds, on a mole basis or none.
std::optional<std::vector<double>> Stored10(const host::CHostMaterial10& material, const std::wstring& property,
                                            const std::wstring& phase, const std::wstring& calcType = L"Mixture");

}  // namespace tarnevo::cli
