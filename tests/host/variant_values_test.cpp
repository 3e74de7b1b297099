// Reading automation arrays in the shapes hosts and scripts produce.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tools/host/VariantValues.h"

namespace {

using namespace tarnevo::host;
using ::testing::ElementsAre;

TEST(VariantValues, ReadsTypedScriptAndReferencedArrays) {
    EXPECT_THAT(ReadDoubles(DoubleArray({1.0, -2.5})), ElementsAre(1.0, -2.5));
    EXPECT_THAT(ReadDoubles(VariantArrayOf({_variant_t(3L), _variant_t(0.5), _variant_t(short(-1))})),
                ElementsAre(3.0, 0.5, -1.0));
    EXPECT_TRUE(ReadDoubles(_variant_t()).empty());

    _variant_t strings = StringVariantArray({L"Vapor", L"Liquid"});
    VARIANT reference;
    reference.vt = VT_BYREF | VT_VARIANT;
    reference.pvarVal = &strings;
    EXPECT_THAT(ReadStrings(reference), ElementsAre(L"Vapor", L"Liquid"));
    EXPECT_THAT(ReadLongs(VariantArrayOf({_variant_t(short(1)), _variant_t(2L)})), ElementsAre(1, 2));

    auto optional = ReadOptionalStrings(StringArray({L"a", nullptr}));
    ASSERT_EQ(optional.size(), 2u);
    EXPECT_EQ(optional[0], std::optional<std::wstring>(L"a"));
    EXPECT_FALSE(optional[1].has_value());
}

TEST(VariantValues, ArraysWithAnotherLowerBoundAreReadFromTheirFirstElement) {
    SAFEARRAYBOUND bound = {2, 1};
    SAFEARRAY* array = SafeArrayCreate(VT_R8, 1, &bound);
    LONG index = 1;
    double value = 4.0;
    SafeArrayPutElement(array, &index, &value);
    index = 2;
    value = 5.0;
    SafeArrayPutElement(array, &index, &value);
    VARIANT raw;
    raw.vt = VT_ARRAY | VT_R8;
    raw.parray = array;
    _variant_t owned(raw, false);
    EXPECT_THAT(ReadDoubles(owned), ElementsAre(4.0, 5.0));
}

TEST(VariantValues, MismatchesAreReportedNotConverted) {
    EXPECT_THROW(ReadDoubles(StringArray({L"1.5"})), ValueError);
    EXPECT_THROW(ReadDoubles(VariantArrayOf({_variant_t(L"1.5")})), ValueError);
    EXPECT_THROW(ReadDoubles(_variant_t(1.5)), ValueError);
    EXPECT_THROW(ReadStrings(DoubleArray({1.0})), ValueError);
    EXPECT_THROW(ReadLongs(VariantArrayOf({_variant_t(1.5)})), ValueError);
    try {
        ReadDoubles(VariantArrayOf({_variant_t(1.0), _variant_t(L"x")}));
        FAIL();
    } catch (const ValueError& error) {
        EXPECT_EQ(error.message(), L"element 1 is not a number (VARTYPE 0x8)");
    }
}

}  // namespace
