// The CAPE-OPEN 1.0 surface: the same numbers as the 1.1 surface of the same package (bit
// for bit), every message of the 1.0 operations with bad input among them, and the thermo
// system.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "manager/ManagerDialogSeam.h"
#include "package/names/PropertyNameTables.h"
#include "tests/flash/FlashFixture.h"
#include "tools/host/HostMaterial10.h"
#include "tools/host/VariantValues.h"
#include "version10/ThermoSystem.h"

using namespace tarnevo_test;
namespace host = tarnevo::host;
using host::CHostMaterial10;
using Values = std::vector<double>;
using Names = std::vector<std::wstring>;

namespace {

constexpr HRESULT kFailed = static_cast<HRESULT>(0x80040501L);
const wchar_t kPP[] = L"ICapeThermoPropertyPackage";

ICapeThermoPropertyPackage* P10(const PackagePtr& package) { return package.Get(); }
_variant_t Strings(const Names& names) { return host::StringArray(names); }

// A 1.0 material of `ids` at T, P with the composition `z` of `phases`.
CHostMaterial10::Ptr Material10(const Names& ids, double t, double p, const Values& z,
                                const Names& phases = {L"overall", L"Vapor", L"Liquid"}) {
    auto m = CHostMaterial10::Create(ids);
    m->Put(L"temperature", L"overall", {t});
    m->Put(L"pressure", L"overall", {p});
    for (const std::wstring& phase : phases) m->Put(L"fraction", phase, z, L"mole");
    return m;
}

// Names of the 1.0 list found in `map`.
Names Version10Names(const tarnevo::NameMap& map) {
    Names names;
    for (const std::wstring& name : tarnevo::NameTables().Version10Properties().Names())
        if (map.Find(name.c_str())) names.push_back(name);
    return names;
}

void ExpectSameBits(const std::optional<Values>& a, const std::optional<Values>& b, const std::wstring& what) {
    ASSERT_TRUE(a && b) << Narrow(what);
    ASSERT_EQ(a->size(), b->size()) << Narrow(what);
    EXPECT_EQ(0, std::memcmp(a->data(), b->data(), a->size() * sizeof(double))) << Narrow(what);
}

// What one surface stored for `name`, on a mole basis or none.
template <class Read>
std::optional<Values> Stored(Read&& read) {
    auto values = read(L"mole");
    return values ? values : read(L"");
}

TEST(Version10, CompoundConstantsAreThoseOfTheCompoundsInterface) {
    for (const wchar_t* name : {L"NaturalGas", L"Propane"}) {
        PackagePtr package = FlashStore::Get().Package(name);
        _variant_t names, v10, v11;
        ASSERT_EQ(package->GetConstPropList(&names), S_OK);
        EXPECT_EQ(P10(package)->GetComponentConstant(CHostMaterial10::Create({})->Dispatch(), names, &v10), S_OK);
        package->GetCompoundConstant(names, _variant_t(), &v11);
        const auto a = host::ReadVariants(v10), b = host::ReadVariants(v11);
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) EXPECT_TRUE(a[i] == b[i]) << i;
    }
}

