// The parts of the command-line host that shape what a user reads: tables in their three
// forms, the command-line readers, compositions, units, property rows and the envelope picture.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <comdef.h>

#include <cmath>
#include <string>

#include "tools/host/HostMaterial.h"
#include "tools/tarnevo/CapeFailure.h"
#include "tools/tarnevo/CommandLine.h"
#include "tools/tarnevo/Composition.h"
#include "tools/tarnevo/EnvelopePlot.h"
#include "tools/tarnevo/PhaseProperties.h"
#include "tools/tarnevo/Report.h"
#include "tools/tarnevo/Units.h"

using namespace tarnevo::cli;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

Table Sample() {
    Table table(L"properties", {{L"property"}, {L"value", true}, {L"unit"}});
    table.Add({Cell(L"density"), Cell(2280.4621234567), Cell(L"mol/m3")});
    table.Add({Cell(L"viscosity"), Cell(NAN), Cell(L"Pa s")});
    table.Add({Cell(L"label, \"quoted\""), Cell(), Cell(L"tab\there")});
    return table;
}

// The refusal message of `parse`, or "" when it succeeds.
template <class F>
std::wstring Refusal(F parse) {
    try {
        parse();
    } catch (const UsageError& error) {
        return error.message();
    }
    return L"";
}

Arguments Parse(std::vector<std::wstring> words) {
    return Arguments::Parse(words, L"props", {{L"T", true}, {L"x", true}, {L"derivatives", false}}, 1);
}

const std::vector<std::wstring> kGas = {L"METHANE", L"ETHANE", L"CO2"};

}  // namespace

TEST(Report, AlignedTablesRightAlignNumbersAndShowMissingValuesAsDashes) {
    EXPECT_EQ(Render({Sample()}, Format::Aligned),
              "properties\n"
              "property            value  unit\n"
              "---------------  --------  --------\n"
              "density          2280.462  mol/m3\n"
              "viscosity               -  Pa s\n"
              "label, \"quoted\"         -  tab\there\n");
}

TEST(Report, CsvQuotesFieldsWithSeparatorsAndLeavesMissingNumbersEmpty) {
    EXPECT_EQ(Render({Sample()}, Format::Csv),
              "property,value,unit\n"
              "density,2280.46212346,mol/m3\n"
              "viscosity,,Pa s\n"
              "\"label, \"\"quoted\"\"\",,tab\there\n");
}

TEST(Report, JsonEscapesTextAndWritesMissingNumbersAsNull) {
    const std::string json = Render({Sample()}, Format::Json);
    EXPECT_THAT(json, HasSubstr("\"properties\": ["));
    EXPECT_THAT(json, HasSubstr("{\"property\": \"density\", \"value\": 2280.46212346, \"unit\": \"mol/m3\"}"));
    EXPECT_THAT(json, HasSubstr("\"value\": null"));
    EXPECT_THAT(json, HasSubstr("\"label, \\\"quoted\\\"\""));
    EXPECT_THAT(json, HasSubstr("\"tab\\there\""));
}

TEST(Report, SeveralTablesAreSeparatedByABlankLineAndNonAsciiTextIsUtf8) {
    Table a(L"a", {{L"x"}});
    a.Add({Cell(L"\u00e9")});
    Table b(L"b", {{L"y", true}});
    b.Add({Cell(1.5)});
    EXPECT_EQ(Render({a, b}, Format::Csv), "x\n\xc3\xa9\n\ny\n1.5\n");
}

TEST(CommandLine, ReadsOptionsInBothFormsWithNegativeValues) {
    const Arguments args = Parse({L"Gas", L"--T=300", L"--x", L"-0.5,1.5", L"--derivatives", L"--json"});
    EXPECT_EQ(args.Positional(0), L"Gas");
    EXPECT_EQ(args.Number(L"T"), 300.0);
    EXPECT_THAT(args.List(L"x"), ElementsAre(L"-0.5", L"1.5"));
    EXPECT_TRUE(args.Flag(L"derivatives"));
    EXPECT_EQ(args.OutputFormat(), Format::Json);
    EXPECT_EQ(Parse({L"Gas", L"--T", L"-5"}).Number(L"T"), -5.0);
}

