#include "package/names/NameList.h"

#include "com/OwnedHandles.h"
#include "capeobject/CapeFailure.h"

#include <memory>
#include <utility>

namespace tarnevo {

namespace {

}  // namespace

NameList::NameList(std::vector<std::wstring> names) : names_(std::move(names)) {
    UniqueSafeArray array(
        SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(names_.size())));
    if (!array) throw CapeFailure(L"Out of memory while building the property name lists", E_OUTOFMEMORY);
    for (std::size_t i = 0; i < names_.size(); ++i) {
        LONG index = static_cast<LONG>(i);
        // SafeArrayPutElement stores its own copy of the string.
        const _bstr_t name(names_[i].c_str());
        const HRESULT hr = SafeArrayPutElement(array.get(), &index, static_cast<BSTR>(name));
        if (FAILED(hr)) throw CapeFailure(L"Out of memory while building the property name lists", hr);
    }
    VARIANT& held = array_.GetVARIANT();
    held.vt = VT_ARRAY | VT_BSTR;
    held.parray = array.release();
}

_variant_t NameList::Copy() const {
    VARIANT copy;
    VariantInit(&copy);
    // VariantCopy only reads its source; some SDKs declare it non-const.
    const HRESULT hr = VariantCopy(&copy, const_cast<VARIANT*>(static_cast<const VARIANT*>(&array_)));
    if (FAILED(hr)) throw CapeFailure(L"Out of memory while copying a property name list", hr);
    return _variant_t(copy, false);
}

}  // namespace tarnevo
