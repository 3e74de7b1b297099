#include "package/names/StringMapKey.h"

#include <gtest/gtest.h>

namespace tarnevo {
namespace {

// Expected values worked out from h = 2166136261; h = (h * 16777619) ^ unit, modulo 2^64.
TEST(HashKeyText, FollowsFnv1With32BitConstantsIn64BitArithmetic) {
    EXPECT_EQ(HashKeyText(L""), 2166136261ull);                 // the offset basis alone
    EXPECT_EQ(HashKeyText(L"a"), 36342608889142654ull);         // 2166136261 * 16777619 = 36342608889142559, ^ 0x61
    EXPECT_EQ(HashKeyText(L"ab"), 3766795653166345528ull);      // second step wraps past 2^64
    EXPECT_EQ(HashKeyText(L"ba"), 3766795653149567910ull);
    EXPECT_EQ(HashKeyText(L"density"), 14779325269901889931ull);
}

TEST(StringMapKey, StoredKeysAreLowerCaseAndLookUpKeysBorrowTheirText) {
    const StringMapKeyString stored(L"HeatCapacity.DPressure");
    EXPECT_STREQ(stored.Text(), L"heatcapacity.dpressure");

    // Only ASCII letters fold; other code units are kept as they are.
    const StringMapKeyString accented(L"\u00C9NERGY_[Z]");
    EXPECT_STREQ(accented.Text(), L"\u00C9nergy_[z]");

    const wchar_t text[] = L"heatcapacity.dpressure";
    const StringMapKeyPtr borrowed(text);
    EXPECT_EQ(borrowed.Text(), text);

    const StringMapKeyHash hash;
    const StringMapKeyEqual equal;
    EXPECT_EQ(hash(&stored), hash(&borrowed));
    EXPECT_TRUE(equal(&stored, &borrowed));

    // Key comparison itself is exact: folding happens before a key is made.
    const StringMapKeyPtr upper(L"HEATCAPACITY.DPRESSURE");
    EXPECT_FALSE(equal(&stored, &upper));
}

}  // namespace
}  // namespace tarnevo
