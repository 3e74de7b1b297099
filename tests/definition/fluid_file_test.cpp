#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "FluidHeaders.h"
#include "TestFolder.h"
#include "definition/FluidCatalogue.h"
#include "definition/FluidFileReader.h"
#include "definition/FormulaDeriver.h"

using namespace tarnevo;
using tarnevo_test::TestFolder;
using tarnevo_test::Utf8;

namespace {

std::wstring Derived(const std::wstring& written) {
    std::wstring formula;
    EXPECT_TRUE(DeriveFormula(written, formula)) << Utf8(written);
    return formula;
}

bool Recognised(const std::wstring& written) {
    std::wstring formula;
    return DeriveFormula(written, formula);
}

class FluidFiles : public ::testing::Test {
protected:
    void SetUp() override { tarnevo_test::MakeFolder(refprop / L"fluids"); }
    void Write(const std::wstring& name, const std::string& header) {
        tarnevo_test::WriteBytes(refprop / (L"fluids\\" + name), header);
    }
    bool Read(const std::wstring& compound, CompoundRecord& record, std::wstring& message) {
        return ReadCompoundRecord(refprop.path(), compound, record, message);
    }
    TestFolder refprop;
};

}  // namespace

TEST(DeriveFormula, StructuralFormulasBecomeHillOrder) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"CH3-CH2-CH3", L"C3H8"},      {L"cyclo-C6H12", L"C6H12"},     {L"Cyclo-C5H10", L"C5H10"},
        {L"CH2=CH2", L"C2H4"},          {L"CH3-(CH2)4-CH3", L"C6H14"},  {L"(CH3)2CH-CH3", L"C4H10"},
        {L"((CH3)3C)2O", L"C8H18O"},    {L"CF3CH2F", L"C2H2F4"},        {L"CHClF2", L"CHClF2"},
        {L"C2H5OH", L"C2H6O"},          {L"CO2", L"CO2"},               {L"Xe", L"Xe"},
        // Without carbon every element goes by symbol, hydrogen included.
        {L"SF6", L"F6S"},               {L"NH3", L"H3N"},               {L"HCl", L"ClH"},
        {L"H2S", L"H2S"},               {L"SO2", L"O2S"},
    };
    for (const auto& [written, formula] : cases) EXPECT_EQ(Derived(written), formula) << Utf8(written);
    // Refused: ")" without an open group, a group never closed, a stray lowercase letter, numbers
    // before an element (also in a group and after a bond mark), refrigerant names ("R" is no
    // element), any other character, a zero count, a count beyond 32 bits, nothing counted.
    for (const wchar_t* refused : {L"", L"CH3)2", L"(CH3", L"CH3xCH3", L"2H2O", L"(2CH3)", L"CH3-2CH3", L"R-134a",
                                   L"R32", L"N2+O2+Ar", L"C H4", L"C0H4", L"C99999999999", L"()"})
        EXPECT_FALSE(Recognised(refused)) << Utf8(refused);
}

TEST_F(FluidFiles, CompoundRecordReadsLinePositionsAndConvertsUnits) {
    Write(L"METHANE.FLD", tarnevo_test::MethaneHeader());
    CompoundRecord record;
    std::wstring message;
    ASSERT_TRUE(Read(L"fluids\\METHANE.FLD", record, message)) << Utf8(message);
    EXPECT_EQ(record.id, L"METHANE");
    EXPECT_TRUE(record.hasCasNumber);
    EXPECT_EQ(record.casNumber, L"74-82-8");
    EXPECT_EQ(record.rawFormula, L"CH4");
    EXPECT_EQ(record.formula, L"CH4");
    EXPECT_DOUBLE_EQ(record.molecularWeight, 16.0428);
    EXPECT_DOUBLE_EQ(record.tripleTemperature, 90.6941);
    EXPECT_DOUBLE_EQ(record.normalBoilingPoint, 111.667);
    EXPECT_DOUBLE_EQ(record.criticalTemperature, 190.564);
    EXPECT_DOUBLE_EQ(record.criticalPressure, 4599200.0);
    EXPECT_NEAR(record.criticalDensity, 10139.342719, 1e-6);
    EXPECT_DOUBLE_EQ(record.acentricFactor, 0.01142);
    EXPECT_EQ(record.dipoleMoment, 0.0);
}

TEST_F(FluidFiles, StructuralFormulaAndDipoleConversion) {
    Write(L"PROPANE.FLD", tarnevo_test::PropaneHeader());
    CompoundRecord record;
    std::wstring message;
    ASSERT_TRUE(Read(L"fluids\\PROPANE.FLD", record, message)) << Utf8(message);
    EXPECT_EQ(record.id, L"propane");
    EXPECT_EQ(record.rawFormula, L"CH3CH2CH3");
    EXPECT_EQ(record.formula, L"C3H8");
    EXPECT_NEAR(record.dipoleMoment, 0.084 * 3.33564e-30, 1e-40);
}

