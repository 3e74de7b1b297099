// Random and mutated definition texts and fluid headers: every call ends with a
// result or a message, never a crash or a hang.
#include <gtest/gtest.h>

#include <random>

#include "FluidHeaders.h"
#include "TestFolder.h"
#include "definition/FluidCatalogue.h"
#include "definition/FluidFileReader.h"
#include "definition/FormulaDeriver.h"
#include "definition/KeyValueReader.h"
#include "definition/PackageDefinitionLoader.h"
#include "definition/PackageEditorModel.h"

using namespace tarnevo;
using tarnevo_test::TestFolder;

namespace {

const char* const kTokens[] = {"description", "nfluid", "NFLUID", "fluid1", "fluid2", "fluid0", "fluid01",
                               "fluid3", "fluid", "MODELTYPE", "modeltype", "EOS", "ETA", "TCX", "STN",
                               "MIX", "=", "\r\n", "\n", "#", " ", "2", "1", "0", "-1", "99999999999",
                               "NBS;FEQ;NBS", "NBS;FEQ", "CUSTOM", "PR", "GERG", "AGA", "fluids\\METHANE.FLD",
                               "fluids\\ETHANE.FLD", "C:\\x.FLD", "\x96\xD6", "\xFF", ";", "\r", "\0"};

std::string RandomBytes(std::mt19937& random, size_t maxLength) {
    std::string text(random() % (maxLength + 1), '\0');
    for (char& c : text) c = static_cast<char>(random() % 256);
    return text;
}

std::string RandomTokens(std::mt19937& random) {
    std::string text;
    const size_t count = random() % 40;
    for (size_t i = 0; i < count; ++i) {
        const char* token = kTokens[random() % (sizeof(kTokens) / sizeof(kTokens[0]))];
        text += token[0] == '\0' ? std::string(1, '\0') : std::string(token);
    }
    return text;
}

std::string Mutate(std::mt19937& random, std::string text) {
    const size_t edits = 1 + random() % 8;
    for (size_t i = 0; i < edits && !text.empty(); ++i) {
        const size_t at = random() % text.size();
        switch (random() % 4) {
            case 0: text[at] = static_cast<char>(random() % 256); break;
            case 1: text.erase(at, 1 + random() % 10); break;
            case 2: text.insert(at, 1, "=\n\r#;"[random() % 5]); break;
            default: text.resize(at); break;
        }
    }
    return text;
}

const std::string kSeed =
    "#TARNEVO PROPERTY PACKAGE\r\ndescription=Natural gas\r\nnfluid=2\r\nfluid1=fluids\\METHANE.FLD\r\n"
    "fluid2=fluids\\ETHANE.FLD\r\nMODELTYPE=CUSTOM\r\nEOS=NBS;FEQ;NBS\r\n#MIX=fluids\\hmx.bnc\r\n";

}  // namespace

TEST(Fuzz, DefinitionTextsGiveEntriesOrMessages) {
    TestFolder refprop;
    tarnevo_test::MakeFolder(refprop / L"fluids");
    tarnevo_test::WriteBytes(refprop / L"fluids\\METHANE.FLD", tarnevo_test::MethaneHeader());
    tarnevo_test::WriteBytes(refprop / L"fluids\\ETHANE.FLD", tarnevo_test::PropaneHeader());

    std::mt19937 random(20261206);
    int interpreted = 0;
    for (int round = 0; round < 6000; ++round) {
        std::string text;
        switch (round % 3) {
            case 0: text = RandomBytes(random, 300); break;
            case 1: text = RandomTokens(random); break;
            default: text = Mutate(random, kSeed); break;
        }
        KeyValueReader reader;
        std::wstring message;
        if (!reader.ParseKeyValueText(text, message)) {
            ASSERT_FALSE(message.empty());
        } else {
            PackageDefinition definition;
            if (!InterpretPackageDefinition(reader.entries(), refprop.path(), definition, message)) {
                ASSERT_FALSE(message.empty());
            } else {
                ++interpreted;
                ASSERT_EQ(definition.compounds.size(), definition.compoundRecords.size());
                ASSERT_FALSE(definition.compounds.empty());
            }
        }

        PackageEditorModel model;
        std::vector<EditorMessage> messages;
        LoadPackageDefinitionIntoEditor(text, model, messages);
        for (const EditorMessage& shown : messages) ASSERT_FALSE(shown.text.empty());
        std::string written;
        if (WritePackageDefinition(model, written, message)) {
            // Whatever the writer accepts, the reader can read back.
            KeyValueReader again;
            ASSERT_TRUE(again.ParseKeyValueText(written, message)) << tarnevo_test::Utf8(message);
        } else {
            ASSERT_FALSE(message.empty());
        }
    }
    EXPECT_GT(interpreted, 0);
}

TEST(Fuzz, HugeTextWithoutLineEndsIsOneSyntaxError) {
    KeyValueReader reader;
    std::wstring message;
    EXPECT_FALSE(reader.ParseKeyValueText(std::string(4 << 20, 'k'), message));
    EXPECT_EQ(message, L"Syntax error in property package file: found key \"" + std::wstring(4 << 20, L'k') +
                           L"\" without value");
}

TEST(Fuzz, FormulasGiveAResultOrAreRefused) {
    std::mt19937 random(7);
    const wchar_t alphabet[] = L"CHONSFClBrRbacylox()-=0123456789+ ";
    const size_t letters = sizeof(alphabet) / sizeof(alphabet[0]) - 1;
    for (int round = 0; round < 20000; ++round) {
        std::wstring written(random() % 24, L' ');
        for (wchar_t& c : written) c = alphabet[random() % letters];
        std::wstring formula;
        if (DeriveFormula(written, formula)) {
            ASSERT_FALSE(formula.empty()) << tarnevo_test::Utf8(written);
        }
    }
    std::wstring formula;
    EXPECT_FALSE(DeriveFormula(std::wstring(100000, L'('), formula));
    EXPECT_TRUE(DeriveFormula(std::wstring(50000, L'(') + L"CH4" + std::wstring(50000, L')'), formula));
    EXPECT_EQ(formula, L"CH4");
}

TEST(Fuzz, FluidHeadersGiveARecordOrAMessage) {
    TestFolder refprop;
    tarnevo_test::MakeFolder(refprop / L"fluids");
    std::mt19937 random(42);
    for (int round = 0; round < 300; ++round) {
        const std::string header =
            round % 2 ? RandomBytes(random, 2000) : Mutate(random, tarnevo_test::MethaneHeader());
        const std::wstring name = L"F" + std::to_wstring(round) + L".FLD";
        tarnevo_test::WriteBytes(refprop / (L"fluids\\" + name), header);
        CompoundRecord record;
        std::wstring message;
        if (!ReadCompoundRecord(refprop.path(), L"fluids\\" + name, record, message)) {
            ASSERT_FALSE(message.empty());
        } else {
            ASSERT_FALSE(record.id.empty());
        }
    }
    // A large binary file without line ends is read only as far as the header goes.
    tarnevo_test::WriteBytes(refprop / L"fluids\\BIG.FLD", std::string(8 << 20, '\x01'));
    CompoundRecord record;
    std::wstring message;
    EXPECT_TRUE(ReadCompoundRecord(refprop.path(), L"fluids\\BIG.FLD", record, message));
    EXPECT_EQ(record.id.size(), 4096u);
    EXPECT_EQ(ScanFluidFolder(refprop / L"fluids").size(), 301u);
}
