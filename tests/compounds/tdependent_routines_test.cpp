// Temperature-dependent properties over a scripted routine table: which routines run in
// which order, unit conversions, layout, missing values, warnings and errors.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "capeobject/CapeFailure.h"
#include "package/TDependentProperties.h"
#include "package/names/PropertyIds.h"
#include "tools/host/HostSimulationContext.h"

namespace {

using namespace tarnevo;
using testing::ElementsAre;

// The scripted library: per-component results (component = position of the 1 in x).
struct Script {
    std::vector<std::string> calls;
    int satIerr = 0, csatIerr = 0, trnIerr = 0, fugIerr = 0, surIerr = 0;
    std::string message = "scripted message";
    double p[3] = {1000.0, 200.0, 50.0};   // kPa
    double rhoL[3] = {10.0, 8.0, 6.0};     // mol/L
    double rhoV[3] = {0.5, 0.1, 0.02};
    double csat = 120.0, dpdt = 30.0, eta = 150.0, tcx = 0.1, sigma = 0.01, phi = 0.9, enthalpyNaN = 0;
} script;

int Component(const double* x) {
    for (int i = 0; i < 3; ++i)
        if (x[i] == 1.0) return i;
    return -1;
}

void Message(int ierr, int* out, char* herr, RpLength length) {
    *out = ierr;
    if (ierr == 0) return;
    std::memset(herr, ' ', static_cast<size_t>(length));
    std::memcpy(herr, script.message.data(), std::min<size_t>(script.message.size(), static_cast<size_t>(length)));
}

void Call(const std::string& name, const double* x) { script.calls.push_back(name + std::to_string(Component(x))); }

extern "C" {
void SATT(double*, double* x, int* kph, double* p, double* Dl, double* Dv, double*, double*, int* ierr, char* herr,
          RpLength len) {
    Call("SATT kph" + std::to_string(*kph) + " x", x);
    const int c = Component(x);
    *p = script.p[c];
    *Dl = script.rhoL[c];
    *Dv = script.rhoV[c];
    Message(script.satIerr, ierr, herr, len);
}
void DPTSATK(int* icomp, double*, int* kph, double* p, double*, double* csat, double* dpdt, int* ierr, char* herr,
             RpLength len) {
    script.calls.push_back("DPTSATK icomp" + std::to_string(*icomp) + " kph" + std::to_string(*kph));
    *p = -5.0;  // the saturation pressure of SATT is the one used
    *csat = script.csat;
    *dpdt = script.dpdt;
    Message(script.csatIerr, ierr, herr, len);
}
void CSATK(int* icomp, double*, int* kph, double*, double*, double* csat, int* ierr, char* herr, RpLength len) {
    script.calls.push_back("CSATK icomp" + std::to_string(*icomp) + " kph" + std::to_string(*kph));
    *csat = script.csat;
    Message(script.csatIerr, ierr, herr, len);
}
void TRNPRP(double*, double* D, double* x, double* eta, double* tcx, int* ierr, char* herr, RpLength len) {
    Call("TRNPRP D" + std::to_string(*D) + " x", x);
    *eta = script.eta * *D;
    *tcx = script.tcx * *D;
    Message(script.trnIerr, ierr, herr, len);
}
void THERM0(double*, double* D, double* x, double*, double*, double* h, double* s, double*, double* cp, double*,
            double*, double*) {
    Call("THERM0 D" + std::to_string(*D) + " x", x);
    *h = 1000.0;
    *s = 10.0;
    *cp = 70.0;
}
void VIRB(double*, double* x, double* b) {
    Call("VIRB x", x);
    *b = -0.2 * (Component(x) + 1);
}
void DBDT(double*, double* x, double* dbdt) {
    Call("DBDT x", x);
    *dbdt = 0.003;
}
void ENTHAL(double*, double* D, double* x, double* h) {
    Call("ENTHAL x", x);
    *h = script.enthalpyNaN ? std::numeric_limits<double>::quiet_NaN() : 100.0 / *D;
}
void SURTEN(double*, double*, double*, double* xl, double* xv, double* sigma, int* ierr, char* herr, RpLength len) {
    Call("SURTEN x", xl);
    EXPECT_EQ(Component(xl), Component(xv));
    *sigma = script.sigma;
    Message(script.surIerr, ierr, herr, len);
}
void FUGCOF(double*, double* D, double* x, double* phi, int* ierr, char* herr, RpLength len) {
    Call("FUGCOF D" + std::to_string(*D) + " x", x);
    phi[Component(x)] = script.phi;
    Message(script.fugIerr, ierr, herr, len);
}
void FGCTY(double*, double*, double* x, double* f) {
    Call("FGCTY x", x);
    f[Component(x)] = 450.0;  // kPa
}
}

class TDependentRoutinesTest : public testing::Test {
protected:
    TDependentRoutinesTest() {
        script = Script();
        RefpropRoutineTable& r = binding.routines;
        r.SATTdll = SATT;
        r.DPTSATKdll = DPTSATK;
        r.CSATKdll = CSATK;
        r.TRNPRPdll = TRNPRP;
        r.THERM0dll = THERM0;
        r.VIRBdll = VIRB;
        r.DBDTdll = DBDT;
        r.ENTHALdll = ENTHAL;
        r.SURTENdll = SURTEN;
        r.FUGCOFdll = FUGCOF;
        r.FGCTYdll = FGCTY;
        context = host::CHostSimulationContext::Create();
        context->QueryInterface(IID_PPV_ARGS(&diagnostics));
    }

