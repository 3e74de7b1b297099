// CalcEquilibrium through COM: every failure message with its HRESULT, scope and interface,
// the values a failing write leaves behind, the calls made on the material and in the
// engine, and the special cases of the present-phase decision and the compound mapping.
#include <gtest/gtest.h>

#include <functional>

#include "com/CapeHResults.h"
#include "tests/flash/FlashFixture.h"
#include "tools/host/HostSimulationContext.h"
#include "tools/host/VariantValues.h"

namespace tarnevo_test {
namespace {

using tarnevo::host::DoubleArray;
using tarnevo::ECapeUnknownHR;
using tarnevo::host::LongArray;
using tarnevo::host::StringArray;

class CalcEquilibriumTest : public ::testing::Test {
protected:
    void SetUp() override { package_ = FlashStore::Get().Package(L"NaturalGas"); }

    // Natural gas at 190 K and 3 MPa (two phases) with h, s, u, v and a vapour fraction.
    MaterialPtr GasMaterial(std::vector<std::wstring> phases = {L"Vapor", L"Liquid"}) {
        auto material = MakeMaterial(kNaturalGas, 190, 3e6, kNaturalGasFractions, phases);
        static const FlashPackage::Overall engine = package_->EngineTP(190, 3e6, kNaturalGasFractions);
        material->PutOverall(L"enthalpy", L"mole", {engine.h});
        material->PutOverall(L"entropy", L"mole", {engine.s});
        material->PutOverall(L"internalEnergy", L"mole", {engine.e});
        material->PutOverall(L"volume", L"mole", {engine.volume});
        material->PutSinglePhase(L"phaseFraction", L"Vapor", L"mole", {0.5});
        material->PutSinglePhase(L"phaseFraction", L"Vapor", L"mass", {0.5});
        return material;
    }

    // Runs the flash, expects failure with `message` (scope and interface of CalcEquilibrium).
    void ExpectFailure(const MaterialPtr& material, const _variant_t& a, const _variant_t& b,
                       const std::wstring& message) {
        EXPECT_EQ(Flash(package_, material, a, b), tarnevo::ECapeUnknownHR) << Narrow(message);
        EXPECT_EQ(ErrorDescription(package_), message);
        EXPECT_EQ(ErrorScope(package_), L"CalcEquilibrium");
        EXPECT_EQ(ErrorInterface(package_), L"ICapeThermoEquilibriumRoutine");
    }

