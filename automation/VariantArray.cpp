#include "automation/VariantArray.h"

#include <comdef.h>

#include <memory>
#include <utility>

#include "capeobject/CapeFailure.h"

namespace tarnevo {
namespace {

void ThrowIfFailed(HRESULT hr, const wchar_t* what) {
    if (FAILED(hr)) throw CapeFailure(what, hr);
}

bool IsNumber(VARTYPE type) noexcept {
    switch (type) {
        case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT:
        case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8: case VT_UINT:
        case VT_R4: case VT_R8: case VT_CY: case VT_DECIMAL: return true;
        default: return false;
    }
}

// The array a script passes: a by-reference array or a by-reference VARIANT holding one is
// read through the reference; anything else is `value` itself.
VARIANT Dereferenced(const VARIANT& value) noexcept {
    VARIANT plain = value;
    if (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal && !(value.pvarVal->vt & VT_BYREF))
        plain = *value.pvarVal;
    else if ((value.vt & VT_BYREF) && (value.vt & VT_ARRAY) && value.pparray) {
        plain.vt = static_cast<VARTYPE>(value.vt & ~VT_BYREF);
        plain.parray = *value.pparray;
    }
    return plain;
}

// A typed copy of a one-dimensional VARIANT array whose elements are all strings
// (`elementType` VT_BSTR) or all numbers (VT_R8); null when they are not.
SAFEARRAY* TypedCopy(SAFEARRAY* variants, VARTYPE elementType) {
    LONG lower = 0, upper = -1;
    if (!variants || SafeArrayGetDim(variants) != 1 || FAILED(SafeArrayGetLBound(variants, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(variants, 1, &upper)))
        return nullptr;
    const LONGLONG count = static_cast<LONGLONG>(upper) - lower + 1;
    if (count < 0 || count > 0x7FFFFFFF) return nullptr;
    SAFEARRAYBOUND bound = {static_cast<ULONG>(count), 0};
    std::unique_ptr<SAFEARRAY, decltype(&SafeArrayDestroy)> copy(SafeArrayCreate(elementType, 1, &bound),
                                                                  &SafeArrayDestroy);
    if (!copy) throw CapeFailure(L"Out of memory", E_OUTOFMEMORY);
    for (LONG i = 0; i < count; ++i) {
        LONG position = lower + i;
        _variant_t element;
        if (FAILED(SafeArrayGetElement(variants, &position, element.GetAddress()))) return nullptr;
        const VARTYPE type = element.vt;
        if (elementType == VT_BSTR ? type != VT_BSTR : !IsNumber(type)) return nullptr;
        if (elementType == VT_R8 && FAILED(VariantChangeType(&element, &element, 0, VT_R8))) return nullptr;
        void* data = elementType == VT_BSTR ? static_cast<void*>(element.bstrVal) : &element.dblVal;
        ThrowIfFailed(SafeArrayPutElement(copy.get(), &i, data), L"Failed to write array element");
    }
    return copy.release();
}

}  // namespace

const wchar_t* VarTypeName(VARTYPE elementType) noexcept {
    switch (elementType) {
        case VT_I2: return L"short";
        case VT_I4: return L"long";
        case VT_R8: return L"double precision";
        case VT_BSTR: return L"string";
        case VT_VARIANT: return L"VARIANT";
        default: return L"<unknown>";
    }
}

VariantArray::VariantArray() noexcept { VariantInit(&value_); }

VariantArray::~VariantArray() { Release(); }

VariantArray::VariantArray(VariantArray&& other) noexcept
    : value_(other.value_), owned_(other.owned_), lowerBound_(other.lowerBound_), count_(other.count_),
      locked_(other.locked_) {
    VariantInit(&other.value_);
    other.owned_ = true;
    other.lowerBound_ = other.count_ = 0;
    other.locked_ = false;
}

VariantArray& VariantArray::operator=(VariantArray&& other) noexcept {
    if (this != &other) {
        Release();
        value_ = other.value_;
        owned_ = other.owned_;
        lowerBound_ = other.lowerBound_;
        count_ = other.count_;
        locked_ = other.locked_;
        VariantInit(&other.value_);
        other.owned_ = true;
        other.lowerBound_ = other.count_ = 0;
        other.locked_ = false;
    }
    return *this;
}

void VariantArray::Release() noexcept {
    if (locked_) Unlock();
    if (owned_) VariantClear(&value_);
}

void VariantArray::Attach(const VARIANT& source, bool own) noexcept {
    Release();
    value_ = source;
    owned_ = own;
    lowerBound_ = 0;
    count_ = 0;
}

bool VariantArray::Validate(VARTYPE elementType, std::wstring& error) noexcept {
    try {
        ConvertScriptArray(elementType);
        if (value_.vt == VT_EMPTY) {
            lowerBound_ = 0;
            count_ = 0;
            return true;
        }
        if (value_.vt != (VT_ARRAY | elementType)) {
            error = std::wstring(L"Expected an array of type ") + VarTypeName(elementType);
            return false;
        }
        if (!value_.parray || SafeArrayGetDim(value_.parray) != 1) {
            error = L"unexpected dimension; 1-dimensional array expected";
            return false;
        }
        LONG lower = 0, upper = 0;
        if (FAILED(SafeArrayGetLBound(value_.parray, 1, &lower))) {
            error = L"failed to get lower bound";
            return false;
        }
        if (FAILED(SafeArrayGetUBound(value_.parray, 1, &upper))) {
            error = L"failed to get upper bound";
            return false;
        }
        const LONGLONG count = static_cast<LONGLONG>(upper) - lower + 1;
        if (count < 0 || count > 0x7FFFFFFF) {
            error = L"failed to get upper bound";
            return false;
        }
        lowerBound_ = lower;
        count_ = static_cast<LONG>(count);
        return true;
    } catch (...) {
        // No memory for a converted copy or for the message.
        try {
            error = L"Out of memory";
        } catch (...) {
        }
        return false;
    }
}

void VariantArray::ConvertScriptArray(VARTYPE elementType) {
    if (locked_) return;
    VARIANT plain = Dereferenced(value_);
    if (plain.vt == (VT_ARRAY | VT_VARIANT) && (elementType == VT_BSTR || elementType == VT_R8)) {
        SAFEARRAY* typed = TypedCopy(plain.parray, elementType);
        if (!typed) return;
        Release();
        VariantInit(&value_);
        value_.vt = static_cast<VARTYPE>(VT_ARRAY | elementType);
        value_.parray = typed;
        owned_ = true;
    } else if (plain.vt != value_.vt) {
        // Borrowed through the reference; whoever owns the referenced array keeps it.
        Release();
        value_ = plain;
        owned_ = false;
    }
}

void VariantArray::Create(LONG count, VARTYPE elementType) {
    Release();
    VariantInit(&value_);
    owned_ = true;
    lowerBound_ = 0;
    count_ = 0;
    if (count == 0) return;
    if (count < 0) throw CapeFailure(L"Invalid array size", E_INVALIDARG);
    SAFEARRAYBOUND bound = {static_cast<ULONG>(count), 0};
    SAFEARRAY* array = SafeArrayCreate(elementType, 1, &bound);
    if (!array) throw CapeFailure(L"Out of memory", E_OUTOFMEMORY);
    value_.vt = static_cast<VARTYPE>(VT_ARRAY | elementType);
    value_.parray = array;
    count_ = count;
}

void VariantArray::Lock() {
    if (locked_) return;
    if (!(value_.vt & VT_ARRAY) || (value_.vt & VT_BYREF) || !value_.parray)
        throw CapeFailure(L"No array to lock", E_UNEXPECTED);
    ThrowIfFailed(SafeArrayLock(value_.parray), L"Failed to lock array");
    locked_ = true;
}

void VariantArray::Unlock() noexcept {
    if (!locked_) return;
    SafeArrayUnlock(value_.parray);
    locked_ = false;
}

std::wstring VariantArray::StringAt(LONG index) const {
    BSTR* strings = Elements<BSTR>();
    if (!strings || value_.vt != (VT_ARRAY | VT_BSTR) || index < 0 || index >= count_)
        throw CapeFailure(L"index out of bounds", E_INVALIDARG);
    BSTR text = strings[index];
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

double VariantArray::GetDouble(LONG index) const {
    if (!(value_.vt & VT_ARRAY) || !value_.parray) throw CapeFailure(L"No array to read", E_UNEXPECTED);
    LONG position = lowerBound_ + index;
    double result = 0.0;
    ThrowIfFailed(SafeArrayGetElement(value_.parray, &position, &result), L"Failed to read array element");
    return result;
}

void VariantArray::PutDouble(LONG index, double value) {
    if (value_.vt != (VT_ARRAY | VT_R8) || !value_.parray) throw CapeFailure(L"No double array", E_UNEXPECTED);
    ThrowIfFailed(SafeArrayPutElement(value_.parray, &index, &value), L"Failed to write array element");
}

void VariantArray::PutLong(LONG index, LONG value) {
    if (value_.vt != (VT_ARRAY | VT_I4) || !value_.parray) throw CapeFailure(L"No long array", E_UNEXPECTED);
    ThrowIfFailed(SafeArrayPutElement(value_.parray, &index, &value), L"Failed to write array element");
}

void VariantArray::PutString(LONG index, const std::wstring& value) {
    if (value_.vt != (VT_ARRAY | VT_BSTR) || !value_.parray) throw CapeFailure(L"No string array", E_UNEXPECTED);
    _bstr_t text(value.c_str());  // SafeArrayPutElement stores a copy
    ThrowIfFailed(SafeArrayPutElement(value_.parray, &index, text.GetBSTR()), L"Failed to write array element");
}

void VariantArray::Detach(VARIANT* out) {
    if (!out) throw CapeFailure(L"Invalid output pointer", E_POINTER);
    Unlock();  // a locked array could not be destroyed by the caller
    *out = value_;
    owned_ = false;
}

VARIANT* VariantArray::ResetForOutput() noexcept {
    Release();
    VariantInit(&value_);
    owned_ = true;
    lowerBound_ = 0;
    count_ = 0;
    return &value_;
}

void SizeCompoundResult(VariantArray& result, LONG n) {
    if (n > 0 && result.Value().vt == (VT_ARRAY | VT_R8) && result.Value().parray && result.Count() == n) return;
    result.Create(n, VT_R8);
}

bool ReadBagString(IPropertyBag* bag, IErrorLog* errorLog, const wchar_t* source, const wchar_t* property,
                   VariantArray& value) {
    VARIANT* target = value.ResetForOutput();
    if (!bag) return false;
    if (FAILED(bag->Read(property, target, errorLog))) return false;
    if (target->vt == VT_BSTR) return true;
    if (errorLog) {
        _bstr_t sourceText(source ? source : L"");
        _bstr_t description(L"unexpected data type");
        EXCEPINFO info = {};
        info.bstrSource = sourceText.GetBSTR();
        info.bstrDescription = description.GetBSTR();
        info.scode = E_FAIL;
        errorLog->AddError(property, &info);
    }
    return false;
}

}  // namespace tarnevo
