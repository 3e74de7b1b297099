// Flash specifications: the 17 flash types in any order and letter case, every rejection
// message, the solution types, and CheckEquilibriumSpec on a material.
#include <gtest/gtest.h>

#include "package/FlashSpecification.h"
#include "tests/flash/FlashFixture.h"
#include "tools/host/VariantValues.h"

namespace tarnevo_test {
namespace {

using tarnevo::FlashType;
using tarnevo::ParseFlashSpecification;
using tarnevo::host::DoubleArray;
using tarnevo::host::StringArray;

struct Parsed {
    FlashType type;
    std::string error;
};

Parsed Parse(const _variant_t& a, const _variant_t& b, const wchar_t* solution = nullptr) {
    _bstr_t solutionType(solution);
    std::wstring error;
    const FlashType type = ParseFlashSpecification(a, b, solution ? static_cast<BSTR>(solutionType) : nullptr, error);
    return {type, Narrow(error)};
}

FlashType TypeOf(const _variant_t& a, const _variant_t& b) {
    const Parsed parsed = Parse(a, b);
    EXPECT_EQ(parsed.error, "");
    return parsed.type;
}

TEST(FlashSpecification, EveryPairGivesItsTypeInEitherOrderAndAnyCase) {
    struct Case {
        _variant_t first, second;
        FlashType type;
    };
    const Case cases[] = {
        {Given(L"temperature"), Given(L"PRESSURE"), FlashType::TP},
        {Given(L"Volume"), Given(L"Enthalpy"), FlashType::RhoH},
        {Given(L"volume"), Given(L"entropy"), FlashType::RhoS},
        {Given(L"VOLUME"), Given(L"internalenergy"), FlashType::RhoU},
        {Given(L"Temperature"), Given(L"enthalpy"), FlashType::TH},
        {Given(L"Temperature"), Given(L"ENTROPY"), FlashType::TS},
        {Given(L"Temperature"), Given(L"InternalEnergy"), FlashType::TU},
        {Given(L"Temperature"), Given(L"Volume"), FlashType::TRho},
        {Given(L"Pressure"), Given(L"Volume"), FlashType::PRho},
        {Given(L"Pressure"), Given(L"enthalpy"), FlashType::PH},
        {Given(L"Pressure"), Given(L"entropy"), FlashType::PS},
        {Given(L"Pressure"), Given(L"internalEnergy"), FlashType::PU},
        {Given(L"Temperature"), VaporFraction(L"mole"), FlashType::TQMole},
        {Given(L"pressure", L"", L"overall"), VaporFraction(L"MoLe"), FlashType::PQMole},
        {Given(L"Temperature"), Given(L"phasefraction", L"MASS", L"vapor"), FlashType::TQMass},
        {Given(L"Pressure"), VaporFraction(L"mass"), FlashType::PQMass},
        {Given(L"entropy"), Given(L"enthalpy"), FlashType::SH},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TypeOf(c.first, c.second), c.type) << static_cast<int>(c.type);
        EXPECT_EQ(TypeOf(c.second, c.first), c.type) << "reversed " << static_cast<int>(c.type);
    }
    // Null basis and an empty fourth element are accepted.
    EXPECT_EQ(TypeOf(StringArray({L"Temperature", nullptr, L"Overall"}),
                     StringArray({L"Pressure", L"", L"Overall", L""})),
              FlashType::TP);
    EXPECT_EQ(TypeOf(StringArray({L"Temperature", L"", L"Overall", nullptr}), Given(L"Pressure")), FlashType::TP);
    // Script arrays, and the bases a simulator writes for energies and volumes.
    EXPECT_EQ(TypeOf(tarnevo::host::StringVariantArray({L"Temperature", L"", L"Overall"}), Given(L"Pressure")),
              FlashType::TP);
    EXPECT_EQ(TypeOf(Given(L"enthalpy", L"Mole"), Given(L"Volume", L"MASS")), FlashType::RhoH);
}

TEST(FlashSpecification, RejectedSpecificationsCarryTheirNumber) {
    const _variant_t p = Given(L"Pressure");
    struct Case {
        _variant_t first, second;
        std::string error;
    };
    const Case cases[] = {
        {VaporFraction(L"mole"), p, ""},
        {Given(L"PhaseFraction", L"mole", L"Liquid"), p,
         "Invalid specification 1: Phase fraction specification only supported for the Vapor phase"},
        {p, Given(L"phaseFraction", L"mole", L"Overall"),
         "Invalid specification 2: Phase fraction specification only supported for the Vapor phase"},
        {Given(L"Temperature", L"mole"), p, "Invalid specification 1: Unsupported basis"},
        {p, Given(L"Temperature", L"mass"), "Invalid specification 2: Unsupported basis"},
        {p, Given(L"entropy", L"molar"), "Invalid specification 2: Unsupported basis"},
        {Given(L"Temperature", L"", L"Vapor"), p, "Invalid specification 1: Unsupported"},
        {StringArray({L"Temperature", L"", nullptr}), p, "Invalid specification 1: Unsupported"},
        {VaporFraction(L""), p, "Invalid specification 1: Invalid basis: vapor phase fraction must be mass or mole basis"},
        {p, VaporFraction(L"molar"),
         "Invalid specification 2: Invalid basis: vapor phase fraction must be mass or mole basis"},
        {Given(L"density"), p, "Invalid specification 1: unsupported specification \"density\""},
        {StringArray({nullptr, L"", L"Overall"}), p, "Invalid specification 1: unsupported specification \"NULL\""},
        {StringArray({L"Temperature", L"", L"Overall", L"METHANE"}), p,
         "Invalid specification 1: compound based specification is not supported"},
        {p, StringArray({L"PhaseFraction", L"mole", L"Vapor", L"METHANE"}),
         "Invalid specification 2: compound based specification is not supported"},
        {_variant_t(), p, "Invalid specification 1: each specification must have 3 or 4 string values"},
        {p, StringArray({L"Temperature", L""}),
         "Invalid specification 2: each specification must have 3 or 4 string values"},
        {StringArray({L"Temperature", L"", L"Overall", L"", L""}), p,
         "Invalid specification 1: each specification must have 3 or 4 string values"},
        {DoubleArray({1.0, 2.0, 3.0}), p, "Invalid specification 1: Expected an array of type string"},
        {p, _variant_t(300.0), "Invalid specification 2: Expected an array of type string"},
        // A zero inside a name ends nothing: the whole name is compared.
        {StringArray(std::vector<std::wstring>{std::wstring(L"Temperature\0x", 13), L"", L"Overall"}), p,
         "Invalid specification 1: unsupported specification \"Temperature\""},
        {StringArray(std::vector<std::wstring>{L"Temperature", std::wstring(L"\0mole", 5), L"Overall"}), p,
         "Invalid specification 1: Unsupported basis"},
    };
    for (const Case& c : cases) {
        const Parsed parsed = Parse(c.first, c.second);
        EXPECT_EQ(parsed.error, c.error);
        EXPECT_EQ(parsed.type == FlashType::None, !c.error.empty()) << c.error;
    }
}

TEST(FlashSpecification, DuplicatesAndUnsupportedPairsHaveNoPrefix) {
    struct Case {
        _variant_t first, second;
        std::string error;
    };
    const Case cases[] = {
        {Given(L"Temperature"), Given(L"TEMPERATURE"), "Duplicate specification of temperature"},
        {Given(L"Pressure"), Given(L"pressure"), "Duplicate specification of pressure"},
        {Given(L"Volume"), Given(L"volume"), "Duplicate specification of volume"},
        {Given(L"enthalpy"), Given(L"Enthalpy"), "Duplicate specification of enthalpy"},
        {Given(L"entropy"), Given(L"entropy"), "Duplicate specification of entropy"},
        {Given(L"internalEnergy"), Given(L"INTERNALENERGY"), "Duplicate specification of internal energy"},
        {VaporFraction(L"mole"), VaporFraction(L"mass"), "Duplicate specification for the vapor phase fraction"},
        {Given(L"enthalpy"), Given(L"internalEnergy"), "Unsupported flash specification"},
        {Given(L"internalEnergy"), Given(L"entropy"), "Unsupported flash specification"},
        {Given(L"Volume"), VaporFraction(L"mole"), "Unsupported flash specification"},
        {VaporFraction(L"mass"), Given(L"enthalpy"), "Unsupported flash specification"},
        {Given(L"entropy"), VaporFraction(L"mole"), "Unsupported flash specification"},
        {Given(L"internalEnergy"), VaporFraction(L"mole"), "Unsupported flash specification"},
    };
    for (const Case& c : cases) {
        const Parsed parsed = Parse(c.first, c.second);
        EXPECT_EQ(parsed.type, FlashType::None);
        EXPECT_EQ(parsed.error, c.error);
    }
    // The first specification's fault is reported before the second is read.
    EXPECT_EQ(Parse(Given(L"Temperature", L"mole"), Given(L"bogus")).error, "Invalid specification 1: Unsupported basis");
}

TEST(FlashSpecification, SolutionTypes) {
    const _variant_t t = Given(L"Temperature"), p = Given(L"Pressure"), q = VaporFraction(L"mole");
    for (const wchar_t* accepted : {static_cast<const wchar_t*>(nullptr), L"", L"Unspecified", L"UNSPECIFIED"}) {
        EXPECT_EQ(Parse(t, p, accepted).type, FlashType::TP);
        EXPECT_EQ(Parse(t, q, accepted).type, FlashType::TQMole);
    }
    EXPECT_EQ(Parse(t, p, L"Normal").error, "Invalid solution type \"Normal\" for the specified flash");
    EXPECT_EQ(Parse(p, Given(L"enthalpy"), L"Retrograde").error,
              "Invalid solution type \"Retrograde\" for the specified flash");
    for (const wchar_t* rejected : {L"Normal", L"normal", L"RETROGRADE"}) {
        EXPECT_EQ(Parse(t, q, rejected).error,
                  "Normal or retrograde flash types are not supported; please use Unspecified");
        EXPECT_EQ(Parse(p, VaporFraction(L"mass"), rejected).type, FlashType::None);
    }
    EXPECT_EQ(Parse(q, p, L"dew").error, "Invalid solution type \"dew\" for the specified flash");
    const _bstr_t unspecified(SysAllocStringLen(L"Unspecified\0x", 13), false);
    std::wstring error;
    EXPECT_EQ(ParseFlashSpecification(t, p, unspecified, error), FlashType::None);
}

class CheckEquilibriumSpecTest : public ::testing::Test {
protected:
    void SetUp() override { package_ = FlashStore::Get().Package(L"NaturalGas"); package_.As(&routine_); }

