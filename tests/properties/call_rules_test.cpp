// Which engine routines a request runs, seen through the recording build of the engine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/properties/PropertiesFixture.h"

using namespace tarnevo_test;
using testing::ElementsAre;

namespace {

constexpr HRESULT kUnknownHR = static_cast<HRESULT>(0x80040501L);

class CallRules : public testing::Test {
protected:
    void SetUp() override {
        package = PropertiesStore::Get().Package(L"Gas5");
        material = SetMaterial(package, kGas5, L"Vapor", 300.0, 5e6, kGas5Fractions);
    }
    std::vector<std::string> Calls(const std::vector<std::wstring>& names, HRESULT expected = S_OK) {
        CallRecorder recorder;
        EXPECT_EQ(package->CalcSinglePhaseProp(Names(names), _bstr_t(L"Vapor")), expected)
            << Narrow(ErrorDescription(package.Get()));
        return recorder.Stop();
    }
    PackagePtr package;
    MaterialPtr material;
};

size_t Count(const std::vector<std::string>& calls, const std::string& routine) {
    return static_cast<size_t>(std::count(calls.begin(), calls.end(), routine));
}

TEST_F(CallRules, BroaderRoutinesSupplyNarrowerOnes) {
    EXPECT_THAT(Calls({L"enthalpy", L"heatCapacityCp"}), ElementsAre("TPRHOdll", "THERMdll"));
    EXPECT_THAT(Calls({L"molecularWeight"}), ElementsAre());
    EXPECT_THAT(Calls({L"enthalpy.Dpressure"}), ElementsAre("TPRHOdll", "DHD1dll"));
    EXPECT_THAT(Calls({L"enthalpy.Dtemperature"}), ElementsAre("TPRHOdll", "THERMdll"));
    EXPECT_THAT(Calls({L"enthalpy.Dtemperature", L"enthalpy.Dpressure"}), ElementsAre("TPRHOdll", "DHD1dll"));
    EXPECT_THAT(Calls({L"compressibility", L"entropy", L"gibbsEnergy", L"heatCapacityCv", L"enthalpy"}),
                ElementsAre("TPRHOdll", "THERM2dll"));
    EXPECT_THAT(Calls({L"density.Dtemperature", L"volume.Dpressure", L"compressibilityFactor.Dpressure"}),
                ElementsAre("TPRHOdll", "THERM2dll"));
    EXPECT_THAT(Calls({L"viscosity", L"fugacity", L"helmholtzEnergy", L"heatCapacityCv"}),
                ElementsAre("TPRHOdll", "FUGCOFdll", "AGdll", "CVCPdll", "TRNPRPdll"));
    EXPECT_THAT(Calls({L"enthalpy", L"fugacity"}), ElementsAre("TPRHOdll", "FUGCOFdll", "ENTHALdll"));
}

TEST_F(CallRules, PerturbedPointsRunOncePerRequestAndOnlyTheGroupsThatAsked) {
    // Temperature and pressure points: density first, then only the routines of their forms.
    EXPECT_THAT(Calls({L"entropy.Dtemperature", L"internalEnergy.Dtemperature", L"viscosity.Dpressure",
                       L"viscosity"}),
                ElementsAre("TPRHOdll", "THERMdll", "TRNPRPdll", "TPRHOdll", "THERMdll", "TPRHOdll", "TRNPRPdll"));
    // Density-only composition forms evaluate the density at each mole-number point.
    const auto calls = Calls({L"density.Dmoles", L"volume.Dmoles", L"compressibilityFactor.Dmoles"});
    EXPECT_EQ(Count(calls, "TPRHOdll"), 1u + 5u);
    EXPECT_EQ(calls.size(), 6u);
    const auto fugacity = Calls({L"fugacityCoefficient.Dmoles", L"logFugacityCoefficient.Dmoles", L"enthalpy"});
    EXPECT_EQ(Count(fugacity, "TPRHOdll"), 6u);
    EXPECT_EQ(Count(fugacity, "FUGCOFdll"), 6u);
    EXPECT_EQ(Count(fugacity, "ENTHALdll"), 1u);
}

TEST_F(CallRules, AFailureAtThePressurePointWritesNothing) {
    // 1e9 kPa is the engine's highest pressure: the perturbed point lies beyond it.
    material->PutPhaseState(L"Vapor", 600.0, 1e12, kGas5Fractions);
    const auto calls = Calls({L"density", L"entropy", L"entropy.Dpressure"}, kUnknownHR);
    EXPECT_THAT(Narrow(ErrorDescription(package.Get())),
                testing::StartsWith("Failed to get density at pressure perturbation for given conditions: TPRHOdll:"));
    EXPECT_THAT(calls, ElementsAre("TPRHOdll", "THERMdll", "TPRHOdll"));
    EXPECT_TRUE(material->CallsTo(L"SetSinglePhaseProp").empty());
}

TEST_F(CallRules, AFailureAtTheTemperaturePointNamesIt) {
    material->PutPhaseState(L"Vapor", 1e5, 1e5, kGas5Fractions);  // 100000 K: the engine's highest
    Calls({L"speedOfSound.Dtemperature"}, kUnknownHR);
    EXPECT_THAT(Narrow(ErrorDescription(package.Get())),
                testing::StartsWith("Failed to get density at temperature perturbation for given conditions: "));
}

TEST_F(CallRules, FugacityWithoutFugcofComesFromFugacities) {
    ASSERT_EQ(package->CalcSinglePhaseProp(Names({L"fugacityCoefficient"}), _bstr_t(L"Vapor")), S_OK);
    const auto withFugcof = Written(material, L"fugacityCoefficient", L"Vapor", L"");
    package->Refprop().routines.FUGCOFdll = nullptr;
    const auto calls = Calls({L"fugacityCoefficient"});
    EXPECT_THAT(calls, ElementsAre("TPRHOdll", "FGCTYdll"));
    const auto withFgcty = Written(material, L"fugacityCoefficient", L"Vapor", L"");
    ASSERT_EQ(withFgcty.size(), 5u);
    for (size_t i = 0; i < 5; ++i) EXPECT_NEAR(withFgcty[i], withFugcof[i], 1e-9);
}

}  // namespace