TEST(Version10, EveryPropertyEqualsThe11PropertyOfTheSameState) {
    const tarnevo::PropertyNameTables& tables = tarnevo::NameTables();
    struct State { const wchar_t* package; Names ids; Values z; const wchar_t* phase; double t, p; };
    const State states[] = {{L"NaturalGas", kNaturalGas, kNaturalGasFractions, L"Vapor", 280, 5e6},
                            {L"NaturalGas", kNaturalGas, kNaturalGasFractions, L"Liquid", 120, 5e6},
                            {L"Propane", kPropane, {1.0}, L"Vapor", 300, 5e5},
                            {L"Three", kThree, {0.3, 0.3, 0.4}, L"Liquid", 300, 3e6}};
    const Names single = Version10Names(tables.SinglePhaseProperties().map);
    const Names pure = Version10Names(tables.TDependentProperties().map);
    for (const State& s : states) {
        PackagePtr package = FlashStore::Get().Package(s.package);
        auto m10 = Material10(s.ids, s.t, s.p, s.z);
        auto m11 = MakeMaterial(s.ids, s.t, s.p, s.z, {s.phase});
        m11->PutPhaseState(s.phase, s.t, s.p, s.z);
        ASSERT_EQ(package->SetMaterial(m11->Dispatch()), S_OK);
        ASSERT_EQ(P10(package)->CalcProp(m10->Dispatch(), Strings(single), Strings({s.phase}), _bstr_t(L"mixture")),
                  S_OK) << Narrow(ErrorDescription(package));
        ASSERT_EQ(package->CalcSinglePhaseProp(Strings(single), _bstr_t(s.phase)), S_OK);
        for (const std::wstring& name : single)
            ExpectSameBits(Stored([&](const wchar_t* b) { return m10->Get(name, s.phase, b, L"mixture"); }),
                           Stored([&](const wchar_t* b) { return m11->SinglePhase(name, s.phase, b); }), name);
        if (std::wstring(s.package) != L"NaturalGas") {  // every compound below its critical temperature
            ASSERT_EQ(P10(package)->CalcProp(m10->Dispatch(), Strings(pure), Strings({s.phase}), _bstr_t(L"Pure")),
                      S_OK) << Narrow(ErrorDescription(package));
            _variant_t all;
            ASSERT_EQ(package->GetTDependentProperty(Strings(pure), s.t, _variant_t(), &all), S_OK);
            const Values values = host::ReadDoubles(all);
            for (size_t k = 0; k < pure.size(); ++k)
                ExpectSameBits(Stored([&](const wchar_t* b) { return m10->Get(pure[k], s.phase, b, L"Pure"); }),
                               Values(values.begin() + k * s.ids.size(), values.begin() + (k + 1) * s.ids.size()),
                               pure[k]);
        }
    }
    // Two-phase properties of the phases of a T-P flash.
    PackagePtr package = FlashStore::Get().Package(L"NaturalGas");
    const auto flashed = package->EngineTP(190, 3e6, kNaturalGasFractions);
    auto m10 = Material10(kNaturalGas, 190, 3e6, {});
    m10->Put(L"fraction", L"Vapor", flashed.y, L"mole");
    m10->Put(L"fraction", L"Liquid", flashed.x, L"mole");
    auto m11 = MakeMaterial(kNaturalGas, 190, 3e6, kNaturalGasFractions);
    m11->PutPhaseState(L"Vapor", 190, 3e6, flashed.y);
    m11->PutPhaseState(L"Liquid", 190, 3e6, flashed.x);
    ASSERT_EQ(package->SetMaterial(m11->Dispatch()), S_OK);
    const Names twoPhase = Version10Names(tables.TwoPhaseProperties().map);
    ASSERT_EQ(P10(package)->CalcProp(m10->Dispatch(), Strings(twoPhase), Strings({L"VaporLiquid"}),
                                     _bstr_t(L"Mixture")), S_OK) << Narrow(ErrorDescription(package));
    ASSERT_EQ(package->CalcTwoPhaseProp(Strings(twoPhase), Strings({L"Vapor", L"Liquid"})), S_OK);
    for (const std::wstring& name : twoPhase)
        ExpectSameBits(m10->Get(name, L"VaporLiquid", L"", L"Mixture"), m11->TwoPhase(name, {L"Vapor", L"Liquid"}, L""),
                       name);
}

