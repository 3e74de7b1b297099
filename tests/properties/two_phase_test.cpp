// CalcTwoPhaseProp, CalcAndGetLnPhi and the two-phase check and list operations.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "package/names/PropertyNameTables.h"
#include "tests/properties/PropertiesFixture.h"
#include "tools/host/VariantValues.h"

using namespace tarnevo_test;
using tarnevo::host::DoubleArray;
using tarnevo::host::StringArray;

namespace {

constexpr HRESULT kUnknownHR = static_cast<HRESULT>(0x80040501L);

// Propane, butane, pentane: a liquid and a vapour at 330 K and 5 bar.
class TwoPhase : public testing::Test {
protected:
    void SetUp() override {
        package = PropertiesStore::Get().Package(L"Three");
        material = SetMaterial(package, kThree, L"Liquid", 330.0, 5e5, xL);
        material->PutPhaseState(L"Vapor", 330.0, 5e5, xV);
    }
    std::vector<double> TwoPhaseValue(const std::wstring& name, const std::vector<std::wstring>& phases) {
        auto values = material->TwoPhase(name, phases, L"");
        return values ? *values : std::vector<double>();
    }
    const std::vector<double> xL = {0.2, 0.3, 0.5};
    const std::vector<double> xV = {0.6, 0.3, 0.1};
    PackagePtr package;
    MaterialPtr material;
};

TEST_F(TwoPhase, KValuesAreFugacityCoefficientRatiosAndReciprocal) {
    ASSERT_EQ(package->CalcTwoPhaseProp(Names({L"kvalue", L"logKvalue"}), StringArray({L"Vapor", L"Liquid"})), S_OK)
        << Narrow(ErrorDescription(package.Get()));
    ASSERT_EQ(package->CalcTwoPhaseProp(Names({L"KVALUES"}), StringArray({L"Liquid", L"Vapor"})), S_OK);
    const auto kVL = TwoPhaseValue(L"kvalue", {L"Vapor", L"Liquid"});
    const auto lnK = TwoPhaseValue(L"logKvalue", {L"Vapor", L"Liquid"});
    const auto kLV = TwoPhaseValue(L"KVALUES", {L"Liquid", L"Vapor"});
    const EngineState liquid = EngineAt(package, 330.0, 500.0, xL, 1);
    const EngineState vapor = EngineAt(package, 330.0, 500.0, xV, 2);
    ASSERT_EQ(kVL.size(), 3u);
    ASSERT_EQ(kLV.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(kVL[i], liquid.phi[i] / vapor.phi[i], 1e-12 * kVL[i]);
        EXPECT_NEAR(kLV[i] * kVL[i], 1.0, 1e-12);
        EXPECT_NEAR(lnK[i], std::log(kVL[i]), 1e-12);
    }
    EXPECT_GT(kVL[0], 1.0);  // propane is the light compound
}

TEST_F(TwoPhase, DerivativesAndSurfaceTension) {
    ASSERT_EQ(package->CalcTwoPhaseProp(Names({L"surfaceTension", L"surfaceTension.Dtemperature",
                                               L"kvalue.Dtemperature", L"kvalue.Dpressure", L"kvalue.Dmoles",
                                               L"logKvalue.Dmoles", L"surfaceTension.Dmoles"}),
                                        StringArray({L"Vapor", L"Liquid"})),
              S_OK)
        << Narrow(ErrorDescription(package.Get()));
    const std::vector<std::wstring> phases = {L"Vapor", L"Liquid"};
    const auto sigma = TwoPhaseValue(L"surfaceTension", phases);
    ASSERT_EQ(sigma.size(), 1u);
    EXPECT_GT(sigma[0], 0.001);
    EXPECT_LT(TwoPhaseValue(L"surfaceTension.Dtemperature", phases).at(0), 0.0);
    EXPECT_EQ(TwoPhaseValue(L"kvalue.Dtemperature", phases).size(), 3u);
    EXPECT_EQ(TwoPhaseValue(L"surfaceTension.Dmoles", phases).size(), 6u);
    const auto dK = TwoPhaseValue(L"kvalue.Dmoles", phases);
    const auto dlnK = TwoPhaseValue(L"logKvalue.Dmoles", phases);
    ASSERT_EQ(dK.size(), 18u);
    ASSERT_EQ(dlnK.size(), 18u);
    // K = phiL / phiV: d ln K = d K / K for every block (vapour first, then liquid).
    const auto K = [&] {
        package->CalcTwoPhaseProp(Names({L"kvalue"}), StringArray({L"Vapor", L"Liquid"}));
        return TwoPhaseValue(L"kvalue", phases);
    }();
    for (size_t block = 0; block < 2; ++block)
        for (size_t j = 0; j < 3; ++j)
            for (size_t i = 0; i < 3; ++i) {
                const size_t e = block * 9 + j * 3 + i;
                EXPECT_NEAR(dlnK[e], dK[e] / K[i], 1e-4 * std::fabs(dlnK[e]) + 1e-6) << e;
            }
    // The liquid block: differencing the liquid coefficients only.
    const EngineState liquid = EngineAt(package, 330.0, 500.0, xL, 1);
    const EngineState vapor = EngineAt(package, 330.0, 500.0, xV, 2);
    std::vector<double> n = xL;
    n[1] += 1e-5;
    for (double& v : n) v /= 1 + 1e-5;
    const EngineState shifted = EngineAt(package, 330.0, 500.0, n, 1);
    const double step = (0.3 + 1e-5) - 0.3;
    EXPECT_NEAR(dK[9 + 1 * 3 + 2], (shifted.phi[2] - liquid.phi[2]) / vapor.phi[2] / step, 1e-6 * std::fabs(dK[14]));
}

TEST_F(TwoPhase, FailureMessages) {
    struct Case {
        _variant_t props, phases;
        std::wstring message;
    };
    const std::vector<Case> cases = {
        {Names({L"kvalue"}), DoubleArray({1.0}), L"Invalid phase list: Expected an array of type string"},
        {Names({L"kvalue"}), StringArray({L"Vapor"}), L"Invalid phase list: expected two phases"},
        {Names({L"kvalue"}), StringArray({L"Vapor", L"Solid"}), L"Invalid or unsupported phase: Solid"},
        {Names({L"kvalue"}), StringArray({nullptr, L"Vapor"}), L"Invalid or unsupported phase: NULL"},
        {Names({L"kvalue"}), StringArray({L"vapor", L"VAPOR"}), L"Phases cannot be identical"},
        {DoubleArray({1.0}), StringArray({L"Vapor", L"Liquid"}), L"Invalid property list: Expected an array of type string"},
        {Names({L""}), StringArray({L"Vapor", L"Liquid"}), L"Property array contains empty strings"},
        {Names({L"density"}), StringArray({L"Vapor", L"Liquid"}), L"Unknown/unsupported two-phase property \"density\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(package->CalcTwoPhaseProp(c.props, c.phases), kUnknownHR) << Narrow(c.message);
        EXPECT_EQ(ErrorDescription(package.Get()), c.message);
    }
    const _variant_t both = StringArray({L"Vapor", L"Liquid"});
    material->FailCall(L"GetTPFraction", tarnevo::ECapeUnknownHR, L"no liquid", L"Liquid");
    EXPECT_EQ(package->CalcTwoPhaseProp(Names({L"kvalue"}), both), kUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()), L"Failed to obtain liquid composition, T & P from material object: no liquid");
    material->ClearFailures();
    material->PutPhaseState(L"Vapor", 330.0, 5e5, {0.5, 0.5});
    EXPECT_EQ(package->CalcTwoPhaseProp(Names({L"kvalue"}), both), kUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()),
              L"Invalid values for vapor composition from material object: invalid number of values");
    // Different phase temperatures: K-values yes, surface tension no.
    material->PutPhaseState(L"Vapor", 331.0, 5e5, xV);
    EXPECT_EQ(package->CalcTwoPhaseProp(Names({L"kvalue"}), both), S_OK);
    EXPECT_EQ(package->CalcTwoPhaseProp(Names({L"surfaceTension"}), both), kUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()),
              L"Surface tension calculations at phases of different temperature are not supported");
    // The material refuses a value; the properties before it stay written.
    material->PutPhaseState(L"Vapor", 330.0, 5e5, xV);
    material->FailCall(L"SetTwoPhaseProp", tarnevo::ECapeUnknownHR, L"read only", L"logKvalue");
    EXPECT_EQ(package->CalcTwoPhaseProp(Names({L"surfaceTension", L"logKvalue"}), both), kUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()), L"Failed to set logKvalue on material object: read only");
    EXPECT_EQ(TwoPhaseValue(L"surfaceTension", {L"Vapor", L"Liquid"}).size(), 1u);
    // An engine failure for one phase names it.
    material->PutPhaseState(L"Liquid", -1.0, 5e5, xL);
    material->PutPhaseState(L"Vapor", -1.0, 5e5, xV);
    EXPECT_EQ(package->CalcTwoPhaseProp(Names({L"kvalue"}), both), kUnknownHR);
    EXPECT_THAT(Narrow(ErrorDescription(package.Get())),
                testing::StartsWith("Failed to get liquid density for given conditions: TPRHOdll:"));
}

