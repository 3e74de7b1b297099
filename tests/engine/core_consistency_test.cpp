// Thermodynamic consistency of the engine's mixture model: identities between
// properties, analytic derivatives against finite differences, fugacities.
#include "core/HelmholtzMixture.h"
#include "core/PengRobinson.h"
#include "core/ReferenceState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using namespace tarnevo::engine;

namespace {

std::string fluid(const std::string& name) { return std::string(TARNEVO_FLUIDS_DIR) + "/" + name + ".FLD"; }
std::string mixFile() { return std::string(TARNEVO_FLUIDS_DIR) + "/hmx.bnc"; }

std::unique_ptr<HelmholtzMixture> make(const std::vector<std::string>& names,
                                       const std::string& model = "PR") {
    std::vector<std::string> files;
    for (const auto& n : names) files.push_back(fluid(n));
    std::string message;
    auto m = createHelmholtzMixture(files, mixFile(), message, model);
    EXPECT_TRUE(m) << message;
    return m;
}

struct State {
    const char* label;
    std::vector<std::string> fluids;
    std::vector<double> x;
    double T, p;
    Root root;
};

// Gas, liquid and supercritical states of pure fluids and mixtures.
const std::vector<State>& states() {
    static const std::vector<State> s = {
        {"methane gas", {"METHANE"}, {1.0}, 300, 5000, Root::Stable},
        {"methane liquid", {"METHANE"}, {1.0}, 120, 1000, Root::Liquid},
        {"water liquid", {"WATER"}, {1.0}, 350, 101.325, Root::Liquid},
        {"co2 supercritical", {"CO2"}, {1.0}, 320, 10000, Root::Stable},
        {"natural gas", {"METHANE", "ETHANE", "PROPANE", "NITROGEN", "CO2"},
         {0.85, 0.06, 0.03, 0.04, 0.02}, 280, 6000, Root::Stable},
        {"natural gas dense", {"METHANE", "ETHANE", "PROPANE", "NITROGEN", "CO2"},
         {0.85, 0.06, 0.03, 0.04, 0.02}, 250, 20000, Root::Stable},
        {"hydrocarbon liquid", {"PROPANE", "BUTANE", "PENTANE"}, {0.3, 0.3, 0.4}, 300, 2000,
         Root::Liquid},
        {"refrigerant vapour", {"R32", "R125", "R134A"}, {0.3, 0.3, 0.4}, 300, 500, Root::Vapour},
        {"co2 water gas", {"CO2", "WATER"}, {0.9, 0.1}, 400, 1000, Root::Vapour},
    };
    return s;
}

double rel(double a, double b) { return std::fabs(a - b) / std::max(std::fabs(b), 1e-300); }

}  // namespace

// Every state with Peng-Robinson and with the multiparameter equations.
class Consistency : public ::testing::TestWithParam<std::tuple<size_t, const char*>> {
protected:
    void SetUp() override {
        s = &states()[std::get<0>(GetParam())];
        m = make(s->fluids, std::get<1>(GetParam()));
        ASSERT_TRUE(m);
        ASSERT_TRUE(m->density(s->T, s->p, s->x.data(), s->root, rho)) << s->label;
        m->properties(s->T, rho, s->x.data(), pr);
    }
    const State* s = nullptr;
    std::unique_ptr<HelmholtzMixture> m;
    double rho = 0;
    Properties pr;
};

TEST_P(Consistency, DensityRootReproducesPressure) {
    EXPECT_LT(rel(pr.p, s->p), 1e-9) << s->label;
    EXPECT_GT(pr.dPdrho, 0) << s->label;
    // The pressure of density iterations follows a change of composition alone.
    std::vector<double> y = s->x;
    y[0] *= 0.9;
    y.back() += 0.1 * s->x[0];
    Properties py;
    m->properties(s->T, rho, y.data(), py);
    EXPECT_NEAR(m->pressure(s->T, rho, y.data()), py.p, 1e-12 * rho * m->model().gasConstant() * s->T) << s->label;
}