TEST_F(FluidFiles, MissingAndUnreadableLinesLeaveFieldsUnknown) {
    // Ten lines, no line end after the last; line 5 is no number; no CAS number.
    Write(L"SHORT.FLD", "SHORT\n\nfull name\n\nsynonym\nabc\n12.5\n100\n200\n3000");
    CompoundRecord record;
    std::wstring message;
    ASSERT_TRUE(Read(L"fluids\\SHORT.FLD", record, message)) << Utf8(message);
    EXPECT_FALSE(record.hasCasNumber);
    EXPECT_FALSE(record.hasRawFormula);
    EXPECT_FALSE(record.hasFormula);
    EXPECT_EQ(record.molecularWeight, kUnknownValue);
    EXPECT_DOUBLE_EQ(record.tripleTemperature, 12.5);
    EXPECT_DOUBLE_EQ(record.criticalPressure, 3.0e6);
    EXPECT_EQ(record.criticalDensity, kUnknownValue);
    EXPECT_EQ(record.acentricFactor, kUnknownValue);
    EXPECT_EQ(record.dipoleMoment, kUnknownValue);
}

TEST_F(FluidFiles, UnrecognisedFormulaIsReportedAsWritten) {
    Write(L"R404A.FLD", "R404A\n\nR-404A\nR125/143a/134a\n");
    CompoundRecord record;
    std::wstring message;
    ASSERT_TRUE(Read(L"fluids\\R404A.FLD", record, message)) << Utf8(message);
    EXPECT_TRUE(record.hasFormula);
    EXPECT_EQ(record.formula, L"R125/143a/134a");
}

TEST_F(FluidFiles, FailuresNameTheFullPath) {
    CompoundRecord record;
    std::wstring message;
    EXPECT_FALSE(Read(L"fluids\\NOPE.FLD", record, message));
    EXPECT_EQ(message, L"File does not exist: " + refprop.path() + L"\\fluids\\NOPE.FLD");

    Write(L"NONAME.FLD", "   ! only a comment on line 0\r\n123-45-6\r\n");
    EXPECT_FALSE(Read(L"fluids\\NONAME.FLD", record, message));
    EXPECT_EQ(message, L"Compound in \"" + refprop.path() + L"\\fluids\\NONAME.FLD\" does not have a name");

    Write(L"EMPTY.FLD", "");
    EXPECT_FALSE(Read(L"fluids\\EMPTY.FLD", record, message));
    EXPECT_EQ(message, L"Compound in \"" + refprop.path() + L"\\fluids\\EMPTY.FLD\" does not have a name");

    tarnevo_test::MakeFolder(refprop / L"fluids\\FOLDER.FLD");
    EXPECT_FALSE(Read(L"fluids\\FOLDER.FLD", record, message));
    const std::wstring prefix = L"Failed to open \"" + refprop.path() + L"\\fluids\\FOLDER.FLD\" for reading: ";
    EXPECT_EQ(message.substr(0, prefix.size()), prefix);
    EXPECT_GT(message.size(), prefix.size());
}

TEST_F(FluidFiles, CompoundWithDriveColonIsReadFromItsFullPath) {
    TestFolder elsewhere;
    tarnevo_test::WriteBytes(elsewhere / L"METHANE.FLD", tarnevo_test::MethaneHeader());
    CompoundRecord record;
    std::wstring message;
    ASSERT_TRUE(Read(elsewhere / L"METHANE.FLD", record, message)) << Utf8(message);
    EXPECT_EQ(record.id, L"METHANE");
}

TEST_F(FluidFiles, CatalogueListsFluidFilesWithTheirHeaderFields) {
    Write(L"METHANE.FLD", tarnevo_test::MethaneHeader());
    Write(L"propane.fld", tarnevo_test::PropaneHeader());
    Write(L"TINY.FLD", "TINY\n");
    Write(L"NOTES.TXT", "NOTES\n");
    tarnevo_test::MakeFolder(refprop / L"fluids\\SUBDIR.FLD");
    std::vector<FluidCatalogueEntry> entries = ScanFluidFolder(refprop / L"fluids");
    ASSERT_EQ(entries.size(), 3u);
    std::sort(entries.begin(), entries.end(),
              [](const FluidCatalogueEntry& a, const FluidCatalogueEntry& b) { return a.name < b.name; });
    const FluidCatalogueEntry& methane = entries[0];
    EXPECT_EQ(methane.filePath, refprop.path() + L"\\fluids\\METHANE.FLD");
    EXPECT_EQ(methane.casNumber, L"74-82-8");
    EXPECT_EQ(methane.synonyms, (std::vector<std::wstring>{L"methane", L"R-50"}));
    EXPECT_EQ(JoinSynonyms(methane), L"methane, R-50");
    EXPECT_EQ(methane.structure, L"CH4");
    EXPECT_EQ(methane.formula, L"CH4");
    EXPECT_EQ(methane.molarMassText, L"16.0428");
    EXPECT_EQ(methane.boilingPointText, L"111.667");
    EXPECT_EQ(entries[1].name, L"TINY");
    EXPECT_TRUE(entries[1].synonyms.empty());
    EXPECT_TRUE(entries[1].molarMassText.empty());
    EXPECT_EQ(entries[2].formula, L"C3H8");
    EXPECT_TRUE(ScanFluidFolder(refprop / L"missing").empty());
}

