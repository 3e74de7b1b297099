// VariantArray: the owning or borrowing wrapper of one automation VARIANT that holds nothing
// (VT_EMPTY) or a one-dimensional SAFEARRAY. Every list exchanged with a host goes through it.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <mutex>
#include <string>

namespace tarnevo {

// Name of an element type in validation messages ("double precision", "string", ...).
const wchar_t* VarTypeName(VARTYPE elementType) noexcept;

class VariantArray {
public:
    VariantArray() noexcept;
    ~VariantArray();
    VariantArray(VariantArray&& other) noexcept;
    VariantArray& operator=(VariantArray&& other) noexcept;
    VariantArray(const VariantArray&) = delete;
    VariantArray& operator=(const VariantArray&) = delete;

    // Holds a bitwise copy of `source` (no VariantCopy); `own` makes this wrapper clear it.
    void Attach(const VARIANT& source, bool own) noexcept;
    // True when the value is a usable one-dimensional array of `elementType` (VT_EMPTY is an
    // empty list); sets lower bound and count. On false, `error` holds the message.
    // What scripts pass is taken too: a by-reference array (or VARIANT holding one) is read
    // through the reference, and a VARIANT array whose elements are all strings (VT_BSTR) or
    // all numbers (VT_R8) is replaced by an owned typed copy with lower bound 0.
    bool Validate(VARTYPE elementType, std::wstring& error) noexcept;
    // A new owned array of `count` elements (lower bound 0); count 0 gives VT_EMPTY.
    // Throws CapeFailure "Out of memory" (E_OUTOFMEMORY) when the array cannot be allocated.
    void Create(LONG count, VARTYPE elementType);
    // Direct element access between Lock and Unlock (Elements / StringAt index from 0).
    void Lock();
    void Unlock() noexcept;
    template <class T>
    T* Elements() const noexcept {
        return locked_ ? static_cast<T*>(value_.parray->pvData) : nullptr;
    }
    // Element i of a locked string array; a null BSTR counts as empty.
    std::wstring StringAt(LONG index) const;
    // Element access without locking; failures throw CapeFailure with the HRESULT.
    double GetDouble(LONG index) const;
    void PutDouble(LONG index, double value);
    void PutLong(LONG index, LONG value);
    void PutString(LONG index, const std::wstring& value);
    // Hands the value to the caller's [out] VARIANT; this wrapper no longer owns it.
    void Detach(VARIANT* out);
    // Unlocks, then clears an owned value.
    void Release() noexcept;

    const VARIANT& Value() const noexcept { return value_; }
    bool Owned() const noexcept { return owned_; }
    bool Locked() const noexcept { return locked_; }
    LONG LowerBound() const noexcept { return lowerBound_; }
    LONG Count() const noexcept { return count_; }

    // Prepares the value for a host call that fills it: released, VT_EMPTY, owned.
    VARIANT* ResetForOutput() noexcept;

private:
    void ConvertScriptArray(VARTYPE elementType);

    VARIANT value_;
    bool owned_ = true;
    LONG lowerBound_ = 0;
    LONG count_ = 0;
    bool locked_ = false;
};

// Element access for a scope: locks `array` and unlocks it at the end of the scope, also
// when an exception leaves it. With std::adopt_lock it only unlocks an array locked before.
//   ArrayLock lock(list);
//   const BSTR* names = list.Elements<BSTR>();
class ArrayLock {
public:
    explicit ArrayLock(VariantArray& array) : array_(array) { array_.Lock(); }
    ArrayLock(VariantArray& array, std::adopt_lock_t) noexcept : array_(array) {}
    ~ArrayLock() { array_.Unlock(); }
    ArrayLock(const ArrayLock&) = delete;
    ArrayLock& operator=(const ArrayLock&) = delete;

private:
    VariantArray& array_;
};

// Sizes a per-compound result array for `n` values: reused unchanged when it already holds
// `n` doubles, otherwise replaced by a new array of `n` doubles (VT_EMPTY for n = 0).
void SizeCompoundResult(VariantArray& result, LONG n);

// Reads the string property `property` from `bag` into `value` (owned). False when the read
// fails or the value is not a string; the latter adds "unexpected data type" to `errorLog`.
bool ReadBagString(IPropertyBag* bag, IErrorLog* errorLog, const wchar_t* source, const wchar_t* property,
                   VariantArray& value);

}  // namespace tarnevo
