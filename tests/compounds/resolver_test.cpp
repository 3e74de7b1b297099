// Resolver and constant cases that a package on the engine cannot show: empty arrays,
// embedded zeros, unknown or NaN numbers in a compound record.
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

TEST_F(ResolverTest, NameWithAnEmbeddedZeroIsNotTheNameBeforeIt) {
    EXPECT_FALSE(Resolve(StringArray(std::vector<std::wstring>{std::wstring(L"PROPANE\0X", 9)})));
    EXPECT_TRUE(indices.empty());
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
