#include "package/names/NameMap.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace tarnevo {
namespace {

using ::testing::Optional;

TEST(NameMap, LooksUpWithoutRegardToAsciiCaseAndReplacesOnReassignment) {
    NameMap map;
    map[L"Density"] = 10;
    map[L"heatCapacity"] = 40;
    EXPECT_THAT(map.Find(L"density"), Optional(10));
    EXPECT_THAT(map.Find(L"DENSITY"), Optional(10));
    EXPECT_THAT(map.Find(L"dEnSiTy"), Optional(10));
    EXPECT_EQ(map.Find(L"densit"), std::nullopt);
    EXPECT_EQ(map.Find(L"density "), std::nullopt);

    map[L"HEATCAPACITY"] = 41;  // same name in another case: replaced, not added
    EXPECT_EQ(map.size(), 2u);
    EXPECT_THAT(map.Find(L"heatcapacity"), Optional(41));

    // Non-ASCII letters are not folded.
    map[L"\u00E9nergie"] = 7;
    EXPECT_THAT(map.Find(L"\u00E9NERGIE"), Optional(7));
    EXPECT_EQ(map.Find(L"\u00C9NERGIE"), std::nullopt);
}

TEST(NameMap, NullAndEmptyNamesAreNotFound) {
    NameMap map;
    map[L"x"] = 1;
    EXPECT_EQ(map.Find(nullptr), std::nullopt);
    EXPECT_EQ(map.Find(L""), std::nullopt);
}

TEST(NameMap, LongNamesAreComparedInFull) {
    std::wstring full;
    for (int i = 0; i < 200; ++i) full += static_cast<wchar_t>(L'a' + i % 26);
    const std::wstring prefix127 = full.substr(0, 127);
    const std::wstring prefix128 = full.substr(0, 128);

    NameMap map;
    map[prefix127] = 1;
    map[prefix128] = 2;
    map[full] = 3;

    std::wstring upper = full;
    for (wchar_t& c : upper) c = static_cast<wchar_t>(c - L'a' + L'A');
    EXPECT_THAT(map.Find(upper.c_str()), Optional(3));
    EXPECT_THAT(map.Find(upper.substr(0, 127).c_str()), Optional(1));
    EXPECT_THAT(map.Find(upper.substr(0, 128).c_str()), Optional(2));

    // Same first 199 characters, different last one: no match on the prefix.
    std::wstring lastDiffers = full;
    lastDiffers.back() = L'#';
    EXPECT_EQ(map.Find(lastDiffers.c_str()), std::nullopt);
    EXPECT_EQ(map.Find(full.substr(0, 199).c_str()), std::nullopt);
    EXPECT_EQ(map.Find((full + L"x").c_str()), std::nullopt);
}

TEST(NameMap, ClearForgetsEveryName) {
    NameMap map;
    map[L"a"] = 1;
    map[L"b"] = 2;
    map.Clear();
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(map.Find(L"a"), std::nullopt);
    map[L"a"] = 5;
    EXPECT_THAT(map.Find(L"A"), Optional(5));
}

}  // namespace
}  // namespace tarnevo
