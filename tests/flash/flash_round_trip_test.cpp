// Round trips through COM: a flash at given conditions, the properties of the resulting
// phases (CalcSinglePhaseProp, checked against the engine's flash of that state), then every
// other flash type at the mixture's properties must come back to the same temperature,
// pressure, phases and split. Pure fluid and five-component
// natural gas, one- and two-phase, on the two-phase route and the single-phase route.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/flash/FlashFixture.h"
#include "tools/host/VariantValues.h"

namespace tarnevo_test {
namespace {

struct State {
    const char* name;
    const wchar_t* package;
    const std::vector<std::wstring>* compounds;
    std::vector<double> z;
    double t;
    double pressure;   // Pa; for a pure fluid in two phases: 0 (found by a T-Q flash at q)
    double q;
    std::vector<std::wstring> phases;   // expected present phases
    // Pairs that hold a second state here: T-H of a compressed liquid also has a state of
    // lower density, which the flash returns.
    std::vector<std::string> ambiguous = {};
};

bool Ambiguous(const State& s, const std::string& pair) {
    return std::find(s.ambiguous.begin(), s.ambiguous.end(), pair) != s.ambiguous.end();
}

std::ostream& operator<<(std::ostream& out, const State& s) { return out << s.name; }

// What a flash left on the material.
struct Outcome {
    std::vector<std::wstring> phases;
    double t = NAN, pressure = NAN, vaporFraction = NAN;
    std::vector<double> x, y;
};

Outcome Read(const MaterialPtr& material) {
    Outcome o;
    o.phases = material->PresentPhaseLabels();
    if (o.phases.empty()) return o;
    const wchar_t* first = o.phases[0].c_str();
    o.t = PhaseValues(material, L"temperature", first).at(0);
    o.pressure = PhaseValues(material, L"pressure", first).at(0);
    const auto vapor = PhaseValues(material, L"phaseFraction", L"Vapor", L"mole");
    o.vaporFraction = vapor.empty() ? 0.0 : vapor.at(0);
    o.x = PhaseValues(material, L"fraction", L"Liquid", L"mole");
    o.y = PhaseValues(material, L"fraction", L"Vapor", L"mole");
    return o;
}

void ExpectNear(const std::vector<double>& actual, const std::vector<double>& expected, double tolerance,
                const char* what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << what << "[" << i << "]";
}

void ExpectSameState(const Outcome& actual, const Outcome& expected, const char* flash) {
    SCOPED_TRACE(flash);
    ASSERT_EQ(actual.phases, expected.phases);
    EXPECT_NEAR(actual.t, expected.t, 2e-3);
    EXPECT_NEAR(actual.pressure, expected.pressure, 2e-5 * expected.pressure);
    EXPECT_NEAR(actual.vaporFraction, expected.vaporFraction, 2e-4);
    ExpectNear(actual.x, expected.x, 2e-4, "x");
    ExpectNear(actual.y, expected.y, 2e-4, "y");
}

class FlashRoundTrip : public ::testing::TestWithParam<State> {
protected:
    void SetUp() override { package_ = FlashStore::Get().Package(GetParam().package); }

    // The starting flash: T-P, or T-Q for a pure fluid in two phases.
    Outcome StartingFlash(const std::vector<std::wstring>& listed, MaterialPtr* flashed = nullptr) {
        const State& s = GetParam();
        auto material = MakeMaterial(*s.compounds, s.t, s.pressure, s.z, listed);
        HRESULT hr;
        if (s.pressure > 0) {
            hr = Flash(package_, material, Given(L"temperature"), Given(L"pressure"));
        } else {
            material->PutSinglePhase(L"phaseFraction", L"Vapor", L"mole", {s.q});
            hr = Flash(package_, material, Given(L"temperature"), VaporFraction());
        }
        EXPECT_EQ(hr, S_OK) << Narrow(ErrorDescription(package_));
        if (flashed) *flashed = material;
        return Read(material);
    }

    // Mixture h, s, u and v from CalcSinglePhaseProp on the phases the flash left.
    FlashPackage::Overall MixtureProperties(const MaterialPtr& material, const Outcome& o) {
        Microsoft::WRL::ComPtr<ICapeThermoPropertyRoutine> routine;
        package_.As(&routine);
        const _variant_t names = tarnevo::host::StringArray({L"enthalpy", L"entropy", L"internalEnergy", L"volume"});
        FlashPackage::Overall mixture{};
        for (const std::wstring& phase : o.phases) {
            EXPECT_EQ(routine->CalcSinglePhaseProp(names, _bstr_t(phase.c_str())), S_OK)
                << Narrow(ErrorDescription(package_));
            const double share = phase == L"Vapor" ? o.vaporFraction : 1 - o.vaporFraction;
            auto value = [&](const wchar_t* property) {
                const auto v = PhaseValues(material, property, phase.c_str(), L"mole");
                return v.empty() ? NAN : share * v[0];
            };
            mixture.h += value(L"enthalpy");
            mixture.s += value(L"entropy");
            mixture.e += value(L"internalEnergy");
            mixture.volume += value(L"volume");
        }
        return mixture;
    }

