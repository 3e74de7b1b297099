#include "tools/host/VariantValues.h"

#include <cstdio>
#include <cwchar>
#include <memory>
#include <new>

#include "com/OwnedHandles.h"

namespace tarnevo::host {
namespace {


// Element access for the life of the object (SafeArrayAccessData / SafeArrayUnaccessData).
class ArrayData {
public:
    explicit ArrayData(SAFEARRAY* array) : array_(array) {
        if (FAILED(SafeArrayAccessData(array_, &data_))) throw ValueError(L"the array cannot be accessed");
    }
    ~ArrayData() { SafeArrayUnaccessData(array_); }
    ArrayData(const ArrayData&) = delete;
    ArrayData& operator=(const ArrayData&) = delete;
    template <class T>
    T* As() const noexcept {
        return static_cast<T*>(data_);
    }

private:
    SAFEARRAY* array_;
    void* data_ = nullptr;
};

std::wstring Hex(unsigned value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%X", value);
    return text;
}

UniqueSafeArray NewArray(VARTYPE elementType, size_t count) {
    SAFEARRAYBOUND bound = {static_cast<ULONG>(count), 0};
    UniqueSafeArray array(SafeArrayCreate(elementType, 1, &bound));
    if (!array) throw std::bad_alloc();
    return array;
}

_variant_t Wrap(UniqueSafeArray array, VARTYPE elementType) {
    VARIANT value;
    VariantInit(&value);
    value.vt = static_cast<VARTYPE>(VT_ARRAY | elementType);
    value.parray = array.release();
    return _variant_t(value, false);  // takes ownership
}

// The array of `value` (after dereferencing) with its element type; null for VT_EMPTY.
SAFEARRAY* ArrayOf(const VARIANT& value, VARTYPE& elementType, const wchar_t* expected) {
    const VARIANT& v = Dereference(value);
    if (v.vt == VT_EMPTY) return nullptr;
    SAFEARRAY* array = nullptr;
    if (v.vt & VT_ARRAY) array = (v.vt & VT_BYREF) ? (v.pparray ? *v.pparray : nullptr) : v.parray;
    if (!array) throw ValueError(std::wstring(L"expected an array of ") + expected + L", got VARTYPE " + Hex(v.vt));
    if (SafeArrayGetDim(array) != 1) throw ValueError(L"expected a one-dimensional array");
    elementType = static_cast<VARTYPE>(v.vt & VT_TYPEMASK);
    return array;
}

LONG CountOf(SAFEARRAY* array) {
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    return upper - lower + 1;
}

bool IsNumber(VARTYPE vt) {
    switch (vt) {
        case VT_R8: case VT_R4: case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT:
        case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8: case VT_UINT: case VT_DECIMAL: case VT_CY:
            return true;
        default:
            return false;
    }
}

bool IsInteger(VARTYPE vt) {
    switch (vt) {
        case VT_I1: case VT_I2: case VT_I4: case VT_INT: case VT_UI1: case VT_UI2: case VT_UI4: case VT_UINT:
            return true;
        default:
            return false;
    }
}

// Converts one element of a VARIANT array to `type`; `accept` decides which element types qualify.
template <class Accept>
VARIANT ConvertElement(const VARIANT& element, VARTYPE type, Accept accept, const wchar_t* expected, LONG index) {
    const VARIANT& e = Dereference(element);
    VARIANT converted;
    VariantInit(&converted);
    if (!accept(e.vt) || FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&e), 0, type)))
        throw ValueError(L"element " + std::to_wstring(index) + L" is not " + expected + L" (VARTYPE " + Hex(e.vt) +
                         L")");
    return converted;
}

}  // namespace