TEST(Version10, EveryFlashTypeEqualsThe11FlashOfTheSameState) {
    struct Type { const wchar_t* key; const wchar_t* first; const wchar_t* second; };
    const Type types[] = {{L"pt", L"temperature", L"pressure"}, {L"TH", L"temperature", L"enthalpy"},
                          {L"TS", L"temperature", L"entropy"},  {L"PH", L"pressure", L"enthalpy"},
                          {L"SP", L"pressure", L"entropy"},     {L"TVF", L"temperature", nullptr},
                          {L"PVF", L"pressure", nullptr},       {L"HS", L"enthalpy", L"entropy"}};
    struct State { const wchar_t* package; Names ids; Values z; double t, p; };
    const State states[] = {{L"NaturalGas", kNaturalGas, kNaturalGasFractions, 190, 3e6},
                            {L"Propane", kPropane, {1.0}, 300, 5e5}};
    for (const State& s : states) {
        PackagePtr package = FlashStore::Get().Package(s.package);
        const auto o = package->EngineTP(s.t, s.p, s.z);
        for (const Type& type : types) {
            const std::wstring what = std::wstring(s.package) + L" " + type.key;
            auto m10 = Material10(s.ids, s.t, s.p, s.z, {L"overall"});
            m10->Put(L"enthalpy", L"overall", {o.h}, L"mole", L"mixture");
            m10->Put(L"entropy", L"overall", {o.s}, L"mole", L"mixture");
            m10->Put(L"phaseFraction", L"Vapor", {0.4}, L"mole");
            auto m11 = MakeMaterial(s.ids, s.t, s.p, s.z);
            m11->PutOverall(L"enthalpy", L"mole", {o.h});
            m11->PutOverall(L"entropy", L"mole", {o.s});
            m11->PutSinglePhase(L"phaseFraction", L"Vapor", L"mole", {0.4});
            ASSERT_EQ(P10(package)->CalcEquilibrium(m10->Dispatch(), _bstr_t(type.key), _variant_t()), S_OK)
                << Narrow(what + L": " + ErrorDescription(package));
            ASSERT_EQ(Flash(package, m11, Given(type.first), type.second ? Given(type.second) : VaporFraction()), S_OK)
                << Narrow(what);
            const Names present = m11->PresentPhaseLabels();
            for (const wchar_t* phase : {L"Vapor", L"Liquid"}) {
                const bool listed = std::find(present.begin(), present.end(), phase) != present.end();
                EXPECT_EQ(m10->Get(L"fraction", phase, L"mole").has_value(), listed) << Narrow(what);
                if (!listed) continue;
                ExpectSameBits(m10->Get(L"fraction", phase, L"mole"), m11->SinglePhase(L"fraction", phase, L"mole"),
                               what);
                ExpectSameBits(m10->Get(L"phaseFraction", phase, L"mole"),
                               m11->SinglePhase(L"phaseFraction", phase, L"mole"), what);
                ExpectSameBits(m10->Get(L"temperature", L"overall"), m11->SinglePhase(L"temperature", phase, L""),
                               what);
                ExpectSameBits(m10->Get(L"pressure", L"overall"), m11->SinglePhase(L"pressure", phase, L""), what);
            }
        }
    }
}

// --- Messages and bad input: one table ---------------------------------------------------------

struct Env {
    PackagePtr package = FlashStore::Get().Package(L"NaturalGas");
    CHostMaterial10::Ptr m;
    void Reset() {
        m = Material10(kNaturalGas, 190, 3e6, kNaturalGasFractions);
        m->Put(L"enthalpy", L"overall", {-2000}, L"mole", L"mixture");
        m->Put(L"entropy", L"overall", {-20}, L"mole", L"mixture");
        m->Put(L"phaseFraction", L"Vapor", {0.4}, L"mole");
    }
    void Liquid() { m = Material10(kPropane, 300, 3e6, {1.0}); }  // subcooled propane
    ICapeThermoPropertyPackage* p() { return package.Get(); }
    HRESULT Calc(const Names& props, const Names& phases = {L"Vapor"}, const wchar_t* calcType = L"Mixture") {
        return p()->CalcProp(m->Dispatch(), Strings(props), Strings(phases), _bstr_t(calcType));
    }
    HRESULT Flash(const wchar_t* key, const _variant_t& props = _variant_t()) {
        return p()->CalcEquilibrium(m->Dispatch(), _bstr_t(key), props);
    }
    HRESULT Raw(const wchar_t* property, const wchar_t* phase, const _variant_t& values, HRESULT (Env::*call)()) {
        m->PutRaw(property, phase, values, property == std::wstring(L"fraction") ? L"mole" : L"");
        return (this->*call)();
    }
    HRESULT Fail(const wchar_t* method, const wchar_t* what, const std::function<HRESULT()>& call) {
        m->FailCall(method, kFailed, L"refused", what);
        return call();
    }
    HRESULT VaporCalc() { return Calc({L"density"}); }
    HRESULT PureCalc() { return Calc({L"virialCoefficient"}, {L"Vapor"}, L"Pure"); }
    HRESULT TP() { return Flash(L"TP"); }
};

