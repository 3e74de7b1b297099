// CalcSinglePhaseProp and its companions: values against the engine called directly,
// bases and shapes, material compound order and subsets, and every failure message.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "package/names/PropertyNameTables.h"
#include "tests/properties/PropertiesFixture.h"
#include "tools/host/VariantValues.h"

using namespace tarnevo_test;
using tarnevo::ECapeUnknownHR;
using testing::ElementsAre;

namespace {

constexpr HRESULT kUnknownHR = static_cast<HRESULT>(0x80040501L);
const _bstr_t kVapor(L"Vapor");
const _bstr_t kLiquid(L"Liquid");

class SinglePhase : public testing::Test {
protected:
    void SetUp() override {
        package = PropertiesStore::Get().Package(L"Gas5");
        material = SetMaterial(package, kGas5, L"Vapor", 300.0, 5e6, kGas5Fractions);
    }
    HRESULT Calc(const std::vector<std::wstring>& names, const _bstr_t& phase = kVapor) {
        return package->CalcSinglePhaseProp(Names(names), phase);
    }
    double One(const std::wstring& name, const std::wstring& basis = L"") {
        const auto values = Written(material, name, L"Vapor", basis);
        EXPECT_EQ(values.size(), 1u) << Narrow(name);
        return values.empty() ? NAN : values[0];
    }
    PackagePtr package;
    MaterialPtr material;
};

TEST_F(SinglePhase, ValuesEqualTheEngineInSiUnitsWithTheirBases) {
    ASSERT_EQ(Calc({L"density", L"volume", L"enthalpy", L"entropy", L"heatCapacityCp", L"heatCapacityCv",
                    L"internalEnergy", L"gibbsEnergy", L"helmholtzEnergy", L"speedOfSound",
                    L"jouleThomsonCoefficient", L"compressibilityFactor", L"compressibility", L"viscosity",
                    L"thermalConductivity", L"molecularWeight", L"density.Dpressure"}),
              S_OK)
        << Narrow(ErrorDescription(package.Get()));
    const EngineState e = EngineAt(package, 300.0, 5000.0, kGas5Fractions, 2);
    EXPECT_DOUBLE_EQ(One(L"density", L"mole"), e.rho * 1000);
    EXPECT_DOUBLE_EQ(One(L"volume", L"mole"), 0.001 / e.rho);
    EXPECT_DOUBLE_EQ(One(L"enthalpy", L"mole"), e.h);
    EXPECT_DOUBLE_EQ(One(L"entropy", L"mole"), e.s);
    EXPECT_DOUBLE_EQ(One(L"heatCapacityCp", L"mole"), e.cp);
    EXPECT_DOUBLE_EQ(One(L"heatCapacityCv", L"mole"), e.cv);
    EXPECT_DOUBLE_EQ(One(L"internalEnergy", L"mole"), e.e);
    EXPECT_DOUBLE_EQ(One(L"gibbsEnergy", L"mole"), e.G);
    EXPECT_DOUBLE_EQ(One(L"helmholtzEnergy", L"mole"), e.A);
    EXPECT_DOUBLE_EQ(One(L"speedOfSound"), e.w);
    EXPECT_DOUBLE_EQ(One(L"jouleThomsonCoefficient"), e.hjt * 0.001);
    EXPECT_DOUBLE_EQ(One(L"compressibilityFactor"), 5000.0 / (e.rho * 8.31447215 * 300.0));
    EXPECT_NEAR(One(L"compressibilityFactor"), e.Z, 1e-5);  // the engine's own gas constant differs slightly
    EXPECT_DOUBLE_EQ(One(L"compressibility"), e.xkappa * 0.001);  // per Pa
    EXPECT_DOUBLE_EQ(One(L"viscosity"), e.eta * 1e-6);
    EXPECT_DOUBLE_EQ(One(L"density.Dpressure", L"mole"), e.dDdP);  // mol/L per kPa is mol/m3 per Pa
    EXPECT_DOUBLE_EQ(One(L"thermalConductivity"), e.tcx);
    const double mw = 0.85 * 16.0428 + 0.06 * 30.069 + 0.03 * 44.0956 + 0.04 * 28.0134 + 0.02 * 44.0095;
    EXPECT_NEAR(One(L"molecularWeight"), mw, 0.01);
    // Properties without a mole basis are written with an undefined basis only.
    EXPECT_TRUE(Written(material, L"speedOfSound", L"Vapor", L"mole").empty());
}

TEST_F(SinglePhase, FugacityPropertiesArePerCompoundInTheMaterialsOrder) {
    // The material lists a subset of the package in another order; the rest take part at 0.
    const std::vector<std::wstring> order = {L"ETHANE", L"METHANE", L"NITROGEN"};
    const std::vector<double> x = {0.1, 0.8, 0.1};
    material = SetMaterial(package, order, L"Vapor", 280.0, 2e6, x);
    ASSERT_EQ(Calc({L"fugacityCoefficient", L"logFugacityCoefficient", L"fugacity"}), S_OK)
        << Narrow(ErrorDescription(package.Get()));
    std::vector<double> packageX(5, 0.0);
    for (size_t j = 0; j < order.size(); ++j) packageX[package->PackageIndex(order[j])] = x[j];
    const EngineState e = EngineAt(package, 280.0, 2000.0, packageX, 2);
    const auto phi = Written(material, L"fugacityCoefficient", L"Vapor", L"");
    const auto lnPhi = Written(material, L"logFugacityCoefficient", L"Vapor", L"");
    const auto f = Written(material, L"fugacity", L"Vapor", L"");
    ASSERT_EQ(phi.size(), 3u);
    ASSERT_EQ(lnPhi.size(), 3u);
    ASSERT_EQ(f.size(), 3u);
    for (size_t j = 0; j < order.size(); ++j) {
        const int k = package->PackageIndex(order[j]);
        EXPECT_DOUBLE_EQ(phi[j], e.phi[k]);
        EXPECT_DOUBLE_EQ(lnPhi[j], std::log(e.phi[k]));
        EXPECT_NEAR(f[j], 2e6 * x[j] * e.phi[k], 1e-6 * f[j]);
    }
}

TEST_F(SinglePhase, LiquidPhaseAndTheHeatCapacityAlias) {
    package = PropertiesStore::Get().Package(L"Three");
    material = SetMaterial(package, kThree, L"Liquid", 300.0, 2e6, {0.2, 0.3, 0.5});
    ASSERT_EQ(Calc({L"HEATCAPACITY", L"Density"}, kLiquid), S_OK) << Narrow(ErrorDescription(package.Get()));
    const EngineState e = EngineAt(package, 300.0, 2000.0, {0.2, 0.3, 0.5}, 1);
    const auto cp = Written(material, L"HEATCAPACITY", L"Liquid", L"mole");
    ASSERT_EQ(cp.size(), 1u);
    EXPECT_DOUBLE_EQ(cp[0], e.cp);
    const auto rho = Written(material, L"Density", L"Liquid", L"mole");
    ASSERT_EQ(rho.size(), 1u);
    EXPECT_DOUBLE_EQ(rho[0], e.rho * 1000);
    EXPECT_GT(rho[0], 5000.0);  // a liquid root
}

TEST_F(SinglePhase, MolecularWeightIgnoresAbsentCompounds) {
    material = SetMaterial(package, {L"NITROGEN", L"CO2"}, L"Vapor", 300.0, 1e5, {1.0, 0.0});
    ASSERT_EQ(Calc({L"molecularWeight"}), S_OK);
    const auto mw = Written(material, L"molecularWeight", L"Vapor", L"");
    ASSERT_EQ(mw.size(), 1u);
    EXPECT_NEAR(mw[0], 28.0134, 1e-3);
}

TEST_F(SinglePhase, CheckAndListOperations) {
    VARIANT_BOOL valid = VARIANT_FALSE;
    ASSERT_EQ(package->CheckSinglePhasePropSpec(_bstr_t(L"heatCapacity.Dpressure"), _bstr_t(L"LIQUID"), &valid), S_OK);
    EXPECT_EQ(valid, VARIANT_TRUE);
    ASSERT_EQ(package->CheckSinglePhasePropSpec(_bstr_t(L"density"), _bstr_t(L"Solid"), &valid), S_OK);
    EXPECT_EQ(valid, VARIANT_FALSE);
    ASSERT_EQ(package->CheckSinglePhasePropSpec(_bstr_t(L"kvalue"), kVapor, &valid), S_OK);
    EXPECT_EQ(valid, VARIANT_FALSE);
    ASSERT_EQ(package->CheckSinglePhasePropSpec(nullptr, kVapor, &valid), S_OK);
    EXPECT_EQ(valid, VARIANT_FALSE);
    EXPECT_EQ(package->CheckSinglePhasePropSpec(_bstr_t(L"density"), kVapor, nullptr), E_POINTER);

    VARIANT list;
    VariantInit(&list);
    ASSERT_EQ(package->GetSinglePhasePropList(&list), S_OK);
    const auto names = tarnevo::host::ReadStrings(list);
    VariantClear(&list);
    EXPECT_EQ(names, tarnevo::NameTables().SinglePhaseProperties().list.Names());
    EXPECT_EQ(package->GetSinglePhasePropList(nullptr), E_POINTER);
}

TEST_F(SinglePhase, RequestFailuresNameTheirCause) {
    struct Case {
        _variant_t props;
        BSTR phase;
        std::wstring message;
    };
    const _bstr_t solid(L"Solid");
    const std::vector<Case> cases = {
        {Names({L"density"}), nullptr, L"Empty phase label"},
        {Names({L"density"}), solid, L"Unknown phase label: Solid"},
        {tarnevo::host::DoubleArray({1.0}), kVapor,
         L"Invalid property list: Expected an array of type string"},
        {Names({L"density", L""}), kVapor, L"Property array contains empty strings"},
        {Names({L"density", L"kvalue"}), kVapor, L"Unknown/unsupported single phase property \"kvalue\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(package->CalcSinglePhaseProp(c.props, c.phase), kUnknownHR) << Narrow(c.message);
        EXPECT_EQ(ErrorDescription(package.Get()), c.message);
    }
    // Nothing was read or written before the request was understood.
    EXPECT_TRUE(material->CallsTo(L"GetTPFraction").empty());
    EXPECT_TRUE(material->CallsTo(L"SetSinglePhaseProp").empty());
}

TEST_F(SinglePhase, MaterialFailuresNameTheirCause) {
    package->UnsetMaterial();
    EXPECT_EQ(Calc({L"density"}), kUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()), L"Material has not been set");

    material = SetMaterial(package, kGas5, L"Vapor", 300.0, 5e6, kGas5Fractions);
    material->FailCall(L"GetTPFraction", ECapeUnknownHR, L"no vapour here");
    EXPECT_EQ(Calc({L"density"}), kUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()),
              L"Failed to obtain Vapor composition, T & P from material object: no vapour here");