    PackagePtr package_;
    const _variant_t t_ = Given(L"Temperature"), p_ = Given(L"Pressure"), h_ = Given(L"enthalpy");
};

TEST_F(CalcEquilibriumTest, FailuresBeforeTheMaterialIsRead) {
    ExpectFailure(nullptr, t_, p_, L"Material has not been set");
    ExpectFailure(GasMaterial(), t_, t_, L"Duplicate specification of temperature");
    ExpectFailure(GasMaterial(), Given(L"Temperature", L"mole"), p_, L"Invalid specification 1: Unsupported basis");
}

TEST(CalcEquilibriumGuard, UninitialisablePackageReportsItsInitialisationError) {
    FlashStore::Get();
    auto package = tarnevo::MakeComObject<FlashPackage>();
    package->SetPackageName(L"NoSuchPackage");
    Microsoft::WRL::ComPtr<ICapeThermoEquilibriumRoutine> routine;
    package.As(&routine);
    const HRESULT failedInitialisation = static_cast<HRESULT>(0x8004050FL);
    EXPECT_EQ(routine->CalcEquilibrium(Given(L"temperature"), Given(L"pressure"), nullptr), failedInitialisation);
    EXPECT_EQ(ErrorScope(package), L"CalcEquilibrium");
    VARIANT_BOOL supported = VARIANT_TRUE;
    EXPECT_EQ(routine->CheckEquilibriumSpec(Given(L"temperature"), Given(L"pressure"), nullptr, &supported),
              failedInitialisation);
    EXPECT_EQ(ErrorScope(package), L"CheckEquilibriumSpec");
    EXPECT_EQ(ErrorInterface(package), L"ICapeThermoEquilibriumRoutine");
    EXPECT_EQ(ErrorDescription(package).rfind(L"Property package definition (", 0), 0u);
}

TEST_F(CalcEquilibriumTest, PresentPhasesAndComposition) {
    struct Case {
        std::function<void(tarnevo::host::CHostMaterial&)> setUp;
        _variant_t a, b;
        std::wstring message;
    };
    const Case cases[] = {
        {[](auto& m) { m.FailCall(L"GetPresentPhases", ECapeUnknownHR, L"phases unknown"); }, t_, p_,
         L"Failed to get a list of present phases from the material object: phases unknown"},
        {[](auto& m) { m.PutPresentPhases({}); }, t_, p_, L"Cannot perform flash with zero phases"},
        {[](auto& m) { m.PutPresentPhases({L"Vapor", L"Solid"}); }, t_, p_,
         L"Unknown phase \"Solid\" returned in list of present phases of material object"},
        {[](auto& m) { m.PutPresentPhasesRaw(StringArray({L"liquid", nullptr}), LongArray({1, 1})); }, t_, p_,
         L"Unknown phase \"NULL\" returned in list of present phases of material object"},
        {[](auto& m) { m.FailCall(L"GetOverallTPFraction", ECapeUnknownHR, L"no state"); }, t_, p_,
         L"Failed to get T, P and composition from material object: no state"},
        {[](auto& m) {
             m.FailCall(L"GetOverallTPFraction", ECapeUnknownHR, L"no state");
             m.FailCall(L"GetOverallProp", ECapeUnknownHR, L"no fractions", L"fraction");
         },
         p_, h_,
         L"Failed to get composition from material object: no fractions"},
        {[](auto& m) { m.PutOverallRaw(L"fraction", L"mole", StringArray({L"0.5", L"0.5"})); }, p_, h_,
         L"Invalid values for overall composition from material object: Expected an array of type double precision"},
        {[](auto& m) { m.PutOverall(L"fraction", L"mole", {0.5, 0.5}); }, p_, h_,
         L"Invalid values for overall composition from material object: invalid number of values"},
        {[](auto& m) { m.PutPresentPhases({L"Vapor"}); }, t_, VaporFraction(),
         L"Cannot perform a single phase flash with phase fraction as specification"},
        {[](auto& m) { m.PutPresentPhases({L"Liquid"}); }, p_, VaporFraction(L"mass"),
         L"Cannot perform a single phase flash with phase fraction as specification"},
    };
    for (const Case& c : cases) {
        auto material = GasMaterial();
        c.setUp(*material.Get());
        ExpectFailure(material, c.a, c.b, c.message);
        EXPECT_TRUE(material->CallsTo(L"SetPresentPhases").empty());
    }
}

TEST_F(CalcEquilibriumTest, SpecifiedValues) {
    struct Quantity {
        const wchar_t* property;
        const wchar_t* basis;
        const wchar_t* name;
        _variant_t a, b;
    };
    const Quantity quantities[] = {
        {L"temperature", L"", L"temperature", t_, h_},
        {L"pressure", L"", L"pressure", p_, h_},
        {L"enthalpy", L"mole", L"enthalpy", p_, h_},
        {L"entropy", L"mole", L"entropy", Given(L"entropy"), p_},
        {L"volume", L"mole", L"volume", Given(L"Volume"), p_},
        {L"internalEnergy", L"mole", L"internal energy", t_, Given(L"internalEnergy")},
        {L"phaseFraction", L"mole", L"vapor fraction", t_, VaporFraction(L"mole")},
        {L"phaseFraction", L"mass", L"vapor fraction", p_, VaporFraction(L"mass")},
    };
    for (const Quantity& q : quantities) {
        const bool phase = std::wstring(q.property) == L"phaseFraction";
        const std::wstring name(q.name);
        auto put = [&](auto& material, const std::vector<double>& values) {
            if (phase)
                material->PutSinglePhase(q.property, L"Vapor", q.basis, values);
            else
                material->PutOverall(q.property, q.basis, values);
        };
        auto material = GasMaterial();
        material->FailCall(phase ? L"GetSinglePhaseProp" : L"GetOverallProp", ECapeUnknownHR, L"gone", q.property);
        material->FailCall(L"GetOverallTPFraction", ECapeUnknownHR, L"no state");
        ExpectFailure(material, q.a, q.b, L"Failed to get " + name + L" from material object: gone");

        material = GasMaterial();
        if (phase)
            material->PutSinglePhaseRaw(q.property, L"Vapor", q.basis, StringArray({L"1"}));
        else
            material->PutOverallRaw(q.property, q.basis, StringArray({L"1"}));
        ExpectFailure(material, q.a, q.b,
                      L"Invalid value for " + name + L" from material object: Expected an array of type double precision");

        material = GasMaterial();
        put(material, {1.0, 2.0});
        ExpectFailure(material, q.a, q.b, L"Invalid value for " + name + L" from material object: scalar expected");
    }
}

TEST_F(CalcEquilibriumTest, EveryBasisOnAMaterialThatGivesTAndPOnlyWithTheComposition) {
    const FlashPackage::Overall state = package_->EngineTP(190, 3e6, kNaturalGasFractions);
    double kgPerMole = 0;
    for (size_t i = 0; i < kNaturalGasFractions.size(); ++i)
        kgPerMole += kNaturalGasFractions[i] * package_->Records()[i].molecularWeight * 0.001;
    const std::pair<_variant_t, double> flashes[] = {
        {Given(L"enthalpy", L""), state.h}, {Given(L"enthalpy", L"Mole"), state.h}, {Given(L"enthalpy", L"mass"), state.h},
        {Given(L"entropy", L""), state.s},  {Given(L"entropy", L"MOLE"), state.s},  {Given(L"entropy", L"Mass"), state.s},
        {VaporFraction(L"mole"), 0},        {VaporFraction(L"mass"), 0}};
    for (const auto& [specification, value] : flashes) {
        auto material = GasMaterial();
        material->SetBasislessOnlyInTPFraction(true);
        material->PutOverall(L"enthalpy", L"mass", {state.h / kgPerMole});
        material->PutOverall(L"entropy", L"mass", {state.s / kgPerMole});
        ASSERT_EQ(Flash(package_, material, specification, value ? p_ : t_), S_OK) << Narrow(ErrorDescription(package_));
        if (value) {
            EXPECT_NEAR(PhaseValues(material, L"phaseFraction", L"Vapor", L"mole").at(0), state.q, 1e-6);
        }
    }
}

TEST_F(CalcEquilibriumTest, RefpropErrorsFailAndWarningsAreLogged) {
    auto material = MakeMaterial(kNaturalGas, 190, 3e6, {0.1, 0.1, 0.1, 0.1, 0.1});   // sums to 0.5
    EXPECT_EQ(Flash(package_, material, t_, p_), tarnevo::ECapeUnknownHR);
    EXPECT_EQ(ErrorDescription(package_).rfind(L"TPFLSHdll: ", 0), 0u) << Narrow(ErrorDescription(package_));
    EXPECT_TRUE(material->CallsTo(L"SetPresentPhases").empty());

    auto context = tarnevo::host::CHostSimulationContext::Create();
    Microsoft::WRL::ComPtr<ICapeUtilities> utilities;
    package_.As(&utilities);
    ASSERT_EQ(utilities->put_simulationContext(context->Dispatch()), S_OK);
    material = MakeMaterial(kNaturalGas, 1500, 1e5, kNaturalGasFractions);   // beyond the data's temperatures
    ASSERT_EQ(Flash(package_, material, t_, p_), S_OK) << Narrow(ErrorDescription(package_));
    const std::vector<std::wstring> logged = context->LoggedMessages();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].rfind(L"Warning: T-P flash: TPFLSHdll: ", 0), 0u) << Narrow(logged[0]);
    EXPECT_EQ(material->PresentPhaseLabels().size(), 1u);
}