TEST_F(TwoPhase, CheckAndList) {
    VARIANT_BOOL valid = VARIANT_FALSE;
    ASSERT_EQ(package->CheckTwoPhasePropSpec(_bstr_t(L"kvalues"), StringArray({L"vapor", L"LIQUID"}), &valid), S_OK);
    EXPECT_EQ(valid, VARIANT_TRUE);
    ASSERT_EQ(package->CheckTwoPhasePropSpec(_bstr_t(L"kvalue"), StringArray({L"Vapor", L"Vapor"}), &valid), S_OK);
    EXPECT_EQ(valid, VARIANT_FALSE);
    ASSERT_EQ(package->CheckTwoPhasePropSpec(_bstr_t(L"density"), StringArray({L"Vapor", L"Liquid"}), &valid), S_OK);
    EXPECT_EQ(valid, VARIANT_FALSE);
    ASSERT_EQ(package->CheckTwoPhasePropSpec(_bstr_t(L"kvalue"), StringArray({L"Vapor"}), &valid), S_OK);
    EXPECT_EQ(valid, VARIANT_FALSE);
    VARIANT list;
    VariantInit(&list);
    ASSERT_EQ(package->GetTwoPhasePropList(&list), S_OK);
    const auto names = tarnevo::host::ReadStrings(list);
    VariantClear(&list);
    EXPECT_EQ(names, tarnevo::NameTables().TwoPhaseProperties().list.Names());
}

