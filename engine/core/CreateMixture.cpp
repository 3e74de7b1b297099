#include "core/HelmholtzMixture.h"
#include "core/PengRobinson.h"
#include "core/ReferenceState.h"

namespace tarnevo::engine {

std::unique_ptr<HelmholtzMixture> createHelmholtzMixture(const std::vector<std::string>& fluidFiles,
                                                         const std::string& mixtureFile,
                                                         std::string& message) {
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

    std::vector<PengRobinsonComponent> pr(nc);
    std::vector<double> kij(nc * nc, 0.0);
    for (int i = 0; i < nc; ++i) {
        pr[i] = {fluids[i].tc, fluids[i].pc, fluids[i].omega};
        for (int j = 0; j < nc; ++j)
            if (i != j) kij[i * nc + j] = binaries.get(fluids[i].constants.cas, fluids[j].constants.cas);
    }
    auto mixture = std::make_unique<HelmholtzMixture>(
        std::move(fluids), std::make_unique<PengRobinson>(std::move(pr), std::move(kij)));
    if (!applyReferenceState(*mixture, ReferenceChoice{}, message)) return nullptr;
    return mixture;
}

std::unique_ptr<Mixture> createMixture(const std::vector<std::string>& fluidFiles,
                                       const std::string& mixtureFile, std::string& message) {
    return createHelmholtzMixture(fluidFiles, mixtureFile, message);
}

}  // namespace tarnevo::engine
