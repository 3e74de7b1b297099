// The host property bag and error log, driven as IPersistPropertyBag code drives them, and
// the in-memory streams.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "automation/VariantArray.h"
#include "tools/host/HostPropertyBag.h"
#include "tools/host/HostStreams.h"

namespace {

using namespace tarnevo::host;
using ::testing::ElementsAre;

TEST(PropertyBag, HoldsAnyValueAndReturnsItUnconvertedToAnEmptyRequest) {
    auto bag = CHostPropertyBag::Create();
    const std::wstring wide = L"name=\u0394P\u20ac";  // characters above 0xFF
    bag->Put(L"configuration", _variant_t(wide.c_str()));
    bag->Put(L"number", _variant_t(7L));

    _variant_t text(12L);  // a typed request converts; VT_I4 cannot hold this text
    EXPECT_EQ(bag->Bag()->Read(L"Configuration", &text, nullptr), DISP_E_TYPEMISMATCH);
    VARIANT value;
    VariantInit(&value);
    ASSERT_EQ(bag->Bag()->Read(L"configuration", &value, nullptr), S_OK);
    _variant_t owned(value, false);
    ASSERT_EQ(owned.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(owned.bstrVal), wide);

    _variant_t asDouble(0.0);
    ASSERT_EQ(bag->Bag()->Read(L"number", &asDouble, nullptr), S_OK);
    EXPECT_EQ(asDouble.vt, VT_R8);
    EXPECT_EQ(asDouble.dblVal, 7.0);
    _variant_t missing;
    EXPECT_EQ(bag->Bag()->Read(L"absent", &missing, nullptr), E_INVALIDARG);
    EXPECT_EQ(bag->Accesses().size(), 4u);
    EXPECT_EQ(bag->Accesses()[3].result, E_INVALIDARG);
}

TEST(PropertyBag, ErrorLogRecordsWhatAReaderReports) {
    auto bag = CHostPropertyBag::Create();
    auto log = CHostErrorLog::Create();
    bag->Put(L"configuration", _variant_t(3.0));

    tarnevo::VariantArray value;
    EXPECT_FALSE(tarnevo::ReadBagString(bag->Bag(), log->Log(), L"TARNEVO", L"configuration", value));
    ASSERT_EQ(log->Errors().size(), 1u);
    EXPECT_EQ(log->Errors()[0].property, L"configuration");
    EXPECT_EQ(log->Errors()[0].source, L"TARNEVO");
    EXPECT_EQ(log->Errors()[0].description, L"unexpected data type");

    // The bag's own conversion failures go to the log passed with the read.
    bag->Put(L"count", _variant_t(L"many"));
    _variant_t number(0.0);
    EXPECT_EQ(bag->Bag()->Read(L"count", &number, log->Log()), DISP_E_TYPEMISMATCH);
    ASSERT_EQ(log->Errors().size(), 2u);
    EXPECT_EQ(log->Errors()[1].property, L"count");
    EXPECT_EQ(log->Errors()[1].scode, DISP_E_TYPEMISMATCH);
}

TEST(PropertyBag, WritesAreStoredRecordedAndCanBeRefused) {
    auto bag = CHostPropertyBag::Create();
    _variant_t text(L"a\nb");
    EXPECT_EQ(bag->Bag()->Write(L"configuration", &text), S_OK);
    ASSERT_TRUE(bag->Get(L"CONFIGURATION"));
    EXPECT_EQ(std::wstring(bag->Get(L"configuration")->bstrVal), L"a\nb");
    EXPECT_THAT(bag->Names(), ElementsAre(L"configuration"));

    bag->FailAccess(BagAccess::Kind::Write, E_ACCESSDENIED, L"other");
    bag->FailAccess(BagAccess::Kind::Read, STG_E_READFAULT);
    _variant_t other(1.0);
    EXPECT_EQ(bag->Bag()->Write(L"other", &other), E_ACCESSDENIED);
    EXPECT_FALSE(bag->Get(L"other"));
    _variant_t read;
    EXPECT_EQ(bag->Bag()->Read(L"configuration", &read, nullptr), STG_E_READFAULT);
    ASSERT_EQ(bag->Accesses().size(), 3u);
    EXPECT_EQ(bag->Accesses()[1].kind, BagAccess::Kind::Write);
    EXPECT_EQ(bag->Accesses()[1].result, E_ACCESSDENIED);
}

TEST(MemoryStreams, HoldAndReturnTheirBytes) {
    std::vector<unsigned char> bytes = {1, 0, 0, 0, 'x', 0xFF};
    auto stream = MemoryStream(bytes);
    unsigned char first = 0;
    ULONG read = 0;
    ASSERT_EQ(stream->Read(&first, 1, &read), S_OK);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(StreamBytes(stream.Get()), bytes);
    EXPECT_TRUE(StreamBytes(MemoryStream().Get()).empty());
}

}  // namespace