// CalcAndGetLnPhi: values and derivatives in the material's order.
TEST_F(TwoPhase, LnPhiAtGivenConditions) {
    const std::vector<std::wstring> order = {L"PENTANE", L"PROPANE"};  // a subset, reordered
    material = SetMaterial(package, order, L"Vapor", 330.0, 5e5, {0.3, 0.7});
    _variant_t lnPhi, dT, dP, dn;
    ASSERT_EQ(package->CalcAndGetLnPhi(_bstr_t(L"Vapor"), 330.0, 3e5, DoubleArray({0.3, 0.7}), 15, &lnPhi, &dT, &dP,
                                       &dn),
              S_OK)
        << Narrow(ErrorDescription(package.Get()));
    const auto ln = tarnevo::host::ReadDoubles(lnPhi);
    ASSERT_EQ(ln.size(), 2u);
    const EngineState e = EngineAt(package, 330.0, 300.0, {0.7, 0.0, 0.3}, 2);
    EXPECT_NEAR(ln[0], std::log(e.phi[2]), 1e-7);
    EXPECT_NEAR(ln[1], std::log(e.phi[0]), 1e-7);
    EXPECT_EQ(tarnevo::host::ReadDoubles(dT).size(), 2u);
    const auto pressure = tarnevo::host::ReadDoubles(dP);
    ASSERT_EQ(pressure.size(), 2u);
    EXPECT_LT(pressure[0], 0.0);  // ln phi falls with pressure in a gas
    const auto dlnphi = tarnevo::host::ReadDoubles(dn);
    ASSERT_EQ(dlnphi.size(), 4u);
    for (size_t j = 0; j < 2; ++j) EXPECT_NEAR(0.3 * dlnphi[j * 2] + 0.7 * dlnphi[j * 2 + 1], 0.0, 1e-4);
    // Mole numbers, not fractions: the same ln phi, derivatives per mole of the total.
    _variant_t lnPhi2, dn2;
    ASSERT_EQ(package->CalcAndGetLnPhi(_bstr_t(L"vapor"), 330.0, 3e5, DoubleArray({3.0, 7.0}), 9, &lnPhi2, nullptr,
                                       nullptr, &dn2),
              S_OK)
        << Narrow(ErrorDescription(package.Get()));
    EXPECT_NEAR(tarnevo::host::ReadDoubles(lnPhi2)[0], ln[0], 1e-9);
    EXPECT_NEAR(tarnevo::host::ReadDoubles(dn2)[1], dlnphi[1] / 10, 1e-6 * std::fabs(dlnphi[1]));
}