TEST_F(CalcEquilibriumTest, FailedWritesKeepWhatWasWritten) {
    struct Case {
        const wchar_t* method;
        const wchar_t* property;
        std::vector<std::wstring> listed;
        _variant_t a, b;
        std::wstring message;
    };
    const Case cases[] = {
        {L"SetPresentPhases", L"", {L"Vapor", L"Liquid"}, t_, p_,
         L"Failed to set present phases after flash calculation: refused"},
        {L"SetSinglePhaseProp", L"temperature", {L"Vapor", L"Liquid"}, t_, p_, L"Failed to set vapor temperature: refused"},
        {L"SetSinglePhaseProp", L"pressure", {L"Vapor", L"Liquid"}, t_, p_, L"Failed to set vapor pressure: refused"},
        {L"SetSinglePhaseProp", L"fraction", {L"Vapor", L"Liquid"}, t_, p_, L"Failed to set vapor composition: refused"},
        {L"SetSinglePhaseProp", L"phaseFraction", {L"Vapor", L"Liquid"}, t_, p_,
         L"Failed to set vapor phase fraction: refused"},
        {L"SetSinglePhaseProp", L"temperature", {L"Liquid"}, t_, p_, L"Failed to set liquid temperature: refused"},
        {L"SetSinglePhaseProp", L"pressure", {L"Liquid"}, t_, p_, L"Failed to set liquid pressure: refused"},
        {L"SetSinglePhaseProp", L"fraction", {L"Liquid"}, t_, p_, L"Failed to set liquid composition: refused"},
        {L"SetSinglePhaseProp", L"phaseFraction", {L"Liquid"}, t_, p_, L"Failed to set liquid phase fraction: refused"},
        {L"SetOverallProp", L"temperature", {L"Vapor", L"Liquid"}, p_, h_, L"Failed to set overall temperature: refused"},
        {L"SetOverallProp", L"pressure", {L"Vapor", L"Liquid"}, t_, h_, L"Failed to set overall pressure: refused"},
    };
    for (const Case& c : cases) {
        auto material = GasMaterial(c.listed);
        material->FailCall(c.method, ECapeUnknownHR, L"refused", c.property);
        ExpectFailure(material, c.a, c.b, c.message);
    }
    // Vapour phase fraction refused: the present phases and the vapour's T, P and composition stay.
    auto material = GasMaterial();
    material->FailCall(L"SetSinglePhaseProp", ECapeUnknownHR, L"refused", L"phaseFraction");
    ExpectFailure(material, t_, p_, L"Failed to set vapor phase fraction: refused");
    EXPECT_EQ(material->PresentPhaseLabels(), (std::vector<std::wstring>{L"Vapor", L"Liquid"}));
    EXPECT_EQ(PhaseValues(material, L"temperature", L"Vapor"), std::vector<double>{190});
    EXPECT_EQ(PhaseValues(material, L"pressure", L"Vapor"), std::vector<double>{3e6});
    EXPECT_EQ(PhaseValues(material, L"fraction", L"Vapor", L"mole").size(), 5u);
    EXPECT_TRUE(PhaseValues(material, L"temperature", L"Liquid").empty());
    // Overall temperature refused after a P-H flash: both phases are on the material.
    material = GasMaterial();
    material->FailCall(L"SetOverallProp", ECapeUnknownHR, L"refused", L"temperature");
    ExpectFailure(material, p_, h_, L"Failed to set overall temperature: refused");
    EXPECT_NEAR(PhaseValues(material, L"temperature", L"Liquid").at(0), 190, 2e-3);
    EXPECT_EQ(PhaseValues(material, L"phaseFraction", L"Liquid", L"mole").size(), 1u);
}