TEST_P(Consistency, EnergyIdentities) {
    const double T = s->T;
    EXPECT_LT(rel(pr.h, pr.e + pr.p / rho), 1e-10) << s->label;
    EXPECT_NEAR(pr.g, pr.h - T * pr.s, 1e-8 * (std::fabs(pr.h) + T * std::fabs(pr.s))) << s->label;
    EXPECT_NEAR(pr.a, pr.e - T * pr.s, 1e-8 * (std::fabs(pr.e) + T * std::fabs(pr.s))) << s->label;
    EXPECT_LT(rel(pr.Z, pr.p / (rho * m->model().gasConstant() * T)), 1e-12) << s->label;
}

TEST_P(Consistency, PressureDerivativesMatchFiniteDifferences) {
    const double T = s->T, *x = s->x.data();
    const double hr = rho * 1e-5, hT = T * 1e-5;
    const double dPdrho = (m->pressure(T, rho + hr, x) - m->pressure(T, rho - hr, x)) / (2 * hr);
    const double dPdT = (m->pressure(T + hT, rho, x) - m->pressure(T - hT, rho, x)) / (2 * hT);
    const double d2 = (m->pressure(T, rho + hr, x) - 2 * pr.p + m->pressure(T, rho - hr, x)) / (hr * hr);
    EXPECT_LT(rel(pr.dPdrho, dPdrho), 1e-7) << s->label;
    EXPECT_LT(rel(pr.dPdT, dPdT), 1e-7) << s->label;
    EXPECT_NEAR(pr.d2Pdrho2, d2, 1e-4 * std::fabs(pr.dPdrho / rho) + 1e-5 * std::fabs(d2)) << s->label;
    EXPECT_LT(rel(pr.drhodT, -dPdT / dPdrho), 1e-7);
    EXPECT_LT(rel(pr.drhodP, 1 / dPdrho), 1e-7);
}

TEST_P(Consistency, CaloricPropertiesMatchFiniteDifferences) {
    const double T = s->T, *x = s->x.data();
    const double hT = T * 1e-5;
    Properties up, dn;
    m->properties(T + hT, rho, x, up);
    m->properties(T - hT, rho, x, dn);
    // cv = (de/dT) at constant rho; s = -(da/dT); consistency of e, s and a.
    EXPECT_LT(rel(pr.cv, (up.e - dn.e) / (2 * hT)), 1e-7) << s->label;
    EXPECT_LT(rel(pr.s, -(up.a - dn.a) / (2 * hT)), 1e-7) << s->label;
    // cp along an isobar: (dh/dT)_p.
    double r1, r2;
    ASSERT_TRUE(m->density(T + hT, pr.p, x, s->root, r1, rho));
    ASSERT_TRUE(m->density(T - hT, pr.p, x, s->root, r2, rho));
    m->properties(T + hT, r1, x, up);
    m->properties(T - hT, r2, x, dn);
    EXPECT_LT(rel(pr.cp, (up.h - dn.h) / (2 * hT)), 1e-6) << s->label;
    // cp - cv identity and the speed of sound from its definition.
    EXPECT_LT(rel(pr.cp - pr.cv, T * pr.dPdT * pr.dPdT / (rho * rho * pr.dPdrho)), 1e-10);
    const double w2 = pr.cp / pr.cv * pr.dPdrho * 1000 / pr.molarMass;
    EXPECT_LT(rel(pr.w, std::sqrt(w2)), 1e-12);
    EXPECT_LT(rel(pr.hjt, (T * pr.dPdT / (rho * rho * pr.dPdrho) - 1 / rho) / pr.cp), 1e-10);
}

