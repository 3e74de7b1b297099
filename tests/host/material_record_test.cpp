// The host material's call record, failure injection, compound list and late binding.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "HostTestSupport.h"
#include "capeobject/ErrorTexts.h"
#include "tools/host/HostMaterial.h"
#include "tools/host/VariantValues.h"

namespace {

using namespace tarnevo::host;
using namespace host_test;
using ::testing::ElementsAre;

TEST(MaterialRecord, EveryCallIsRecordedInOrderWithItsQualifiersValuesAndResult) {
    auto host = CHostMaterial::Create({L"A", L"B"});
    ICapeThermoMaterial* material = host->Material();
    host->PutPhaseState(L"Vapor", 310.0, 2e5, {0.25, 0.75});

    double t = 0, p = 0;
    _variant_t x, results;
    material->GetTPFraction(_bstr_t(L"Vapor"), &t, &p, &x);
    material->SetSinglePhaseProp(_bstr_t(L"density"), _bstr_t(L"Vapor"), _bstr_t(L"mole"), DoubleArray({80.5}));
    material->SetSinglePhaseProp(_bstr_t(L"viscosity"), _bstr_t(L"Vapor"), nullptr, DoubleVariantArray({1e-5}));
    material->GetOverallProp(_bstr_t(L"enthalpy"), _bstr_t(L"mole"), &results);
    material->SetPresentPhases(StringArray({L"Vapor"}), LongArray({1}));

    EXPECT_THAT(host->CallDescriptions(),
                ElementsAre(L"GetTPFraction(Vapor)", L"SetSinglePhaseProp(density,Vapor,mole)",
                            L"SetSinglePhaseProp(viscosity,Vapor)", L"GetOverallProp(enthalpy,mole)",
                            L"SetPresentPhases(Vapor)"));
    const auto& calls = host->Calls();
    EXPECT_EQ(calls[0].temperature, 310.0);
    EXPECT_EQ(calls[0].pressure, 2e5);
    EXPECT_THAT(ReadDoubles(calls[0].values), ElementsAre(0.25, 0.75));
    EXPECT_EQ(calls[1].basis, std::optional<std::wstring>(L"mole"));
    EXPECT_THAT(ReadDoubles(calls[1].values), ElementsAre(80.5));
    EXPECT_FALSE(calls[2].basis.has_value());  // a null BSTR
    EXPECT_EQ(calls[2].values.vt, VT_ARRAY | VT_VARIANT);  // as passed
    EXPECT_EQ(calls[3].result, ECapeThrmPropertyNotAvailableHR);
    EXPECT_THAT(ReadLongs(calls[4].status), ElementsAre(1));
    EXPECT_EQ(host->CallsTo(L"SetSinglePhaseProp").size(), 2u);
    EXPECT_TRUE(std::isnan(calls[1].temperature));

    host->ClearCalls();
    EXPECT_TRUE(host->Calls().empty());
}

TEST(MaterialRecord, InjectedFailuresCarryTheirCodeAndDescriptionAndCanBeLimitedToAProperty) {
    auto host = CHostMaterial::Create({L"A", L"B"});
    ICapeThermoMaterial* material = host->Material();
    host->FailCall(L"SetSinglePhaseProp", ECapeUnknownHR, L"Material is read-only", L"DENSITY");

    EXPECT_EQ(material->SetSinglePhaseProp(_bstr_t(L"density"), _bstr_t(L"Vapor"), _bstr_t(L"mole"),
                                           DoubleArray({80.5})), ECapeUnknownHR);
    EXPECT_EQ(tarnevo::GetCapeErrorText(material, ECapeUnknownHR), L"Material is read-only");
    UserError error = ReadUserError(material);
    EXPECT_EQ(error.scope, L"SetSinglePhaseProp");
    EXPECT_EQ(error.interfaceName, L"ICapeThermoMaterial");
    EXPECT_FALSE(host->SinglePhase(L"density", L"Vapor", L"mole"));  // nothing stored
    EXPECT_EQ(host->Calls().back().result, ECapeUnknownHR);

    EXPECT_EQ(material->SetSinglePhaseProp(_bstr_t(L"enthalpy"), _bstr_t(L"Vapor"), _bstr_t(L"mole"),
                                           DoubleArray({-3.0})), S_OK);

    // Without a property name the phase label qualifies GetTPFraction.
    host->PutPhaseState(L"Vapor", 300.0, 1e5, {0.5, 0.5});
    host->PutPhaseState(L"Liquid", 300.0, 1e5, {0.5, 0.5});
    host->FailCall(L"GetTPFraction", E_FAIL, L"no liquid", L"Liquid");
    double t = 0, p = 0;
    _variant_t x;
    EXPECT_EQ(material->GetTPFraction(_bstr_t(L"Vapor"), &t, &p, &x), S_OK);
    EXPECT_EQ(material->GetTPFraction(_bstr_t(L"liquid"), &t, &p, &x), E_FAIL);
    EXPECT_EQ(ReadUserError(material).description, L"no liquid");

    host->FailCall(L"GetPresentPhases", static_cast<HRESULT>(0x80040512L), L"busy");
    _variant_t labels, status;
    EXPECT_EQ(material->GetPresentPhases(&labels, &status), static_cast<HRESULT>(0x80040512L));
    host->ClearFailures();
    EXPECT_EQ(material->GetPresentPhases(&labels, &status), S_OK);
}

TEST(MaterialRecord, CompoundListIsReturnedAsGivenIncludingUnknownAndRepeatedNames) {
    auto host = CHostMaterial::Create({L"PROPANE", L"methane", L"XENON", L"PROPANE"});
    ICapeThermoCompounds* compounds = host->Compounds();
    long count = 0;
    EXPECT_EQ(compounds->GetNumCompounds(&count), S_OK);
    EXPECT_EQ(count, 4);

    _variant_t ids(1.0), formulae, names, boil, molwts, cas;
    EXPECT_EQ(compounds->GetCompoundList(&ids, &formulae, &names, &boil, &molwts, &cas), S_OK);
    EXPECT_EQ(ids.vt, VT_ARRAY | VT_BSTR);
    EXPECT_THAT(ReadStrings(ids), ElementsAre(L"PROPANE", L"methane", L"XENON", L"PROPANE"));
    EXPECT_THAT(ReadStrings(names), ElementsAre(L"PROPANE", L"methane", L"XENON", L"PROPANE"));
    EXPECT_EQ(formulae.vt, VT_EMPTY);
    EXPECT_EQ(molwts.vt, VT_EMPTY);

    _variant_t values;
    EXPECT_EQ(compounds->GetCompoundConstant(StringArray({L"molecularWeight"}), _variant_t(), &values), ECapeNoImplHR);
    EXPECT_EQ(ReadUserError(compounds).interfaceName, L"ICapeThermoCompounds");
    EXPECT_THAT(host->CallDescriptions(),
                ElementsAre(L"GetNumCompounds()", L"GetCompoundList()", L"GetCompoundConstant()"));

    host->SetCompoundIdsRaw(DoubleArray({1.0}));
    EXPECT_EQ(compounds->GetCompoundList(&ids, &formulae, &names, &boil, &molwts, &cas), S_OK);
    EXPECT_EQ(ids.vt, VT_ARRAY | VT_R8);

    host->FailCall(L"GetCompoundList", ECapeUnknownHR, L"no compounds today");
    EXPECT_EQ(compounds->GetCompoundList(&ids, &formulae, &names, &boil, &molwts, &cas), ECapeUnknownHR);
    EXPECT_EQ(tarnevo::GetCapeErrorText(compounds, ECapeUnknownHR), L"no compounds today");

    host->SetOffersCompounds(false);
    Microsoft::WRL::ComPtr<ICapeThermoCompounds> refused;
    EXPECT_EQ(host->Dispatch()->QueryInterface(__uuidof(ICapeThermoCompounds),
                                               reinterpret_cast<void**>(refused.GetAddressOf())), E_NOINTERFACE);
}

}  // namespace
