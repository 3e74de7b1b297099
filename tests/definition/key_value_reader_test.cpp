#include <gtest/gtest.h>
#include <windows.h>

#include "TestFolder.h"
#include "definition/AnsiText.h"
#include "definition/KeyValueReader.h"

using tarnevo::KeyValueReader;
using tarnevo_test::TestFolder;

namespace {

std::vector<std::pair<std::wstring, std::wstring>> Parse(const std::string& text) {
    KeyValueReader reader;
    std::wstring message;
    EXPECT_TRUE(reader.ParseKeyValueText(text, message)) << tarnevo_test::Utf8(message);
    std::vector<std::pair<std::wstring, std::wstring>> result;
    for (const auto& entry : reader.entries()) result.emplace_back(entry.key, entry.value);
    return result;
}

std::wstring ParseError(const std::string& text) {
    KeyValueReader reader;
    std::wstring message;
    EXPECT_FALSE(reader.ParseKeyValueText(text, message));
    EXPECT_TRUE(reader.entries().empty());
    return message;
}

using Entries = std::vector<std::pair<std::wstring, std::wstring>>;

}  // namespace

TEST(KeyValueReader, EntriesAsWritten) {
    const std::pair<std::string, Entries> cases[] = {
        {"", {}},
        {"# only a comment\r\n\r\n   \t\r\n#key=value\r\n#last without line end", {}},
        // File order, duplicates, keys in any case, a last line without line end.
        {"a=1\r\nb=2\nA=3\na=4", {{L"a", L"1"}, {L"b", L"2"}, {L"A", L"3"}, {L"a", L"4"}}},
        // Keys and values are not trimmed; carriage returns are dropped.
        {"key =value\r\n", {{L"key ", L"value"}}},
        {"  k\tx=  v #not a comment; x  \r\n", {{L"k\tx", L"  v #not a comment; x  "}}},
        {"k\re\ry=v\ra\rl\r\n", {{L"key", L"val"}}},
        {"k=a=b\n", {{L"k", L"a=b"}}},
        {"=\r\nk=v\r\n=\r\n", {{L"k", L"v"}}},  // a line of only "=" is ignored
        // Windows-1252: 0x96 is an en dash, 0xD6 an O with diaeresis.
        {"description=Erdgas Nord \x96 \xD6lfeld\r\n", {{L"description", L"Erdgas Nord \u2013 \u00D6lfeld"}}},
        {"\xEF\xBB\xBFk=v\r\n", {{L"k", L"v"}}},  // byte order mark
        {std::string("a=1\n\0\0b=2\n", 10), {{L"a", L"1"}, {L"b", L"2"}}},  // zero bytes do not end the text
    };
    for (const auto& [text, entries] : cases) EXPECT_EQ(Parse(text), entries) << text;
}

TEST(KeyValueReader, SyntaxErrorsNameTheKeyOrValue) {
    EXPECT_EQ(ParseError("a=1\r\nnfluid=\r\n"),
              L"Syntax error in property package file: found key \"nfluid\" without value");
    EXPECT_EQ(ParseError("lonely key\r\n"),
              L"Syntax error in property package file: found key \"lonely key\" without value");
    EXPECT_EQ(ParseError("last"), L"Syntax error in property package file: found key \"last\" without value");
    EXPECT_EQ(ParseError("=orphan value\r\n"),
              L"Syntax error in property package file: found value \"orphan value\" without key");
}

TEST(KeyValueReader, ReadsFilesBiggerThanOneBlockAndKeepsTheirBytes) {
    TestFolder folder;
    std::string text = "#TARNEVO PROPERTY PACKAGE\r\n";
    for (int i = 0; i < 400; ++i) text += "key" + std::to_string(i) + "=value " + std::to_string(i) + "\r\n";
    tarnevo_test::WriteBytes(folder / L"big.rpp", text);
    KeyValueReader reader;
    std::wstring message;
    ASSERT_TRUE(reader.ReadKeyValueFile(folder / L"big.rpp", message));
    EXPECT_EQ(reader.text(), text);
    ASSERT_EQ(reader.entries().size(), 400u);
    EXPECT_EQ(reader.entries()[399].key, L"key399");
    EXPECT_EQ(reader.entries()[399].value, L"value 399");
}

TEST(KeyValueReader, MissingFileGivesTheOpenFailureWithSystemText) {
    TestFolder folder;
    const std::wstring path = folder / L"absent.rpp";
    KeyValueReader reader;
    std::wstring message;
    ASSERT_FALSE(reader.ReadKeyValueFile(path, message));
    const std::wstring prefix = L"Failed to open \"" + path + L"\" for reading: ";
    ASSERT_GT(message.size(), prefix.size());
    EXPECT_EQ(message.substr(0, prefix.size()), prefix);
}

TEST(AnsiText, EveryByteOfWindows1252SurvivesDecodeAndEncode) {
    if (GetACP() != 1252) GTEST_SKIP() << "ANSI code page is not Windows-1252";
    for (int byte = 1; byte < 256; ++byte) {
        const std::string original(1, static_cast<char>(byte));
        std::string encoded;
        ASSERT_TRUE(tarnevo::WideToAnsi(tarnevo::AnsiToWide(original), encoded)) << byte;
        EXPECT_EQ(encoded, original) << byte;
    }
}