TEST_F(FluidFiles, FilterScoresExactAndPartialMatchesIgnoringCase) {
    Write(L"METHANE.FLD", tarnevo_test::MethaneHeader());
    Write(L"propane.fld", tarnevo_test::PropaneHeader());
    std::vector<FluidCatalogueEntry> entries = ScanFluidFolder(refprop / L"fluids");
    ASSERT_EQ(entries.size(), 2u);
    const FluidCatalogueEntry& methane = entries[0].name == L"METHANE" ? entries[0] : entries[1];
    EXPECT_EQ(ScoreCatalogueEntry(methane, L"methane"), 3);
    EXPECT_EQ(ScoreCatalogueEntry(methane, L"r-50"), 3);
    EXPECT_EQ(ScoreCatalogueEntry(methane, L"74-82-8"), 3);
    EXPECT_EQ(ScoreCatalogueEntry(methane, L"eth"), 1);
    EXPECT_EQ(ScoreCatalogueEntry(methane, L"111.6"), 1);
    EXPECT_EQ(ScoreCatalogueEntry(methane, L"propane"), 0);
    EXPECT_EQ(ScoreCatalogueEntry(methane, L""), 1);

    // "ane" is partial for both; "c3h8" is exact for propane only.
    const std::vector<size_t> both = FilterCatalogue(entries, L"ane");
    EXPECT_EQ(both.size(), 2u);
    const std::vector<size_t> exactFirst = FilterCatalogue(entries, L"c3h8");
    ASSERT_EQ(exactFirst.size(), 1u);
    EXPECT_EQ(entries[exactFirst[0]].name, L"propane");
}

TEST(FluidCatalogue, CompoundStringIsRelativeInsideTheRefpropFolder) {
    EXPECT_EQ(CompoundStringForFluidFile(L"C:\\Program Files\\REFPROP\\fluids\\METHANE.FLD",
                                         L"C:\\Program Files\\REFPROP"),
              L"fluids\\METHANE.FLD");
    EXPECT_EQ(CompoundStringForFluidFile(L"c:\\program files\\refprop\\FLUIDS\\X.FLD", L"C:\\Program Files\\REFPROP"),
              L"FLUIDS\\X.FLD");
    EXPECT_EQ(CompoundStringForFluidFile(L"D:\\own\\X.FLD", L"C:\\Program Files\\REFPROP"), L"D:\\own\\X.FLD");
    EXPECT_EQ(CompoundStringForFluidFile(L"C:\\Program Files\\REFPROPX\\X.FLD", L"C:\\Program Files\\REFPROP"),
              L"C:\\Program Files\\REFPROPX\\X.FLD");
}

TEST(FluidCatalogue, BundledFluidFilesAreReadCompletely) {
    // The bundled engine's fluid files, installed into the test prefix's REFPROP folder.
    wchar_t programFiles[MAX_PATH] = {};
    ExpandEnvironmentStringsW(L"%ProgramFiles%", programFiles, MAX_PATH);
    const std::wstring refpropFolder = std::wstring(programFiles) + L"\\REFPROP";
    const std::vector<FluidCatalogueEntry> entries = ScanFluidFolder(refpropFolder + L"\\fluids");
    if (entries.empty()) GTEST_SKIP() << "no fluid files installed";
    for (const FluidCatalogueEntry& entry : entries) {
        const std::wstring compound = CompoundStringForFluidFile(entry.filePath, refpropFolder);
        EXPECT_EQ(compound.substr(0, 7), L"fluids\\");
        CompoundRecord record;
        std::wstring message;
        ASSERT_TRUE(ReadCompoundRecord(refpropFolder, compound, record, message)) << Utf8(message);
        EXPECT_EQ(record.id, entry.name);
        std::wstring formula;
        EXPECT_TRUE(DeriveFormula(record.rawFormula, formula)) << Utf8(record.rawFormula);
        EXPECT_GT(record.molecularWeight, 1.0) << Utf8(record.id);
        EXPECT_GT(record.criticalTemperature, 0.0) << Utf8(record.id);
        EXPECT_GT(record.criticalPressure, 1.0e5) << Utf8(record.id);
        EXPECT_NE(record.acentricFactor, kUnknownValue) << Utf8(record.id);
        EXPECT_NE(record.dipoleMoment, kUnknownValue) << Utf8(record.id);
    }
}