struct Case {
    const wchar_t* message;  // the recorded description starts with it
    std::function<HRESULT(Env&)> call;
    const wchar_t* scope;
    const wchar_t* interfaceName = kPP;
    HRESULT hr = kFailed;
};

const _variant_t kDoubles = host::DoubleArray({1.0});
const _variant_t kTwo = host::DoubleArray({1.0, 2.0});
const _variant_t kText = host::StringArray({L"x"});
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const wchar_t kNotMaterial[] = L"Failed to obtain ICapeThermoMaterialObject interface from material object: ";

IDispatch* Material11() {
    static auto m = host::CHostMaterial::Create(kNaturalGas);
    return m->Dispatch();
}

const Case kCases[] = {
    // CalcProp
    {kNotMaterial, [](Env& e) { return e.p()->CalcProp(Material11(), Strings({L"density"}), Strings({L"Vapor"}), _bstr_t(L"Mixture")); }, L"CalcProp"},
    {kNotMaterial, [](Env& e) { return e.p()->CalcProp(nullptr, Strings({L"density"}), Strings({L"Vapor"}), _bstr_t(L"Mixture")); }, L"CalcProp"},
    {L"Failed to get the list of compound IDs from material object: refused", [](Env& e) { return e.Fail(L"ComponentIds", L"", [&] { return e.VaporCalc(); }); }, L"CalcProp"},
    {L"Invalid list of compounds on material object: Invalid list of compound IDs: ", [](Env& e) { e.m->SetComponentIdsRaw(kDoubles); return e.VaporCalc(); }, L"CalcProp"},
    {L"Invalid calcType \"Solid\"; expected \"Mixture\" or \"Pure\"", [](Env& e) { return e.Calc({L"density"}, {L"Vapor"}, L"Solid"); }, L"CalcProp"},
    {L"Invalid calcType \"NULL\"", [](Env& e) { return e.p()->CalcProp(e.m->Dispatch(), Strings({L"density"}), Strings({L"Vapor"}), nullptr); }, L"CalcProp"},
    {L"Invalid list of phases: ", [](Env& e) { return e.p()->CalcProp(e.m->Dispatch(), Strings({L"density"}), kDoubles, _bstr_t(L"Mixture")); }, L"CalcProp"},
    {L"Invalid list of properties: ", [](Env& e) { return e.p()->CalcProp(e.m->Dispatch(), kDoubles, Strings({L"Vapor"}), _bstr_t(L"Mixture")); }, L"CalcProp"},
    {L"One or more empty strings in phase list", [](Env& e) { return e.Calc({L"density"}, {L"Vapor", L""}); }, L"CalcProp"},
    {L"Unknown/unsupported phase: Solid", [](Env& e) { return e.Calc({L"density"}, {L"Solid"}); }, L"CalcProp"},
    {L"Unknown/unsupported property foo", [](Env& e) { return e.Calc({L"density", L"foo"}, {L"VaporLiquid"}); }, L"CalcProp"},
    {L"Pure calcType not allowed for density", [](Env& e) { return e.Calc({L"density"}, {L"Vapor"}, L"Pure"); }, L"CalcProp"},
    {L"Mixture calcType not allowed for vaporPressure", [](Env& e) { return e.Calc({L"vaporPressure"}); }, L"CalcProp"},
    {L"Composition derivatives of two-phase properties are not supported in CAPE-OPEN version 1.0 as they are not well defined", [](Env& e) { return e.Calc({L"kvalues.Dmoles"}); }, L"CalcProp"},
    {L"Single phase property density is not supported for VaporLiquid phase", [](Env& e) { return e.Calc({L"density"}, {L"VaporLiquid"}); }, L"CalcProp"},
    {L"Two phase property kvalues is not supported for Vapor phase", [](Env& e) { return e.Calc({L"kvalues"}, {L"Vapor"}); }, L"CalcProp"},
    {L"Failed to get temperature from material object: refused", [](Env& e) { return e.Fail(L"GetProp", L"temperature", [&] { return e.VaporCalc(); }); }, L"CalcProp"},
    {L"Invalid temperature from material object: Expected an array of type double", [](Env& e) { return e.Raw(L"temperature", L"overall", kText, &Env::VaporCalc); }, L"CalcProp"},
    {L"Invalid temperature from material object: scalar expected", [](Env& e) { return e.Raw(L"temperature", L"overall", kTwo, &Env::VaporCalc); }, L"CalcProp"},
    {L"Missing / unspecified value for temperature", [](Env& e) { return e.Raw(L"temperature", L"overall", host::DoubleArray({kNaN}), &Env::PureCalc); }, L"CalcProp"},
    {L"Failed to get pressure from material object: refused", [](Env& e) { return e.Fail(L"GetProp", L"pressure", [&] { return e.VaporCalc(); }); }, L"CalcProp"},
    {L"Invalid pressure from material object: scalar expected", [](Env& e) { return e.Raw(L"pressure", L"overall", kTwo, &Env::VaporCalc); }, L"CalcProp"},
    {L"Invalid pressure from material object: Expected", [](Env& e) { return e.Raw(L"pressure", L"overall", kText, &Env::VaporCalc); }, L"CalcProp"},
    {L"Failed to get vapor composition from material object: refused", [](Env& e) { return e.Fail(L"GetProp", L"fraction", [&] { return e.VaporCalc(); }); }, L"CalcProp"},
    {L"Failed to get liquid composition from material object: refused", [](Env& e) { return e.Fail(L"GetProp", L"fraction", [&] { return e.Calc({L"density"}, {L"Liquid"}); }); }, L"CalcProp"},
    {L"Invalid composition from material object: Expected an array", [](Env& e) { return e.Raw(L"fraction", L"Vapor", kText, &Env::VaporCalc); }, L"CalcProp"},
    {L"Invalid composition from material object: unexpected number of values", [](Env& e) { return e.Raw(L"fraction", L"Vapor", kDoubles, &Env::VaporCalc); }, L"CalcProp"},
    {L"Failed to set values for enthalpy of phase Vapor: refused", [](Env& e) { return e.Fail(L"SetProp", L"enthalpy", [&] { return e.Calc({L"density", L"enthalpy"}); }); }, L"CalcProp"},
    {L"Failed to set virialCoefficient for phase Vapor: refused", [](Env& e) { return e.Fail(L"SetProp", L"virialCoefficient", [&] { return e.PureCalc(); }); }, L"CalcProp"},
    // Failures inside the shared 1.1 code keep that code's operation and interface.
    {L"Failed to get density for given conditions: ", [](Env& e) { return e.Raw(L"temperature", L"overall", host::DoubleArray({-5.0}), &Env::VaporCalc); }, L"CalcSinglePhaseProp", L"ICapeThermoPropertyRoutine"},
    {L"", [](Env& e) { return e.Calc({L"vaporPressure"}, {L"Vapor"}, L"Pure"); }, L"GetTDependentProperty", L"ICapeThermoCompounds"},
    // CalcEquilibrium
    {kNotMaterial, [](Env& e) { return e.p()->CalcEquilibrium(Material11(), _bstr_t(L"TP"), _variant_t()); }, L"CalcEquilibrium"},
    {L"Invalid list of properties: ", [](Env& e) { return e.Flash(L"TP", kDoubles); }, L"CalcEquilibrium"},
    {L"Failed to get the list of compound IDs from material object: refused", [](Env& e) { return e.Fail(L"ComponentIds", L"", [&] { return e.TP(); }); }, L"CalcEquilibrium"},
    {L"Invalid list of compounds on material object: Compound list contains unknown compound ID \"WATER\"", [](Env& e) { e.m->SetComponentIdsRaw(Strings({L"WATER"})); return e.TP(); }, L"CalcEquilibrium"},
    {L"Unknown/unsupported flash type \"TQ\"", [](Env& e) { return e.Flash(L"TQ"); }, L"CalcEquilibrium"},
    {L"Unknown/unsupported flash type \"NULL\"", [](Env& e) { return e.p()->CalcEquilibrium(e.m->Dispatch(), nullptr, _variant_t()); }, L"CalcEquilibrium"},
    {L"Invalid values for overall composition from material object: Expected", [](Env& e) { return e.Raw(L"fraction", L"overall", kText, &Env::TP); }, L"CalcEquilibrium"},
    {L"Invalid values for overall composition from material object: invalid number of values", [](Env& e) { return e.Fail(L"GetProp", L"fraction", [&] { return e.TP(); }); }, L"CalcEquilibrium"},
    {L"Failed to get temperature from material object: refused", [](Env& e) { return e.Fail(L"GetProp", L"temperature", [&] { return e.TP(); }); }, L"CalcEquilibrium"},
    {L"Invalid value for temperature from material object: Expected", [](Env& e) { return e.Raw(L"temperature", L"overall", kText, &Env::TP); }, L"CalcEquilibrium"},
    {L"Invalid value for pressure from material object: scalar expected", [](Env& e) { return e.Raw(L"pressure", L"overall", kTwo, &Env::TP); }, L"CalcEquilibrium"},
    {L"Failed to get pressure from material object: refused", [](Env& e) { return e.Fail(L"GetProp", L"pressure", [&] { return e.Flash(L"PH"); }); }, L"CalcEquilibrium"},
    {L"Invalid value for enthalpy from material object: scalar expected", [](Env& e) { e.m->PutRaw(L"enthalpy", L"overall", kTwo, L"mole", L"mixture"); return e.Flash(L"TH"); }, L"CalcEquilibrium"},
    {L"Invalid value for vapor fraction from material object: Expected", [](Env& e) { e.m->PutRaw(L"phaseFraction", L"Vapor", kText, L"mole"); return e.Flash(L"PVF"); }, L"CalcEquilibrium"},
    {L"Failed to get enthalpy from material object: refused", [](Env& e) { return e.Fail(L"GetProp", L"enthalpy", [&] { return e.Flash(L"PH"); }); }, L"CalcEquilibrium"},
    {L"Failed to get entropy from material object: refused", [](Env& e) { return e.Fail(L"GetProp", L"entropy", [&] { return e.Flash(L"PS"); }); }, L"CalcEquilibrium"},
    {L"Failed to get vapor fraction from material object: refused", [](Env& e) { return e.Fail(L"GetProp", L"phaseFraction", [&] { return e.Flash(L"TVF"); }); }, L"CalcEquilibrium"},
    {L"", [](Env& e) { return e.Raw(L"temperature", L"overall", host::DoubleArray({-5.0}), &Env::TP); }, L"CalcEquilibrium"},
    {L"Failed to set vapor composition: refused", [](Env& e) { return e.Fail(L"SetProp", L"fraction", [&] { return e.TP(); }); }, L"CalcEquilibrium"},
    {L"Failed to set vapor phase fraction: refused", [](Env& e) { return e.Fail(L"SetProp", L"phaseFraction", [&] { return e.TP(); }); }, L"CalcEquilibrium"},
    {L"Failed to set liquid composition: refused", [](Env& e) { e.Liquid(); return e.Fail(L"SetProp", L"fraction", [&] { return e.TP(); }); }, L"CalcEquilibrium"},
    {L"Failed to set liquid phase fraction: refused", [](Env& e) { e.Liquid(); return e.Fail(L"SetProp", L"phaseFraction", [&] { return e.TP(); }); }, L"CalcEquilibrium"},
    {L"Failed to set overall temperature: refused", [](Env& e) { return e.Fail(L"SetProp", L"temperature", [&] { return e.Flash(L"PVF"); }); }, L"CalcEquilibrium"},
    {L"Failed to set overall pressure: refused", [](Env& e) { return e.Fail(L"SetProp", L"pressure", [&] { return e.Flash(L"TVF"); }); }, L"CalcEquilibrium"},
    {L"Unknown/unsupported property foo", [](Env& e) { return e.Flash(L"TP", Strings({L"foo"})); }, L"CalcProp"},
    // Queries
    {L"Invalid list of properties: ", [](Env& e) { _variant_t v; return e.p()->GetUniversalConstant(nullptr, kDoubles, &v); }, L"GetUniversalConstant"},
    {L"Unknown/unsupported constant: foo", [](Env& e) { _variant_t v; return e.p()->GetUniversalConstant(nullptr, Strings({L"molarGasConstant", L"foo"}), &v); }, L"GetUniversalConstant", L"ICapeThermoUniversalConstant"},
    {L"Failed to get ICapeThermoMaterialObject interface from material object: ", [](Env& e) { _variant_t v; return e.p()->GetComponentConstant(Material11(), Strings({L"charge"}), &v); }, L"GetComponentConstant"},
    {L"Failed to get list of components from material object: refused", [](Env& e) { _variant_t v; return e.Fail(L"ComponentIds", L"", [&] { return e.p()->GetComponentConstant(e.m->Dispatch(), Strings({L"charge"}), &v); }); }, L"GetComponentConstant"},
    {L"Compound list contains unknown compound ID \"WATER\"", [](Env& e) { _variant_t v; e.m->SetComponentIdsRaw(Strings({L"WATER"})); return e.p()->GetComponentConstant(e.m->Dispatch(), Strings({L"charge"}), &v); }, L"GetComponentConstant"},
    {L"Invalid list of constant identifiers: ", [](Env& e) { _variant_t v; return e.p()->GetComponentConstant(e.m->Dispatch(), kDoubles, &v); }, L"GetComponentConstant"},
    {L"Property ID list contains empty strings", [](Env& e) { _variant_t v; return e.p()->GetComponentConstant(e.m->Dispatch(), Strings({L""}), &v); }, L"GetComponentConstant"},
    {L"Unknown or unsupported compound constant ID \"foo\"", [](Env& e) { _variant_t v; return e.p()->GetComponentConstant(e.m->Dispatch(), Strings({L"foo"}), &v); }, L"GetComponentConstant"},
    {L"Invalid list of properties: ", [](Env& e) { _variant_t v; return e.p()->PropCheck(nullptr, kDoubles, &v); }, L"PropCheck"},
    {L"ValidityCheck is not implemented, see specification for details", [](Env& e) { _variant_t v; return e.p()->ValidityCheck(nullptr, _variant_t(), &v); }, L"ValidityCheck", kPP, static_cast<HRESULT>(0x80040509L)},
    // Null output pointers
    {L"", [](Env& e) { return e.p()->GetPhaseList(nullptr); }, L"GetPhaseList", kPP, E_POINTER},
    {L"", [](Env& e) { return e.p()->GetPropList(nullptr); }, L"GetPropList", kPP, E_POINTER},
    {L"", [](Env& e) { return e.p()->PropCheck(nullptr, Strings({L"density"}), nullptr); }, L"PropCheck", kPP, E_POINTER},
    {L"", [](Env& e) { _variant_t v; return e.p()->GetComponentConstant(nullptr, Strings({L"charge"}), &v); }, L"GetComponentConstant", kPP, E_POINTER},
    {L"", [](Env& e) { _variant_t v; return e.p()->GetComponentList(&v, &v, nullptr, &v, &v, &v); }, L"GetComponentList", kPP, E_POINTER},
};