TEST(CommandLine, RefusesWhatItCannotRead) {
    EXPECT_EQ(Refusal([] { Parse({L"Gas", L"--T", L"3OO"}).Number(L"T"); }), L"--T: \"3OO\" is not a number");
    EXPECT_EQ(Refusal([] { Parse({L"Gas", L"--T", L"inf"}).Number(L"T"); }), L"--T: \"inf\" is not a number");
    EXPECT_EQ(Refusal([] { Parse({L"Gas"}).Number(L"T"); }), L"--T is missing");
    EXPECT_EQ(Refusal([] { Parse({L"Gas", L"--T"}); }), L"--T needs a value");
    EXPECT_EQ(Refusal([] { Parse({L"Gas", L"--T", L"1", L"--T", L"2"}); }), L"--T is given twice");
    EXPECT_EQ(Refusal([] { Parse({L"Gas", L"--pressure", L"1"}); }), L"unknown option --pressure");
    EXPECT_EQ(Refusal([] { Parse({L"Gas", L"--derivatives=yes"}); }), L"--derivatives takes no value");
    EXPECT_EQ(Refusal([] { Parse({}); }), L"the package name is missing");
    EXPECT_EQ(Refusal([] { Parse({L"Gas", L"Oil"}); }), L"unexpected argument Oil");
    EXPECT_EQ(Refusal([] { Parse({L"Gas", L"--x", L"0.5,,0.5"}).List(L"x"); }), L"--x has an empty element");
}

TEST(CommandLine, UsageLinesNameTheirCommand) {
    EXPECT_EQ(UsageLine(L"show"), L"usage: tarnevo show NAME [--csv|--json]");
    EXPECT_THAT(UsageLine(L""), HasSubstr(L"tarnevo envelope NAME --z"));
}

TEST(Composition, FractionsInPackageOrderOrByNameAreNormalised) {
    EXPECT_THAT(ReadComposition(Parse({L"G", L"--x", L"0.5,0.25,0.25"}), L"x", kGas), ElementsAre(0.5, 0.25, 0.25));
    EXPECT_THAT(ReadComposition(Parse({L"G", L"--x", L"50,25,25"}), L"x", kGas), ElementsAre(0.5, 0.25, 0.25));
    EXPECT_THAT(ReadComposition(Parse({L"G", L"--x", L"co2=1,Methane=3"}), L"x", kGas), ElementsAre(0.75, 0.0, 0.25));
}

TEST(Composition, RefusesWrongLengthsNamesAndValues) {
    auto refusal = [](const wchar_t* x) {
        return Refusal([x] { ReadComposition(Parse({L"G", L"--x", x}), L"x", kGas); });
    };
    EXPECT_EQ(refusal(L"0.5,0.5"), L"--x has 2 values but package holds 3 compounds (METHANE, ETHANE, CO2)");
    EXPECT_EQ(refusal(L"0.5,0.6,-0.1"), L"--x: mole fractions cannot be negative");
    EXPECT_EQ(refusal(L"0,0,0"), L"--x: the mole fractions sum to 0");
    EXPECT_EQ(refusal(L"0.5,x,0.5"), L"--x: \"x\" is not a number");
    EXPECT_EQ(refusal(L"METHANE=1,H2O=0"), L"--x: the package has no compound H2O (METHANE, ETHANE, CO2)");
    EXPECT_EQ(refusal(L"METHANE=1,methane=0"), L"--x: methane is given twice");
    EXPECT_EQ(refusal(L"METHANE=1,0.5"), L"--x: mix of plain values and NAME=value pairs");
    EXPECT_EQ(Refusal([] { ReadComposition(Parse({L"G"}), L"x", kGas); }), L"--x is missing");
}

TEST(Units, DerivativeFormsDivideTheBaseUnit) {
    EXPECT_EQ(SinglePhaseUnit(L"density"), L"mol/m3");
    EXPECT_EQ(SinglePhaseUnit(L"Density.Dtemperature"), L"mol/(m3 K)");
    EXPECT_EQ(SinglePhaseUnit(L"entropy.Dtemperature"), L"J/(mol K2)");
    EXPECT_EQ(SinglePhaseUnit(L"enthalpy.Dmoles"), L"J/mol2");
    EXPECT_EQ(SinglePhaseUnit(L"enthalpy.DmolFraction"), L"J/mol");
    EXPECT_EQ(SinglePhaseUnit(L"viscosity.Dpressure"), L"s");
    EXPECT_EQ(SinglePhaseUnit(L"fugacity.Dpressure"), L"-");
    EXPECT_EQ(SinglePhaseUnit(L"compressibility.Dtemperature"), L"1/(Pa K)");
    EXPECT_EQ(SinglePhaseUnit(L"fugacityCoefficient.Dtemperature"), L"1/K");
    EXPECT_EQ(SinglePhaseUnit(L"heatCapacity"), L"J/(mol K)");
    EXPECT_EQ(SinglePhaseUnit(L"frobnicity"), L"");
    EXPECT_EQ(TDependentUnit(L"vaporPressure.Dtemperature"), L"Pa/K");
    EXPECT_EQ(TDependentUnit(L"surfaceTensionSatLiquid"), L"N/m");
}

