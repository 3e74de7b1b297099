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

TEST(PropertyNameTables, ListSizesAndEveryListedNameMapsToItsPosition) {
    EXPECT_EQ(T().CompoundConstants().list.size(), 11u);
    EXPECT_EQ(T().TDependentProperties().list.size(), 18u);
    EXPECT_EQ(T().SinglePhaseProperties().list.size(), 91u);
    EXPECT_EQ(T().TwoPhaseProperties().list.size(), 15u);
    EXPECT_EQ(T().Version10Properties().size(), 118u);

    // Map sizes: the listed names plus the aliases (4 x 5 single-phase, 2 x 5 two-phase).
    EXPECT_EQ(T().CompoundConstants().map.size(), 11u);
    EXPECT_EQ(T().TDependentProperties().map.size(), 18u);
    EXPECT_EQ(T().SinglePhaseProperties().map.size(), 111u);
    EXPECT_EQ(T().TwoPhaseProperties().map.size(), 25u);
    EXPECT_EQ(T().FlashTypes().size(), 14u);

    for (const NameTable* table : {&T().CompoundConstants(), &T().TDependentProperties(),
                                   &T().SinglePhaseProperties(), &T().TwoPhaseProperties()}) {
        for (std::size_t id = 0; id < table->list.size(); ++id) {
            EXPECT_THAT(table->map.Find(table->list[id].c_str()), Optional(static_cast<std::int32_t>(id)))
                << table->list[id];
        }
    }
}

TEST(PropertyNameTables, SinglePhaseAliasesShareTheIdentifiersButAreNotListed) {
    const NameMap& map = T().SinglePhaseProperties().map;
    EXPECT_THAT(map.Find(L"heatCapacity.Dpressure"), Optional(42));
    EXPECT_EQ(map.Find(L"heatCapacity.Dpressure"), map.Find(L"heatCapacityCp.Dpressure"));
    EXPECT_THAT(map.Find(L"heatCapacity"), Optional(40));
    EXPECT_THAT(map.Find(L"gibbsFreeEnergy"), Optional(35));
    EXPECT_THAT(map.Find(L"gibbsFreeEnergy.DmolFraction"), Optional(39));
    EXPECT_THAT(map.Find(L"HELMHOLTZFREEENERGY"), Optional(50));
    EXPECT_THAT(map.Find(L"helmholtzFreeEnergy.Dmoles"), Optional(53));
    EXPECT_THAT(map.Find(L"energy"), Optional(55));
    EXPECT_THAT(map.Find(L"energy.Dtemperature"), Optional(56));

    const NameList& list = T().SinglePhaseProperties().list;
    for (const wchar_t* alias : {L"heatCapacity", L"gibbsFreeEnergy", L"helmholtzFreeEnergy", L"energy",
                                 L"heatCapacity.Dpressure", L"energy.DmolFraction"}) {
        EXPECT_FALSE(Listed(list, alias)) << alias;
    }
}

TEST(PropertyNameTables, TwoPhaseNamesAndAliases) {
    const NameMap& map = T().TwoPhaseProperties().map;
    EXPECT_THAT(map.Find(L"KValue"), Optional(0));
    EXPECT_THAT(map.Find(L"kvalues"), Optional(0));
    EXPECT_THAT(map.Find(L"kvalues.Dmoles"), Optional(3));
    EXPECT_THAT(map.Find(L"logKvalue"), Optional(5));
    EXPECT_THAT(map.Find(L"LOGKVALUES.DPRESSURE"), Optional(7));
    EXPECT_THAT(map.Find(L"surfaceTension"), Optional(10));
    EXPECT_THAT(map.Find(L"surfaceTension.DmolFraction"), Optional(14));
    EXPECT_EQ(map.Find(L"surfaceTensions"), std::nullopt);

    const NameList& list = T().TwoPhaseProperties().list;
    EXPECT_EQ(list[0], L"kvalue");
    EXPECT_EQ(list[5], L"logKvalue");
    EXPECT_EQ(list[14], L"surfaceTension.DmolFraction");
    EXPECT_FALSE(Listed(list, L"kvalues"));
    EXPECT_FALSE(Listed(list, L"logKvalues"));
}