    VARIANT_BOOL Check(const _variant_t& a, const _variant_t& b, const wchar_t* solution = L"") {
        VARIANT_BOOL supported = 123;
        EXPECT_EQ(routine_->CheckEquilibriumSpec(a, b, _bstr_t(solution), &supported), S_OK);
        return supported;
    }
    void Use(const MaterialPtr& material) {
        Microsoft::WRL::ComPtr<ICapeThermoMaterialContext> context;
        package_.As(&context);
        ASSERT_EQ(context->SetMaterial(material ? material->Dispatch() : nullptr), S_OK);
    }

    PackagePtr package_;
    Microsoft::WRL::ComPtr<ICapeThermoEquilibriumRoutine> routine_;
};

TEST_F(CheckEquilibriumSpecTest, AnswersWithoutRecordingAnError) {
    EXPECT_EQ(Check(Given(L"Pressure"), Given(L"temperature")), VARIANT_TRUE);
    EXPECT_EQ(Check(Given(L"enthalpy", L"mole"), Given(L"entropy", L"mass")), VARIANT_TRUE);
    EXPECT_EQ(Check(Given(L"Temperature"), Given(L"Temperature")), VARIANT_FALSE);
    EXPECT_EQ(Check(Given(L"Temperature"), Given(L"Pressure"), L"Normal"), VARIANT_FALSE);
    EXPECT_EQ(Check(_variant_t(), Given(L"Pressure")), VARIANT_FALSE);
    EXPECT_EQ(ErrorDescription(package_), L"");
    EXPECT_EQ(routine_->CheckEquilibriumSpec(Given(L"Pressure"), Given(L"Temperature"), nullptr, nullptr), E_POINTER);
}

TEST_F(CheckEquilibriumSpecTest, VaporFractionFlashesNeedTwoPresentPhases) {
    const _variant_t p = Given(L"Pressure"), q = VaporFraction(L"mole");
    EXPECT_EQ(Check(p, q), VARIANT_FALSE);   // no material
    auto material = MakeMaterial(kNaturalGas, 190, 3e6, kNaturalGasFractions, {L"Vapor", L"Liquid"});
    Use(material);
    EXPECT_EQ(Check(p, q), VARIANT_TRUE);
    EXPECT_EQ(Check(Given(L"Temperature"), VaporFraction(L"mass")), VARIANT_TRUE);
    material->PutPresentPhases({L"Vapor"});
    EXPECT_EQ(Check(p, q), VARIANT_FALSE);
    EXPECT_EQ(Check(p, Given(L"enthalpy")), VARIANT_TRUE);   // only vapour-fraction flashes ask
    material->PutPresentPhases({L"Vapor", L"Liquid", L"Liquid2"});
    EXPECT_EQ(Check(p, q), VARIANT_FALSE);
    material->PutPresentPhases({L"Vapor", L"Liquid"});
    material->FailCall(L"GetPresentPhases", tarnevo::ECapeUnknownHR, L"no phases");
    EXPECT_EQ(Check(p, q), VARIANT_FALSE);
    material->ClearFailures();
    material->PutPresentPhasesRaw(DoubleArray({1.0, 2.0}), _variant_t());
    EXPECT_EQ(Check(p, q), VARIANT_FALSE);
}

}  // namespace
}  // namespace tarnevo_test
