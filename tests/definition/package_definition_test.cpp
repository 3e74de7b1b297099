#include <gtest/gtest.h>

#include "FluidHeaders.h"
#include "TestFolder.h"
#include "definition/KeyValueReader.h"
#include "definition/PackageDefinitionLoader.h"
#include "definition/PackageEditorModel.h"

using namespace tarnevo;
using tarnevo_test::TestFolder;
using tarnevo_test::Utf8;

namespace {

const char kWorkedExample[] =
    "#TARNEVO PROPERTY PACKAGE\r\n"
    "#property package name is same as file name\r\n"
    "#optional description\r\n"
    "description=Natural gas\r\n"
    "#fluid information\r\n"
    "nfluid=2\r\n"
    "fluid1=fluids\\METHANE.FLD\r\n"
    "fluid2=fluids\\ETHANE.FLD\r\n"
    "#optional model type selection (DEFAULT,GERG,AGA,PR,CUSTOM)\r\n"
    "MODELTYPE=DEFAULT\r\n"
    "#optional equation of state override (only for CUSTOM model)\r\n"
    "#EOS=NBS;NBS;NBS\r\n"
    "#optional viscosity override (only for CUSTOM model)\r\n"
    "#ETA=NBS;NBS;NBS\r\n"
    "#optional thermal conductivity override (only for CUSTOM model)\r\n"
    "#TCX=NBS;NBS;NBS\r\n"
    "#optional surface tension override (only for CUSTOM model)\r\n"
    "#STN=NBS;NBS;NBS\r\n"
    "#mixture file override (default is fluids\\hmx.bnc)\r\n"
    "#MIX=fluids\\hmx.bnc\r\n"
    "#mixture rules overrides and reference state overrides currently not supported\r\n";

const char kEthaneHeader[] = "ETHANE\n74-84-0\nethane\nCH3-CH3\nR-170\n30.06904\n90.368\n184.569\n305.322\n4872.2\n"
                             "6.87085454\n0.0995\n0.0\n";

class Definitions : public ::testing::Test {
protected:
    void SetUp() override {
        tarnevo_test::MakeFolder(refprop / L"fluids");
        tarnevo_test::WriteBytes(refprop / L"fluids\\METHANE.FLD", tarnevo_test::MethaneHeader());
        tarnevo_test::WriteBytes(refprop / L"fluids\\ETHANE.FLD", kEthaneHeader);
    }

    // The loader's interpretation of a text; the message on failure, "" on success.
    std::wstring Load(const std::string& text, PackageDefinition& definition) {
        KeyValueReader reader;
        std::wstring message;
        EXPECT_TRUE(reader.ParseKeyValueText(text, message)) << Utf8(message);
        if (!InterpretPackageDefinition(reader.entries(), refprop.path(), definition, message)) return message;
        return std::wstring();
    }
    std::wstring LoadError(const std::string& text) {
        PackageDefinition definition;
        const std::wstring message = Load(text, definition);
        EXPECT_FALSE(message.empty()) << text;
        return message;
    }

    TestFolder refprop;
};

const std::string kTwo = "nfluid=2\nfluid1=fluids\\METHANE.FLD\nfluid2=fluids\\ETHANE.FLD\n";

}  // namespace

TEST_F(Definitions, WorkedExampleIsInterpretedByTheLoader) {
    PackageDefinition definition;
    ASSERT_EQ(Load(kWorkedExample, definition), L"");
    EXPECT_EQ(definition.description, L"Natural gas");
    EXPECT_EQ(definition.compounds, (std::vector<std::wstring>{L"fluids\\METHANE.FLD", L"fluids\\ETHANE.FLD"}));
    ASSERT_EQ(definition.compoundRecords.size(), 2u);
    EXPECT_EQ(definition.compoundRecords[0].id, L"METHANE");
    EXPECT_EQ(definition.compoundRecords[1].id, L"ETHANE");
    EXPECT_EQ(definition.compoundRecords[1].formula, L"C2H6");
    EXPECT_FALSE(definition.custom || definition.gerg || definition.aga || definition.pengRobinson);
    EXPECT_TRUE(definition.overrides.empty());
    EXPECT_EQ(definition.mixtureFile, "fluids\\hmx.bnc");
}

