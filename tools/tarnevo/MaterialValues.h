// Reading what a package wrote to the host's material: single-phase values by property name
// and phase, whatever basis the package chose (nullopt when none was written).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/host/HostMaterial.h"

namespace tarnevo::cli {

std::optional<std::vector<double>> WrittenSinglePhase(const host::CHostMaterial& material,
                                                      const std::wstring& property, const std::wstring& phase);

}  // namespace tarnevo::cli
