// The type library embedded in TARNEVO64.dll against the CAPE-OPEN interface tables:
// every interface with its IID, dual flag, and each member's slot, DISPID, invoke kind,
// parameter directions and types. Also the library identity and its classes.
#include <gtest/gtest.h>
#include <windows.h>
#include <wrl/client.h>

#include <map>
#include <string>
#include <vector>

#include "TARNEVO.h"
#include "tests/common/TestPaths.h"
#include "tests/foundation/ExpectedInterfaces.h"

extern "C" int tarnevo_vtable_slots_checked(void);

namespace {

using Microsoft::WRL::ComPtr;

using tarnevo_test::ExpectedRow;

struct ExpectedMember {
    int slot;
    long dispid;
    std::wstring member;
    int invkind;
    std::wstring params;
};
struct ExpectedInterface {
    std::wstring iid;
    std::vector<ExpectedMember> members;
};

std::map<std::wstring, ExpectedInterface> ExpectedInterfaces() {
    std::map<std::wstring, ExpectedInterface> result;
    for (const ExpectedRow& row : tarnevo_test::kExpectedInterfaces) {
        ExpectedInterface& entry = result[row.iface];
        entry.iid = row.iid;
        if (row.slot >= 0) entry.members.push_back({row.slot, row.dispid, row.member, row.invkind, row.params});
    }
    return result;
}

ITypeLib* Library() {
    static ComPtr<ITypeLib> library = [] {
        ComPtr<ITypeLib> loaded;
        HRESULT hr = LoadTypeLibEx(tarnevo_test::WindowsPath(TARNEVO_TEST_DLL).c_str(), REGKIND_NONE, &loaded);
        EXPECT_EQ(hr, S_OK) << "LoadTypeLibEx of the module";
        return loaded;
    }();
    return library.Get();
}

std::wstring TypeName(ITypeInfo* info, const TYPEDESC& desc) {
    switch (desc.vt) {
        case VT_PTR: return TypeName(info, *desc.lptdesc) + L"*";
        case VT_BSTR: return L"BSTR";
        case VT_VARIANT: return L"VARIANT";
        case VT_R8: return L"double";
        case VT_I4: return L"long";
        case VT_INT: return L"int";
        case VT_I2: return L"short";
        case VT_BOOL: return L"VARIANT_BOOL";
        case VT_DISPATCH: return L"IDispatch*";
        case VT_UNKNOWN: return L"IUnknown*";
        case VT_HRESULT: return L"HRESULT";
        case VT_USERDEFINED: {
            ComPtr<ITypeInfo> ref;
            BSTR name = nullptr;
            if (SUCCEEDED(info->GetRefTypeInfo(desc.hreftype, &ref)) &&
                SUCCEEDED(ref->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr))) {
                std::wstring text(name);
                SysFreeString(name);
                return text;
            }
            return L"<userdefined>";
        }
        default: return L"<vt " + std::to_wstring(desc.vt) + L">";
    }
}