TEST(PropertyNameTables, NamesBelongOnlyToTheirOwnMaps) {
    // "molecularWeight" is both a compound constant and a single-phase property.
    EXPECT_THAT(T().CompoundConstants().map.Find(L"molecularWeight"), Optional(9));
    EXPECT_THAT(T().SinglePhaseProperties().map.Find(L"molecularWeight"), Optional(90));
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

TEST(PropertyNameTables, Version10ListOrder) {
    const NameList& v10 = T().Version10Properties();
    const NameList& tDependent = T().TDependentProperties().list;
    for (std::size_t i = 0; i < tDependent.size(); ++i) EXPECT_EQ(v10[i], tDependent[i]);

    const std::pair<std::size_t, const wchar_t*> spots[] = {
        {18, L"compressibility"},
        {52, L"fugacityCoefficient.DmolFraction"},
        {53, L"jouleThomsonCoefficient"},
        {83, L"molecularWeight"},
        {84, L"heatCapacity"},
        {86, L"heatCapacity.Dpressure"},
        {89, L"heatCapacityCv"},
        {93, L"heatCapacityCv.DmolFraction"},
        {94, L"gibbsFreeEnergy"},
        {99, L"helmholtzFreeEnergy"},
        {104, L"energy"},
        {108, L"energy.DmolFraction"},
        {109, L"kvalues"},
        {111, L"kvalues.Dpressure"},
        {112, L"logKvalues"},
        {115, L"surfaceTension"},
        {117, L"surfaceTension.Dpressure"},
    };
    for (const auto& [index, name] : spots) EXPECT_EQ(v10[index], name) << index;

    const std::set<std::wstring> distinct(v10.Names().begin(), v10.Names().end());
    EXPECT_EQ(distinct.size(), v10.size());
    for (const wchar_t* absent : {L"gibbsEnergy", L"heatCapacityCp", L"helmholtzEnergy", L"internalEnergy",
                                  L"internalEnergy.Dpressure", L"casRegistryNumber", L"kvalue",
                                  L"kvalues.Dmoles", L"surfaceTension.DmolFraction"}) {
        EXPECT_FALSE(Listed(v10, absent)) << absent;
    }
}

// Every 1.0 name must be understood by the 1.0 property code, which classifies it through
// the single-phase, temperature-dependent and two-phase maps.
TEST(PropertyNameTables, EveryVersion10NameResolvesThroughTheMaps) {
    for (const std::wstring& name : T().Version10Properties().Names()) {
        const auto single = T().SinglePhaseProperties().map.Find(name.c_str());
        const auto pure = T().TDependentProperties().map.Find(name.c_str());
        const auto twoPhase = T().TwoPhaseProperties().map.Find(name.c_str());
        EXPECT_EQ(int(single.has_value()) + int(pure.has_value()) + int(twoPhase.has_value()), 1)
            << name;
        if (twoPhase) {
            EXPECT_LT(FormOf(*twoPhase), kDMoles) << name;
        }
    }
}

TEST(PropertyNameTables, FlashTypeKeys) {
    EXPECT_EQ(T().FindFlashType(L"TP"), FlashType::TP);
    EXPECT_EQ(T().FindFlashType(L"pt"), FlashType::TP);
    EXPECT_EQ(T().FindFlashType(L"TH"), FlashType::TH);
    EXPECT_EQ(T().FindFlashType(L"st"), FlashType::TS);
    EXPECT_EQ(T().FindFlashType(L"Hp"), FlashType::PH);
    EXPECT_EQ(T().FindFlashType(L"PS"), FlashType::PS);
    EXPECT_EQ(T().FindFlashType(L"tvf"), FlashType::TQMole);
    EXPECT_EQ(T().FindFlashType(L"PVF"), FlashType::PQMole);
    EXPECT_EQ(T().FindFlashType(L"SH"), FlashType::SH);
    EXPECT_EQ(static_cast<int>(FlashType::TQMole), 13);
    EXPECT_EQ(static_cast<int>(FlashType::SH), 17);

    // Two-letter keys work in either order of the two specifications.
    for (const wchar_t* key : {L"TP", L"TH", L"TS", L"PH", L"PS", L"HS"}) {
        const wchar_t reversed[] = {key[1], key[0], L'\0'};
        EXPECT_EQ(T().FindFlashType(reversed), T().FindFlashType(key)) << key;
    }
    for (const wchar_t* unknown : {L"TQ", L"PQ", L"VFT", L"TU", L"TV", L"T", L"TPX", L""}) {
        EXPECT_EQ(T().FindFlashType(unknown), FlashType::None) << unknown;
    }
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
    std::vector<std::thread> readers;
    std::vector<int> failures(4, 0);
    for (int r = 0; r < 4; ++r) {
        readers.emplace_back([r, &failures] {
            for (int i = 0; i < 20000; ++i) {
                if (T().SinglePhaseProperties().map.Find(L"HeatCapacity.DPressure") != 42) ++failures[r];
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