TEST(PropertyRows, CompositionDerivativesNameTheCompoundTheyAreTakenBy) {
    Table table(L"p", {{L"property"}, {L"compound"}, {L"by"}, {L"value", true}, {L"unit"}});
    const std::vector<std::wstring> two = {L"A", L"B"};
    AddPropertyRows(table, L"density.Dmoles", {1, 2}, two, L"u");
    AddPropertyRows(table, L"fugacityCoefficient", {3, 4}, two, L"-");
    // Element j * nc + i: compound i by compound j.
    AddPropertyRows(table, L"fugacityCoefficient.Dmoles", {5, 6, 7, 8}, two, L"1/mol");
    AddPropertyRows(table, L"viscosity", {}, two, L"Pa s");
    EXPECT_EQ(RenderCsv(table),
              "property,compound,by,value,unit\n"
              "density.Dmoles,,A,1,u\n"
              "density.Dmoles,,B,2,u\n"
              "fugacityCoefficient,A,,3,-\n"
              "fugacityCoefficient,B,,4,-\n"
              "fugacityCoefficient.Dmoles,A,A,5,1/mol\n"
              "fugacityCoefficient.Dmoles,B,A,6,1/mol\n"
              "fugacityCoefficient.Dmoles,A,B,7,1/mol\n"
              "fugacityCoefficient.Dmoles,B,B,8,1/mol\n"
              "viscosity,,,,Pa s\n");
}

TEST(EnvelopePicture, MarksTheCriticalRegionOnlyWhereTheSeriesStops) {
    EnvelopeCurves curves;
    curves.title = L"Gas <1>";
    curves.bubble = {{1e5, 100}, {1e6, 140}, {5e6, 200}};
    curves.dew = {{1e5, 170}, {1e6, 200}, {6e6, 225}};
    const std::string open = EnvelopeSvg(curves);
    EXPECT_EQ(open.rfind("<?xml", 0), 0u);
    EXPECT_EQ(open.substr(open.size() - 7), "</svg>\n");
    EXPECT_THAT(open, HasSubstr("Gas &lt;1&gt;"));
    EXPECT_THAT(open, HasSubstr(">temperature (K)</text>"));
    EXPECT_THAT(open, HasSubstr(">pressure (MPa)</text>"));
    EXPECT_THAT(open, Not(HasSubstr("critical region")));
    curves.dewStopped = true;
    EXPECT_THAT(EnvelopeSvg(curves), HasSubstr(">critical region (series stops)</text>"));
}

TEST(CapeFailureReport, ReadsTheFailingObjectsECapeUserDetails) {
    // The host material fails a read of a value never set, with an ECapeUser description.
    auto material = tarnevo::host::CHostMaterial::Create({L"METHANE"});
    _variant_t values;
    const HRESULT hr = material->GetOverallProp(_bstr_t(L"temperature"), _bstr_t(L""), &values);
    try {
        CheckCape(hr, material->Material(), L"Called", L"ICalled");
        FAIL() << "no failure";
    } catch (const CapeFailure& failure) {
        EXPECT_EQ(failure.CodeName(), L"ECapeThrmPropertyNotAvailableHR");
        EXPECT_THAT(failure.description(), HasSubstr(L"temperature"));
        EXPECT_EQ(failure.scope(), L"GetOverallProp");
        EXPECT_EQ(failure.interfaceName(), L"ICapeThermoMaterial");
        EXPECT_EQ(failure.Report().rfind(
                      L"tarnevo: CAPE-OPEN failure ECapeThrmPropertyNotAvailableHR (0x8004051A)\n  description: ", 0),
                  0u);
    }
}

TEST(CapeFailureReport, FallsBackToTheCallAndTheSystemTextWithoutECapeUser) {
    try {
        CheckCape(static_cast<HRESULT>(0x80040509L), nullptr, L"CalcEquilibrium", L"ICapeThermoEquilibriumRoutine");
        FAIL() << "no failure";
    } catch (const CapeFailure& failure) {
        EXPECT_EQ(failure.CodeName(), L"ECapeNoImplHR");
        EXPECT_EQ(failure.scope(), L"CalcEquilibrium");
        EXPECT_EQ(failure.interfaceName(), L"ICapeThermoEquilibriumRoutine");
        EXPECT_THAT(failure.Report(), HasSubstr(L"\n  scope: CalcEquilibrium\n  interface: ICapeThermoEquilibriumRoutine\n"));
    }
    EXPECT_NO_THROW(CheckCape(S_OK, nullptr, L"x", L"y"));
    EXPECT_EQ(CapeFailure(static_cast<HRESULT>(0x80049999L), L"", L"", L"").CodeName(), L"0x80049999");
}
