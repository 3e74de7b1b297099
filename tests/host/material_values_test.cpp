// The host material as a property package sees it through ICapeThermoMaterial: stored values
// per phase and basis, T/P/fraction, two-phase values, present phases, clearing and copying.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "HostTestSupport.h"
#include "capeobject/ErrorTexts.h"
#include "tools/host/HostMaterial.h"
#include "tools/host/HostSimulationContext.h"
#include "tools/host/VariantValues.h"

namespace {

using namespace tarnevo::host;
using namespace host_test;
using ::testing::ElementsAre;

class MaterialValues : public ::testing::Test {
protected:
    CHostMaterial::Ptr host = CHostMaterial::Create({L"METHANE", L"ETHANE", L"PROPANE"});
    ICapeThermoMaterial* material = host->Material();

    std::vector<double> GetSingle(const wchar_t* property, const wchar_t* phase, const wchar_t* basis,
                                  HRESULT expected = S_OK) {
        _variant_t results;
        EXPECT_EQ(material->GetSinglePhaseProp(_bstr_t(property), _bstr_t(phase), _bstr_t(basis),
                                               &results),
                  expected);
        return expected == S_OK ? ReadDoubles(results) : std::vector<double>{};
    }
};

TEST_F(MaterialValues, SinglePhaseValuesAreKeptPerPhaseAndBasisWithoutRegardToCase) {
    EXPECT_EQ(material->SetSinglePhaseProp(_bstr_t(L"enthalpy"), _bstr_t(L"Vapor"), _bstr_t(L"mole"),
                                           DoubleArray({-100.0})), S_OK);
    EXPECT_EQ(material->SetSinglePhaseProp(_bstr_t(L"enthalpy"), _bstr_t(L"Liquid"), _bstr_t(L"mole"),
                                           DoubleArray({-200.0})), S_OK);
    EXPECT_EQ(material->SetSinglePhaseProp(_bstr_t(L"Enthalpy"), _bstr_t(L"vapor"), _bstr_t(L"Mass"),
                                           DoubleArray({-5.5})), S_OK);
    EXPECT_EQ(material->SetSinglePhaseProp(_bstr_t(L"compressibilityFactor"), _bstr_t(L"Vapor"), nullptr,
                                           DoubleArray({0.93})), S_OK);

    EXPECT_THAT(GetSingle(L"ENTHALPY", L"VAPOR", L"MOLE"), ElementsAre(-100.0));
    EXPECT_THAT(GetSingle(L"enthalpy", L"Liquid", L"mole"), ElementsAre(-200.0));
    EXPECT_THAT(GetSingle(L"enthalpy", L"Vapor", L"mass"), ElementsAre(-5.5));
    // A null and an empty basis both mean "undefined".
    EXPECT_THAT(GetSingle(L"compressibilityFactor", L"Vapor", L""), ElementsAre(0.93));
    EXPECT_EQ(host->SinglePhase(L"enthalpy", L"Liquid", L"mole"), std::vector<double>{-200.0});
    EXPECT_FALSE(host->SinglePhase(L"enthalpy", L"Liquid", L"mass"));
}

TEST_F(MaterialValues, ReadingAValueNeverSetFailsWithNotSetAndLeavesTheResultAlone) {
    host->PutSinglePhase(L"enthalpy", L"Vapor", L"mole", {1.0});
    _variant_t results(42L);
    EXPECT_EQ(material->GetSinglePhaseProp(_bstr_t(L"enthalpy"), _bstr_t(L"Liquid"), _bstr_t(L"mole"), &results),
              ECapeThrmPropertyNotAvailableHR);
    EXPECT_EQ(results.vt, VT_I4);

    UserError error = ReadUserError(material);
    EXPECT_EQ(error.description, L"Property \"enthalpy\" (basis \"mole\") is not set for phase \"Liquid\"");
    EXPECT_EQ(error.scope, L"GetSinglePhaseProp");
    EXPECT_EQ(error.interfaceName, L"ICapeThermoMaterial");
    EXPECT_EQ(error.code, ECapeThrmPropertyNotAvailableHR);
    // The package reads exactly this text.
    EXPECT_EQ(tarnevo::GetCapeErrorText(material, ECapeThrmPropertyNotAvailableHR), error.description);

    EXPECT_EQ(material->GetOverallProp(_bstr_t(L"pressure"), nullptr, &results), ECapeThrmPropertyNotAvailableHR);
    EXPECT_EQ(ReadUserError(material).description, L"Property \"pressure\" is not set for the overall material");
}

TEST_F(MaterialValues, InOutResultsAreReplacedAndScriptArraysAreStoredAsDoubles) {
    _variant_t byValue = DoubleVariantArray({1.5, 2.5, 3.0});
    EXPECT_EQ(material->SetOverallProp(_bstr_t(L"fraction"), _bstr_t(L"mole"), byValue), S_OK);
    VARIANT reference;
    reference.vt = VT_BYREF | VT_VARIANT;
    _variant_t target = VariantArrayOf({_variant_t(7L)});
    reference.pvarVal = &target;
    EXPECT_EQ(material->SetSinglePhaseProp(_bstr_t(L"viscosity"), _bstr_t(L"Liquid"), nullptr, reference), S_OK);

    // [in] values stay the caller's: still intact after the calls.
    EXPECT_THAT(ReadDoubles(byValue), ElementsAre(1.5, 2.5, 3.0));
    EXPECT_THAT(ReadDoubles(target), ElementsAre(7.0));

    _variant_t results(L"held by the caller");  // freed by the callee before it stores
    EXPECT_EQ(material->GetOverallProp(_bstr_t(L"fraction"), _bstr_t(L"mole"), &results), S_OK);
    EXPECT_EQ(results.vt, VT_ARRAY | VT_R8);
    EXPECT_THAT(ReadDoubles(results), ElementsAre(1.5, 2.5, 3.0));
    EXPECT_THAT(GetSingle(L"viscosity", L"Liquid", nullptr), ElementsAre(7.0));
}

TEST_F(MaterialValues, ValuesAndQualifiersAreCheckedAsASimulatorWould) {
    auto set = [&](const wchar_t* property, const wchar_t* phase, const wchar_t* basis, const VARIANT& values) {
        return material->SetSinglePhaseProp(_bstr_t(property), _bstr_t(phase), _bstr_t(basis), values);
    };
    EXPECT_EQ(set(L"density", L"Solid", L"mole", DoubleArray({1.0})), ECapeInvalidArgumentHR);
    EXPECT_EQ(ReadUserError(material).description, L"Unknown phase label \"Solid\"");
    EXPECT_EQ(set(L"density", L"Vapor", L"molar", DoubleArray({1.0})), ECapeInvalidArgumentHR);
    EXPECT_EQ(ReadUserError(material).description, L"Unknown basis \"molar\"");
    EXPECT_EQ(set(L"fraction", L"Vapor", L"mole", DoubleArray({0.5, 0.5})), ECapeInvalidArgumentHR);
    EXPECT_EQ(ReadUserError(material).description, L"Invalid values for \"fraction\": 3 values expected, got 2");
    EXPECT_EQ(set(L"density", L"Vapor", L"mole", StringArray({L"1.0"})), ECapeInvalidArgumentHR);
    EXPECT_EQ(set(L"", L"Vapor", L"mole", DoubleArray({1.0})), ECapeInvalidArgumentHR);
    EXPECT_EQ(host->Store().Properties().size(), 0u);

    host->SetKnownPhases({L"Vapor", L"Liquid", L"Liquid2"});
    EXPECT_EQ(set(L"density", L"liquid2", L"mole", DoubleArray({1.0})), S_OK);
    EXPECT_EQ(host->SinglePhase(L"density", L"Liquid2", L"mole"), std::vector<double>{1.0});
}

TEST_F(MaterialValues, TPFractionReadsTemperaturePressureAndMoleFractions) {
    host->PutPhaseState(L"Liquid", 250.0, 2.5e6, {0.2, 0.3, 0.5});
    host->PutOverallState(260.0, 2.6e6, {0.4, 0.4, 0.2});
    double t = 0, p = 0;
    _variant_t x;
    EXPECT_EQ(material->GetTPFraction(_bstr_t(L"liquid"), &t, &p, &x), S_OK);
    EXPECT_EQ(t, 250.0);
    EXPECT_EQ(p, 2.5e6);
    EXPECT_THAT(ReadDoubles(x), ElementsAre(0.2, 0.3, 0.5));
    EXPECT_EQ(material->GetOverallTPFraction(&t, &p, &x), S_OK);
    EXPECT_EQ(t, 260.0);
    EXPECT_EQ(p, 2.6e6);
    EXPECT_THAT(ReadDoubles(x), ElementsAre(0.4, 0.4, 0.2));

    EXPECT_EQ(material->GetTPFraction(_bstr_t(L"Vapor"), &t, &p, &x), ECapeThrmPropertyNotAvailableHR);
    EXPECT_EQ(ReadUserError(material).description, L"Property \"temperature\" is not set for phase \"Vapor\"");
    host->PutSinglePhase(L"temperature", L"Vapor", L"", {300.0});
    host->PutSinglePhase(L"pressure", L"Vapor", L"", {1e5});
    EXPECT_EQ(material->GetTPFraction(_bstr_t(L"Vapor"), &t, &p, &x), ECapeThrmPropertyNotAvailableHR);
    EXPECT_EQ(ReadUserError(material).description,
              L"Property \"fraction\" (basis \"mole\") is not set for phase \"Vapor\"");
}

TEST_F(MaterialValues, RawValuesReachThePackageUnchanged) {
    // A malformed composition a package must reject: strings, and one value short.
    host->PutPhaseState(L"Vapor", 300.0, 1e5, {0.5, 0.5, 0.0});
    host->PutSinglePhaseRaw(L"fraction", L"Vapor", L"mole", StringVariantArray({L"a", L"b", L"c"}));
    double t = 0, p = 0;
    _variant_t x;
    EXPECT_EQ(material->GetTPFraction(_bstr_t(L"Vapor"), &t, &p, &x), S_OK);
    EXPECT_EQ(x.vt, VT_ARRAY | VT_VARIANT);
    host->PutOverallRaw(L"pressure", L"", DoubleArray({1.0, 2.0}));
    _variant_t pressure;
    EXPECT_EQ(material->GetOverallProp(_bstr_t(L"pressure"), nullptr, &pressure), S_OK);
    EXPECT_THAT(ReadDoubles(pressure), ElementsAre(1.0, 2.0));
}

TEST_F(MaterialValues, TwoPhaseValuesDependOnTheOrderOfThePhases) {
    _variant_t vl = StringArray({L"Vapor", L"Liquid"});
    EXPECT_EQ(material->SetTwoPhaseProp(_bstr_t(L"kvalue"), vl, nullptr, DoubleArray({3.0, 0.5, 0.1})), S_OK);
    _variant_t results;
    EXPECT_EQ(material->GetTwoPhaseProp(_bstr_t(L"kvalue"), StringVariantArray({L"vapor", L"LIQUID"}), nullptr,
                                        &results), S_OK);
    EXPECT_THAT(ReadDoubles(results), ElementsAre(3.0, 0.5, 0.1));
    EXPECT_EQ(material->GetTwoPhaseProp(_bstr_t(L"kvalue"), StringArray({L"Liquid", L"Vapor"}), nullptr, &results),
              ECapeThrmPropertyNotAvailableHR);
    EXPECT_EQ(ReadUserError(material).description,
              L"Property \"kvalue\" is not set for phases \"Liquid\" and \"Vapor\"");
    EXPECT_EQ(material->SetTwoPhaseProp(_bstr_t(L"kvalue"), StringArray({L"Vapor"}), nullptr, DoubleArray({1.0})),
              ECapeInvalidArgumentHR);
    EXPECT_EQ(host->TwoPhase(L"KVALUE", {L"Vapor", L"Liquid"}, L""), (std::vector<double>{3.0, 0.5, 0.1}));
}

TEST_F(MaterialValues, PresentPhasesAreCheckedAndReturnedWithTheirStatus) {
    _variant_t labels, status;
    EXPECT_EQ(material->GetPresentPhases(&labels, &status), S_OK);
    EXPECT_EQ(labels.vt, VT_EMPTY);
    EXPECT_EQ(status.vt, VT_EMPTY);

    EXPECT_EQ(material->SetPresentPhases(StringVariantArray({L"liquid", L"Vapor"}),
                                         VariantArrayOf({_variant_t(short(1)), _variant_t(2L)})), S_OK);
    EXPECT_EQ(material->GetPresentPhases(&labels, &status), S_OK);
    EXPECT_EQ(labels.vt, VT_ARRAY | VT_BSTR);
    EXPECT_EQ(status.vt, VT_ARRAY | VT_I4);
    EXPECT_THAT(ReadStrings(labels), ElementsAre(L"Liquid", L"Vapor"));
    EXPECT_THAT(ReadLongs(status), ElementsAre(1, 2));

    EXPECT_EQ(material->SetPresentPhases(StringArray({L"Vapor", L"Liquid"}), LongArray({1})), ECapeInvalidArgumentHR);
    EXPECT_EQ(material->SetPresentPhases(StringArray({L"Vapor", L"vapor"}), LongArray({1, 1})), ECapeInvalidArgumentHR);
    EXPECT_EQ(ReadUserError(material).description, L"Phase \"Vapor\" listed twice");
    EXPECT_THAT(host->PresentPhaseLabels(), ElementsAre(L"Liquid", L"Vapor"));

    EXPECT_EQ(material->SetPresentPhases(_variant_t(), _variant_t()), S_OK);
    EXPECT_TRUE(host->PresentPhaseLabels().empty());
}

TEST_F(MaterialValues, ClearAllPropsRemovesPropertiesButKeepsThePresentPhases) {
    host->PutPhaseState(L"Vapor", 300.0, 1e5, {1.0, 0.0, 0.0});
    host->PutOverall(L"enthalpy", L"mole", {12.0});
    host->PutTwoPhase(L"kvalue", {L"Vapor", L"Liquid"}, L"", {1.0, 1.0, 1.0});
    host->PutPresentPhases({L"Vapor"});
    EXPECT_EQ(material->ClearAllProps(), S_OK);
    EXPECT_TRUE(host->Store().Properties().empty());
    EXPECT_THAT(host->PresentPhaseLabels(), ElementsAre(L"Vapor"));
}

TEST_F(MaterialValues, CreateMaterialAndCopyFromMaterial) {
    host->SetCompoundData({{L"CH4", L"C2H6", L"C3H8"}, {}, {16.04, 30.07, 44.1}, {}});
    host->PutPhaseState(L"Vapor", 300.0, 1e5, {0.6, 0.3, 0.1});
    host->PutPresentPhases({L"Vapor"});

    Microsoft::WRL::ComPtr<IDispatch> created;
    ASSERT_EQ(material->CreateMaterial(&created), S_OK);
    CHostMaterial* copy = CHostMaterial::FromUnknown(created.Get());
    ASSERT_NE(copy, nullptr);
    EXPECT_THAT(copy->CompoundIds(), ElementsAre(L"METHANE", L"ETHANE", L"PROPANE"));
    EXPECT_TRUE(copy->Store().Properties().empty());
    EXPECT_TRUE(copy->PresentPhaseLabels().empty());
    EXPECT_TRUE(copy->Calls().empty());

    IDispatch* source = host->Dispatch();
    EXPECT_EQ(copy->Material()->CopyFromMaterial(&source), S_OK);
    EXPECT_EQ(copy->SinglePhase(L"fraction", L"Vapor", L"mole"), (std::vector<double>{0.6, 0.3, 0.1}));
    EXPECT_THAT(copy->PresentPhaseLabels(), ElementsAre(L"Vapor"));
    _variant_t molwts;
    _variant_t ids, formulae, names, boil, cas;
    EXPECT_EQ(copy->Compounds()->GetCompoundList(&ids, &formulae, &names, &boil, &molwts, &cas), S_OK);
    EXPECT_THAT(ReadDoubles(molwts), ElementsAre(16.04, 30.07, 44.1));

    // Another host's object, or a material of other compounds, cannot be copied.
    auto other = CHostMaterial::Create({L"METHANE"});
    IDispatch* otherSource = other->Dispatch();
    EXPECT_EQ(material->CopyFromMaterial(&otherSource), ECapeInvalidArgumentHR);
    EXPECT_EQ(CHostMaterial::FromUnknown(static_cast<ECapeUser*>(other.Get())), other.Get());
    EXPECT_EQ(material->CopyFromMaterial(nullptr), ECapeInvalidArgumentHR);
    auto context = CHostSimulationContext::Create();
    IDispatch* foreign = context->Dispatch();
    EXPECT_EQ(material->CopyFromMaterial(&foreign), ECapeNoImplHR);
    EXPECT_EQ(ReadUserError(material).description, L"CopyFromMaterial accepts only materials of this host");
}

}  // namespace