TEST_P(Consistency, FugacityCoefficientsAgreeWithGibbsEnergy) {
    const double T = s->T, *x = s->x.data();
    const int nc = m->size();
    LnPhi f;
    m->lnPhi(T, rho, x, 2, f);
    // sum x ln phi = g_res/RT at (T, p).
    double sum = 0;
    for (int i = 0; i < nc; ++i) sum += x[i] * f.lnphi[i];
    ResidualDerivatives r;
    m->model().evaluate(T, rho, x, 0, r);
    const double Z = pr.Z;
    EXPECT_NEAR(sum, r.ar + Z - 1 - std::log(Z), 1e-10) << s->label;

    // ln phi derivatives at constant p (T), constant T (p) and in the mole numbers.
    const double hT = T * 1e-5, hp = s->p * 1e-4;
    double rp, rm;
    LnPhi fp, fm;
    ASSERT_TRUE(m->density(T + hT, s->p, x, s->root, rp, rho));
    ASSERT_TRUE(m->density(T - hT, s->p, x, s->root, rm, rho));
    m->lnPhi(T + hT, rp, x, 0, fp);
    m->lnPhi(T - hT, rm, x, 0, fm);
    for (int i = 0; i < nc; ++i)
        EXPECT_NEAR(f.dT[i], (fp.lnphi[i] - fm.lnphi[i]) / (2 * hT), 1e-6 * (std::fabs(f.dT[i]) + 1e-4));
    ASSERT_TRUE(m->density(T, s->p + hp, x, s->root, rp, rho));
    ASSERT_TRUE(m->density(T, s->p - hp, x, s->root, rm, rho));
    m->lnPhi(T, rp, x, 0, fp);
    m->lnPhi(T, rm, x, 0, fm);
    for (int i = 0; i < nc; ++i)
        EXPECT_NEAR(f.dP[i], (fp.lnphi[i] - fm.lnphi[i]) / (2 * hp), 1e-6 * (std::fabs(f.dP[i]) + 1e-8));
    for (int j = 0; j < nc; ++j) {
        // n d ln phi_i / d n_j at constant T, p: perturb n_j of one mole of mixture.
        const double hn = 1e-6;
        std::vector<double> xp(x, x + nc), xm(x, x + nc);
        xp[j] += hn;
        xm[j] -= hn;
        for (int k = 0; k < nc; ++k) {
            xp[k] /= 1 + hn;
            xm[k] /= 1 - hn;
        }
        ASSERT_TRUE(m->density(T, s->p, xp.data(), s->root, rp, rho));
        ASSERT_TRUE(m->density(T, s->p, xm.data(), s->root, rm, rho));
        m->lnPhi(T, rp, xp.data(), 0, fp);
        m->lnPhi(T, rm, xm.data(), 0, fm);
        for (int i = 0; i < nc; ++i)
            EXPECT_NEAR(f.dn[i * nc + j], (fp.lnphi[i] - fm.lnphi[i]) / (2 * hn), 1e-6)
                << s->label << " i=" << i << " j=" << j;
    }
    // Gibbs-Duhem: sum_i x_i n d ln phi_i / d n_j = 0.
    for (int j = 0; j < nc; ++j) {
        double gd = 0;
        for (int i = 0; i < nc; ++i) gd += x[i] * f.dn[i * nc + j];
        EXPECT_NEAR(gd, 0, 1e-10);
    }
}

