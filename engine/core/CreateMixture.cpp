#include "core/HelmholtzMixture.h"
#include "core/MultiFluid.h"
#include "core/PengRobinson.h"
#include "core/ReferenceState.h"

namespace tarnevo::engine {

std::unique_ptr<ResidualModel> createResidualModel(const std::string& name,
                                                   const std::vector<FluidData>& fluids,
                                                   const BinaryParameters& binaries,
                                                   std::string& message) {
    const int nc = static_cast<int>(fluids.size());
    if (name == "PR") {
        std::vector<PengRobinsonComponent> pr(nc);
        std::vector<double> kij(nc * nc, 0.0);
        for (int i = 0; i < nc; ++i) {
            pr[i] = {fluids[i].tc, fluids[i].pc, fluids[i].omega};
            for (int j = 0; j < nc; ++j)
                if (i != j) kij[i * nc + j] = binaries.get(fluids[i].constants.cas, fluids[j].constants.cas);
        }
        return std::make_unique<PengRobinson>(std::move(pr), std::move(kij));
    }
    if (name == "FEQ") {
        for (const FluidData& f : fluids)
            if (!f.hasEquation) {
                message = "fluid " + f.constants.name + " has no multiparameter equation of state";
                return nullptr;
            }
        return std::make_unique<MultiFluid>(fluids, binaries);
    }
    message = "unknown equation of state \"" + name + "\"";
    return nullptr;
}

std::unique_ptr<HelmholtzMixture> createHelmholtzMixture(const std::vector<std::string>& fluidFiles,
                                                         const std::string& mixtureFile,
                                                         std::string& message,
                                                         const std::string& model) {
    if (fluidFiles.empty()) {
        message = "no fluid files given";
        return nullptr;
    }
    std::vector<FluidData> fluids(fluidFiles.size());
    for (size_t i = 0; i < fluidFiles.size(); ++i)
        if (!readFluidFile(fluidFiles[i], fluids[i], message)) return nullptr;
    const int nc = static_cast<int>(fluids.size());
    for (int i = 0; i < nc; ++i)
        for (int j = 0; j < i; ++j)
            if (fluids[i].constants.cas == fluids[j].constants.cas) {
                message = "fluid " + fluids[i].constants.name + " is given twice";
                return nullptr;
            }
    BinaryParameters binaries;
    if (!mixtureFile.empty() && !readMixtureFile(mixtureFile, binaries, message)) return nullptr;

    auto residual = createResidualModel(model, fluids, binaries, message);
    if (!residual) return nullptr;
    auto mixture = std::make_unique<HelmholtzMixture>(std::move(fluids), std::move(residual));
    if (!applyReferenceState(*mixture, ReferenceChoice{}, message)) return nullptr;
    return mixture;
}

std::unique_ptr<Mixture> createMixture(const std::vector<std::string>& fluidFiles,
                                       const std::string& mixtureFile, std::string& message) {
    return createHelmholtzMixture(fluidFiles, mixtureFile, message);
}

}  // namespace tarnevo::engine