    std::vector<double> Evaluate(const std::vector<std::int32_t>& compounds, const std::vector<std::int32_t>& props,
                                 TDependentCounts* counts = nullptr) {
        TDependentWorkspace ws{binding, diagnostics.Get(), composition, liquid, vapor, phi};
        std::vector<double> values(compounds.size() * props.size(), -1.0);
        TDependentCounts c = EvaluateTDependentProperties(ws, 300.0, compounds, props, values.data());
        if (counts) *counts = c;
        return values;
    }

    RefpropBinding binding;
    host::CHostSimulationContext::Ptr context;
    Microsoft::WRL::ComPtr<ICapeDiagnostic> diagnostics;
    std::vector<double> composition{0.3, 0.3, 0.4}, liquid{0, 0, 0}, vapor{0, 0, 0}, phi{0, 0, 0};
};

TEST_F(TDependentRoutinesTest, VirialCoefficientsNeedNoSaturation) {
    const auto values = Evaluate({1, 0}, {kVirialCoefficient, kVirialCoefficientDT});
    EXPECT_THAT(script.calls, ElementsAre("VIRB x1", "DBDT x1", "VIRB x0", "DBDT x0"));
    // L/mol -> m3/mol, property-major.
    EXPECT_THAT(values, ElementsAre(testing::DoubleEq(-0.4e-3), testing::DoubleEq(-0.2e-3),
                                    testing::DoubleEq(3e-6), testing::DoubleEq(3e-6)));
    EXPECT_THAT(composition, ElementsAre(0.0, 0.0, 0.0));
}

TEST_F(TDependentRoutinesTest, EvaluationsRunOncePerCompoundInTheirOrder) {
    Evaluate({2}, {kViscosityOfVapor, kIdealGasEntropy, kVaporPressureDT, kThermalConductivityOfLiquid,
                   kHeatCapacityOfLiquid, kViscosityOfLiquid});
    EXPECT_THAT(script.calls, ElementsAre("SATT kph2 x2", "DPTSATK icomp3 kph1", "TRNPRP D6.000000 x2",
                                          "TRNPRP D0.020000 x2", "THERM0 D0.000000 x2"));
    script.calls.clear();
    Evaluate({0}, {kHeatCapacityOfLiquid});
    EXPECT_THAT(script.calls, ElementsAre("CSATK icomp1 kph1"));
}

TEST_F(TDependentRoutinesTest, ValuesInSIUnits) {
    const auto v = Evaluate({0}, {kVaporPressure, kVaporPressureDT, kFugacityCoefficientOfVapor,
                                  kHeatCapacityOfLiquid, kHeatOfVaporization, kSurfaceTensionSatLiquid,
                                  kThermalConductivityOfLiquid, kThermalConductivityOfVapor, kIdealGasEnthalpy,
                                  kIdealGasEnthalpyDT, kIdealGasEntropy, kIdealGasHeatCapacity, kViscosityOfLiquid,
                                  kViscosityOfVapor, kVolumeChangeUponVaporization, kVolumeOfLiquid});
    const double expected[] = {1e6,  3e4,  0.9,  120.0, 100.0 / 0.5 - 100.0 / 10.0, 0.01, 1.0, 0.05, 1000.0,
                               70.0, 10.0, 70.0, 1500e-6, 75e-6, 1 / 500.0 - 1 / 10000.0, 1 / 10000.0};
    ASSERT_EQ(v.size(), std::size(expected));
    for (size_t k = 0; k < v.size(); ++k) EXPECT_NEAR(v[k], expected[k], 1e-12 * std::abs(expected[k])) << k;
}

TEST_F(TDependentRoutinesTest, FugacityFromFugacitiesWithoutFUGCOF) {
    binding.routines.FUGCOFdll = nullptr;
    const auto v = Evaluate({0}, {kFugacityCoefficientOfVapor});
    EXPECT_DOUBLE_EQ(v[0], 450.0 / 1000.0);
    EXPECT_THAT(script.calls, ElementsAre("SATT kph2 x0", "FGCTY x0"));
}

TEST_F(TDependentRoutinesTest, MissingValuesAreNaNAndCounted) {
    script.p[0] = -1.0;
    script.csat = -1.0;
    script.sigma = -0.5;
    script.eta = -1.0;
    script.tcx = -1.0;
    script.enthalpyNaN = 1;
    TDependentCounts counts;
    const std::vector<std::int32_t> props = {kVaporPressure, kVaporPressureDT, kFugacityCoefficientOfVapor,
                                             kHeatCapacityOfLiquid, kSurfaceTensionSatLiquid,
                                             kThermalConductivityOfLiquid, kThermalConductivityOfVapor,
                                             kViscosityOfLiquid, kViscosityOfVapor, kHeatOfVaporization,
                                             kVolumeOfLiquid};
    const auto v = Evaluate({0}, props, &counts);
    for (size_t k = 0; k + 1 < props.size(); ++k) EXPECT_TRUE(std::isnan(v[k])) << k;
    EXPECT_DOUBLE_EQ(v.back(), 1e-4);
    EXPECT_EQ(counts.missing, props.size() - 1);
    EXPECT_EQ(counts.valued, 1u);
    // A negative pressure skips the fugacity routine.
    EXPECT_EQ(std::count(script.calls.begin(), script.calls.end(), "FUGCOF D0.500000 x0"), 0);
}

TEST_F(TDependentRoutinesTest, WarningsAreLoggedWithTheirContextAndTheValuesKept) {
    script.satIerr = -1;
    script.csatIerr = -1;
    script.trnIerr = -1;
    script.fugIerr = -1;
    script.surIerr = -1;
    const auto v = Evaluate({0}, {kVaporPressureDT, kViscosityOfLiquid, kViscosityOfVapor,
                                  kFugacityCoefficientOfVapor, kSurfaceTensionSatLiquid});
    EXPECT_DOUBLE_EQ(v[0], 3e4);
    EXPECT_THAT(context->LoggedMessages(),
                ElementsAre(L"Warning: Vapor pressure calculation: scripted message",
                            L"Warning: dP/dT along saturation line: scripted message",
                            L"Warning: Liquid transport properties: scripted message",
                            L"Warning: Vapor transport properties: scripted message",
                            L"Warning: Fugacity coefficient calculation: scripted message",
                            L"Warning: Surface tension: scripted message"));
    context->ClearMessages();
    Evaluate({0}, {kHeatCapacityOfLiquid});
    EXPECT_THAT(context->LoggedMessages(), ElementsAre(L"Warning: Liquid heat capacity: scripted message"));
}

TEST_F(TDependentRoutinesTest, AnErrorStopsWithTheRefpropMessage) {
    script.satIerr = 3;
    script.message = "SATTdll: no saturation above the critical temperature";
    try {
        Evaluate({0, 1}, {kVaporPressure, kVirialCoefficient});
        FAIL() << "no failure";
    } catch (const CapeFailure& failure) {
        EXPECT_EQ(failure.message(), L"SATTdll: no saturation above the critical temperature");
    }
    EXPECT_THAT(script.calls, ElementsAre("SATT kph2 x0"));
    EXPECT_THAT(composition, ElementsAre(0.0, 0.0, 0.0));
    script.satIerr = 0;
    script.surIerr = 1;
    script.message = "SURTENdll: failed";
    EXPECT_THROW(Evaluate({0}, {kSurfaceTensionSatLiquid}), CapeFailure);
}

}  // namespace
