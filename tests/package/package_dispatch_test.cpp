// Late binding of a package: every member of every interface by name through the one IDispatch,
// and random DISPPARAMS on every DISPID, which must only return.
#include <gtest/gtest.h>

#include <comdef.h>

#include <random>
#include <set>

#include "package/PackageEditorSeam.h"
#include "package/PackageFactory.h"
#include "tests/refprop/support/TestStore.h"

using namespace tarnevo_test;
using Microsoft::WRL::ComPtr;

namespace {

struct Member {
    std::wstring name;
    MEMBERID memid;
    bool ownInterface;  // of the interface IDispatch answers for
};

// The members of every dual interface the package implements, and every DISPID of the library.
std::vector<Member> PackageMembers(IUnknown* package, std::set<MEMBERID>& libraryIds) {
    ITypeLib* library = nullptr;
    EXPECT_EQ(tarnevo::EmbeddedTypeLibrary(&library), S_OK);
    std::vector<Member> members;
    for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
        ComPtr<ITypeInfo> info;
        TYPEATTR* attributes = nullptr;
        library->GetTypeInfo(i, &info);
        info->GetTypeAttr(&attributes);
        ComPtr<IUnknown> offered;
        const bool implemented = attributes->typekind == TKIND_DISPATCH &&
                                 SUCCEEDED(package->QueryInterface(attributes->guid, &offered));
        for (WORD f = 0; f < attributes->cFuncs; ++f) {
            FUNCDESC* function = nullptr;
            info->GetFuncDesc(f, &function);
            libraryIds.insert(function->memid);
            _bstr_t name;
            info->GetDocumentation(function->memid, name.GetAddress(), nullptr, nullptr, nullptr);
            if (implemented && function->memid < 0x60000000)  // not IDispatch's own
                members.push_back({static_cast<wchar_t*>(name), function->memid,
                                   attributes->guid == IID_ICapeThermoCompounds});
            info->ReleaseFuncDesc(function);
        }
        info->ReleaseTypeAttr(attributes);
    }
    return members;
}

TEST(PackageDispatch, EveryMemberByNameAndRandomCallsOnEveryDispid) {
    TestStore store;
    store.WritePackage(L"Gas", kTwoCompoundDefinition);
    tarnevo::SetPackageEditor([](HWND, const std::string&, std::string&) { return false; });
    tarnevo::PropertyPackagePtr package = tarnevo::CreatePropertyPackage(L"Gas");
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(package->QueryInterface(IID_PPV_ARGS(&dispatch)), S_OK);
    std::set<MEMBERID> libraryIds;
    std::vector<DISPID> ids;
    for (const Member& member : PackageMembers(dispatch.Get(), libraryIds)) {
        LPOLESTR name = const_cast<LPOLESTR>(member.name.c_str());
        DISPID id = DISPID_UNKNOWN;
        ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK) << Narrow(member.name);
        // The default interface keeps the library's DISPIDs; others get ones the library does not use.
        if (member.ownInterface) EXPECT_EQ(id, member.memid) << Narrow(member.name);
        if (!member.ownInterface && id != member.memid) EXPECT_EQ(libraryIds.count(id), 0u) << Narrow(member.name);
        ids.push_back(id);
    }
    // A name in a 1.1 and a 1.0 interface is the 1.1 member.
    LPOLESTR constant = const_cast<LPOLESTR>(L"GetUniversalConstant");
    DISPID constantId = 0;
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &constant, 1, 0, &constantId), S_OK);
    _variant_t gravity(L"standardAccelerationOfGravity"), value;
    DISPPARAMS byName = {&gravity, nullptr, 1, 0};
    ASSERT_EQ(dispatch->Invoke(constantId, IID_NULL, 0, DISPATCH_METHOD, &byName, &value, nullptr, nullptr), S_OK);
    EXPECT_EQ(value.vt, VT_R8);

    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, nullptr, 1, 0, ids.data()), E_INVALIDARG);
    LPOLESTR initialize = const_cast<LPOLESTR>(L"Initialize");
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &initialize, 1, 0, nullptr), E_INVALIDARG);
    DISPPARAMS extra = {nullptr, nullptr, 1, 0};
    EXPECT_EQ(dispatch->Invoke(ids.front(), IID_NULL, 0, DISPATCH_METHOD, &extra, nullptr, nullptr, nullptr),
              E_INVALIDARG);
    _variant_t one(1.0), result;
    extra.rgvarg = &one;
    EXPECT_EQ(dispatch->Invoke(4, IID_NULL, 0, DISPATCH_METHOD, &extra, &result, nullptr, nullptr),  // GetNumCompounds
              DISP_E_BADPARAMCOUNT);

    std::mt19937 random(15);
    const VARTYPE types[] = {VT_EMPTY, VT_NULL, VT_I2, VT_I4, VT_R8, VT_BSTR, VT_DISPATCH, VT_BOOL, VT_ERROR,
                             VT_UNKNOWN, VT_ARRAY | VT_BSTR, VT_ARRAY | VT_VARIANT, VT_BYREF | VT_VARIANT,
                             VT_BYREF | VT_R8, 0x7FF};
    for (int round = 0; round < 10000; ++round) {
        const DISPID id = ids[random() % ids.size()];
        std::vector<_variant_t> arguments(random() % 7);
        _variant_t referenced(L"Vapor");
        for (_variant_t& argument : arguments) {
            argument.vt = types[random() % (sizeof types / sizeof types[0])];
            argument.llVal = 0;
            if (argument.vt == VT_BSTR && random() % 2) argument.bstrVal = SysAllocString(L"propane");
            if (argument.vt == (VT_BYREF | VT_VARIANT)) argument.pvarVal = &referenced;
            if (argument.vt & VT_ARRAY)
                argument.parray = SafeArrayCreateVector(argument.vt & VT_TYPEMASK, 0, random() % 3);
        }
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params = {random() % 8 ? arguments.data() : nullptr, random() % 4 ? nullptr : &named,
                             static_cast<UINT>(arguments.size()), 0};
        params.cNamedArgs = params.rgdispidNamedArgs && !arguments.empty() ? 1 : 0;
        const WORD flags[] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT,
                              DISPATCH_METHOD | DISPATCH_PROPERTYGET};
        EXCEPINFO exception = {};
        UINT argError = 0;
        VARIANT* out = random() % 2 ? result.GetAddress() : nullptr;
        dispatch->Invoke(id, IID_NULL, 0, flags[random() % 4], random() % 4 ? &params : nullptr, out,
                         random() % 2 ? &exception : nullptr, random() % 2 ? &argError : nullptr);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        for (_variant_t& argument : arguments)
            if ((argument.vt & VT_BYREF) || argument.vt == 0x7FF) argument.vt = VT_EMPTY;  // not ours to clear
        VariantClear(&result);
    }
    tarnevo::SetPackageEditor(nullptr);
}

}  // namespace