TEST_F(Definitions, LoaderKeepsOverridesAndSelectionFlags) {
    PackageDefinition definition;
    ASSERT_EQ(Load("MODELTYPE=GERG\n" + kTwo + "MODELTYPE=CUSTOM\nEOS=NBS;FEQ;NBS\nSTN=STX;ST1;NBS\n"
                   "MODELTYPE=PR\nMODELTYPE=gerg\nMIX=C:\\mix\\own.bnc\n",
                   definition),
              L"");
    EXPECT_TRUE(definition.gerg);
    EXPECT_TRUE(definition.custom);
    EXPECT_TRUE(definition.pengRobinson);
    EXPECT_FALSE(definition.aga);
    ASSERT_EQ(definition.overrides.size(), 2u);
    EXPECT_EQ(definition.overrides[0].category, "EOS");
    EXPECT_EQ(definition.overrides[0].mixtureCode, "NBS");
    EXPECT_EQ(definition.overrides[0].componentCodes, (std::vector<std::string>{"FEQ", "NBS"}));
    EXPECT_EQ(definition.overrides[1].category, "STN");
    EXPECT_EQ(definition.overrides[1].mixtureCode, "STX");
    EXPECT_EQ(definition.mixtureFile, "C:\\mix\\own.bnc");

    ASSERT_EQ(Load("nfluid=1\nfluid1=fluids\\METHANE.FLD\nMODELTYPE=AGA\nEOS=PR ;PR \n", definition), L"");
    EXPECT_TRUE(definition.aga);
    EXPECT_EQ(definition.overrides[0].mixtureCode, "PR ");
}

TEST_F(Definitions, KeyCaseAndCountRulesOfTheLoader) {
    PackageDefinition definition;
    ASSERT_EQ(Load("NFLUID= 2 compounds\nDescription=x\nFluid1=fluids\\METHANE.FLD\nFLUID02=fluids\\ETHANE.FLD\nmix=a.bnc\n",
                   definition),
              L"");
    EXPECT_EQ(definition.description, L"x");
    EXPECT_EQ(definition.compounds.size(), 2u);
    EXPECT_EQ(definition.mixtureFile, "a.bnc");
}

TEST_F(Definitions, EveryLoaderMessage) {
    const std::wstring folder = refprop.path();
    const std::pair<std::string, std::wstring> cases[] = {
        {kTwo + "eos=NBS;NBS;NBS\n", L"configuration file contains unknown key \"eos\""},
        {kTwo + "modeltype=PR\n", L"configuration file contains unknown key \"modeltype\""},
        {kTwo + "fluidA=x\n", L"configuration file contains unknown key \"fluidA\""},
        {kTwo + "fluid=x\n", L"configuration file contains unknown key \"fluid\""},
        {kTwo + "nfluid =2\n", L"configuration file contains unknown key \"nfluid \""},
        {kTwo + "nfluid=2\n", L"Multiple occurance of \"nfluid\" key"},
        {"nfluid=0\n", L"value of \"nfluid\" should be positive integer"},
        {"nfluid=-1\n", L"value of \"nfluid\" should be positive integer"},
        {"nfluid=abc\n", L"value of \"nfluid\" should be positive integer"},
        {"nfluid= +0\n", L"value of \"nfluid\" should be positive integer"},
        {"nfluid=x2\n", L"value of \"nfluid\" should be positive integer"},
        // More compounds than the library takes: refused before any fluid file is opened.
        {"nfluid=21\nfluid1=COM1\n", L"value of \"nfluid\" exceeds the maximum of 20 compounds"},
        {"nfluid=99999999999999\nfluid1=COM1\n", L"value of \"nfluid\" exceeds the maximum of 20 compounds"},
        {"description=only a description\n", L"Property package definition contains no compounds"},
        {"", L"Property package definition contains no compounds"},
        {"fluid1=fluids\\METHANE.FLD\nnfluid=1\n", L"\"fluid1\" cannot appear before \"nfluid\" key"},
        {kTwo + "fluid0=x\n", L"Invalid compound index for \"fluid0\" key"},
        {kTwo + "fluid3=x\n", L"Invalid compound index for \"fluid3\" key"},
        {kTwo + "fluid99999999999999999999=x\n", L"Invalid compound index for \"fluid99999999999999999999\" key"},
        {kTwo + "fluid01=x\n", L"multiple \"fluid01\" keys"},
        {"nfluid=3\nfluid1=fluids\\METHANE.FLD\nfluid3=fluids\\ETHANE.FLD\n", L"missing key \"fluid2\""},
        {"nfluid=1\nfluid1=fluids\\NOPE.FLD\n", L"File does not exist: " + folder + L"\\fluids\\NOPE.FLD"},
        // Device names in any folder part, any case, with or without extension, are never opened.
        {"nfluid=1\nfluid1=COM1\n", L"Fluid file path names a device: " + folder + L"\\COM1"},
        {"nfluid=1\nfluid1=fluids\\AUX.FLD\n", L"Fluid file path names a device: " + folder + L"\\fluids\\AUX.FLD"},
        {"nfluid=1\nfluid1=lpt9 .txt\\x.FLD\n", L"Fluid file path names a device: " + folder + L"\\lpt9 .txt\\x.FLD"},
        {"nfluid=1\nfluid1=conin$\n", L"Fluid file path names a device: " + folder + L"\\conin$"},
        {kTwo + "MIX=C:\\data\\nul\n", L"Mixture file path names a device: C:\\data\\nul"},
        {"EOS=NBS\nnfluid=1\n", L"\"EOS\" key cannot appear before \"nfluid\" key"},
        {kTwo + "EOS=NBS;FEQ\n", L"Invalid format of value for \"EOS\" key"},
        {kTwo + "TCX=NBS,ECS,ECS\n", L"Invalid format of value for \"TCX\" key"},
        {kTwo + "ETA=NBS;ECS;ECS;\n", L"Invalid format of value for \"ETA\" key"},
    };
    for (const auto& [text, message] : cases) EXPECT_EQ(LoadError(text), message) << text;
}

