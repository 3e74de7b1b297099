// The compound-list resolver and the compound constants of a record, without REFPROP.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "package/CompoundConstants.h"
#include "package/CompoundListResolver.h"
#include "package/names/PropertyIds.h"
#include "tools/host/VariantValues.h"

namespace {

using tarnevo::ResolveCompoundList;
using tarnevo::host::StringArray;
using testing::ElementsAre;

class ResolverTest : public testing::Test {
protected:
    ResolverTest() {
        names[L"PROPANE"] = 0;
        names[L"BUTANE"] = 1;
        names[L"PENTANE"] = 2;
    }
    bool Resolve(const VARIANT& ids, bool emptyMeansAll = true) {
        return ResolveCompoundList(ids, names, 3, emptyMeansAll, indices, error);
    }
    tarnevo::NameMap names;
    std::vector<std::int32_t> indices{99};
    std::wstring error;
};

TEST_F(ResolverTest, NamesInAnyCaseAndOrderGiveTheirIndices) {
    ASSERT_TRUE(Resolve(StringArray({L"pentane", L"PROPANE"})));
    EXPECT_THAT(indices, ElementsAre(2, 0));
    ASSERT_TRUE(Resolve(StringArray({L"Butane"})));
    EXPECT_THAT(indices, ElementsAre(1));
}

TEST_F(ResolverTest, EmptyListMeansAllOnlyWithTheFlag) {
    ASSERT_TRUE(Resolve(_variant_t()));
    EXPECT_THAT(indices, ElementsAre(0, 1, 2));
    EXPECT_FALSE(Resolve(_variant_t(), false));
    EXPECT_EQ(error, L"List of compounds is empty");
    EXPECT_TRUE(indices.empty());
    // An array of no elements is an empty list too.
    SAFEARRAY* empty = SafeArrayCreateVector(VT_BSTR, 0, 0);
    _variant_t emptyArray;
    emptyArray.vt = VT_ARRAY | VT_BSTR;
    emptyArray.parray = empty;
    EXPECT_FALSE(Resolve(emptyArray, false));
    EXPECT_EQ(error, L"List of compounds is empty");
}

TEST_F(ResolverTest, FailuresNameTheOffendingIdentifier) {
    EXPECT_FALSE(Resolve(StringArray({L"PROPANE", L"WATER"})));
    EXPECT_EQ(error, L"Compound list contains unknown compound ID \"WATER\"");
    EXPECT_TRUE(indices.empty());
    EXPECT_FALSE(Resolve(StringArray({L"butane", L"PENTANE", L"BUTANE"})));
    EXPECT_EQ(error, L"Compound ID \"BUTANE\" appears in list of compounds more than once");
    EXPECT_FALSE(Resolve(StringArray({L"PROPANE", nullptr})));
    EXPECT_EQ(error, L"At least one compound identifier in the compound list is empty");
    EXPECT_FALSE(Resolve(StringArray({L""})));
    EXPECT_EQ(error, L"At least one compound identifier in the compound list is empty");
    // A name with an embedded zero is not the name before the zero.
    _variant_t embedded = StringArray(std::vector<std::wstring>{std::wstring(L"PROPANE\0X", 9)});
    EXPECT_FALSE(Resolve(embedded));
}

TEST_F(ResolverTest, ValuesThatAreNotStringArraysAreRefused) {
    EXPECT_FALSE(Resolve(tarnevo::host::DoubleArray({1.0})));
    EXPECT_EQ(error, L"Invalid list of compound IDs: Expected an array of type string");
    EXPECT_FALSE(Resolve(_variant_t(L"PROPANE")));
    EXPECT_EQ(error, L"Invalid list of compound IDs: Expected an array of type string");
}

// --- Compound constants of a record -----------------------------------------------------------

tarnevo::CompoundRecord FullRecord() {
    tarnevo::CompoundRecord r;
    r.id = L"X";
    r.hasCasNumber = true;
    r.casNumber = L"74-98-6";
    r.hasFormula = true;
    r.formula = L"C3H8";
    r.molecularWeight = 44.09562;
    r.normalBoilingPoint = 231.036;
    r.criticalTemperature = 369.89;
    r.criticalPressure = 4251200.0;
    r.criticalDensity = 5000.0;
    r.acentricFactor = 0.1521;
    r.dipoleMoment = 0.084 * 3.33564e-30;
    return r;
}

_variant_t Constant(const tarnevo::CompoundRecord& record, std::int32_t id, bool& known) {
    _variant_t value;
    known = tarnevo::GetCompoundConstantValue(record, id, value.GetVARIANT());
    return value;
}

TEST(CompoundConstantTest, EveryConstantOfAFullRecord) {
    const tarnevo::CompoundRecord r = FullRecord();
    bool known = false;
    EXPECT_EQ(std::wstring(_bstr_t(Constant(r, tarnevo::kCasRegistryNumber, known))), L"74-98-6");
    EXPECT_TRUE(known);
    EXPECT_EQ(std::wstring(_bstr_t(Constant(r, tarnevo::kChemicalFormula, known))), L"C3H8");
    const std::pair<std::int32_t, double> numbers[] = {
        {tarnevo::kAcentricFactor, 0.1521},           {tarnevo::kCharge, 0.0},
        {tarnevo::kCriticalDensity, 5000.0},          {tarnevo::kCriticalPressure, 4251200.0},
        {tarnevo::kCriticalTemperature, 369.89},      {tarnevo::kCriticalVolume, 1.0 / 5000.0},
        {tarnevo::kDipoleMoment, 0.084 * 3.33564e-30}, {tarnevo::kMolecularWeightConstant, 44.09562},
        {tarnevo::kNormalBoilingPoint, 231.036}};
    for (const auto& [id, expected] : numbers) {
        const _variant_t value = Constant(r, id, known);
        EXPECT_TRUE(known) << id;
        ASSERT_EQ(value.vt, VT_R8) << id;
        EXPECT_DOUBLE_EQ(value.dblVal, expected) << id;
    }
}

TEST(CompoundConstantTest, UnknownMarkerNaNAndAbsentTextsAreNotAvailable) {
    tarnevo::CompoundRecord r = FullRecord();
    r.hasCasNumber = false;
    r.hasFormula = false;
    r.acentricFactor = tarnevo::kUnknownValue;
    r.dipoleMoment = std::numeric_limits<double>::quiet_NaN();
    bool known = true;
    for (std::int32_t id : {tarnevo::kCasRegistryNumber, tarnevo::kChemicalFormula, tarnevo::kAcentricFactor,
                            tarnevo::kDipoleMoment}) {
        const _variant_t value = Constant(r, id, known);
        EXPECT_FALSE(known) << id;
        EXPECT_EQ(value.vt, VT_EMPTY) << id;
    }
    // Charge is always 0; the critical volume needs a positive critical density.
    EXPECT_EQ(Constant(r, tarnevo::kCharge, known).dblVal, 0.0);
    EXPECT_TRUE(known);
    for (double density : {0.0, -1.0, tarnevo::kUnknownValue}) {
        r.criticalDensity = density;
        Constant(r, tarnevo::kCriticalVolume, known);
        EXPECT_FALSE(known) << density;
    }
}

}  // namespace
