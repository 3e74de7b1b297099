// Derivative forms: analytic against perturbation, exact steps, nc x nc layouts,
// Gibbs-Duhem, warning contexts at perturbed points.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "tests/properties/PropertiesFixture.h"

using namespace tarnevo_test;

namespace {

constexpr HRESULT kUnknownHR = static_cast<HRESULT>(0x80040501L);

class Derivatives : public testing::Test {
protected:
    void SetUp() override { package = PropertiesStore::Get().Package(L"Gas5"); }
    std::vector<double> At(double T, double P, const std::vector<double>& x, const std::wstring& name,
                           const std::wstring& basis = L"mole") {
        material = SetMaterial(package, kGas5, L"Vapor", T, P, x);
        EXPECT_EQ(package->CalcSinglePhaseProp(Names({name}), _bstr_t(L"Vapor")), S_OK)
            << Narrow(ErrorDescription(package.Get()));
        return Written(material, name, L"Vapor", basis);
    }
    PackagePtr package;
    MaterialPtr material;
};

TEST_F(Derivatives, AnalyticDerivativesAgreeWithDifferences) {
    const double T = 300, P = 5e6, dT = 0.01, dP = 100;
    const auto& x = kGas5Fractions;
    struct Case {
        std::wstring name, basis;
        bool temperature;
    };
    for (const Case& c : {Case{L"density", L"mole", true}, Case{L"density", L"mole", false},
                          Case{L"enthalpy", L"mole", true}, Case{L"enthalpy", L"mole", false},
                          Case{L"volume", L"mole", true}, Case{L"volume", L"mole", false},
                          Case{L"compressibilityFactor", L"", true}, Case{L"compressibilityFactor", L"", false}}) {
        const std::wstring form = c.name + (c.temperature ? L".Dtemperature" : L".Dpressure");
        const double analytic = At(T, P, x, form, c.basis).at(0);
        const double minus = At(c.temperature ? T - dT : T, c.temperature ? P : P - dP, x, c.name, c.basis).at(0);
        const double plus = At(c.temperature ? T + dT : T, c.temperature ? P : P + dP, x, c.name, c.basis).at(0);
        const double central = (plus - minus) / (2 * (c.temperature ? dT : dP));
        EXPECT_NEAR(analytic, central, 1e-5 * std::fabs(central) + 1e-15) << Narrow(form);
    }
}

TEST_F(Derivatives, EnthalpyTemperatureDerivativeIsCpWhicheverRoutineGivesIt) {
    material = SetMaterial(package, kGas5, L"Vapor", 300, 5e6, kGas5Fractions);
    ASSERT_EQ(package->CalcSinglePhaseProp(Names({L"enthalpy.Dtemperature", L"enthalpy.Dpressure"}), _bstr_t(L"Vapor")),
              S_OK);
    const EngineState e = EngineAt(package, 300, 5000, kGas5Fractions, 2);
    EXPECT_NEAR(Written(material, L"enthalpy.Dtemperature", L"Vapor", L"mole").at(0), e.cp, 1e-9 * e.cp);
}

TEST_F(Derivatives, PerturbationUsesTheRepresentedSteps) {
    // At 300 K the step is 0.03 K; at 101325 Pa the pressure step is 101.325e-4 kPa as represented.
    const double T = 300, P = 101325;
    const auto& x = kGas5Fractions;
    material = SetMaterial(package, kGas5, L"Vapor", T, P, x);
    ASSERT_EQ(package->CalcSinglePhaseProp(Names({L"entropy.Dtemperature", L"entropy.Dpressure", L"viscosity.Dpressure"}),
                                           _bstr_t(L"Vapor")),
              S_OK);
    const double T1 = T + 1e-4 * T;
    const double Pk = P * 0.001, P1 = Pk + 1e-4 * Pk;
    const EngineState e0 = EngineAt(package, T, Pk, x, 2), eT = EngineAt(package, T1, Pk, x, 2),
                      eP = EngineAt(package, T, P1, x, 2);
    EXPECT_DOUBLE_EQ(Written(material, L"entropy.Dtemperature", L"Vapor", L"mole").at(0), (eT.s - e0.s) / (T1 - T));
    EXPECT_DOUBLE_EQ(Written(material, L"entropy.Dpressure", L"Vapor", L"mole").at(0),
                     (eP.s - e0.s) / ((P1 - Pk) * 1000));
    EXPECT_NEAR(Written(material, L"viscosity.Dpressure", L"Vapor", L"").at(0),
                (eP.eta - e0.eta) * 1e-9 / (P1 - Pk), 1e-9 * std::fabs((eP.eta - e0.eta) * 1e-9 / (P1 - Pk)));
}

TEST_F(Derivatives, FugacityMoleNumberDerivativesLayoutAndGibbsDuhem) {
    const double T = 260, P = 4e6;
    const std::vector<double> x = {0.7, 0.1, 0.1, 0.05, 0.05};
    material = SetMaterial(package, kGas5, L"Vapor", T, P, x);
    ASSERT_EQ(package->CalcSinglePhaseProp(Names({L"logFugacityCoefficient.Dmoles", L"fugacityCoefficient.Dmoles",
                                                  L"density.Dmoles"}),
                                           _bstr_t(L"Vapor")),
              S_OK)
        << Narrow(ErrorDescription(package.Get()));
    const auto dlnphi = Written(material, L"logFugacityCoefficient.Dmoles", L"Vapor", L"");
    const auto dphi = Written(material, L"fugacityCoefficient.Dmoles", L"Vapor", L"");
    ASSERT_EQ(dlnphi.size(), 25u);
    ASSERT_EQ(dphi.size(), 25u);
    const EngineState e0 = EngineAt(package, T, P * 0.001, x, 2);
    for (size_t j = 0; j < 5; ++j) {
        // Mole-number point j: the step (negative above 0.5), then renormalised.
        const double step = (x[j] + (x[j] > 0.5 ? -1e-5 : 1e-5)) - x[j];
        std::vector<double> n = x;
        n[j] += step;
        double sum = 0;
        for (double v : n) sum += v;
        for (double& v : n) v /= sum;
        const EngineState ej = EngineAt(package, T, P * 0.001, n, 2);
        double gibbsDuhem = 0, scale = 0;
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_NEAR(dphi[j * 5 + i], (ej.phi[i] - e0.phi[i]) / step, 1e-6 * std::fabs(dphi[j * 5 + i]) + 1e-9)
                << "i " << i << " j " << j;
            gibbsDuhem += x[i] * dlnphi[j * 5 + i];
            scale += std::fabs(x[i] * dlnphi[j * 5 + i]);
        }
        EXPECT_NEAR(gibbsDuhem, 0.0, 1e-3 * scale) << "j " << j;
    }
    // Symmetry of d ln phi_i / d n_j for an exact model, within the truncation error.
    EXPECT_NEAR(dlnphi[1 * 5 + 2], dlnphi[2 * 5 + 1], 1e-3 * std::fabs(dlnphi[1 * 5 + 2]));
}

