// A property bag as a host hands it to IPersistPropertyBag::Load/Save, and the error log that
// goes with it. The bag holds any VARIANT under a name (names compared without regard to
// ASCII case), records every Read and Write, and can be told to fail them.
//   auto bag = CHostPropertyBag::Create();
//   bag->Put(L"configuration", _variant_t(3.0));              // a number where text belongs
//   auto log = CHostErrorLog::Create();
//   persist->Load(bag->Bag(), log->Log());
//   EXPECT_EQ(log->Errors()[0].description, L"...");
// Read with an empty VARIANT returns the stored value as it is; with a typed VARIANT it
// converts to that type (a failed conversion is returned and added to the error log). A
// missing name gives E_INVALIDARG.
#pragma once

#include <windows.h>
#include <comdef.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "com/ComObject.h"

namespace tarnevo::host {

struct BagAccess {
    enum class Kind { Read, Write };
    Kind kind;
    std::wstring name;
    HRESULT result = S_OK;
};

class CHostPropertyBag : public IPropertyBag {
public:
    TARNEVO_BEGIN_INTERFACE_MAP(CHostPropertyBag)
        TARNEVO_INTERFACE(IPropertyBag)
    TARNEVO_END_INTERFACE_MAP()

    using Ptr = Microsoft::WRL::ComPtr<ComObject<CHostPropertyBag>>;
    static Ptr Create();

    IPropertyBag* Bag() noexcept { return this; }

    // Stored values, bypassing Read/Write (not recorded).
    void Put(const std::wstring& name, const VARIANT& value);
    std::optional<_variant_t> Get(const std::wstring& name) const;
    std::vector<std::wstring> Names() const;
    void Clear() noexcept { values_.clear(); }

    // Later Reads or Writes of `name` (any name when empty) fail with `hr` and store nothing.
    void FailAccess(BagAccess::Kind kind, HRESULT hr, const std::wstring& name = L"");
    void ClearFailures() noexcept { failures_.clear(); }
    const std::vector<BagAccess>& Accesses() const noexcept { return accesses_; }

    // IPropertyBag
    STDMETHODIMP Read(LPCOLESTR propName, VARIANT* value, IErrorLog* errorLog) override;
    STDMETHODIMP Write(LPCOLESTR propName, VARIANT* value) override;

protected:
    CHostPropertyBag() = default;
    virtual ~CHostPropertyBag() = default;

private:
    struct Entry {
        std::wstring name;  // as first written
        _variant_t value;
    };
    struct Failure {
        BagAccess::Kind kind;
        std::wstring name;
        HRESULT hr;
    };
    HRESULT FailureFor(BagAccess::Kind kind, const std::wstring& name) const noexcept;
    HRESULT Record(BagAccess::Kind kind, const std::wstring& name, HRESULT result) noexcept;

    std::map<std::wstring, Entry> values_;  // keyed by the lower-case name
    std::vector<Failure> failures_;
    std::vector<BagAccess> accesses_;
};

struct LoggedError {
    std::wstring property;
    std::wstring source;
    std::wstring description;
    SCODE scode = S_OK;
};

class CHostErrorLog : public IErrorLog {
public:
    TARNEVO_BEGIN_INTERFACE_MAP(CHostErrorLog)
        TARNEVO_INTERFACE(IErrorLog)
    TARNEVO_END_INTERFACE_MAP()

    using Ptr = Microsoft::WRL::ComPtr<ComObject<CHostErrorLog>>;
    static Ptr Create();

    IErrorLog* Log() noexcept { return this; }
    const std::vector<LoggedError>& Errors() const noexcept { return errors_; }
    void Clear() noexcept { errors_.clear(); }

    // IErrorLog: copies the texts; the EXCEPINFO stays the caller's.
    STDMETHODIMP AddError(LPCOLESTR propName, EXCEPINFO* excepInfo) override;

protected:
    CHostErrorLog() = default;
    virtual ~CHostErrorLog() = default;

private:
    std::vector<LoggedError> errors_;
};

}  // namespace tarnevo::host
