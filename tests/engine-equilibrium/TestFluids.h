// Mixtures built from the committed fluid files, for the equilibrium tests.
#pragma once

#include "core/Mixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace eqtest {

inline std::string fluidFile(const std::string& name) { return std::string(TARNEVO_FLUIDS_DIR) + "/" + name + ".FLD"; }
inline std::string mixtureFile() { return std::string(TARNEVO_FLUIDS_DIR) + "/hmx.bnc"; }

inline std::unique_ptr<tarnevo::engine::Mixture> makeMixture(const std::vector<std::string>& names) {
    std::vector<std::string> files;
    for (const auto& n : names) files.push_back(fluidFile(n));
    std::string message;
    auto m = tarnevo::engine::createMixture(files, mixtureFile(), message);
    EXPECT_TRUE(m) << message;
    return m;
}

inline const std::vector<std::string>& naturalGasFluids() {
    static const std::vector<std::string> f = {"METHANE", "ETHANE", "PROPANE", "NITROGEN", "CO2"};
    return f;
}

inline double rel(double a, double b) { return std::fabs(a - b) / std::max(std::fabs(b), 1e-300); }

}  // namespace eqtest
