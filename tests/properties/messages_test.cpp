// Failures of single routines at the base and at perturbed points, injected by replacing an
// entry of the package's routine table with one that fails on a chosen call.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "tests/properties/PropertiesFixture.h"
#include "tools/host/VariantValues.h"

using namespace tarnevo_test;
using testing::StartsWith;

namespace {

constexpr HRESULT kUnknownHR = static_cast<HRESULT>(0x80040501L);

// The real routines and the call number (1 = first call of the request) that fails.
tarnevo::FUGCOFdll_t realFugcof = nullptr;
tarnevo::TRNPRPdll_t realTrnprp = nullptr;
tarnevo::TPRHOdll_t realTprho = nullptr;
tarnevo::SURTENdll_t realSurten = nullptr;
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

void FailingTprho(double* t, double* p, double* x, int* kph, int* kguess, double* D, int* ierr, char* herr,
                  tarnevo::RpLength length) {
    realTprho(t, p, x, kph, kguess, D, ierr, herr, length);
    if (++callNumber == failingCall) Fail(ierr, herr, length);
}

void FailingSurten(double* t, double* Dl, double* Dv, double* xl, double* xv, double* sigma, int* ierr, char* herr,
                   tarnevo::RpLength length) {
    realSurten(t, Dl, Dv, xl, xv, sigma, ierr, herr, length);
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
        realTprho = routines.TPRHOdll;
        realSurten = routines.SURTENdll;
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

TEST_F(Messages, NegativeDensityIsNoData) {
    package->Refprop().routines.TPRHOdll = [](double*, double*, double*, int*, int*, double* D, int* ierr, char*,
                                              tarnevo::RpLength) {
        *D = -1;
        *ierr = 0;
    };
    EXPECT_EQ(package->CalcSinglePhaseProp(Names({L"density"}), _bstr_t(L"Vapor")), kUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()), L"No data");
}

TEST_F(Messages, CompositionThatIsNotNumbers) {
    material->PutSinglePhaseRaw(L"fraction", L"Vapor", L"mole", Names({L"a", L"b", L"c", L"d", L"e"}));
    EXPECT_EQ(package->CalcSinglePhaseProp(Names({L"density"}), _bstr_t(L"Vapor")), kUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()),
              L"Invalid values for composition from material object: Expected an array of type double precision");
}

// Two phases of propane, butane and pentane; the failing call is counted over TPRHOdll or SURTENdll.
class TwoPhaseMessages : public testing::Test {
protected:
    void SetUp() override {
        package = PropertiesStore::Get().Package(L"Three");
        material = SetMaterial(package, kThree, L"Liquid", 330.0, 5e5, {0.2, 0.3, 0.5});
        material->PutPhaseState(L"Vapor", 330.0, 5e5, {0.6, 0.3, 0.1});
        auto& routines = package->Refprop().routines;
        realTprho = routines.TPRHOdll;
        realSurten = routines.SURTENdll;
        routines.TPRHOdll = &FailingTprho;
        routines.SURTENdll = &FailingSurten;
    }
    // Fails the call-th TPRHOdll call, or with `surten` the call-th SURTENdll call.
    std::wstring Failure(const std::vector<std::wstring>& names, int call, bool surten) {
        callNumber = 0;
        failingCall = call;
        package->Refprop().routines.TPRHOdll = surten ? realTprho : &FailingTprho;
        EXPECT_EQ(package->CalcTwoPhaseProp(Names(names), tarnevo::host::StringArray({L"Liquid", L"Vapor"})), kUnknownHR);
        return ErrorDescription(package.Get());
    }
    PackagePtr package;
    MaterialPtr material;
};