TEST(Version10, EveryMessageIsRecordedWithItsOperationAndInterface) {
    Env env;
    for (const Case& c : kCases) {
        env.Reset();
        const std::wstring what = c.message + std::wstring(L" (") + c.scope + L")";
        EXPECT_EQ(c.call(env), c.hr) << Narrow(what + L": " + ErrorDescription(env.package));
        EXPECT_THAT(Narrow(ErrorDescription(env.package)), ::testing::StartsWith(Narrow(c.message))) << Narrow(what);
        EXPECT_EQ(ErrorScope(env.package), c.scope) << Narrow(what);
        EXPECT_EQ(ErrorInterface(env.package), c.interfaceName) << Narrow(what);
    }
}

TEST(Version10, ValuesStoredBeforeAFailureStay) {
    Env env;
    env.Reset();
    EXPECT_EQ(env.Fail(L"SetProp", L"enthalpy", [&] { return env.Calc({L"density", L"enthalpy"}); }), kFailed);
    EXPECT_TRUE(env.m->Get(L"density", L"Vapor", L"mole", L"Mixture"));
    env.Reset();
    EXPECT_EQ(env.Flash(L"TP", Strings({L"density", L"foo"})), kFailed);
    EXPECT_TRUE(env.m->Get(L"fraction", L"Vapor", L"mole") && env.m->Get(L"fraction", L"Liquid", L"mole"));
    // An empty property or phase list asks the material nothing.
    env.m->ClearCalls();
    EXPECT_EQ(env.Calc({}), S_OK);
    EXPECT_EQ(env.Calc({L"density"}, {}), S_OK);
    EXPECT_THAT(env.m->CallDescriptions(), ::testing::ElementsAre(L"ComponentIds()", L"ComponentIds()"));
}