    PackagePtr package_;
};

TEST_P(FlashRoundTrip, EveryFlashTypeReturnsToTheState) {
    const State& s = GetParam();
    MaterialPtr flashed;
    const Outcome start = StartingFlash({L"Vapor", L"Liquid"}, &flashed);
    ASSERT_EQ(start.phases, s.phases);
    const bool twoPhase = start.phases.size() == 2;
    if (twoPhase) {
        EXPECT_GT(start.vaporFraction, 0.01);
        EXPECT_LT(start.vaporFraction, 0.99);
    }
    // The properties of the resulting phases give the mixture's h, s, u and v; the engine's
    // own flash of the same state must agree with the split and with them.
    const FlashPackage::Overall engine = s.pressure > 0 ? package_->EngineTP(start.t, start.pressure, s.z)
                                                        : package_->EngineTQ(s.t, s.q, s.z);
    if (s.pressure > 0) {
        EXPECT_NEAR(start.vaporFraction, twoPhase ? engine.q : (s.phases[0] == L"Vapor" ? 1.0 : 0.0), 1e-9);
        if (twoPhase) ExpectNear(start.x, engine.x, 1e-9, "engine x");
    }
    const FlashPackage::Overall mixture = MixtureProperties(flashed, start);
    EXPECT_NEAR(mixture.h, engine.h, 1e-6 * std::fabs(engine.h) + 1e-3);
    EXPECT_NEAR(mixture.s, engine.s, 1e-6 * std::fabs(engine.s) + 1e-6);
    EXPECT_NEAR(mixture.e, engine.e, 1e-6 * std::fabs(engine.e) + 1e-3);
    EXPECT_NEAR(mixture.volume, engine.volume, 1e-6 * engine.volume);

    struct Pair {
        const char* name;
        _variant_t a, b;
        bool vaporFraction;
    };
    const Pair pairs[] = {
        {"P-H", Given(L"pressure"), Given(L"enthalpy"), false},
        {"P-S", Given(L"pressure"), Given(L"entropy"), false},
        {"P-U", Given(L"pressure"), Given(L"internalEnergy"), false},
        {"P-V", Given(L"pressure"), Given(L"volume"), false},
        {"T-H", Given(L"temperature"), Given(L"enthalpy"), false},
        {"T-S", Given(L"temperature"), Given(L"entropy"), false},
        {"T-U", Given(L"temperature"), Given(L"internalEnergy"), false},
        {"T-V", Given(L"temperature"), Given(L"volume"), false},
        {"V-H", Given(L"volume"), Given(L"enthalpy"), false},
        {"V-S", Given(L"volume"), Given(L"entropy"), false},
        {"V-U", Given(L"volume"), Given(L"internalEnergy"), false},
        {"S-H", Given(L"entropy"), Given(L"enthalpy"), false},
        {"T-Q", Given(L"temperature"), VaporFraction(), true},
        {"P-Q", Given(L"pressure"), VaporFraction(), true},
    };
    for (const Pair& pair : pairs) {
        if ((pair.vaporFraction && !twoPhase) || Ambiguous(s, pair.name)) continue;
        auto material = tarnevo::host::CHostMaterial::Create(*s.compounds);
        material->PutOverall(L"fraction", L"mole", s.z);
        material->PutOverall(L"temperature", L"", {start.t});
        material->PutOverall(L"pressure", L"", {start.pressure});
        material->PutOverall(L"enthalpy", L"mole", {mixture.h});
        material->PutOverall(L"entropy", L"mole", {mixture.s});
        material->PutOverall(L"internalEnergy", L"mole", {mixture.e});
        material->PutOverall(L"volume", L"mole", {mixture.volume});
        material->PutSinglePhase(L"phaseFraction", L"Vapor", L"mole", {start.vaporFraction});
        material->PutPresentPhases({L"Vapor", L"Liquid"});
        ASSERT_EQ(Flash(package_, material, pair.a, pair.b), S_OK)
            << pair.name << ": " << Narrow(ErrorDescription(package_));
        ExpectSameState(Read(material), start, pair.name);
    }
}

TEST_P(FlashRoundTrip, SinglePhaseRouteWritesOnlyTheListedPhase) {
    const State& s = GetParam();
    if (s.phases.size() != 1) GTEST_SKIP() << "two-phase state";
    // T-P on one listed phase needs no routine: the material's state is the phase's.
    Outcome start;
    EXPECT_TRUE(RecordedCalls([&] { start = StartingFlash(s.phases); }).empty());
    ASSERT_EQ(start.phases, s.phases);
    EXPECT_EQ(start.t, s.t);
    EXPECT_EQ(start.pressure, s.pressure);
    const FlashPackage::Overall engine = package_->EngineTP(s.t, s.pressure, s.z);
    const wchar_t* other = s.phases[0] == L"Vapor" ? L"Liquid" : L"Vapor";
    const wchar_t* pairs[][2] = {{L"pressure", L"enthalpy"}, {L"temperature", L"entropy"},
                                 {L"pressure", L"volume"},   {L"entropy", L"enthalpy"},
                                 {L"temperature", L"volume"}, {L"temperature", L"internalEnergy"},
                                 {L"temperature", L"enthalpy"}, {L"pressure", L"internalEnergy"},
                                 {L"volume", L"enthalpy"},    {L"volume", L"entropy"},
                                 {L"volume", L"internalEnergy"}};
    for (const auto& pair : pairs) {
        const std::string name = Narrow(pair[0]) + "-" + Narrow(pair[1]);
        if (Ambiguous(s, name)) continue;
        auto material = tarnevo::host::CHostMaterial::Create(*s.compounds);
        material->PutOverall(L"fraction", L"mole", s.z);
        material->PutOverall(L"temperature", L"", {s.t});
        material->PutOverall(L"pressure", L"", {s.pressure});
        material->PutOverall(L"enthalpy", L"mole", {engine.h});
        material->PutOverall(L"entropy", L"mole", {engine.s});
        material->PutOverall(L"internalEnergy", L"mole", {engine.e});
        material->PutOverall(L"volume", L"mole", {engine.volume});
        material->PutPresentPhases(s.phases);
        const std::vector<std::string> calls = RecordedCalls([&] {
            EXPECT_EQ(Flash(package_, material, Given(pair[0]), Given(pair[1])), S_OK)
                << name << ": " << Narrow(ErrorDescription(package_));
        });
        EXPECT_EQ(calls, std::vector<std::string>{"ABFL1dll"}) << name;
        SCOPED_TRACE(name);
        const Outcome o = Read(material);
        EXPECT_EQ(o.phases, s.phases);
        EXPECT_NEAR(o.t, s.t, 2e-3);
        EXPECT_NEAR(o.pressure, s.pressure, 2e-5 * s.pressure);
        EXPECT_TRUE(PhaseValues(material, L"temperature", other).empty());
        EXPECT_TRUE(PhaseValues(material, L"fraction", other, L"mole").empty());
        EXPECT_EQ(PhaseValues(material, L"phaseFraction", s.phases[0].c_str(), L"mole"), std::vector<double>{1.0});
        ExpectNear(PhaseValues(material, L"fraction", s.phases[0].c_str(), L"mole"), s.z, 0, "z");
    }
}

const std::vector<double> kPure = {1.0};

INSTANTIATE_TEST_SUITE_P(
    States, FlashRoundTrip,
    ::testing::Values(
        State{"NaturalGasTwoPhase", L"NaturalGas", &kNaturalGas, kNaturalGasFractions, 190, 3e6, 0, {L"Vapor", L"Liquid"}},
        State{"NaturalGasTwoPhaseLow", L"NaturalGas", &kNaturalGas, kNaturalGasFractions, 170, 1e6, 0,
              {L"Vapor", L"Liquid"}},
        State{"NaturalGasVapor", L"NaturalGas", &kNaturalGas, kNaturalGasFractions, 300, 3e6, 0, {L"Vapor"}},
        State{"NaturalGasLiquid", L"NaturalGas", &kNaturalGas, kNaturalGasFractions, 150, 3e6, 0, {L"Liquid"},
              {"T-H", "temperature-enthalpy"}},
        State{"PropaneTwoPhase", L"Propane", &kPropane, kPure, 280, 0, 0.4, {L"Vapor", L"Liquid"}},
        State{"PropaneVapor", L"Propane", &kPropane, kPure, 300, 0.5e6, 0, {L"Vapor"}},
        State{"PropaneLiquid", L"Propane", &kPropane, kPure, 300, 3e6, 0, {L"Liquid"}, {"temperature-enthalpy"}}),
    [](const ::testing::TestParamInfo<State>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace tarnevo_test