std::wstring Directions(USHORT flags) {
    std::wstring text;
    auto add = [&text](const wchar_t* word) { text += (text.empty() ? L"" : L",") + std::wstring(word); };
    if (flags & PARAMFLAG_FIN) add(L"in");
    if (flags & PARAMFLAG_FOUT) add(L"out");
    if (flags & PARAMFLAG_FRETVAL) add(L"retval");
    return text;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class InterfaceTable : public ::testing::TestWithParam<std::wstring> {};

TEST_P(InterfaceTable, MatchesPublishedLayout) {
    const ExpectedInterface expected = ExpectedInterfaces().at(GetParam());
    ASSERT_NE(Library(), nullptr);
    IID iid;
    ASSERT_EQ(IIDFromString(expected.iid.c_str(), &iid), S_OK);
    ComPtr<ITypeInfo> dispatchInfo;
    ASSERT_EQ(Library()->GetTypeInfoOfGuid(iid, &dispatchInfo), S_OK) << "interface missing";

    BSTR name = nullptr;
    ASSERT_EQ(dispatchInfo->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(std::wstring(name), GetParam());
    SysFreeString(name);

    // The vtable side of the dual interface.
    HREFTYPE vtableRef = 0;
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(dispatchInfo->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef), S_OK) << "not dual";
    ASSERT_EQ(dispatchInfo->GetRefTypeInfo(vtableRef, &info), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
    EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
    EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    EXPECT_EQ(attr->cImplTypes, 1);
    const WORD functionCount = attr->cFuncs;
    info->ReleaseTypeAttr(attr);

    ComPtr<ITypeInfo> base;
    HREFTYPE baseRef = 0;
    ASSERT_EQ(info->GetRefTypeOfImplType(0, &baseRef), S_OK);
    ASSERT_EQ(info->GetRefTypeInfo(baseRef, &base), S_OK);
    ASSERT_EQ(base->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->guid, IID_IDispatch) << "derives directly from IDispatch";
    base->ReleaseTypeAttr(attr);

    ASSERT_EQ(functionCount, expected.members.size());
    for (WORD i = 0; i < functionCount; ++i) {
        const ExpectedMember& want = expected.members[i];
        SCOPED_TRACE(Narrow(want.member));
        FUNCDESC* func = nullptr;
        ASSERT_EQ(info->GetFuncDesc(i, &func), S_OK);
        BSTR memberName = nullptr;
        info->GetDocumentation(func->memid, &memberName, nullptr, nullptr, nullptr);
        EXPECT_EQ(std::wstring(memberName ? memberName : L""), want.member);
        SysFreeString(memberName);
        EXPECT_EQ(func->oVft, want.slot * 8);
        EXPECT_EQ(func->memid, want.dispid);
        EXPECT_EQ(static_cast<int>(func->invkind), want.invkind);
        EXPECT_EQ(func->callconv, CC_STDCALL);
        EXPECT_EQ(func->elemdescFunc.tdesc.vt, VT_HRESULT);
        EXPECT_EQ(func->wFuncFlags, 0);
        EXPECT_EQ(func->cParamsOpt, 0);
        std::wstring params;
        for (SHORT p = 0; p < func->cParams; ++p) {
            const ELEMDESC& param = func->lprgelemdescParam[p];
            if (p) params += L"; ";
            params += Directions(param.paramdesc.wParamFlags) + L" " + TypeName(info.Get(), param.tdesc);
        }
        EXPECT_EQ(params, want.params);
        info->ReleaseFuncDesc(func);
    }
}

std::vector<std::wstring> InterfaceNames() {
    std::vector<std::wstring> names;
    for (const auto& entry : ExpectedInterfaces()) names.push_back(entry.first);
    return names;
}

INSTANTIATE_TEST_SUITE_P(CapeOpen, InterfaceTable, ::testing::ValuesIn(InterfaceNames()),
                         [](const ::testing::TestParamInfo<std::wstring>& param) { return Narrow(param.param); });

TEST(TypeLibrary, IsTarnevoLibWithItsThreeClasses) {
    ASSERT_NE(Library(), nullptr);
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(Library()->GetLibAttr(&attr), S_OK);
    EXPECT_EQ(attr->guid, LIBID_TARNEVOLib);
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    Library()->ReleaseTLibAttr(attr);
    BSTR name = nullptr, help = nullptr;
    ASSERT_EQ(Library()->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
    EXPECT_STREQ(name, L"TARNEVOLib");
    EXPECT_STREQ(help, L"TARNEVO 1.0 Type Library");
    SysFreeString(name);
    SysFreeString(help);

    const std::pair<const CLSID*, const wchar_t*> classes[] = {
        {&CLSID_PropertyPackageManager, L"PropertyPackageManager"},
        {&CLSID_PropertyPackage, L"PropertyPackage"},
        {&CLSID_ThermoSystem, L"ThermoSystem"}};
    for (const auto& cls : classes) {
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(Library()->GetTypeInfoOfGuid(*cls.first, &info), S_OK) << Narrow(cls.second);
        TYPEATTR* typeAttr = nullptr;
        ASSERT_EQ(info->GetTypeAttr(&typeAttr), S_OK);
        EXPECT_EQ(typeAttr->typekind, TKIND_COCLASS);
        info->ReleaseTypeAttr(typeAttr);
        BSTR className = nullptr;
        info->GetDocumentation(MEMBERID_NIL, &className, nullptr, nullptr, nullptr);
        EXPECT_EQ(std::wstring(className), cls.second);
        SysFreeString(className);
    }
}

TEST(TypeLibrary, DeclaresOwnNewPropertyPackageInterface) {
    ASSERT_NE(Library(), nullptr);
    ComPtr<ITypeInfo> dispatchInfo, info;
    ASSERT_EQ(Library()->GetTypeInfoOfGuid(IID_ICapeThermoNewPropertyPackage, &dispatchInfo), S_OK);
    HREFTYPE ref = 0;
    ASSERT_EQ(dispatchInfo->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref), S_OK);
    ASSERT_EQ(dispatchInfo->GetRefTypeInfo(ref, &info), S_OK);
    FUNCDESC* func = nullptr;
    ASSERT_EQ(info->GetFuncDesc(0, &func), S_OK);
    EXPECT_EQ(func->oVft, 7 * 8);
    EXPECT_EQ(func->invkind, INVOKE_FUNC);
    ASSERT_EQ(func->cParams, 1);
    EXPECT_EQ(Directions(func->lprgelemdescParam[0].paramdesc.wParamFlags), L"out,retval");
    EXPECT_EQ(TypeName(info.Get(), func->lprgelemdescParam[0].tdesc), L"IDispatch**");
    info->ReleaseFuncDesc(func);
}

TEST(TypeLibrary, VtableSlotsCheckedAtCompileTime) { EXPECT_EQ(tarnevo_vtable_slots_checked(), 112); }

}  // namespace
