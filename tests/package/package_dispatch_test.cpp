// Late binding of a package: every member of every interface by name through the one IDispatch,
// and random DISPPARAMS on every DISPID, which must only return.
#include <gtest/gtest.h>

#include <comdef.h>

#include <random>
#include <set>

#include "package/PackageEditorSeam.h"
#include "package/PackageFactory.h"
#include "tests/foundation/ExpectedInterfaces.h"
#include "tests/refprop/support/TestStore.h"

using namespace tarnevo_test;

namespace {

DISPID IdOf(IDispatch* dispatch, const wchar_t* member) {
    LPOLESTR name = const_cast<LPOLESTR>(member);
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK) << Narrow(member);
    return id;
}

TEST(PackageDispatch, EveryMemberByNameAndRandomCallsOnEveryDispid) {
    TestStore store;
    store.WritePackage(L"Gas", kTwoCompoundDefinition);
    tarnevo::SetPackageEditor([](HWND, const std::string&, std::string&) { return false; });
    tarnevo::PropertyPackagePtr package = tarnevo::CreatePropertyPackage(L"Gas");
    Microsoft::WRL::ComPtr<IDispatch> dispatch;
    ASSERT_EQ(package->QueryInterface(IID_PPV_ARGS(&dispatch)), S_OK);
    std::set<DISPID> libraryIds;
    for (const ExpectedRow& row : kExpectedInterfaces) libraryIds.insert(row.dispid);
    std::vector<DISPID> ids;
    for (const ExpectedRow& row : kExpectedInterfaces) {
        IID iid;
        Microsoft::WRL::ComPtr<IUnknown> offered;
        if (row.slot < 0 || FAILED(IIDFromString(row.iid, &iid)) || FAILED(package->QueryInterface(iid, &offered)))
            continue;
        // The default interface keeps the library's DISPIDs; others get ones the library does not use.
        ids.push_back(IdOf(dispatch.Get(), row.member));
        if (iid == IID_ICapeThermoCompounds) {
            EXPECT_EQ(ids.back(), row.dispid) << Narrow(row.member);
        }
        if (ids.back() != row.dispid) {
            EXPECT_EQ(libraryIds.count(ids.back()), 0u) << Narrow(row.member);
        }
    }
    // A name of a 1.1 and a 1.0 interface is the 1.1 member.
    _variant_t gravity(L"standardAccelerationOfGravity"), value;
    DISPPARAMS params = {&gravity, nullptr, 1, 0};
    EXPECT_EQ(dispatch->Invoke(IdOf(dispatch.Get(), L"GetUniversalConstant"), IID_NULL, 0, DISPATCH_METHOD, &params,
                               &value, nullptr, nullptr),
              S_OK);
    // One argument too many, a missing argument array, a missing DISPID array.
    EXPECT_EQ(dispatch->Invoke(IdOf(dispatch.Get(), L"UnsetMaterial"), IID_NULL, 0, DISPATCH_METHOD, &params, &value,
                               nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    params.rgvarg = nullptr;
    EXPECT_EQ(dispatch->Invoke(4, IID_NULL, 0, DISPATCH_METHOD, &params, &value, nullptr, nullptr), E_INVALIDARG);
    LPOLESTR initialize = const_cast<LPOLESTR>(L"Initialize");
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &initialize, 1, 0, nullptr), E_INVALIDARG);

    std::mt19937 random(15);
    const VARTYPE types[] = {VT_EMPTY, VT_NULL, VT_I2, VT_I4, VT_R8, VT_BSTR, VT_DISPATCH, VT_BOOL, VT_ERROR,
                             VT_UNKNOWN, VT_ARRAY | VT_BSTR, VT_ARRAY | VT_VARIANT, VT_BYREF | VT_VARIANT,
                             VT_BYREF | VT_R8, 0x7FF};
    const WORD flags[] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT,
                          DISPATCH_METHOD | DISPATCH_PROPERTYGET};
    for (int round = 0; round < 10000; ++round) {
        std::vector<_variant_t> arguments(random() % 7);
        _variant_t referenced(L"Vapor");
        for (_variant_t& argument : arguments) {
            argument.vt = types[random() % (sizeof types / sizeof types[0])];
            argument.llVal = 0;
            if (argument.vt == VT_BSTR && random() % 2) argument.bstrVal = SysAllocString(L"propane");
            if (argument.vt == (VT_BYREF | VT_VARIANT)) argument.pvarVal = &referenced;
            if (argument.vt & VT_ARRAY) argument.parray = SafeArrayCreateVector(argument.vt & VT_TYPEMASK, 0, 2);
        }
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS fuzzed = {random() % 8 ? arguments.data() : nullptr, random() % 4 ? nullptr : &named,
                             static_cast<UINT>(arguments.size()), 0};
        fuzzed.cNamedArgs = fuzzed.rgdispidNamedArgs && !arguments.empty() ? 1 : 0;
        EXCEPINFO exception = {};
        UINT argError = 0;
        dispatch->Invoke(ids[random() % ids.size()], IID_NULL, 0, flags[random() % 4], random() % 4 ? &fuzzed : nullptr,
                         random() % 2 ? value.GetAddress() : nullptr, random() % 2 ? &exception : nullptr,
                         random() % 2 ? &argError : nullptr);
        for (BSTR text : {exception.bstrSource, exception.bstrDescription, exception.bstrHelpFile}) SysFreeString(text);
        for (_variant_t& argument : arguments)
            if ((argument.vt & VT_BYREF) || argument.vt == 0x7FF) argument.vt = VT_EMPTY;  // not ours to clear
    }
    tarnevo::SetPackageEditor(nullptr);
}

}  // namespace
