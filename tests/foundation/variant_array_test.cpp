// VariantArray validation, creation, element access and hand-over; result sizing; the
// property-bag string reader.
#include <gtest/gtest.h>
#include <windows.h>
#include <ocidl.h>
#include <comdef.h>

#include <string>
#include <vector>

#include "automation/VariantArray.h"
#include "capeobject/CapeFailure.h"

namespace {

using tarnevo::VariantArray;

// An owned VARIANT holding a SAFEARRAY with the given bounds (1 or 2 dimensions).
VARIANT MakeArray(VARTYPE type, std::vector<SAFEARRAYBOUND> bounds) {
    VARIANT value;
    VariantInit(&value);
    value.vt = static_cast<VARTYPE>(VT_ARRAY | type);
    value.parray = SafeArrayCreate(type, static_cast<UINT>(bounds.size()), bounds.data());
    return value;
}

TEST(VariantArrayValidate, EmptyIsAListOfNothingForAnyType) {
    VariantArray array;
    std::wstring error;
    EXPECT_TRUE(array.Validate(VT_R8, error));
    EXPECT_TRUE(array.Validate(VT_BSTR, error));
    EXPECT_EQ(array.Count(), 0);
    EXPECT_TRUE(error.empty());
}

TEST(VariantArrayValidate, RejectsWhatIsNotAOneDimensionalArrayOfTheType) {
    std::wstring error;
    VARIANT scalar;
    scalar.vt = VT_R8;
    scalar.dblVal = 1.5;
    VariantArray array;
    array.Attach(scalar, false);
    EXPECT_FALSE(array.Validate(VT_R8, error));
    EXPECT_EQ(error, L"Expected an array of type double precision");

    VARIANT strings = MakeArray(VT_BSTR, {{2, 0}});
    array.Attach(strings, true);
    EXPECT_FALSE(array.Validate(VT_R8, error));
    EXPECT_EQ(error, L"Expected an array of type double precision");
    EXPECT_FALSE(array.Validate(VT_I2, error));
    EXPECT_EQ(error, L"Expected an array of type short");

    VARIANT matrix = MakeArray(VT_BSTR, {{2, 0}, {2, 0}});
    array.Attach(matrix, true);
    EXPECT_FALSE(array.Validate(VT_BSTR, error));
    EXPECT_EQ(error, L"unexpected dimension; 1-dimensional array expected");

    VARIANT nullArray;
    nullArray.vt = VT_ARRAY | VT_R8;
    nullArray.parray = nullptr;
    VariantArray broken;
    broken.Attach(nullArray, false);
    EXPECT_FALSE(broken.Validate(VT_R8, error));
    EXPECT_EQ(error, L"unexpected dimension; 1-dimensional array expected");

    EXPECT_STREQ(tarnevo::VarTypeName(VT_VARIANT), L"VARIANT");
    EXPECT_STREQ(tarnevo::VarTypeName(VT_I4), L"long");
    EXPECT_STREQ(tarnevo::VarTypeName(VT_DATE), L"<unknown>");
}

TEST(VariantArrayValidate, TakesScriptArraysOfTheTypeByValueAndByReference) {
    VARIANT variants = MakeArray(VT_VARIANT, {{3, 1}}), strings = MakeArray(VT_BSTR, {{1, 0}});
    _variant_t elements[] = {_variant_t(2.5), _variant_t(short(3)), _variant_t(L"x"), _variant_t(7L)};
    for (LONG i = 1; i <= 3; ++i) SafeArrayPutElement(variants.parray, &i, &elements[i - 1]);
    VARIANT reference, typedReference;
    reference.vt = VT_BYREF | VT_VARIANT;
    reference.pvarVal = &variants;
    std::wstring error;
    VariantArray array;
    for (VARTYPE type : {VT_R8, VT_BSTR}) {
        array.Attach(reference, false);
        EXPECT_FALSE(array.Validate(type, error));
        EXPECT_EQ(error, std::wstring(L"Expected an array of type ") + tarnevo::VarTypeName(type));
    }
    LONG last = 3;
    SafeArrayPutElement(variants.parray, &last, &elements[3]);
    array.Attach(reference, false);
    ASSERT_TRUE(array.Validate(VT_R8, error)) << error;
    EXPECT_EQ(array.Count(), 3);
    EXPECT_DOUBLE_EQ(array.GetDouble(1) + array.GetDouble(2), 10.0);
    typedReference.vt = VT_BYREF | VT_ARRAY | VT_BSTR;
    typedReference.pparray = &strings.parray;
    array.Attach(typedReference, true);  // owned, but the array is the referrer's
    ASSERT_TRUE(array.Validate(VT_BSTR, error));
    EXPECT_EQ(array.Count(), 1);
    array.Release();
    EXPECT_EQ(VariantClear(&strings) | VariantClear(&variants), S_OK);
}

TEST(VariantArrayValidate, HonoursTheLowerBound) {
    VARIANT value = MakeArray(VT_R8, {{3, 1}});
    for (LONG i = 1; i <= 3; ++i) {
        double element = 10.0 * i;
        ASSERT_EQ(SafeArrayPutElement(value.parray, &i, &element), S_OK);
    }
    VariantArray array;
    array.Attach(value, true);
    std::wstring error;
    ASSERT_TRUE(array.Validate(VT_R8, error));
    EXPECT_EQ(array.LowerBound(), 1);
    EXPECT_EQ(array.Count(), 3);
    EXPECT_DOUBLE_EQ(array.GetDouble(0), 10.0);
    array.Lock();
    EXPECT_DOUBLE_EQ(array.Elements<double>()[0], 10.0);
    EXPECT_DOUBLE_EQ(array.Elements<double>()[2], 30.0);
    array.Unlock();

    VARIANT none = MakeArray(VT_R8, {{0, 5}});
    array.Attach(none, true);
    ASSERT_TRUE(array.Validate(VT_R8, error));
    EXPECT_EQ(array.Count(), 0);
}

TEST(VariantArrayStrings, NullElementsReadAsEmpty) {
    VARIANT value = MakeArray(VT_BSTR, {{2, 0}});
    LONG index = 0;
    BSTR text = SysAllocString(L"Methane");
    SafeArrayPutElement(value.parray, &index, text);
    SysFreeString(text);
    VariantArray array;
    array.Attach(value, true);
    std::wstring error;
    ASSERT_TRUE(array.Validate(VT_BSTR, error));
    array.Lock();
    EXPECT_EQ(array.StringAt(0), L"Methane");
    EXPECT_EQ(array.StringAt(1), L"");
    EXPECT_THROW(array.StringAt(2), tarnevo::CapeFailure);
}

TEST(VariantArrayCreate, CountZeroGivesEmptyAndResultsAreHandedOver) {
    VariantArray array;
    array.Create(0, VT_R8);
    EXPECT_EQ(array.Value().vt, VT_EMPTY);

    array.Create(3, VT_I4);
    EXPECT_EQ(array.Value().vt, VT_ARRAY | VT_I4);
    array.PutLong(2, 7);
    array.Create(2, VT_BSTR);
    array.PutString(1, L"Ethane");
    VARIANT out;
    VariantInit(&out);
    array.Lock();
    array.Detach(&out);
    EXPECT_FALSE(array.Owned());
    EXPECT_FALSE(array.Locked()) << "the host receives an unlocked array";
    ASSERT_EQ(out.vt, VT_ARRAY | VT_BSTR);
    LONG index = 1;
    BSTR text = nullptr;
    ASSERT_EQ(SafeArrayGetElement(out.parray, &index, &text), S_OK);
    EXPECT_STREQ(text, L"Ethane");
    SysFreeString(text);
    EXPECT_EQ(VariantClear(&out), S_OK);
    EXPECT_THROW(array.Detach(nullptr), tarnevo::CapeFailure);
}

TEST(VariantArrayCreate, AllocationFailureIsAClearOutOfMemoryFailure) {
    VariantArray array;
    array.Create(2, VT_R8);
    try {
        array.Create(4, VT_EMPTY);  // SafeArrayCreate refuses this element type
        FAIL() << "no failure";
    } catch (const tarnevo::CapeFailure& failure) {
        EXPECT_EQ(failure.message(), L"Out of memory");
        EXPECT_EQ(failure.hr(), E_OUTOFMEMORY);
    }
    EXPECT_EQ(array.Value().vt, VT_EMPTY);
    EXPECT_EQ(array.Count(), 0);
}

TEST(SizeCompoundResult, ReusesAnArrayOfTheRightSizeAndReplacesOthers) {
    VariantArray result;
    tarnevo::SizeCompoundResult(result, 3);
    result.PutDouble(1, 2.5);
    SAFEARRAY* first = result.Value().parray;
    tarnevo::SizeCompoundResult(result, 3);
    EXPECT_EQ(result.Value().parray, first);
    EXPECT_DOUBLE_EQ(result.GetDouble(1), 2.5);
    tarnevo::SizeCompoundResult(result, 2);
    EXPECT_EQ(result.Count(), 2);
    EXPECT_EQ(result.Value().vt, VT_ARRAY | VT_R8);
    tarnevo::SizeCompoundResult(result, 0);
    EXPECT_EQ(result.Value().vt, VT_EMPTY);
    EXPECT_EQ(result.Count(), 0);
}

TEST(VariantArraySequence, GrowsWithDefaultsAndReleasesWhatItDrops) {
    std::vector<VariantArray> items(2);
    items[0].Create(4, VT_R8);
    items.resize(5);
    EXPECT_EQ(items[0].Count(), 4) << "moved elements keep their values";
    EXPECT_EQ(items[4].Value().vt, VT_EMPTY);
    EXPECT_TRUE(items[4].Owned());
    items.resize(0);
}

// A property bag with one value, and an error log that records what is added.
class FakeBag : public IPropertyBag {
public:
    explicit FakeBag(VARIANT value, HRESULT readResult = S_OK) : value_(value), readResult_(readResult) {}
    STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
        lastName = name;
        if (FAILED(readResult_)) return readResult_;
        return VariantCopy(value, &value_);
    }
    STDMETHODIMP Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }
    std::wstring lastName;

