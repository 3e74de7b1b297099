#include "automation/VariantArray.h"

#include <comdef.h>

#include <utility>

#include "errors/CapeFailure.h"

namespace tarnevo {
namespace {

void ThrowIfFailed(HRESULT hr, const wchar_t* what) {
    if (FAILED(hr)) throw CapeFailure(what, hr);
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
        // Only the message assignment can throw; the array itself is not usable then either.
        return false;
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
