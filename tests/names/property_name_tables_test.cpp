#include "package/names/PropertyNameTables.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace tarnevo {
namespace {

using ::testing::Optional;

const PropertyNameTables& T() { return NameTables(); }

bool Listed(const NameList& list, const std::wstring& name) {
    return std::find(list.Names().begin(), list.Names().end(), name) != list.Names().end();
}

// Every listed name maps to its position; single-phase and two-phase names carry the form
// their suffix names.
TEST(PropertyNameTables, ListedNamesMapToTheirPositionAndForm) {
    const wchar_t* const suffixes[] = {L".Dtemperature", L".Dpressure", L".Dmoles", L".DmolFraction"};
    for (const NameTable* table : {&T().CompoundConstants(), &T().TDependentProperties(),
                                   &T().SinglePhaseProperties(), &T().TwoPhaseProperties()}) {
        for (std::size_t id = 0; id < table->list.size(); ++id) {
            const std::wstring& name = table->list[id];
            EXPECT_THAT(table->map.Find(name.c_str()), Optional(static_cast<std::int32_t>(id))) << name;
            if (table == &T().CompoundConstants() || table == &T().TDependentProperties()) continue;
            if (name == L"molecularWeight") continue;
            int form = kValue;
            for (int f = 0; f < 4; ++f) {
                const std::wstring suffix = suffixes[f];
                if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                    form = f + 1;
            }
            EXPECT_EQ(FormOf(static_cast<std::int32_t>(id)), form) << name;
        }
    }
    EXPECT_THAT(T().SinglePhaseProperties().map.Find(L"molecularWeight"), Optional(kMolecularWeightId));
}

// The 1.0 names of 1.1 bases share the identifiers of every form, in any case, and are not listed.
TEST(PropertyNameTables, AliasesShareTheIdentifiersOfTheirBase) {
    const std::pair<const NameTable*, std::pair<const wchar_t*, const wchar_t*>> aliases[] = {
        {&T().SinglePhaseProperties(), {L"heatCapacity", L"heatCapacityCp"}},
        {&T().SinglePhaseProperties(), {L"gibbsFreeEnergy", L"gibbsEnergy"}},
        {&T().SinglePhaseProperties(), {L"HELMHOLTZFREEENERGY", L"helmholtzEnergy"}},
        {&T().SinglePhaseProperties(), {L"energy", L"internalEnergy"}},
        {&T().TwoPhaseProperties(), {L"kvalues", L"kvalue"}},
        {&T().TwoPhaseProperties(), {L"logKvalues", L"logKvalue"}},
    };
    for (const auto& [table, pair] : aliases) {
        for (const wchar_t* suffix : {L"", L".Dtemperature", L".Dpressure", L".Dmoles", L".DmolFraction"}) {
            const std::wstring alias = pair.first + std::wstring(suffix), base = pair.second + std::wstring(suffix);
            ASSERT_TRUE(table->map.Find(base.c_str())) << base;
            EXPECT_EQ(table->map.Find(alias.c_str()), table->map.Find(base.c_str())) << alias;
            EXPECT_FALSE(Listed(table->list, alias)) << alias;
        }
    }
    EXPECT_EQ(T().TwoPhaseProperties().map.Find(L"surfaceTensions"), std::nullopt);
}

TEST(PropertyNameTables, NamesBelongOnlyToTheirOwnMaps) {
    // "molecularWeight" is both a compound constant and a single-phase property.
    EXPECT_TRUE(T().CompoundConstants().map.Find(L"molecularWeight"));
    EXPECT_EQ(T().TDependentProperties().map.Find(L"molecularWeight"), std::nullopt);
    EXPECT_EQ(T().SinglePhaseProperties().map.Find(L"vaporPressure"), std::nullopt);
    EXPECT_EQ(T().TwoPhaseProperties().map.Find(L"density"), std::nullopt);
    EXPECT_EQ(T().CompoundConstants().map.Find(L"density"), std::nullopt);
    for (const NameMap* map : {&T().CompoundConstants().map, &T().TDependentProperties().map,
                               &T().SinglePhaseProperties().map, &T().TwoPhaseProperties().map,
                               &T().FlashTypes()}) {
        EXPECT_EQ(map->Find(L""), std::nullopt);
        EXPECT_EQ(map->Find(nullptr), std::nullopt);
    }
}

// Every 1.0 name is understood by the 1.0 property code through exactly one of the maps, once,
// and without composition derivatives of two-phase properties; the renamed 1.1 bases are absent.
TEST(PropertyNameTables, EveryVersion10NameResolvesThroughOneMap) {
    const NameList& v10 = T().Version10Properties();
    for (const std::wstring& name : v10.Names()) {
        const auto single = T().SinglePhaseProperties().map.Find(name.c_str());
        const auto pure = T().TDependentProperties().map.Find(name.c_str());
        const auto twoPhase = T().TwoPhaseProperties().map.Find(name.c_str());
        EXPECT_EQ(int(single.has_value()) + int(pure.has_value()) + int(twoPhase.has_value()), 1) << name;
        if (twoPhase) {
            EXPECT_LT(FormOf(*twoPhase), kDMoles) << name;
        }
    }
    EXPECT_EQ(std::set<std::wstring>(v10.Names().begin(), v10.Names().end()).size(), v10.size());
    EXPECT_EQ(v10.size(), static_cast<std::size_t>(kVersion10Count));
    for (const wchar_t* absent : {L"gibbsEnergy", L"heatCapacityCp", L"internalEnergy.Dpressure", L"kvalue"})
        EXPECT_FALSE(Listed(v10, absent)) << absent;
}

TEST(PropertyNameTables, FlashTypeKeys) {
    const std::pair<const wchar_t*, FlashType> keys[] = {
        {L"pt", FlashType::TP},      {L"TH", FlashType::TH},      {L"st", FlashType::TS},
        {L"Hp", FlashType::PH},      {L"PS", FlashType::PS},      {L"tvf", FlashType::TQMole},
        {L"PVF", FlashType::PQMole}, {L"SH", FlashType::SH},
    };
    for (const auto& [key, type] : keys) EXPECT_EQ(T().FindFlashType(key), type) << key;
    // Two-letter keys work in either order of the two specifications.
    for (const wchar_t* key : {L"TP", L"TH", L"TS", L"PH", L"PS", L"HS"}) {
        const wchar_t reversed[] = {key[1], key[0], L'\0'};
        EXPECT_EQ(T().FindFlashType(reversed), T().FindFlashType(key)) << key;
    }
    for (const wchar_t* unknown : {L"TQ", L"PQ", L"VFT", L"TU", L"TV", L"T", L"TPX", L""})
        EXPECT_EQ(T().FindFlashType(unknown), FlashType::None) << unknown;
    EXPECT_EQ(T().FindFlashType(nullptr), FlashType::None);
}

TEST(PropertyNameTables, ListCopiesAreIndependentStringArrays) {
    for (const NameList* list : {&T().CompoundConstants().list, &T().TDependentProperties().list,
                                 &T().SinglePhaseProperties().list, &T().TwoPhaseProperties().list,
                                 &T().Version10Properties()}) {
        _variant_t copy = list->Copy();
        ASSERT_EQ(copy.vt, VT_ARRAY | VT_BSTR);
        ASSERT_NE(copy.parray, list->Array().parray);
        ASSERT_EQ(SafeArrayGetDim(copy.parray), 1u);
        LONG lower = -1, upper = -1;
        ASSERT_EQ(SafeArrayGetLBound(copy.parray, 1, &lower), S_OK);
        ASSERT_EQ(SafeArrayGetUBound(copy.parray, 1, &upper), S_OK);
        EXPECT_EQ(lower, 0);
        ASSERT_EQ(static_cast<std::size_t>(upper + 1), list->size());
        BSTR* items = nullptr;
        ASSERT_EQ(SafeArrayAccessData(copy.parray, reinterpret_cast<void**>(&items)), S_OK);
        for (std::size_t i = 0; i < list->size(); ++i) EXPECT_STREQ(items[i], (*list)[i].c_str());
        SafeArrayUnaccessData(copy.parray);
    }
    // Destroying a copy leaves the held array intact.
    { _variant_t discarded = T().TwoPhaseProperties().list.Copy(); }
    _variant_t again = T().TwoPhaseProperties().list.Copy();
    BSTR first = nullptr;
    LONG index = 0;
    ASSERT_EQ(SafeArrayGetElement(again.parray, &index, &first), S_OK);
    EXPECT_STREQ(first, L"kvalue");
    SysFreeString(first);
}

TEST(PropertyNameTables, ConcurrentReadersSeeTheSameAnswers) {
    const auto expected = T().SinglePhaseProperties().map.Find(L"heatCapacityCp.Dpressure");
    std::vector<std::thread> readers;
    std::vector<int> failures(4, 0);
    for (int r = 0; r < 4; ++r) {
        readers.emplace_back([r, &failures, expected] {
            for (int i = 0; i < 20000; ++i) {
                if (T().SinglePhaseProperties().map.Find(L"HeatCapacity.DPressure") != expected) ++failures[r];
                if (T().TwoPhaseProperties().map.Find(L"KValues") != 0) ++failures[r];
                if (T().FindFlashType(L"pvf") != FlashType::PQMole) ++failures[r];
            }
        });
    }
    for (std::thread& reader : readers) reader.join();
    EXPECT_THAT(failures, ::testing::Each(0));
}

}  // namespace
}  // namespace tarnevo