private:
    VARIANT value_;
    HRESULT readResult_;
};

class FakeErrorLog : public IErrorLog {
public:
    STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP AddError(LPCOLESTR property, EXCEPINFO* info) override {
        entries.push_back(std::wstring(property) + L"|" + info->bstrSource + L"|" + info->bstrDescription);
        return S_OK;
    }
    std::vector<std::wstring> entries;
};

TEST(ReadBagString, ReadsStringsAndLogsOtherTypes) {
    VARIANT text;
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"[Package]");
    FakeBag stringBag(text);
    FakeErrorLog log;
    VariantArray value;
    EXPECT_TRUE(tarnevo::ReadBagString(&stringBag, &log, L"TARNEVO", L"configuration", value));
    EXPECT_EQ(stringBag.lastName, L"configuration");
    ASSERT_EQ(value.Value().vt, VT_BSTR);
    EXPECT_STREQ(value.Value().bstrVal, L"[Package]");
    EXPECT_TRUE(value.Owned());
    VariantClear(&text);

    VARIANT number;
    number.vt = VT_I4;
    number.lVal = 12;
    FakeBag numberBag(number);
    EXPECT_FALSE(tarnevo::ReadBagString(&numberBag, &log, L"TARNEVO", L"configuration", value));
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0], L"configuration|TARNEVO|unexpected data type");
    EXPECT_FALSE(tarnevo::ReadBagString(&numberBag, nullptr, L"TARNEVO", L"configuration", value));

    FakeBag failing(number, E_INVALIDARG);
    EXPECT_FALSE(tarnevo::ReadBagString(&failing, &log, L"TARNEVO", L"configuration", value));
    EXPECT_EQ(log.entries.size(), 1u) << "a failed read is not logged by the reader";
    EXPECT_EQ(value.Value().vt, VT_EMPTY);
}

}  // namespace