// --- The thermo system ----------------------------------------------------------------------

void AddPackageDialog(HWND) {
    FlashStore::Get().WritePackage(L"AddedByDialog", FlashStore::Get().FluidFiles({L"METHANE"}));
}

TEST(Version10, ThermoSystemListsResolvesAndEditsPackages) {
    FlashStore::Get();
    auto system = tarnevo::MakeComObject<tarnevo::CThermoSystem>();
    _variant_t names;
    ASSERT_EQ(system->GetPropertyPackages(&names), S_OK);
    EXPECT_THAT(host::ReadStrings(names), ::testing::IsSupersetOf({L"NaturalGas", L"Propane"}));
    EXPECT_EQ(system->GetPropertyPackages(nullptr), E_POINTER);

    Microsoft::WRL::ComPtr<IDispatch> object;
    ASSERT_EQ(system->ResolvePropertyPackage(_bstr_t(L"Propane"), &object), S_OK);
    Microsoft::WRL::ComPtr<ICapeThermoPropertyPackage> package;
    ASSERT_EQ(object.As(&package), S_OK);
    _variant_t phases;
    ASSERT_EQ(package->GetPhaseList(&phases), S_OK);  // initialised on demand
    EXPECT_THAT(host::ReadStrings(phases), ::testing::ElementsAre(L"Vapor", L"Liquid", L"VaporLiquid"));
    ASSERT_EQ(system->ResolvePropertyPackage(_bstr_t(L"NoSuchPackage"), object.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(object.As(&package), S_OK);
    EXPECT_EQ(package->GetPhaseList(&phases), static_cast<HRESULT>(0x8004050FL));

    tarnevo::SetManagerDialog(&AddPackageDialog);
    EXPECT_EQ(system->Edit(), S_OK);
    tarnevo::SetManagerDialog(nullptr);
    ASSERT_EQ(system->GetPropertyPackages(&names), S_OK);
    EXPECT_THAT(host::ReadStrings(names), ::testing::Contains(L"AddedByDialog"));
    _bstr_t name;
    ASSERT_EQ(system->get_ComponentName(name.GetAddress()), S_OK);
    EXPECT_EQ(std::wstring(name), L"REFPROP Thermo System");
}

}  // namespace
