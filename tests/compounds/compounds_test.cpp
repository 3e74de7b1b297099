// ICapeThermoCompounds of a three-compound package (PROPANE, BUTANE, PENTANE) on the engine:
// lists, constants against the fluid files, temperature-dependent properties against direct
// calls of the engine, missing values and every message.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <map>

#include "com/CapeHResults.h"
#include "capeobject/CapeFailure.h"
#include "refprop/FluidSetup.h"
#include "refprop/RefpropLibrary.h"
#include "tests/compounds/CompoundsFixture.h"
#include "tools/host/VariantValues.h"

namespace tarnevo_test {
namespace {

using tarnevo::host::DoubleArray;
using tarnevo::host::StringArray;
using testing::ElementsAre;
using testing::ElementsAreArray;


// Header lines 0 … 12 of a fluid file, comments and trailing blanks removed.
std::vector<std::string> FluidHeader(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (lines.size() < 13 && std::getline(in, line)) {
        line = line.substr(0, line.find('!'));
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Package index of one of the three compounds, named in any case.
int IndexOf(const std::wstring& id) {
    const std::wstring lower = tarnevo::host::AsciiLower(id);
    return lower == L"propane" ? 0 : lower == L"butane" ? 1 : 2;
}

class CompoundsTest : public testing::Test {
protected:
    CompoundsStore& store = CompoundsStore::Get();
    PackagePtr package = store.Package(L"Three");
    ICapeThermoCompounds* compounds = package.Get();

    std::wstring Error() { return ErrorDescription(package.Get()); }
};

// --- Lists ---------------------------------------------------------------------------------------

TEST_F(CompoundsTest, ListsOfConstantsAndProperties) {
    _variant_t constants, tdependent, pdependent(1.0);
    ASSERT_EQ(compounds->GetConstPropList(&constants), S_OK);
    EXPECT_THAT(Strings(constants),
                ElementsAre(L"casRegistryNumber", L"chemicalFormula", L"acentricFactor", L"charge",
                            L"criticalDensity", L"criticalPressure", L"criticalTemperature", L"criticalVolume",
                            L"dipoleMoment", L"molecularWeight", L"normalBoilingPoint"));
    ASSERT_EQ(compounds->GetTDependentPropList(&tdependent), S_OK);
    const auto names = Strings(tdependent);
    ASSERT_EQ(names.size(), 18u);
    EXPECT_EQ(names.front(), L"vaporPressure");
    EXPECT_EQ(names[9], L"virialCoefficient.Dtemperature");
    EXPECT_EQ(names.back(), L"volumeOfLiquid");
    ASSERT_EQ(compounds->GetPDependentPropList(&pdependent), S_OK);
    EXPECT_THAT(Strings(pdependent), ElementsAre(L"boilingPointTemperature"));
    long count = 0;
    ASSERT_EQ(compounds->GetNumCompounds(&count), S_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(compounds->GetNumCompounds(nullptr), E_POINTER);
    EXPECT_EQ(compounds->GetConstPropList(nullptr), E_POINTER);
}

TEST_F(CompoundsTest, CompoundListFollowsTheFluidFiles) {
    _variant_t ids(1.0), formulae, names, boiling, weights, cas;
    ASSERT_EQ(compounds->GetCompoundList(&ids, &formulae, &names, &boiling, &weights, &cas), S_OK);
    EXPECT_THAT(Strings(ids), ElementsAreArray(kThreeCompounds));
    EXPECT_THAT(Strings(names), ElementsAreArray(kThreeCompounds));
    EXPECT_THAT(Strings(formulae), ElementsAre(L"C3H8", L"C4H10", L"C5H12"));
    EXPECT_THAT(Strings(cas), ElementsAre(L"74-98-6", L"106-97-8", L"109-66-0"));
    const auto nbp = Doubles(boiling), mw = Doubles(weights);
    for (size_t i = 0; i < 3; ++i) {
        const auto header = FluidHeader(store.FluidFile(kThreeCompounds[i]));
        EXPECT_DOUBLE_EQ(mw[i], std::stod(header[5]));
        EXPECT_DOUBLE_EQ(nbp[i], std::stod(header[7]));
    }
    EXPECT_EQ(compounds->GetCompoundList(&ids, &formulae, nullptr, &boiling, &weights, &cas), E_POINTER);
}

// --- Compound constants --------------------------------------------------------------------------

TEST_F(CompoundsTest, ConstantsInTheCallersOrdersAgainstTheFluidFiles) {
    const std::vector<std::wstring> props = {L"criticalTemperature", L"CRITICALPRESSURE", L"criticalDensity",
                                             L"criticalVolume",      L"acentricFactor",   L"dipoleMoment",
                                             L"molecularWeight",     L"normalBoilingPoint", L"charge"};
    for (const std::vector<std::wstring>& order :
         {std::vector<std::wstring>{L"pentane", L"PROPANE"}, std::vector<std::wstring>{L"Butane"},
          std::vector<std::wstring>{L"BUTANE", L"PENTANE", L"PROPANE"}}) {
        _variant_t values;
        ASSERT_EQ(compounds->GetCompoundConstant(StringArray(props), StringArray(order), &values), S_OK);
        const auto elements = tarnevo::host::ReadVariants(values);
        ASSERT_EQ(elements.size(), props.size() * order.size());
        for (size_t i = 0; i < order.size(); ++i) {
            const auto h = FluidHeader(store.FluidFile(kThreeCompounds[IndexOf(order[i])]));
            const double expected[] = {std::stod(h[8]),          std::stod(h[9]) * 1000, std::stod(h[10]) * 1000,
                                       1 / (std::stod(h[10]) * 1000), std::stod(h[11]),  std::stod(h[12]) * 3.33564e-30,
                                       std::stod(h[5]),          std::stod(h[7]),        0.0};
            for (size_t k = 0; k < props.size(); ++k) {
                const _variant_t& element = elements[k * order.size() + i];
                ASSERT_EQ(element.vt, VT_R8) << k;
                EXPECT_DOUBLE_EQ(element.dblVal, expected[k]) << Narrow(props[k]) << " " << Narrow(order[i]);
            }
        }
    }
}

TEST_F(CompoundsTest, EmptyCompoundListMeansAllAndEmptyPropsGiveNothing) {
    _variant_t values;
    ASSERT_EQ(compounds->GetCompoundConstant(StringArray({L"casRegistryNumber", L"chemicalFormula"}), _variant_t(),
                                             &values),
              S_OK);
    EXPECT_THAT(Strings(values), ElementsAre(L"74-98-6", L"106-97-8", L"109-66-0", L"C3H8", L"C4H10", L"C5H12"));
    _variant_t none;
    ASSERT_EQ(compounds->GetCompoundConstant(_variant_t(), StringArray({L"PROPANE"}), &none), S_OK);
    EXPECT_EQ(none.vt, VT_EMPTY);
}

TEST_F(CompoundsTest, MissingConstantsLeaveEmptyElementsAndReportNotAvailable) {
    // A fluid file without CAS number and formula.
    std::ifstream in(store.FluidFile(L"BUTANE").c_str(), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text.replace(text.find("106-97-8"), 8, "        ");
    text.replace(text.find("CH3-(CH2)2-CH3"), 14, "              ");
    const std::wstring sparse = store.WriteFluidFile(L"SPARSE", text);
    store.WritePackage(L"Sparse", {store.FluidFile(L"PROPANE"), sparse});
    PackagePtr sparsePackage = store.Package(L"Sparse");
    _variant_t values;
    EXPECT_EQ(sparsePackage->GetCompoundConstant(StringArray({L"casRegistryNumber", L"chemicalFormula", L"charge"}),
                                                 _variant_t(), &values),
              tarnevo::ECapeThrmPropertyNotAvailableHR);
    const auto elements = tarnevo::host::ReadVariants(values);
    ASSERT_EQ(elements.size(), 6u);
    EXPECT_EQ(std::wstring(_bstr_t(elements[0])), L"74-98-6");
    EXPECT_EQ(elements[1].vt, VT_EMPTY);
    EXPECT_EQ(elements[3].vt, VT_EMPTY);
    EXPECT_EQ(elements[5].dblVal, 0.0);
    _variant_t ids, formulae, names, boiling, weights, cas;
    ASSERT_EQ(sparsePackage->GetCompoundList(&ids, &formulae, &names, &boiling, &weights, &cas), S_OK);
    const auto casNumbers = tarnevo::host::ReadOptionalStrings(cas);
    ASSERT_EQ(casNumbers.size(), 2u);
    EXPECT_EQ(casNumbers[0], std::optional<std::wstring>(L"74-98-6"));
    EXPECT_EQ(casNumbers[1], std::nullopt);
}

TEST_F(CompoundsTest, CompoundConstantMessages) {
    _variant_t values;
    const _variant_t tc = StringArray({L"criticalTemperature"});
    const std::pair<std::function<HRESULT()>, std::wstring> cases[] = {
        {[&] { return compounds->GetCompoundConstant(tc, StringArray({L"PROPANE", L"propane"}), &values); },
         L"Compound ID \"propane\" appears in list of compounds more than once"},
        {[&] { return compounds->GetCompoundConstant(tc, StringArray({L"WATER"}), &values); },
         L"Compound list contains unknown compound ID \"WATER\""},
        {[&] { return compounds->GetCompoundConstant(tc, StringArray({L"PROPANE", L""}), &values); },
         L"At least one compound identifier in the compound list is empty"},
        {[&] { return compounds->GetCompoundConstant(tc, DoubleArray({1.0}), &values); },
         L"Invalid list of compound IDs: Expected an array of type string"},
        {[&] { return compounds->GetCompoundConstant(DoubleArray({1.0}), _variant_t(), &values); },
         L"Invalid list of constant identifiers: Expected an array of type string"},
        {[&] { return compounds->GetCompoundConstant(StringArray({L"charge", nullptr}), _variant_t(), &values); },
         L"Property ID list contains empty strings"},
        {[&] { return compounds->GetCompoundConstant(StringArray({L"charge", L"density"}), _variant_t(), &values); },
         L"Unknown or unsupported compound constant ID \"density\""},
    };
    for (const auto& [call, message] : cases) {
        EXPECT_EQ(call(), tarnevo::ECapeUnknownHR) << Narrow(message);
        EXPECT_EQ(Error(), message);
    }
    EXPECT_EQ(compounds->GetCompoundConstant(tc, _variant_t(), nullptr), E_POINTER);
}

// --- Temperature-dependent properties --------------------------------------------------------------

// The engine loaded directly (its own private copy) with the package's three fluids.
class DirectEngine {
public:
    explicit DirectEngine(const CompoundsStore& store) {
        tarnevo::LoadRefpropLibrary(rp, store.RefpropFolder(), store.TemporaryFolder());
        std::vector<std::string> files;
        for (const auto& name : kThreeCompounds) files.push_back(Narrow(store.FluidFile(name)));
        const std::string folder = Narrow(store.RefpropFolder());
        ierr = rp.SETUP(3, tarnevo::BuildFluidFileList(folder, files),
                        tarnevo::BuildMixtureFileArgument(folder, folder + "\\fluids\\hmx.bnc"), "DEF");
    }
    ~DirectEngine() { tarnevo::UnloadRefpropLibrary(rp); }

    // Property `name` of compound `i` at `t`, computed here from the routines.
    double Value(const std::wstring& name, int i, double t) {
        double x[3] = {0, 0, 0}, xl[3], xv[3], phi[3] = {0, 0, 0};
        x[i] = 1.0;
        double p = 0, dl = 0, dv = 0, scratch = 0, csat = 0, dpdt = 0;
        EXPECT_EQ(rp.SATT(t, x, 2, p, dl, dv, xl, xv), 0);
        if (name == L"vaporPressure") return p * 1000;
        if (name == L"volumeOfLiquid") return 1 / (dl * 1000);
        if (name == L"volumeChangeUponVaporization") return 1 / (dv * 1000) - 1 / (dl * 1000);
        if (name == L"vaporPressure.Dtemperature") {
            rp.DPTSATK(i + 1, t, 1, scratch, scratch, csat, dpdt);
            return dpdt * 1000;
        }
        if (name == L"heatCapacityOfLiquid") {
            rp.CSATK(i + 1, t, 1, scratch, scratch, csat);
            return csat;
        }
        if (name == L"heatOfVaporization") {
            double hv = 0, hl = 0;
            rp.routines.ENTHALdll(&t, &dv, x, &hv);
            rp.routines.ENTHALdll(&t, &dl, x, &hl);
            return hv - hl;
        }
        if (name == L"viscosityOfLiquid" || name == L"thermalConductivityOfVapor") {
            double eta = 0, tcx = 0;
            rp.TRNPRP(t, name == L"viscosityOfLiquid" ? dl : dv, x, eta, tcx);
            return name == L"viscosityOfLiquid" ? eta * 1e-6 : tcx;
        }
        if (name == L"surfaceTensionSatLiquid") {
            double sigma = 0;
            rp.SURTEN(t, dl, dv, x, x, sigma);
            return sigma;
        }
        if (name == L"fugacityCoefficientOfVapor") {
            rp.FUGCOF(t, dv, x, phi);
            return phi[i];
        }
        if (name == L"virialCoefficient") {
            double b = 0;
            rp.routines.VIRBdll(&t, x, &b);
            return b * 0.001;
        }
        double zero = 0, pp, e, h, s, cv, cp, w, a, g;
        rp.routines.THERM0dll(&t, &zero, x, &pp, &e, &h, &s, &cv, &cp, &w, &a, &g);
        if (name == L"idealGasEnthalpy") return h;
        if (name == L"idealGasEntropy") return s;
        return cp;  // idealGasHeatCapacity
    }

    tarnevo::RefpropBinding rp;
    int ierr = -99;
};

TEST_F(CompoundsTest, TDependentPropertiesMatchTheEngineInTheCallersOrders) {
    DirectEngine engine(store);
    ASSERT_EQ(engine.ierr, 0) << Narrow(tarnevo::GetRefpropMessage(engine.rp));
    const std::vector<std::wstring> props = {
        L"vaporPressure",     L"volumeOfLiquid",           L"heatOfVaporization",    L"viscosityOfLiquid",
        L"idealGasHeatCapacity", L"virialCoefficient",     L"surfaceTensionSatLiquid", L"VAPORPRESSURE.DTEMPERATURE",
        L"fugacityCoefficientOfVapor", L"heatCapacityOfLiquid", L"thermalConductivityOfVapor", L"idealGasEnthalpy",
        L"idealGasEntropy",   L"volumeChangeUponVaporization"};
    const double t = 300.0;
    for (const std::vector<std::wstring>& order :
         {std::vector<std::wstring>{L"pentane", L"PROPANE"}, std::vector<std::wstring>{L"Butane"},
          std::vector<std::wstring>{}}) {
        _variant_t values;
        ASSERT_EQ(compounds->GetTDependentProperty(StringArray(props), t, order.empty() ? _variant_t() : StringArray(order),
                                                   &values),
                  S_OK)
            << Narrow(Error());
        const auto v = Doubles(values);
        const std::vector<std::wstring> ids = order.empty() ? kThreeCompounds : order;
        ASSERT_EQ(v.size(), props.size() * ids.size());
        for (size_t k = 0; k < props.size(); ++k) {
            for (size_t i = 0; i < ids.size(); ++i) {
                const std::wstring name = k == 7 ? L"vaporPressure.Dtemperature" : props[k];
                const double expected = engine.Value(name, IndexOf(ids[i]), t);
                EXPECT_NEAR(v[k * ids.size() + i], expected, 1e-9 * std::abs(expected))
                    << Narrow(props[k]) << " " << Narrow(ids[i]);
            }
        }
    }
}

TEST_F(CompoundsTest, TDependentPropertiesArePlausible) {
    _variant_t values;
    ASSERT_EQ(compounds->GetTDependentProperty(StringArray({L"vaporPressure", L"volumeOfLiquid"}), 300.0,
                                               StringArray({L"PROPANE", L"BUTANE"}), &values),
              S_OK);
    const auto v = Doubles(values);  // pA, pB, vA, vB
    EXPECT_NEAR(v[0], 0.998e6, 0.05e6);   // propane at 300 K
    EXPECT_NEAR(v[1], 0.258e6, 0.02e6);   // butane
    EXPECT_NEAR(v[2], 89.5e-6, 10e-6);    // m3/mol
    EXPECT_GT(v[3], v[2]);
}

TEST_F(CompoundsTest, AboveTheCriticalTemperatureOnlyTheVirialCoefficientIsAvailable) {
    _variant_t values(7.0);
    EXPECT_EQ(compounds->GetTDependentProperty(StringArray({L"vaporPressure"}), 400.0, StringArray({L"PROPANE"}),
                                               &values),
              tarnevo::ECapeUnknownHR);
    EXPECT_THAT(Narrow(Error()), testing::StartsWith("SATTdll"));
    EXPECT_EQ(values.vt, VT_R8);  // left as it was
    ASSERT_EQ(compounds->GetTDependentProperty(StringArray({L"virialCoefficient"}), 400.0,
                                               StringArray({L"PROPANE"}), &values),
              S_OK);
    EXPECT_LT(Doubles(values).at(0), 0.0);
}

TEST_F(CompoundsTest, TDependentPropertyMessages) {
    _variant_t values(7.0);
    const _variant_t vp = StringArray({L"vaporPressure"});
    for (const auto& [call, message] : std::vector<std::pair<std::function<HRESULT()>, std::wstring>>{
             {[&] { return compounds->GetTDependentProperty(vp, std::numeric_limits<double>::quiet_NaN(),
                                                            _variant_t(), &values); },
              L"Missing / unspecified value for temperature"},
             {[&] { return compounds->GetTDependentProperty(vp, -DBL_MAX, _variant_t(), &values); },
              L"Missing / unspecified value for temperature"},
             {[&] { return compounds->GetTDependentProperty(vp, 0.0, _variant_t(), &values); },
              L"Temperature must be positive"},
             {[&] { return compounds->GetTDependentProperty(vp, 300.0, StringArray({L"WATER"}), &values); },
              L"Invalid list of compound IDs: Compound list contains unknown compound ID \"WATER\""},
             {[&] { return compounds->GetTDependentProperty(vp, 300.0, DoubleArray({1.0}), &values); },
              L"Invalid list of compound IDs: Invalid list of compound IDs: Expected an array of type string"},
             {[&] {
                  return compounds->GetTDependentProperty(DoubleArray({1.0}), 300.0, _variant_t(), &values);
              },
              L"Invalid list of property IDs: Expected an array of type string"},
             {[&] {
                  return compounds->GetTDependentProperty(StringArray({L"vaporPressure", L""}), 300.0, _variant_t(),
                                                          &values);
              },
              L"One or more empty strings in property ID list"},
             {[&] {
                  return compounds->GetTDependentProperty(StringArray({L"density"}), 300.0, _variant_t(), &values);
              },
              L"Invalid or unsupported temperature dependent property \"density\""},
         }) {
        EXPECT_EQ(call(), tarnevo::ECapeUnknownHR) << Narrow(message);
        EXPECT_EQ(Error(), message);
        EXPECT_EQ(values.vt, VT_R8);
    }
    EXPECT_EQ(compounds->GetTDependentProperty(vp, 300.0, _variant_t(), nullptr), E_POINTER);
    // An empty property list is an empty result.
    ASSERT_EQ(compounds->GetTDependentProperty(_variant_t(), 300.0, _variant_t(), &values), S_OK);
    EXPECT_EQ(values.vt, VT_EMPTY);
}

// Scripted saturation: no vapour pressure at all.
extern "C" void NoPressureSATT(double*, double*, int*, double* p, double* Dl, double* Dv, double*, double*,
                               int* ierr, char*, tarnevo::RpLength) {
    *p = -1.0;
    *Dl = 10.0;
    *Dv = 1.0;
    *ierr = 0;
}

TEST_F(CompoundsTest, MissingTemperatureDependentValues) {
    package->Refprop().routines.SATTdll = NoPressureSATT;
    _variant_t values;
    EXPECT_EQ(compounds->GetTDependentProperty(StringArray({L"vaporPressure", L"volumeOfLiquid"}), 300.0,
                                               StringArray({L"BUTANE", L"PROPANE"}), &values),
              tarnevo::ECapeThrmPropertyNotAvailableHR);
    const auto v = Doubles(values);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_TRUE(std::isnan(v[0]) && std::isnan(v[1]));
    EXPECT_DOUBLE_EQ(v[2], 1e-4);
    _variant_t none(7.0);
    EXPECT_EQ(compounds->GetTDependentProperty(StringArray({L"vaporPressure"}), 300.0, _variant_t(), &none),
              tarnevo::ECapeUnknownHR);
    EXPECT_EQ(Error(), L"No data");
    EXPECT_EQ(none.vt, VT_R8);
}

TEST_F(CompoundsTest, BoilingPointTemperatureUpToTheCriticalPressure) {
    _variant_t values(7.0);
    const _variant_t boiling = StringArray({L"BoilingPointTemperature"});
    ASSERT_EQ(compounds->GetPDependentProperty(boiling, 101325.0, StringArray({L"pentane", L"PROPANE"}), &values),
              S_OK) << Narrow(Error());
    EXPECT_THAT(Doubles(values), ElementsAre(testing::DoubleNear(309.21, 0.1), testing::DoubleNear(231.04, 0.1)));
    // Pentane (3.37 MPa) is missing above its critical pressure, propane (4.25 MPa) is not.
    ASSERT_EQ(compounds->GetPDependentProperty(boiling, 4e6, _variant_t(), &values), tarnevo::ECapeThrmPropertyNotAvailableHR);
    EXPECT_TRUE(std::isnan(Doubles(values).at(2)));
    EXPECT_GT(Doubles(values).at(0), 360.0);
    for (const auto& [pressure, message] : std::vector<std::pair<double, std::wstring>>{
             {5e6, L"No data"}, {0.0, L"Pressure must be positive"},
             {std::numeric_limits<double>::quiet_NaN(), L"Missing / unspecified value for pressure"}}) {
        EXPECT_EQ(compounds->GetPDependentProperty(boiling, pressure, StringArray({L"PENTANE"}), &values), tarnevo::ECapeUnknownHR);
        EXPECT_EQ(Error(), message);
    }
    EXPECT_EQ(compounds->GetPDependentProperty(StringArray({L"x"}), 1e5, _variant_t(), &values), tarnevo::ECapeUnknownHR);
    EXPECT_EQ(Error(), L"Invalid or unsupported pressure dependent property \"x\"");
}

}  // namespace
}  // namespace tarnevo_test