TEST_F(Derivatives, CompositionPointFailuresAndWarningContexts) {
    auto context = tarnevo::host::CHostSimulationContext::Create();
    ASSERT_EQ(package->put_simulationContext(context->Dispatch()), S_OK);
    // Above the data range (temperature): every evaluation warns with its own context.
    material = SetMaterial(package, kGas5, L"Vapor", 1500, 5e6, kGas5Fractions);
    ASSERT_EQ(package->CalcSinglePhaseProp(Names({L"viscosity.Dtemperature", L"fugacityCoefficient.Dpressure",
                                                  L"density.Dmoles", L"thermalConductivity.Dmoles"}),
                                           _bstr_t(L"Vapor")),
              S_OK)
        << Narrow(ErrorDescription(package.Get()));
    std::vector<std::string> contexts;
    for (const auto& message : context->LoggedMessages()) {
        const std::string text = Narrow(message);
        contexts.push_back(text.substr(0, text.find(": ", 9)));
    }
    using testing::Contains;
    EXPECT_THAT(contexts, Contains("Warning: Density calculation"));
    EXPECT_THAT(contexts, Contains("Warning: Density calculation (temperature perturbation)"));
    EXPECT_THAT(contexts, Contains("Warning: Density calculation (pressure perturbation)"));
    EXPECT_THAT(contexts, Contains("Warning: Density calculation (composition perturbation)"));
    EXPECT_THAT(contexts, Contains("Warning: Fugacity coefficient calculation"));
    EXPECT_THAT(contexts, Contains("Warning: Fugacity coefficient calculation (pressure perturbation)"));
    EXPECT_THAT(contexts, Contains("Warning: Transport properties"));
    EXPECT_THAT(contexts, Contains("Warning: Transport properties (temperature perturbation)"));
    EXPECT_THAT(contexts, Contains("Warning: Transport properties (composition perturbation)"));
    EXPECT_EQ(Written(material, L"density.Dmoles", L"Vapor", L"mole").size(), 5u);

    // Mole-fraction points are not renormalised: the partial derivative in one fraction,
    // the other fractions held, at the perturbed composition taken as given.
    material = SetMaterial(package, kGas5, L"Vapor", 300, 5e6, kGas5Fractions);
    ASSERT_EQ(package->CalcSinglePhaseProp(Names({L"density", L"density.DmolFraction"}), _bstr_t(L"Vapor")), S_OK)
        << Narrow(ErrorDescription(package.Get()));
    const std::vector<double> drho = Written(material, L"density.DmolFraction", L"Vapor", L"mole");
    ASSERT_EQ(drho.size(), 5u);
    const EngineState base = EngineAt(package, 300, 5000, kGas5Fractions, 2);
    for (size_t j = 0; j < 5; ++j) {
        std::vector<double> xj = kGas5Fractions;
        const double delta = (xj[j] > 0.5 ? -1e-5 : 1e-5);
        const double step = (xj[j] + delta) - xj[j];
        xj[j] += step;
        const EngineState perturbed = EngineAt(package, 300, 5000, xj, 2);
        EXPECT_NEAR(drho[j], (perturbed.rho - base.rho) * 1000 / step, 1e-6 * std::fabs(drho[j])) << "j " << j;
    }
}

}  // namespace
