// ICapeThermoPhases, ICapeThermoUniversalConstant, ICapeThermoMaterialContext and the
// material compound mapping, with the host's material object.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "com/CapeHResults.h"
#include "capeobject/ErrorTexts.h"
#include "tests/compounds/CompoundsFixture.h"
#include "tools/host/HostMaterial.h"
#include "tools/host/HostSimulationContext.h"
#include "tools/host/VariantValues.h"

namespace tarnevo_test {
namespace {

using tarnevo::host::CHostMaterial;
using testing::ElementsAre;


// A material that offers ICapeThermoMaterial only, or hands out another object's
// ICapeThermoCompounds (a package's own) as its compound interface.
class BareMaterial : public tarnevo::DispatchImpl<ICapeThermoMaterial> {
public:
    TARNEVO_BEGIN_INTERFACE_MAP(BareMaterial)
        TARNEVO_INTERFACE_AS(IDispatch, ICapeThermoMaterial)
        TARNEVO_INTERFACE(ICapeThermoMaterial)
        TARNEVO_INTERFACE_FUNC(ICapeThermoCompounds, CompoundsOrNull)
    TARNEVO_END_INTERFACE_MAP()

    ICapeThermoCompounds* compounds = nullptr;

    STDMETHODIMP ClearAllProps() override { return E_NOTIMPL; }
    STDMETHODIMP CopyFromMaterial(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP CreateMaterial(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP GetOverallProp(BSTR, BSTR, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetOverallTPFraction(double*, double*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetPresentPhases(VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetSinglePhaseProp(BSTR, BSTR, BSTR, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTPFraction(BSTR, double*, double*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTwoPhaseProp(BSTR, VARIANT, BSTR, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP SetOverallProp(BSTR, BSTR, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP SetPresentPhases(VARIANT, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP SetSinglePhaseProp(BSTR, BSTR, BSTR, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP SetTwoPhaseProp(BSTR, VARIANT, BSTR, VARIANT) override { return E_NOTIMPL; }

private:
    IUnknown* CompoundsOrNull() noexcept { return compounds; }
};

class MaterialContextTest : public testing::Test {
protected:
    PackagePtr package = CompoundsStore::Get().Package(L"Three");
    ICapeThermoMaterialContext* context = package.Get();

    // The mapping, or the message with which it failed.
    std::vector<std::int32_t> Mapping() {
        std::wstring error;
        if (!package->ResolveMaterialCompounds(error)) {
            message = error;
            return {};
        }
        message.clear();
        return package->MaterialCompoundMap();
    }
    std::wstring message;
};

// --- Phases and constants -------------------------------------------------------------------------

TEST_F(MaterialContextTest, TwoPhasesVaporAndLiquid) {
    ICapeThermoPhases* phases = package.Get();
    long count = 0;
    ASSERT_EQ(phases->GetNumPhases(&count), S_OK);
    EXPECT_EQ(count, 2);
    _variant_t labels(1.0), states, keys;
    ASSERT_EQ(phases->GetPhaseList(&labels, &states, &keys), S_OK);
    EXPECT_THAT(Strings(labels), ElementsAre(L"Vapor", L"Liquid"));
    EXPECT_THAT(Strings(states), ElementsAre(L"Vapor", L"Liquid"));
    EXPECT_THAT(tarnevo::host::ReadOptionalStrings(keys), ElementsAre(std::nullopt, std::nullopt));
    EXPECT_EQ(phases->GetNumPhases(nullptr), E_POINTER);
    EXPECT_EQ(phases->GetPhaseList(&labels, nullptr, &keys), E_POINTER);
}

TEST_F(MaterialContextTest, PhaseInfo) {
    ICapeThermoPhases* phases = package.Get();
    _variant_t value;
    ASSERT_EQ(phases->GetPhaseInfo(_bstr_t(L"liquid"), _bstr_t(L"stateofaggregation"), &value), S_OK);
    EXPECT_EQ(std::wstring(_bstr_t(value)), L"Liquid");
    value.Clear();
    ASSERT_EQ(phases->GetPhaseInfo(_bstr_t(L"VAPOR"), _bstr_t(L"StateOfAggregation"), &value), S_OK);
    EXPECT_EQ(std::wstring(_bstr_t(value)), L"Vapor");
    for (const wchar_t* attribute :
         {L"KeyCompoundId", L"excludedCompoundId", L"DensityDescription", L"UserDescription", L"TYPEOFSOLID"}) {
        _variant_t empty(1.0);
        empty.Clear();
        ASSERT_EQ(phases->GetPhaseInfo(_bstr_t(L"Vapor"), _bstr_t(attribute), &empty), S_OK);
        EXPECT_EQ(empty.vt, VT_EMPTY);
    }
    EXPECT_EQ(phases->GetPhaseInfo(_bstr_t(L"Solid"), _bstr_t(L"StateOfAggregation"), &value), tarnevo::ECapeUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()), L"Invalid phase ID");
    EXPECT_EQ(phases->GetPhaseInfo(nullptr, _bstr_t(L"StateOfAggregation"), &value), tarnevo::ECapeUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()), L"Invalid phase ID");
    EXPECT_EQ(phases->GetPhaseInfo(_bstr_t(L"Vapor"), nullptr, &value), tarnevo::ECapeUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()), L"Invalid or unsupported phase attribute");
    EXPECT_EQ(phases->GetPhaseInfo(_bstr_t(L"Vapor"), _bstr_t(L"Density"), &value), tarnevo::ECapeUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()), L"Invalid or unsupported phase attribute");
    EXPECT_EQ(phases->GetPhaseInfo(_bstr_t(L"Vapor"), _bstr_t(L"KeyCompoundId"), nullptr), E_POINTER);
}

TEST_F(MaterialContextTest, UniversalConstants) {
    ICapeThermoUniversalConstant* constants = package.Get();
    _variant_t list;
    ASSERT_EQ(constants->GetUniversalConstantList(&list), S_OK);
    EXPECT_THAT(Strings(list), ElementsAre(L"avogadroConstant", L"boltzmannConstant", L"molarGasConstant",
                                           L"speedOfLightInVacuum", L"standardAccelerationOfGravity"));
    const std::pair<const wchar_t*, double> expected[] = {{L"MOLARGASCONSTANT", 8.31447215},
                                                          {L"avogadroConstant", 6.0221419947e23},
                                                          {L"BoltzmannConstant", 1.380650324e-23},
                                                          {L"speedOfLightInVacuum", 299792458.1},
                                                          {L"standardaccelerationofgravity", 9.80665}};
    for (const auto& [name, number] : expected) {
        _variant_t value;
        ASSERT_EQ(constants->GetUniversalConstant(_bstr_t(name), &value), S_OK);
        ASSERT_EQ(value.vt, VT_R8);
        EXPECT_EQ(value.dblVal, number);
    }
    _variant_t value;
    EXPECT_EQ(constants->GetUniversalConstant(_bstr_t(L"planckConstant"), &value), tarnevo::ECapeUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()), L"Unknown/unsupported constant");
    EXPECT_EQ(constants->GetUniversalConstant(nullptr, &value), tarnevo::ECapeUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()), L"Unknown/unsupported constant");
    EXPECT_EQ(constants->GetUniversalConstant(_bstr_t(L"molarGasConstant"), nullptr), E_POINTER);
}

// --- Material and its compound mapping ------------------------------------------------------------

TEST_F(MaterialContextTest, MappingFollowsTheMaterialsOrderAndIsBuiltOncePerMaterial) {
    auto material = CHostMaterial::Create({L"pentane", L"PROPANE"});
    ASSERT_EQ(context->SetMaterial(material->Dispatch()), S_OK);
    EXPECT_THAT(Mapping(), ElementsAre(2, 0));
    EXPECT_THAT(Mapping(), ElementsAre(2, 0));
    EXPECT_EQ(material->CallsTo(L"GetCompoundList").size(), 1u);

    auto other = CHostMaterial::Create({L"BUTANE"});
    ASSERT_EQ(context->SetMaterial(other->Dispatch()), S_OK);
    EXPECT_TRUE(package->MaterialCompoundMap().empty());
    EXPECT_THAT(Mapping(), ElementsAre(1));
    ASSERT_EQ(context->UnsetMaterial(), S_OK);
    EXPECT_TRUE(package->MaterialCompoundMap().empty());
    EXPECT_THAT(Mapping(), ElementsAre());
    EXPECT_EQ(message, L"Material has not been set");
}

TEST_F(MaterialContextTest, NullMaterialLeavesNone) {
    auto material = CHostMaterial::Create({L"PROPANE"});
    ASSERT_EQ(context->SetMaterial(material->Dispatch()), S_OK);
    ASSERT_EQ(context->SetMaterial(nullptr), S_OK);
    EXPECT_THAT(Mapping(), ElementsAre());
    EXPECT_EQ(message, L"Material has not been set");
}

TEST_F(MaterialContextTest, ObjectThatIsNoMaterialIsRefused) {
    auto simulation = tarnevo::host::CHostSimulationContext::Create();
    EXPECT_EQ(context->SetMaterial(simulation->Dispatch()), tarnevo::ECapeUnknownHR);
    EXPECT_EQ(ErrorDescription(package.Get()),
              L"Failed to get ICapeThermoMaterial interface: " + tarnevo::GetSystemErrorText(E_NOINTERFACE));
    EXPECT_THAT(Mapping(), ElementsAre());
    EXPECT_EQ(message, L"Material has not been set");
}

TEST_F(MaterialContextTest, MaterialCompoundListsThatCannotBeMapped) {
    const std::pair<std::vector<std::wstring>, std::wstring> cases[] = {
        {{L"PROPANE", L"propane"},
         L"Invalid list of compounds from current material object: Compound ID \"propane\" appears in list of "
         L"compounds more than once"},
        {{L"PROPANE", L"WATER"},
         L"Invalid list of compounds from current material object: Compound list contains unknown compound ID "
         L"\"WATER\""},
        {{L"PROPANE", L""},
         L"Invalid list of compounds from current material object: At least one compound identifier in the "
         L"compound list is empty"},
        {{}, L"Invalid list of compounds from current material object: List of compounds is empty"},
        {std::vector<std::wstring>(100000, L"X"),
         L"Invalid list of compounds from current material object: Compound list contains unknown compound ID \"X\""},
    };
    for (const auto& [ids, expected] : cases) {
        auto material = CHostMaterial::Create(ids);
        ASSERT_EQ(context->SetMaterial(material->Dispatch()), S_OK);
        EXPECT_THAT(Mapping(), ElementsAre());
        EXPECT_EQ(message, expected);
        EXPECT_TRUE(package->MaterialCompoundMap().empty());
    }
}

TEST_F(MaterialContextTest, FailingCompoundListOfTheMaterial) {
    auto material = CHostMaterial::Create({L"PROPANE"});
    material->FailCall(L"GetCompoundList", tarnevo::ECapeUnknownHR, L"compound list withheld");
    ASSERT_EQ(context->SetMaterial(material->Dispatch()), S_OK);
    EXPECT_THAT(Mapping(), ElementsAre());
    EXPECT_EQ(message, L"GetCompoundList failed to current material object: compound list withheld");
    // Built once it answers.
    material->ClearFailures();
    EXPECT_THAT(Mapping(), ElementsAre(0));
}

TEST_F(MaterialContextTest, MaterialWithoutCompoundInterface) {
    auto bare = tarnevo::MakeComObject<BareMaterial>();
    ASSERT_EQ(context->SetMaterial(bare.Get()), S_OK);
    EXPECT_THAT(Mapping(), ElementsAre());
    EXPECT_EQ(message, L"Failed to get ICapeThermoCompounds from current material object: " +
                           tarnevo::GetSystemErrorText(E_NOINTERFACE));
}

TEST_F(MaterialContextTest, MaterialAnsweringWithThePackagesOwnCompounds) {
    auto bare = tarnevo::MakeComObject<BareMaterial>();
    bare->compounds = package.Get();
    ASSERT_EQ(context->SetMaterial(bare.Get()), S_OK);
    EXPECT_THAT(Mapping(), ElementsAre(0, 1, 2));
    bare->compounds = nullptr;
    ASSERT_EQ(context->UnsetMaterial(), S_OK);
}

}  // namespace
}  // namespace tarnevo_test
