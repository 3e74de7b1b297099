#include "tools/host/HostPropertyBag.h"

#include "tools/host/VariantValues.h"

namespace tarnevo::host {
namespace {

std::wstring Text(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }
std::wstring BstrText(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

// Adds a conversion failure of `name` to `errorLog` (if any).
void LogConversionFailure(IErrorLog* errorLog, const std::wstring& name, HRESULT hr) {
    if (!errorLog) return;
    _bstr_t source(L"Host property bag");
    _bstr_t description(L"The value cannot be converted to the requested type");
    EXCEPINFO info = {};
    info.bstrSource = source.GetBSTR();
    info.bstrDescription = description.GetBSTR();
    info.scode = hr;
    errorLog->AddError(name.c_str(), &info);  // the texts stay ours
}

}  // namespace

CHostPropertyBag::Ptr CHostPropertyBag::Create() { return MakeComObject<CHostPropertyBag>(); }

void CHostPropertyBag::Put(const std::wstring& name, const VARIANT& value) {
    auto found = values_.find(AsciiLower(name));
    if (found != values_.end()) {
        found->second.value = CopyIndirect(value);
        return;
    }
    values_.emplace(AsciiLower(name), Entry{name, CopyIndirect(value)});
}

std::optional<_variant_t> CHostPropertyBag::Get(const std::wstring& name) const {
    auto found = values_.find(AsciiLower(name));
    if (found == values_.end()) return std::nullopt;
    return found->second.value;
}

std::vector<std::wstring> CHostPropertyBag::Names() const {
    std::vector<std::wstring> names;
    for (const auto& entry : values_) names.push_back(entry.second.name);
    return names;
}

void CHostPropertyBag::FailAccess(BagAccess::Kind kind, HRESULT hr, const std::wstring& name) {
    failures_.push_back(Failure{kind, name, hr});
}

HRESULT CHostPropertyBag::FailureFor(BagAccess::Kind kind, const std::wstring& name) const noexcept {
    for (const Failure& failure : failures_)
        if (failure.kind == kind && (failure.name.empty() || EqualsNoCase(failure.name, name))) return failure.hr;
    return S_OK;
}

HRESULT CHostPropertyBag::Record(BagAccess::Kind kind, const std::wstring& name, HRESULT result) noexcept {
    try {
        accesses_.push_back(BagAccess{kind, name, result});
    } catch (...) {
    }
    return result;
}

STDMETHODIMP CHostPropertyBag::Read(LPCOLESTR propName, VARIANT* value, IErrorLog* errorLog) {
    try {
        std::wstring name = Text(propName);
        if (!propName || !value) return Record(BagAccess::Kind::Read, name, E_POINTER);
        HRESULT hr = FailureFor(BagAccess::Kind::Read, name);
        if (FAILED(hr)) return Record(BagAccess::Kind::Read, name, hr);
        auto found = values_.find(AsciiLower(name));
        if (found == values_.end()) return Record(BagAccess::Kind::Read, name, E_INVALIDARG);

        _variant_t result(found->second.value);
        if (value->vt != VT_EMPTY) {
            hr = VariantChangeType(&result, &result, 0, value->vt);
            if (FAILED(hr)) {
                LogConversionFailure(errorLog, name, hr);
                return Record(BagAccess::Kind::Read, name, hr);
            }
        }
        VariantClear(value);
        *value = result.Detach();
        return Record(BagAccess::Kind::Read, name, S_OK);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP CHostPropertyBag::Write(LPCOLESTR propName, VARIANT* value) {
    try {
        std::wstring name = Text(propName);
        if (!propName || !value) return Record(BagAccess::Kind::Write, name, E_POINTER);
        HRESULT hr = FailureFor(BagAccess::Kind::Write, name);
        if (FAILED(hr)) return Record(BagAccess::Kind::Write, name, hr);
        Put(name, *value);
        return Record(BagAccess::Kind::Write, name, S_OK);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

CHostErrorLog::Ptr CHostErrorLog::Create() { return MakeComObject<CHostErrorLog>(); }

STDMETHODIMP CHostErrorLog::AddError(LPCOLESTR propName, EXCEPINFO* excepInfo) {
    try {
        LoggedError error;
        error.property = Text(propName);
        if (excepInfo) {
            error.source = BstrText(excepInfo->bstrSource);
            error.description = BstrText(excepInfo->bstrDescription);
            error.scode = excepInfo->scode;
        }
        errors_.push_back(std::move(error));
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace tarnevo::host