// Method and property of each material call after the compound list was read.
std::vector<std::wstring> CallSequence(const MaterialPtr& material) {
    std::vector<std::wstring> calls;
    for (const auto& call : material->Calls()) {
        if (call.method == L"GetCompoundList") continue;
        std::wstring text = call.method;
        if (!call.property.empty()) text += L" " + call.property;
        for (const std::wstring& phase : call.phases)
            if (call.method.find(L"SinglePhase") != std::wstring::npos) text += L" " + phase;
        calls.push_back(text);
    }
    return calls;
}

TEST_F(CalcEquilibriumTest, MaterialCallsInOrder) {
    auto material = GasMaterial();
    ASSERT_EQ(Flash(package_, material, p_, h_), S_OK) << Narrow(ErrorDescription(package_));
    const std::vector<std::wstring> expected = {
        L"GetPresentPhases",
        L"GetOverallTPFraction",
        L"GetOverallProp enthalpy",
        L"SetPresentPhases",
        L"SetSinglePhaseProp temperature Vapor",
        L"SetSinglePhaseProp pressure Vapor",
        L"SetSinglePhaseProp fraction Vapor",
        L"SetSinglePhaseProp phaseFraction Vapor",
        L"SetSinglePhaseProp temperature Liquid",
        L"SetSinglePhaseProp pressure Liquid",
        L"SetSinglePhaseProp fraction Liquid",
        L"SetSinglePhaseProp phaseFraction Liquid",
        L"SetOverallProp temperature",
    };
    EXPECT_EQ(CallSequence(material), expected);
    EXPECT_EQ(material->PresentPhaseStatus(), (std::vector<long>{1, 1}));
    const double q = PhaseValues(material, L"phaseFraction", L"Vapor", L"mole").at(0);
    EXPECT_NEAR(PhaseValues(material, L"phaseFraction", L"Liquid", L"mole").at(0), 1 - q, 1e-15);
    // The input pressure is written back unchanged.
    EXPECT_EQ(PhaseValues(material, L"pressure", L"Vapor"), std::vector<double>{3e6});
}