TEST_F(TwoPhaseMessages, DensityAndSurfaceTensionFailuresNameTheirPoint) {
    const std::wstring text = L": INJECTED: routine failed";
    const std::vector<std::wstring> all = {L"kvalue.Dtemperature", L"kvalue.Dpressure", L"kvalue.Dmoles"};
    EXPECT_EQ(Failure(all, 1, false), L"Failed to get liquid density for given conditions" + text);
    EXPECT_EQ(Failure(all, 2, false), L"Failed to get vapor density for given conditions" + text);
    EXPECT_EQ(Failure(all, 3, false), L"Failed to get liquid density at temperature perturbation for given conditions" + text);
    EXPECT_EQ(Failure(all, 6, false), L"Failed to get vapor density at pressure perturbation for given conditions" + text);
    EXPECT_EQ(Failure(all, 7, false), L"Failed to get density at liquid composition perturbation for given conditions" + text);
    EXPECT_EQ(Failure(all, 10, false), L"Failed to get density at vapor composition perturbation for given conditions" + text);
    const std::vector<std::wstring> sigma = {L"surfaceTension.Dtemperature", L"surfaceTension.Dpressure",
                                             L"surfaceTension.Dmoles"};
    EXPECT_EQ(Failure(sigma, 1, true), L"Failed to get surface tension for given conditions" + text);
    EXPECT_EQ(Failure(sigma, 2, true), L"Failed to get surface tension at temperature perturbation for given conditions" + text);
    EXPECT_EQ(Failure(sigma, 3, true), L"Failed to get surface tension at pressure perturbation for given conditions" + text);
    EXPECT_EQ(Failure(sigma, 4, true), L"Failed to get surface tension at liquid composition perturbation for given conditions" + text);
    EXPECT_EQ(Failure(sigma, 7, true), L"Failed to get surface tension at vapor composition perturbation for given conditions" + text);
    EXPECT_TRUE(material->CallsTo(L"SetTwoPhaseProp").empty());
}

TEST_F(TwoPhaseMessages, WarningContexts) {
    auto context = tarnevo::host::CHostSimulationContext::Create();
    ASSERT_EQ(package->put_simulationContext(context->Dispatch()), S_OK);
    failureCode = -1;
    // Every TPRHOdll and SURTENdll call warns: the first eight of each are enough to see every context.
    std::vector<std::wstring> contexts;
    for (int call = 1; call <= 12; ++call) {
        callNumber = 0;
        failingCall = call;
        context->ClearMessages();
        ASSERT_EQ(package->CalcTwoPhaseProp(Names({L"kvalue.Dtemperature", L"kvalue.Dpressure", L"kvalue.Dmoles"}),
                                            tarnevo::host::StringArray({L"Liquid", L"Vapor"})),
                  S_OK);
        for (const auto& message : context->LoggedMessages()) contexts.push_back(message);
    }
    package->Refprop().routines.TPRHOdll = realTprho;
    for (int call = 1; call <= 7; call += 1) {
        callNumber = 0;
        failingCall = call;
        ASSERT_EQ(package->CalcTwoPhaseProp(Names({L"surfaceTension.Dtemperature", L"surfaceTension.Dpressure",
                                                   L"surfaceTension.Dmoles"}),
                                            tarnevo::host::StringArray({L"Liquid", L"Vapor"})),
                  S_OK);
    }
    for (const auto& message : context->LoggedMessages()) contexts.push_back(message);
    failureCode = 1;
    const std::wstring text = L": INJECTED: routine failed";
    using testing::Contains;
    for (const wchar_t* expected :
         {L"Warning: Density calculation liquid phase", L"Warning: Density calculation vapor phase",
          L"Warning: Density calculation liquid phase (temperature perturbation)",
          L"Warning: Density calculation vapor phase (pressure perturbation)",
          L"Warning: Density calculation liquid phase (composition perturbation)",
          L"Warning: Density calculation vapor phase (composition perturbation)", L"Warning: Surface tension",
          L"Warning: Surface tension (temperature perturbation)", L"Warning: Surface tension (pressure perturbation)",
          L"Warning: Surface tension (liquid composition perturbation)",
          L"Warning: Surface tension (vapor composition perturbation)"})
        EXPECT_THAT(contexts, Contains(std::wstring(expected) + text)) << Narrow(expected);
}

TEST_F(Messages, LnPhiFugacityFailure) {
    callNumber = 0;
    failingCall = 1;
    _variant_t out;
    EXPECT_EQ(package->CalcAndGetLnPhi(_bstr_t(L"Vapor"), 300, 1e6, tarnevo::host::DoubleArray(kGas5Fractions), 1,
                                       &out, nullptr, nullptr, nullptr),
              kUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()),
              L"Failed to get fugacity coefficient for given conditions: INJECTED: routine failed");
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