TEST_F(TwoPhase, LnPhiFailures) {
    _variant_t out;
    auto call = [&](BSTR phase, double T, double P, const _variant_t& n, int flags) {
        EXPECT_EQ(package->CalcAndGetLnPhi(phase, T, P, n, flags, &out, &out, &out, &out), kUnknownHR);
        return ErrorDescription(package.Get());
    };
    const _bstr_t vapor(L"Vapor");
    const _variant_t x = DoubleArray({0.2, 0.3, 0.5});
    EXPECT_EQ(call(vapor, NAN, 1e5, x, 1), L"Missing / unspecified value for temperature");
    EXPECT_EQ(call(vapor, -1.0, 1e5, x, 1), L"Temperature must be positive");
    EXPECT_EQ(call(vapor, 300, -1.7976931348623157e308, x, 1), L"Missing / unspecified value for pressure");
    EXPECT_EQ(call(vapor, 300, 0.0, x, 1), L"Pressure must be positive");
    EXPECT_EQ(call(vapor, 300, 1e5, StringArray({L"a"}), 1), L"Invalid values for composition: Expected an array of type double precision");
    EXPECT_EQ(call(vapor, 300, 1e5, DoubleArray({0.5, 0.5}), 1), L"Invalid values for composition: invalid number of values");
    EXPECT_EQ(call(vapor, 300, 1e5, DoubleArray({0.2, -0.3, 0.5}), 1),
              L"Invalid values for composition: mole numbers must be finite and not negative");
    EXPECT_EQ(call(vapor, 300, 1e5, DoubleArray({0.0, 0.0, 0.0}), 0), L"Invalid values for composition: all mole numbers are zero");
    EXPECT_EQ(call(nullptr, 300, 1e5, x, 1), L"Unknown phase label: NULL");
    EXPECT_EQ(call(_bstr_t(L"Solid"), 300, 1e5, x, 1), L"Unknown phase label: Solid");
    EXPECT_THAT(Narrow(call(vapor, 1e6, 1e5, x, 1)), testing::StartsWith("TPRHOdll:"));
    // No flags: nothing is computed, the engine is not called.
    CallRecorder calls;
    EXPECT_EQ(package->CalcAndGetLnPhi(nullptr, 300, 1e5, DoubleArray({0.0, 0.0, 1.0}), 0, nullptr, nullptr, nullptr,
                                       nullptr),
              S_OK);
    EXPECT_TRUE(calls.Stop().empty());
}

// A name with a zero inside is unknown, not the name before the zero.
TEST_F(TwoPhase, NamesWithEmbeddedZerosAreUnknown) {
    const std::wstring vapor(L"Vapor\0junk", 10);
    const _bstr_t label(SysAllocStringLen(vapor.data(), 10), false);
    const _variant_t labels = StringArray(std::vector<std::wstring>{vapor, L"Liquid"});
    VARIANT_BOOL valid = VARIANT_TRUE;
    _variant_t out;
    EXPECT_EQ(package->CheckSinglePhasePropSpec(_bstr_t(L"density"), label, &valid), S_OK);
    EXPECT_EQ(valid, VARIANT_FALSE);
    EXPECT_EQ(package->CheckTwoPhasePropSpec(_bstr_t(L"kvalue"), labels, &valid), S_OK);
    EXPECT_EQ(valid, VARIANT_FALSE);
    for (HRESULT hr : {package->CalcSinglePhaseProp(Names({L"density"}), label),
                       package->CalcTwoPhaseProp(Names({L"kvalue"}), labels),
                       package->CalcAndGetLnPhi(label, 330.0, 5e5, DoubleArray({1.0, 1.0, 1.0}), 1, &out, &out, &out, &out),
                       package->GetPhaseInfo(label, _bstr_t(L"StateOfAggregation"), &out)})
        EXPECT_EQ(hr, kUnknownHR);
}

}  // namespace