TEST_F(CalcEquilibriumTest, SinglePhaseRouteOnALiquidMaterialCallsNoRoutine) {
    auto material = GasMaterial({L"Liquid"});
    const auto calls = RecordedCalls([&] { ASSERT_EQ(Flash(package_, material, p_, t_), S_OK); });
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(material->PresentPhaseLabels(), std::vector<std::wstring>{L"Liquid"});
    EXPECT_EQ(PhaseValues(material, L"temperature", L"Liquid"), std::vector<double>{190});
    EXPECT_EQ(PhaseValues(material, L"pressure", L"Liquid"), std::vector<double>{3e6});
    EXPECT_EQ(PhaseValues(material, L"fraction", L"Liquid", L"mole"), kNaturalGasFractions);
    EXPECT_EQ(PhaseValues(material, L"phaseFraction", L"Liquid", L"mole"), std::vector<double>{1});
    EXPECT_TRUE(material->CallsTo(L"SetOverallProp").empty());
}

TEST_F(CalcEquilibriumTest, VaporFractionFlashesKeepBothPhases) {
    // P-Q at q = 0: both phases written, the vapour with phase fraction 0.
    auto material = GasMaterial();
    material->PutSinglePhase(L"phaseFraction", L"Vapor", L"mole", {0.0});
    ASSERT_EQ(Flash(package_, material, p_, VaporFraction()), S_OK) << Narrow(ErrorDescription(package_));
    EXPECT_EQ(material->PresentPhaseLabels(), (std::vector<std::wstring>{L"Vapor", L"Liquid"}));
    EXPECT_EQ(PhaseValues(material, L"phaseFraction", L"Vapor", L"mole"), std::vector<double>{0});
    EXPECT_EQ(PhaseValues(material, L"phaseFraction", L"Liquid", L"mole"), std::vector<double>{1});
    EXPECT_EQ(OverallValues(material, L"temperature").size(), 1u);
    EXPECT_NE(OverallValues(material, L"temperature").at(0), 190);   // the bubble point, not the input

    // T-Q on a mass basis: the written fraction is on a mole basis.
    material = GasMaterial();
    ASSERT_EQ(Flash(package_, material, t_, VaporFraction(L"mass")), S_OK) << Narrow(ErrorDescription(package_));
    const auto x = PhaseValues(material, L"fraction", L"Liquid", L"mole");
    const auto y = PhaseValues(material, L"fraction", L"Vapor", L"mole");
    ASSERT_EQ(x.size(), 5u);
    ASSERT_EQ(y.size(), 5u);
    double mx = 0, my = 0;
    for (size_t i = 0; i < 5; ++i) {
        mx += x[i] * package_->Records()[i].molecularWeight;
        my += y[i] * package_->Records()[i].molecularWeight;
    }
    EXPECT_GT(mx, my);
    EXPECT_NEAR(PhaseValues(material, L"phaseFraction", L"Vapor", L"mole").at(0), mx * 0.5 / (0.5 * my + 0.5 * mx),
                1e-12);
    EXPECT_EQ(OverallValues(material, L"pressure").size(), 1u);
}