TEST_F(Definitions, LoaderReadsThePackageFileOrTheHeldText) {
    TestFolder store;
    const std::wstring file = store / L"Gas.rpp";
    std::string text;
    KeyValueReader reader;
    std::wstring message;
    EXPECT_FALSE(ReadPackageDefinitionEntries(file, text, reader, message));
    EXPECT_EQ(message, L"Property package definition (" + file + L") does not exist");

    tarnevo_test::WriteBytes(file, "description=x\nnfluid=\n");
    EXPECT_FALSE(ReadPackageDefinitionEntries(file, text, reader, message));
    EXPECT_EQ(message, L"Property package configuration error: Syntax error in property package file: found key "
                       L"\"nfluid\" without value");

    tarnevo_test::WriteBytes(file, kWorkedExample);
    ASSERT_TRUE(ReadPackageDefinitionEntries(file, text, reader, message)) << Utf8(message);
    EXPECT_EQ(text, kWorkedExample);
    EXPECT_EQ(reader.entries().size(), 5u);

    // With the text held (a restored package) the file is not needed.
    tarnevo_test::RemoveTree(file);
    KeyValueReader again;
    ASSERT_TRUE(ReadPackageDefinitionEntries(file, text, again, message)) << Utf8(message);
    EXPECT_EQ(again.entries().size(), 5u);
    std::string broken = "=value\n";
    EXPECT_FALSE(ReadPackageDefinitionEntries(file, broken, again, message));
    EXPECT_EQ(message,
              L"Property package configuration error: Syntax error in property package file: found value \"value\" "
              L"without key");
}

TEST(PackageEditor, WorkedExampleFillsTheFields) {
    PackageEditorModel model;
    std::vector<EditorMessage> messages;
    LoadPackageDefinitionIntoEditor(kWorkedExample, model, messages);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(model.description, L"Natural gas");
    EXPECT_EQ(model.compounds, (std::vector<std::wstring>{L"fluids\\METHANE.FLD", L"fluids\\ETHANE.FLD"}));
    EXPECT_EQ(model.modelTypeIndex, 0);
    for (const std::wstring& field : model.overrides) EXPECT_EQ(field, L"NIST recommended");
    EXPECT_EQ(model.mixtureFile, L"fluids\\hmx.bnc");
}