TEST_P(Consistency, SecondVirialFromLowDensityLimit) {
    const double T = s->T, *x = s->x.data();
    const double B = m->virialB(T, x);
    const double d = 1e-6;
    const double Z = m->pressure(T, d, x) / (d * m->model().gasConstant() * T);
    EXPECT_NEAR(B, (Z - 1) / d, 1e-5 * std::fabs(B) + 1e-9);
    const double hT = 1e-5 * T;
    EXPECT_LT(rel(m->virialBdT(T, x), (m->virialB(T + hT, x) - m->virialB(T - hT, x)) / (2 * hT)), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(States, Consistency,
                         ::testing::Combine(::testing::Range<size_t>(0, 9), ::testing::Values("PR", "FEQ")));

TEST(ReferenceState, SaturatedLiquidAtNormalBoilingPointHasZeroEnthalpyAndEntropy) {
    auto m = make({"PROPANE"});
    const double x[] = {1.0};
    double p, rl, rv;
    ASSERT_TRUE(pureSaturation(*m, 0, m->component(0).tNormalBoiling, p, rl, rv));
    Properties pr;
    m->properties(m->component(0).tNormalBoiling, rl, x, pr);
    EXPECT_NEAR(pr.h, 0, 1e-8);
    EXPECT_NEAR(pr.s, 0, 1e-10);
    EXPECT_NEAR(p, 101.325, 3.0);  // PR vapour pressure at the file's boiling point
}

TEST(SecondPressureDerivatives, MatchFiniteDifferences) {
    auto m = make({"METHANE", "ETHANE", "PROPANE", "NITROGEN", "CO2"});
    const double x[] = {0.85, 0.06, 0.03, 0.04, 0.02};
    for (double rho : {0.5, 8.0, 16.0}) {
        const double T = 260, hT = 1e-4 * T, hr = 1e-5 * rho;
        Properties pr, up, dn;
        m->properties(T, rho, x, pr);
        m->properties(T + hT, rho, x, up);
        m->properties(T - hT, rho, x, dn);
        EXPECT_LT(rel(pr.d2PdT2, (up.dPdT - dn.dPdT) / (2 * hT)), 1e-6) << rho;
        m->properties(T, rho + hr, x, up);
        m->properties(T, rho - hr, x, dn);
        EXPECT_LT(rel(pr.d2PdTdrho, (up.dPdT - dn.dPdT) / (2 * hr)), 1e-6) << rho;
    }
}

TEST(DensityRoots, LiquidAndVapourAtVeryLowPressure) {
    // Ethane at its triple point: liquid and vapour roots down to 1e-6 kPa.
    auto m = make({"ETHANE"});
    const double x[] = {1.0}, T = 90.368;
    double ref;
    ASSERT_TRUE(m->density(T, 1.0, x, Root::Liquid, ref));
    for (double p : {1e-6, 1e-4, 1e-2}) {
        double rl, rv;
        ASSERT_TRUE(m->density(T, p, x, Root::Liquid, rl));
        ASSERT_TRUE(m->density(T, p, x, Root::Vapour, rv));
        EXPECT_NEAR(rl, ref, 1e-6 * ref) << p;
        EXPECT_NEAR(rv, p / (kGasConstant * T), 1e-3 * rv) << p;
    }
    // Above the critical point there is one root and every choice returns it.
    double a, b, c;
    ASSERT_TRUE(m->density(400, 20000, x, Root::Liquid, a));
    ASSERT_TRUE(m->density(400, 20000, x, Root::Vapour, b));
    ASSERT_TRUE(m->density(400, 20000, x, Root::Stable, c));
    EXPECT_EQ(a, b);
    EXPECT_EQ(b, c);
}

TEST(ReferenceState, RefrigerantStatesAndTheirFallbackForFluidsWithoutLiquid) {
    auto m = make({"R134A", "METHANE"});
    ReferenceChoice iir;
    iir.code = "IIR";
    std::string message;
    ASSERT_TRUE(applyReferenceState(*m, iir, message)) << message;
    const double r134a[] = {1.0, 0.0}, methane[] = {0.0, 1.0};
    double p, rl, rv;
    ASSERT_TRUE(pureSaturation(*m, 0, 273.15, p, rl, rv));
    Properties pr;
    m->properties(273.15, rl, r134a, pr);
    EXPECT_NEAR(pr.h, 200 * m->component(0).molarMass, 1e-7);
    EXPECT_NEAR(pr.s, 1.0 * m->component(0).molarMass, 1e-9);
    // Methane is supercritical at 0 C: its normal-boiling-point reference stays.
    const double tb = m->component(1).tNormalBoiling;
    ASSERT_TRUE(pureSaturation(*m, 1, tb, p, rl, rv));
    m->properties(tb, rl, methane, pr);
    EXPECT_NEAR(pr.h, 0, 1e-8);
    EXPECT_NEAR(pr.s, 0, 1e-10);
    ReferenceChoice unknown;
    unknown.code = "XXX";
    EXPECT_FALSE(applyReferenceState(*m, unknown, message));
    EXPECT_EQ(message, "unknown reference state \"XXX\"");
}

namespace {

// A model without closed-form roots (as a multiparameter equation would be):
// Peng-Robinson underneath, but the mixture has to iterate for densities.
class IteratedModel : public ResidualModel {
public:
    explicit IteratedModel(std::unique_ptr<ResidualModel> inner) : inner_(std::move(inner)) {}
    int components() const override { return inner_->components(); }
    void evaluate(double T, double rho, const double* x, int order, ResidualDerivatives& out) const override {
        inner_->evaluate(T, rho, x, order, out);
    }
    double maxDensity(const double* x) const override { return inner_->maxDensity(x); }
    std::string name() const override { return "iterated"; }
    double gasConstant() const override { return inner_->gasConstant(); }

private:
    std::unique_ptr<ResidualModel> inner_;
};

}  // namespace

TEST(DensityRoots, IteratedRootsOfAModelWithoutClosedFormMatchTheCubic) {
    std::vector<FluidData> fluids(2);
    std::string message;
    ASSERT_TRUE(readFluidFile(fluid("PROPANE"), fluids[0], message)) << message;
    ASSERT_TRUE(readFluidFile(fluid("BUTANE"), fluids[1], message)) << message;
    auto pr = [&] {
        return std::make_unique<PengRobinson>(
            std::vector<PengRobinsonComponent>{{fluids[0].tc, fluids[0].pc, fluids[0].omega},
                                               {fluids[1].tc, fluids[1].pc, fluids[1].omega}},
            std::vector<double>{0, 0.003, 0.003, 0});
    };
    HelmholtzMixture cubic(fluids, pr());
    HelmholtzMixture iterated(fluids, std::make_unique<IteratedModel>(pr()));
    const double x[] = {0.4, 0.6};
    struct Case { double T, p; Root root; };
    for (const Case& c : {Case{300, 100, Root::Vapour}, Case{300, 3000, Root::Liquid},
                          Case{300, 500, Root::Stable}, Case{450, 6000, Root::Stable},
                          Case{250, 1e-3, Root::Liquid}}) {
        double a, b;
        ASSERT_TRUE(cubic.density(c.T, c.p, x, c.root, a));
        ASSERT_TRUE(iterated.density(c.T, c.p, x, c.root, b)) << c.T << " " << c.p;
        EXPECT_NEAR(b, a, 1e-9 * a) << c.T << " " << c.p;
    }
}

TEST(AllFluids, EveryFluidFileGivesConsistentCaloricProperties) {
    // Covers every cp0 form of the files (power terms, Planck-Einstein terms).
    const char* names[] = {"METHANE", "ETHANE", "PROPANE", "BUTANE", "ISOBUTAN", "PENTANE",
                           "IPENTANE", "HEXANE", "HEPTANE", "OCTANE", "NONANE", "DECANE",
                           "NITROGEN", "OXYGEN", "ARGON", "HELIUM", "HYDROGEN", "CO", "CO2",
                           "H2S", "WATER", "AMMONIA", "R134A", "R32", "R125", "R1234YF",
                           "R1234ZEE", "R22", "ETHYLENE", "PROPYLEN", "BENZENE", "TOLUENE",
                           "METHANOL", "ETHANOL", "ACETONE", "CYCLOHEX", "NEON", "KRYPTON",
                           "XENON", "SO2", "DME"};
    const double x[] = {1.0};
    for (const char* name : names) {
        auto m = make({name});
        ASSERT_TRUE(m) << name;
        const ComponentConstants& c = m->component(0);
        for (double T : {0.7 * c.tCritical, 1.3 * c.tCritical, 2.5 * c.tCritical}) {
            for (double rho : {0.01 * c.rhoCritical, c.rhoCritical}) {
                Properties pr, up, dn;
                m->properties(T, rho, x, pr);
                const double hT = 1e-5 * T;
                m->properties(T + hT, rho, x, up);
                m->properties(T - hT, rho, x, dn);
                EXPECT_TRUE(std::isfinite(pr.h) && std::isfinite(pr.s) && std::isfinite(pr.w)) << name;
                EXPECT_GT(pr.cv, 0) << name << " " << T;
                EXPECT_LT(rel(pr.cv, (up.e - dn.e) / (2 * hT)), 1e-6) << name << " " << T;
                EXPECT_LT(std::fabs(pr.s + (up.a - dn.a) / (2 * hT)), 1e-6 * (std::fabs(pr.s) + 10)) << name;
            }
        }
        // The ideal-gas heat capacity from THERM0's h and s.
        Properties a, b, i0;
        const double T = 1.1 * c.tCritical, hT = 1e-5 * T;
        m->idealProperties(T, 0, x, i0);
        m->idealProperties(T + hT, 0, x, a);
        m->idealProperties(T - hT, 0, x, b);
        EXPECT_LT(rel(i0.cp, (a.h - b.h) / (2 * hT)), 1e-7) << name;
        EXPECT_LT(rel(i0.cp, T * (a.s - b.s) / (2 * hT)), 1e-7) << name;
    }
}