TEST_F(CalcEquilibriumTest, SuperheatedAndSupercriticalResultsAreVapor) {
    PackagePtr propane = FlashStore::Get().Package(L"Propane");
    for (double t : {400.0, 300.0}) {   // 999 above the critical point, 998 superheated
        auto material = MakeMaterial(kPropane, t, t > 380 ? 6e6 : 0.5e6, {1.0});
        ASSERT_EQ(Flash(propane, material, t_, p_), S_OK) << Narrow(ErrorDescription(propane));
        EXPECT_EQ(material->PresentPhaseLabels(), std::vector<std::wstring>{L"Vapor"});
        EXPECT_EQ(PhaseValues(material, L"phaseFraction", L"Vapor", L"mole"), std::vector<double>{1});
        EXPECT_EQ(PhaseValues(material, L"fraction", L"Vapor", L"mole"), std::vector<double>{1});
        EXPECT_TRUE(PhaseValues(material, L"temperature", L"Liquid").empty());
    }
    auto material = MakeMaterial(kPropane, 300, 3e6, {1.0});   // subcooled
    ASSERT_EQ(Flash(propane, material, t_, p_), S_OK);
    EXPECT_EQ(material->PresentPhaseLabels(), std::vector<std::wstring>{L"Liquid"});
    EXPECT_TRUE(PhaseValues(material, L"temperature", L"Vapor").empty());
}

TEST_F(CalcEquilibriumTest, EntropyEnthalpyFlashNeedsNoTemperature) {
    const FlashPackage::Overall engine = package_->EngineTP(190, 3e6, kNaturalGasFractions);
    auto material = tarnevo::host::CHostMaterial::Create(kNaturalGas);
    material->PutOverall(L"fraction", L"mole", kNaturalGasFractions);
    material->PutOverall(L"enthalpy", L"mole", {engine.h});
    material->PutOverall(L"entropy", L"mole", {engine.s});
    material->PutPresentPhases({L"Vapor", L"Liquid"});
    ASSERT_EQ(Flash(package_, material, Given(L"entropy"), h_), S_OK) << Narrow(ErrorDescription(package_));
    EXPECT_NEAR(OverallValues(material, L"temperature").at(0), 190, 2e-3);
    EXPECT_NEAR(OverallValues(material, L"pressure").at(0), 3e6, 60);
    EXPECT_NEAR(PhaseValues(material, L"phaseFraction", L"Vapor", L"mole").at(0), engine.q, 2e-4);
}

TEST_F(CalcEquilibriumTest, MaterialWithTwoOfThreeCompounds) {
    PackagePtr three = FlashStore::Get().Package(L"Three");
    // PENTANE and PROPANE in the material's order; BUTANE takes part with mole fraction 0.
    auto material = MakeMaterial({L"pentane", L"PROPANE"}, 350, 1e6, {0.4, 0.6});
    ASSERT_EQ(Flash(three, material, t_, p_), S_OK) << Narrow(ErrorDescription(three));
    const FlashPackage::Overall engine = three->EngineTP(350, 1e6, {0.6, 0.0, 0.4});
    ASSERT_GT(engine.q, 0);
    ASSERT_LT(engine.q, 1);
    const auto x = PhaseValues(material, L"fraction", L"Liquid", L"mole");
    const auto y = PhaseValues(material, L"fraction", L"Vapor", L"mole");
    ASSERT_EQ(x.size(), 2u);
    ASSERT_EQ(y.size(), 2u);
    EXPECT_NEAR(x[0], engine.x[2], 1e-12);
    EXPECT_NEAR(x[1], engine.x[0], 1e-12);
    EXPECT_NEAR(y[0], engine.y[2], 1e-12);
    EXPECT_NEAR(y[1], engine.y[0], 1e-12);
    EXPECT_NEAR(PhaseValues(material, L"phaseFraction", L"Vapor", L"mole").at(0), engine.q, 1e-12);
}

}  // namespace
}  // namespace tarnevo_test