const VARIANT& Dereference(const VARIANT& value) {
    const VARIANT* v = &value;
    while (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
    return *v;
}

_variant_t CopyIndirect(const VARIANT& value) {
    VARIANT copy;
    VariantInit(&copy);
    HRESULT hr = VariantCopyInd(&copy, const_cast<VARIANT*>(&Dereference(value)));
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (FAILED(hr)) throw ValueError(L"the value cannot be copied");
    return _variant_t(copy, false);
}

_variant_t DoubleArray(const std::vector<double>& values) {
    UniqueSafeArray array = NewArray(VT_R8, values.size());
    {
        ArrayData data(array.get());
        for (size_t i = 0; i < values.size(); ++i) data.As<double>()[i] = values[i];
    }
    return Wrap(std::move(array), VT_R8);
}

_variant_t DoubleArray(std::initializer_list<double> values) { return DoubleArray(std::vector<double>(values)); }

_variant_t StringArray(const std::vector<std::wstring>& values) {
    UniqueSafeArray array = NewArray(VT_BSTR, values.size());
    {
        ArrayData data(array.get());
        for (size_t i = 0; i < values.size(); ++i) {
            BSTR text = SysAllocStringLen(values[i].data(), static_cast<UINT>(values[i].size()));
            if (!text) throw std::bad_alloc();
            data.As<BSTR>()[i] = text;  // owned by the array from here
        }
    }
    return Wrap(std::move(array), VT_BSTR);
}

_variant_t StringArray(std::initializer_list<const wchar_t*> values) {
    UniqueSafeArray array = NewArray(VT_BSTR, values.size());
    {
        ArrayData data(array.get());
        size_t i = 0;
        for (const wchar_t* value : values) {
            if (value) {
                BSTR text = SysAllocString(value);
                if (!text) throw std::bad_alloc();
                data.As<BSTR>()[i] = text;
            }
            ++i;
        }
    }
    return Wrap(std::move(array), VT_BSTR);
}

_variant_t LongArray(const std::vector<long>& values) {
    UniqueSafeArray array = NewArray(VT_I4, values.size());
    {
        ArrayData data(array.get());
        for (size_t i = 0; i < values.size(); ++i) data.As<LONG>()[i] = values[i];
    }
    return Wrap(std::move(array), VT_I4);
}

_variant_t VariantArrayOf(const std::vector<_variant_t>& values) {
    UniqueSafeArray array = NewArray(VT_VARIANT, values.size());
    {
        ArrayData data(array.get());
        for (size_t i = 0; i < values.size(); ++i) {
            HRESULT hr = VariantCopy(&data.As<VARIANT>()[i], const_cast<_variant_t*>(&values[i]));
            if (FAILED(hr)) throw std::bad_alloc();
        }
    }
    return Wrap(std::move(array), VT_VARIANT);
}

_variant_t DoubleVariantArray(const std::vector<double>& values) {
    std::vector<_variant_t> elements(values.begin(), values.end());
    return VariantArrayOf(elements);
}

_variant_t StringVariantArray(const std::vector<std::wstring>& values) {
    std::vector<_variant_t> elements;
    for (const std::wstring& value : values) elements.emplace_back(value.c_str());
    return VariantArrayOf(elements);
}

std::vector<double> ReadDoubles(const VARIANT& value) {
    VARTYPE type = VT_EMPTY;
    SAFEARRAY* array = ArrayOf(value, type, L"doubles");
    std::vector<double> result;
    if (!array) return result;
    LONG count = CountOf(array);
    ArrayData data(array);
    if (type == VT_R8) {
        result.assign(data.As<double>(), data.As<double>() + count);
    } else if (type == VT_VARIANT) {
        for (LONG i = 0; i < count; ++i) {
            // An R8 result holds no resource to clear.
            result.push_back(ConvertElement(data.As<VARIANT>()[i], VT_R8, IsNumber, L"a number", i).dblVal);
        }
    } else {
        throw ValueError(L"expected an array of doubles, got VARTYPE " + Hex(VT_ARRAY | type));
    }
    return result;
}

std::vector<std::optional<std::wstring>> ReadOptionalStrings(const VARIANT& value) {
    VARTYPE type = VT_EMPTY;
    SAFEARRAY* array = ArrayOf(value, type, L"strings");
    std::vector<std::optional<std::wstring>> result;
    if (!array) return result;
    LONG count = CountOf(array);
    ArrayData data(array);
    for (LONG i = 0; i < count; ++i) {
        BSTR text = nullptr;
        if (type == VT_BSTR) {
            text = data.As<BSTR>()[i];
        } else if (type == VT_VARIANT) {
            const VARIANT& element = Dereference(data.As<VARIANT>()[i]);
            if (element.vt == VT_BSTR)
                text = element.bstrVal;
            else if (element.vt != VT_EMPTY && element.vt != VT_NULL)
                throw ValueError(L"element " + std::to_wstring(i) + L" is not a string (VARTYPE " + Hex(element.vt) +
                                 L")");
        } else {
            throw ValueError(L"expected an array of strings, got VARTYPE " + Hex(VT_ARRAY | type));
        }
        if (text)
            result.emplace_back(std::wstring(text, SysStringLen(text)));
        else
            result.emplace_back(std::nullopt);
    }
    return result;
}

std::vector<std::wstring> ReadStrings(const VARIANT& value) {
    std::vector<std::wstring> result;
    for (auto& text : ReadOptionalStrings(value)) result.push_back(text ? *text : std::wstring());
    return result;
}

std::vector<long> ReadLongs(const VARIANT& value) {
    VARTYPE type = VT_EMPTY;
    SAFEARRAY* array = ArrayOf(value, type, L"integers");
    std::vector<long> result;
    if (!array) return result;
    LONG count = CountOf(array);
    ArrayData data(array);
    switch (type) {
        case VT_I4: case VT_INT: result.assign(data.As<LONG>(), data.As<LONG>() + count); break;
        case VT_I2: result.assign(data.As<SHORT>(), data.As<SHORT>() + count); break;
        case VT_VARIANT:
            for (LONG i = 0; i < count; ++i) {
                result.push_back(ConvertElement(data.As<VARIANT>()[i], VT_I4, IsInteger, L"an integer", i).lVal);
            }
            break;
        default: throw ValueError(L"expected an array of integers, got VARTYPE " + Hex(VT_ARRAY | type));
    }
    return result;
}

std::vector<_variant_t> ReadVariants(const VARIANT& value) {
    VARTYPE type = VT_EMPTY;
    SAFEARRAY* array = ArrayOf(value, type, L"VARIANTs");
    std::vector<_variant_t> result;
    if (!array) return result;
    if (type != VT_VARIANT) throw ValueError(L"expected an array of VARIANTs, got VARTYPE " + Hex(VT_ARRAY | type));
    LONG count = CountOf(array);
    ArrayData data(array);
    for (LONG i = 0; i < count; ++i) result.emplace_back(data.As<VARIANT>()[i]);  // copies
    return result;
}

std::wstring AsciiLower(const std::wstring& text) {
    std::wstring lower(text);
    for (wchar_t& c : lower)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return lower;
}

bool EqualsNoCase(const std::wstring& a, const std::wstring& b) { return AsciiLower(a) == AsciiLower(b); }

}  // namespace tarnevo::host
