// Failures of single routines at the base and at perturbed points, injected by replacing an
// entry of the package's routine table with one that fails on a chosen call.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "tests/properties/PropertiesFixture.h"

using namespace tarnevo_test;
using testing::StartsWith;

namespace {

constexpr HRESULT kUnknownHR = static_cast<HRESULT>(0x80040501L);

// The real routines and the call number (1 = first call of the request) that fails.
tarnevo::FUGCOFdll_t realFugcof = nullptr;
tarnevo::TRNPRPdll_t realTrnprp = nullptr;
int callNumber = 0;
int failingCall = 0;
int failureCode = 1;

void Fail(int* ierr, char* herr, tarnevo::RpLength length) {
    *ierr = failureCode;
    const char text[] = "INJECTED: routine failed";
    std::memset(herr, ' ', static_cast<size_t>(length));
    std::memcpy(herr, text, sizeof text - 1);
}

void FailingFugcof(double* t, double* D, double* x, double* phi, int* ierr, char* herr, tarnevo::RpLength length) {
    realFugcof(t, D, x, phi, ierr, herr, length);
    if (++callNumber == failingCall) Fail(ierr, herr, length);
}

void FailingTrnprp(double* t, double* D, double* x, double* eta, double* tcx, int* ierr, char* herr,
                   tarnevo::RpLength length) {
    realTrnprp(t, D, x, eta, tcx, ierr, herr, length);
    if (++callNumber == failingCall) Fail(ierr, herr, length);
}

class Messages : public testing::Test {
protected:
    void SetUp() override {
        package = PropertiesStore::Get().Package(L"Gas5");
        material = SetMaterial(package, kGas5, L"Vapor", 300.0, 5e6, kGas5Fractions);
        auto& routines = package->Refprop().routines;
        realFugcof = routines.FUGCOFdll;
        realTrnprp = routines.TRNPRPdll;
        routines.FUGCOFdll = &FailingFugcof;
        routines.TRNPRPdll = &FailingTrnprp;
    }
    std::wstring Failure(const std::vector<std::wstring>& names, int call) {
        callNumber = 0;
        failingCall = call;
        EXPECT_EQ(package->CalcSinglePhaseProp(Names(names), _bstr_t(L"Vapor")), kUnknownHR);
        return ErrorDescription(package.Get());
    }
    PackagePtr package;
    MaterialPtr material;
};

TEST_F(Messages, FugacityAndTransportFailuresNameTheirPoint) {
    const std::wstring text = L": INJECTED: routine failed";
    const std::vector<std::wstring> fugacity = {L"fugacity.Dtemperature", L"fugacity.Dpressure",
                                                L"fugacity.Dmoles"};
    EXPECT_EQ(Failure(fugacity, 1), L"Failed to get fugacity coefficient for given conditions" + text);
    EXPECT_EQ(Failure(fugacity, 2), L"Failed to get fugacity coefficient at temperature perturbation for given conditions" + text);
    EXPECT_EQ(Failure(fugacity, 3), L"Failed to get fugacity coefficient at pressure perturbation for given conditions" + text);
    EXPECT_EQ(Failure(fugacity, 4), L"Failed to get fugacity coefficient at composition perturbation for given conditions" + text);
    const std::vector<std::wstring> transport = {L"viscosity.Dtemperature", L"thermalConductivity.Dpressure",
                                                 L"viscosity.Dmoles"};
    EXPECT_EQ(Failure(transport, 1), L"Failed to calculate transport properties for given conditions" + text);
    EXPECT_EQ(Failure(transport, 2), L"Failed to calculate transport properties at temperature perturbation for given conditions" + text);
    EXPECT_EQ(Failure(transport, 3), L"Failed to calculate transport properties at pressure perturbation for given conditions" + text);
    EXPECT_EQ(Failure(transport, 5), L"Failed to calculate transport properties at composition perturbation for given conditions" + text);
    EXPECT_TRUE(material->CallsTo(L"SetSinglePhaseProp").empty());
}

TEST_F(Messages, WarningsAtPerturbedPointsCarryTheirContext) {
    auto context = tarnevo::host::CHostSimulationContext::Create();
    ASSERT_EQ(package->put_simulationContext(context->Dispatch()), S_OK);
    failureCode = -1;
    callNumber = 0;
    failingCall = 4;  // the first mole-number point
    ASSERT_EQ(package->CalcSinglePhaseProp(Names({L"viscosity.Dtemperature", L"viscosity.Dpressure",
                                                  L"viscosity.Dmoles"}),
                                           _bstr_t(L"Vapor")),
              S_OK);
    failureCode = 1;
    EXPECT_THAT(context->LoggedMessages(),
                testing::ElementsAre(L"Warning: Transport properties (composition perturbation): INJECTED: routine failed"));
    EXPECT_EQ(Written(material, L"viscosity.Dmoles", L"Vapor", L"").size(), 5u);
}

TEST_F(Messages, NegativeTransportValuesAreNoData) {
    // A value written before the failure stays on the material.
    package->Refprop().routines.TRNPRPdll = [](double*, double*, double*, double* eta, double* tcx, int* ierr,
                                               char*, tarnevo::RpLength) {
        *eta = -1;
        *tcx = 0.02;
        *ierr = 0;
    };
    EXPECT_EQ(package->CalcSinglePhaseProp(Names({L"thermalConductivity", L"viscosity"}), _bstr_t(L"Vapor")),
              kUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()), L"No data");
    EXPECT_EQ(Written(material, L"thermalConductivity", L"Vapor", L""), std::vector<double>{0.02});
}

TEST_F(Messages, MissingMolecularWeightNamesTheCompound) {
    // CO2 without a molar mass (as from a fluid file that gives none) counts only when present.
    package->MutableRecords()[4].molecularWeight = tarnevo::kUnknownValue;
    material->PutPhaseState(L"Vapor", 300, 1e5, {0.9, 0.1, 0.0, 0.0, 0.0});
    ASSERT_EQ(package->CalcSinglePhaseProp(Names({L"molecularWeight"}), _bstr_t(L"Vapor")), S_OK);
    material->PutPhaseState(L"Vapor", 300, 1e5, kGas5Fractions);
    EXPECT_EQ(package->CalcSinglePhaseProp(Names({L"density", L"molecularWeight"}), _bstr_t(L"Vapor")), kUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()), L"Missing molecular weight for compound CO2");
    EXPECT_EQ(Written(material, L"density", L"Vapor", L"mole").size(), 1u);
}

}  // namespace