    material->ClearFailures();
    material->PutPhaseState(L"Vapor", 300.0, 5e6, {0.85, 0.06, 0.03, 0.06});
    EXPECT_EQ(Calc({L"density"}), kUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()),
              L"Invalid values for composition from material object: invalid number of values");

    material->PutPhaseState(L"Vapor", 300.0, 5e6, kGas5Fractions);
    material->FailCall(L"SetSinglePhaseProp", ECapeUnknownHR, L"read only", L"entropy");
    EXPECT_EQ(Calc({L"density", L"entropy", L"enthalpy"}), kUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()), L"Failed to set entropy: read only");
    EXPECT_EQ(Written(material, L"density", L"Vapor", L"mole").size(), 1u);
    EXPECT_TRUE(Written(material, L"enthalpy", L"Vapor", L"mole").empty());
}

TEST_F(SinglePhase, EngineFailuresAndWarnings) {
    auto context = tarnevo::host::CHostSimulationContext::Create();
    ASSERT_EQ(package->put_simulationContext(context->Dispatch()), S_OK);
    // A temperature the engine refuses.
    material->PutPhaseState(L"Vapor", -5.0, 5e6, kGas5Fractions);
    EXPECT_EQ(Calc({L"density"}), kUnknownHR);
    EXPECT_THAT(Narrow(ErrorDescription(package.Get())),
                testing::StartsWith("Failed to get density for given conditions: TPRHOdll: temperature"));
    // Outside the range of the data: a warning, and the values still come.
    material->PutPhaseState(L"Vapor", 1500.0, 5e6, kGas5Fractions);
    ASSERT_EQ(Calc({L"density", L"viscosity", L"fugacityCoefficient"}), S_OK) << Narrow(ErrorDescription(package.Get()));
    const auto messages = context->LoggedMessages();
    ASSERT_GE(messages.size(), 1u);
    EXPECT_THAT(Narrow(messages[0]), testing::StartsWith("Warning: Density calculation: TPRHOdll: temperature 1500 K above"));
    EXPECT_EQ(One(L"density", L"mole") > 0, true);
}

}  // namespace
