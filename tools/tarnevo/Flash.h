// One CalcEquilibrium on the host's material, as a simulator issues it: the overall
// composition and the two specified values are put on the material, both phases are allowed
// ("Vapor" and "Liquid" present), and the phases the package found are read back.
//   Flasher flasher(package);
//   FlashResult r = flasher.Run({{FlashVariable::P, 5e6}, {FlashVariable::Q, 0.0}}, z, false);
#pragma once

#include <string>
#include <vector>

#include "tools/host/HostMaterial.h"
#include "tools/host/HostMaterial10.h"
#include "tools/tarnevo/Server.h"

namespace tarnevo::cli {

enum class FlashVariable { T, P, H, S, U, V, Q };

struct FlashSpecification {
    FlashVariable variable;
    double value;
};

struct PhaseResult {
    std::wstring label;
    double fraction = 0;  // mole basis
    double temperature = 0;
    double pressure = 0;
    std::vector<double> composition;
};

struct FlashResult {
    double temperature = 0;
    double pressure = 0;
    std::vector<PhaseResult> phases;  // in the order the package set them
};

// "T", "P", ... and the unit of a specified value.
const wchar_t* VariableName(FlashVariable variable);
const wchar_t* VariableUnit(FlashVariable variable);

class Flasher {
public:
    explicit Flasher(Package& package);
    // Throws CapeFailure when the package fails.
    FlashResult Run(const FlashSpecification& first, const FlashSpecification& second, const std::vector<double>& z,
                    bool massBasis);
    host::CHostMaterial& Material() { return *material_.Get(); }

private:
    Package& package_;
    host::CHostMaterial::Ptr material_;
};

// The same flash through the 1.0 surface: CalcEquilibrium with the flash key of the two
// specifications ("TP", "PH", "TVF", ...) on a 1.0 material holding the overall composition
// and the specified values; the phases are those whose compositions the package stored.
class Flasher10 {
public:
    explicit Flasher10(Package& package);
    // The 1.0 flash key of two specifications; empty when the 1.0 surface has none.
    static std::wstring Key(const FlashSpecification& first, const FlashSpecification& second);
    // Throws CapeFailure when the package fails.
    FlashResult Run(const FlashSpecification& first, const FlashSpecification& second, const std::vector<double>& z);
    host::CHostMaterial10& Material() { return *material_.Get(); }

private:
    Package& package_;
    host::CHostMaterial10::Ptr material_;
};

}  // namespace tarnevo::cli