TEST(PackageEditor, FieldsOfACustomDefinition) {
    PackageEditorModel model;
    model.overrides[1] = L"left over";
    model.mixtureFile = L"left over";
    std::vector<EditorMessage> messages;
    LoadPackageDefinitionIntoEditor("EOS=NBS\nnfluid=2\nfluid2=b\nfluid1=a\nmodeltype=CUSTOM\nEOS=HMX;FEQ;NBS\n"
                                    "TCX=ECS;ECS\nMIX=C:\\own.bnc\n",
                                    model, messages);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(model.compounds, (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(model.modelTypeIndex, 4);
    EXPECT_EQ(model.overrides[0], L"HMX;FEQ;NBS");
    EXPECT_EQ(model.overrides[1], L"NIST recommended");
    EXPECT_EQ(model.overrides[2], L"NIST recommended");  // wrong length: ignored silently
    EXPECT_EQ(model.mixtureFile, L"C:\\own.bnc");

    model.modelTypeIndex = 3;
    LoadPackageDefinitionIntoEditor("MODELTYPE=gerg\nnfluid=3\nfluid3=c\nfluid1=a\n", model, messages);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(model.modelTypeIndex, 3);
    EXPECT_EQ(model.compounds, (std::vector<std::wstring>{L"a", L"c"}));
    LoadPackageDefinitionIntoEditor("MODELTYPE=DEFAULT\nnfluid=1\nfluid1=a\n", model, messages);
    EXPECT_EQ(model.modelTypeIndex, 0);
}

TEST(PackageEditor, ReaderAndCountErrorsStopTheReading) {
    struct Case {
        const char* text;
        const wchar_t* message;
        const wchar_t* caption;
    };
    const Case cases[] = {
        {"description=x\nnfluid\n",
         L"Property Package parse error: Syntax error in property package file: found key \"nfluid\" without value",
         L"Edit property package:"},
        {"nfluid=1\nnfluid=1\n", L"Property Package parser error: Multiple occurrence of \"nfluid\" key",
         L"Edit Property Package:"},
        {"nfluid=-3\n", L"Property Package parser error: value of \"nfluid\" should be positive integer",
         L"Edit Property Package:"},
        {"nfluid=1\nfluid1=a\ncolour=red\n",
         L"Property Package parser error: configuration file contains unknown key \"colour\"",
         L"Edit Property Package:"},
    };
    for (const Case& c : cases) {
        PackageEditorModel model;
        std::vector<EditorMessage> messages;
        LoadPackageDefinitionIntoEditor(c.text, model, messages);
        ASSERT_EQ(messages.size(), 1u) << c.text;
        EXPECT_EQ(messages[0].kind, EditorMessageKind::Error);
        EXPECT_EQ(messages[0].text, c.message);
        EXPECT_EQ(messages[0].caption, c.caption);
    }
}

TEST(PackageEditor, CompoundKeyErrorsAreListedAndReadingGoesOn) {
    PackageEditorModel model;
    std::vector<EditorMessage> messages;
    LoadPackageDefinitionIntoEditor("fluid1=early\nnfluid=2\nfluid1=a\nfluid3=c\nfluid01=again\nfluid2=b\n"
                                    "description=still read\n",
                                    model, messages);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, EditorMessageKind::Warning);
    EXPECT_EQ(messages[0].caption, L"Property package parse errors:");
    EXPECT_EQ(messages[0].text,
              L"\"fluid1\" cannot appear before \"nfluid\" key\r\n"
              L"Invalid compound index for \"fluid3\" key\r\n"
              L"multiple \"fluid01\" keys\r\n");
    EXPECT_EQ(model.compounds, (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(model.description, L"still read");
}

TEST(PackageWriter, WorkedExampleIsWrittenByteForByte) {
    PackageEditorModel model;
    model.description = L"Natural gas";
    model.compounds = {L"fluids\\METHANE.FLD", L"fluids\\ETHANE.FLD"};
    std::string text;
    std::wstring message;
    ASSERT_TRUE(WritePackageDefinition(model, text, message)) << Utf8(message);
    EXPECT_EQ(text, kWorkedExample);
}

TEST(PackageWriter, OverridesMixtureAndEmptyDescription) {
    PackageEditorModel model;
    model.compounds = {L"a", L"b"};
    model.modelTypeIndex = 4;
    model.overrides = {L"HMX;FEQ;NBS", L"nist RECOMMENDED", L"", L"STX;ST1;ST1"};
    model.mixtureFile = L"C:\\mix\\own.bnc";
    std::string text;
    std::wstring message;
    ASSERT_TRUE(WritePackageDefinition(model, text, message)) << Utf8(message);
    EXPECT_NE(text.find("#optional description\r\n#description=\r\n#fluid information\r\n"), std::string::npos);
    EXPECT_NE(text.find("MODELTYPE=CUSTOM\r\n"), std::string::npos);
    EXPECT_NE(text.find("(only for CUSTOM model)\r\nEOS=HMX;FEQ;NBS\r\n"), std::string::npos);
    EXPECT_NE(text.find("#ETA=NBS;NBS;NBS\r\n"), std::string::npos);
    EXPECT_NE(text.find("#TCX=NBS;NBS;NBS\r\n"), std::string::npos);
    EXPECT_NE(text.find("STN=STX;ST1;ST1\r\n"), std::string::npos);
    EXPECT_NE(text.find("(default is fluids\\hmx.bnc)\r\nMIX=C:\\mix\\own.bnc\r\n#mixture rules"), std::string::npos);

    model.mixtureFile = L"FLUIDS\\HMX.BNC";
    ASSERT_TRUE(WritePackageDefinition(model, text, message));
    EXPECT_NE(text.find("\r\n#MIX=fluids\\hmx.bnc\r\n"), std::string::npos);
    model.mixtureFile = L"";
    ASSERT_TRUE(WritePackageDefinition(model, text, message));
    EXPECT_NE(text.find("\r\n#MIX=fluids\\hmx.bnc\r\n"), std::string::npos);
}

TEST_F(Definitions, WrittenCustomPackageIsReadBackByTheLoader) {
    PackageEditorModel model;
    model.compounds = {L"fluids\\METHANE.FLD", L"fluids\\ETHANE.FLD"};
    model.modelTypeIndex = 4;
    model.overrides[0] = L"NBS;FEQ;NBS";
    std::string text;
    std::wstring message;
    ASSERT_TRUE(WritePackageDefinition(model, text, message)) << Utf8(message);
    PackageDefinition definition;
    ASSERT_EQ(Load(text, definition), L"");
    EXPECT_TRUE(definition.custom);
    ASSERT_EQ(definition.overrides.size(), 1u);
    EXPECT_EQ(definition.overrides[0].componentCodes, (std::vector<std::string>{"FEQ", "NBS"}));
}

TEST(PackageWriter, NonAsciiTextSurvivesWriteReadWrite) {
    PackageEditorModel model;
    model.description = L"Erdgas Nord \u2013 \u00D6lfeld";
    model.compounds = {L"C:\\D\u00E4ten\\fluids\\METHANE.FLD", L"fluids\\ETHANE.FLD"};
    model.mixtureFile = L"C:\\D\u00E4ten\\gem\u00FCsch.bnc";
    std::string first;
    std::wstring message;
    ASSERT_TRUE(WritePackageDefinition(model, first, message)) << Utf8(message);
    EXPECT_NE(first.find("description=Erdgas Nord \x96 \xD6lfeld\r\n"), std::string::npos);

    PackageEditorModel readBack;
    std::vector<EditorMessage> messages;
    LoadPackageDefinitionIntoEditor(first, readBack, messages);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(readBack.description, model.description);
    EXPECT_EQ(readBack.compounds, model.compounds);
    EXPECT_EQ(readBack.mixtureFile, model.mixtureFile);
    std::string second;
    ASSERT_TRUE(WritePackageDefinition(readBack, second, message));
    EXPECT_EQ(second, first);
}

TEST(PackageWriter, FieldsThatCannotBeWrittenAreRefused) {
    PackageEditorModel model;
    model.compounds = {L"fluids\\METHANE.FLD"};
    std::string text;
    std::wstring message;
    model.description = L"\u03BB gas";  // no Greek in Windows-1252
    EXPECT_FALSE(WritePackageDefinition(model, text, message));
    EXPECT_EQ(message, L"The description cannot be written in the ANSI code page: \u03BB gas");
    model.description = L"two\r\nlines";
    EXPECT_FALSE(WritePackageDefinition(model, text, message));
    EXPECT_EQ(message, L"The description must not contain a line break: two\r\nlines");
    model.description.clear();
    model.mixtureFile = L"x\nEOS=HMX";
    EXPECT_FALSE(WritePackageDefinition(model, text, message));
    EXPECT_EQ(message, L"The mixture file must not contain a line break: x\nEOS=HMX");
    model.mixtureFile = L"fluids\\hmx.bnc";
    model.modelTypeIndex = 5;
    EXPECT_FALSE(WritePackageDefinition(model, text, message));
    EXPECT_EQ(message, L"Invalid model type selection");
    model.modelTypeIndex = 0;
    model.compounds.clear();
    EXPECT_FALSE(WritePackageDefinition(model, text, message));
    EXPECT_EQ(message, L"At least one fluid must be present in package");
}
