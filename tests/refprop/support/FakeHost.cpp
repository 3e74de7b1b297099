#include "tests/refprop/support/FakeHost.h"

#include <comdef.h>

namespace tarnevo_test {

using Microsoft::WRL::ComPtr;

template <class T>
ComPtr<T> Make() {
    ComPtr<T> object;
    object.Attach(new T());
    object->AddRef();  // the ComPtr's reference
    return object;
}

ComPtr<FakeContext> FakeContext::Create(bool offersDiagnostic) {
    ComPtr<FakeContext> context = Make<FakeContext>();
    context->offersDiagnostic = offersDiagnostic;
    return context;
}

void* FakeContext::Find(REFIID riid) {
    if (riid == IID_IUnknown || riid == IID_IDispatch) return static_cast<ICapeDiagnostic*>(this);
    if (riid == __uuidof(ICapeDiagnostic) && offersDiagnostic) return static_cast<ICapeDiagnostic*>(this);
    return nullptr;
}

STDMETHODIMP FakeContext::GetTypeInfoCount(UINT* count) {
    if (count) *count = 0;
    return S_OK;
}

STDMETHODIMP FakeContext::PopUpMessage(BSTR) { return S_OK; }

STDMETHODIMP FakeContext::LogMessage(BSTR message) {
    logged.emplace_back(message ? message : L"");
    return S_OK;
}

ComPtr<FakeErrorLog> FakeErrorLog::Create() { return Make<FakeErrorLog>(); }

void* FakeErrorLog::Find(REFIID riid) {
    if (riid == IID_IUnknown || riid == IID_IErrorLog) return static_cast<IErrorLog*>(this);
    return nullptr;
}

STDMETHODIMP FakeErrorLog::AddError(LPCOLESTR property, EXCEPINFO* info) {
    Entry entry;
    entry.property = property ? property : L"";
    if (info) {
        entry.source = info->bstrSource ? info->bstrSource : L"";
        entry.description = info->bstrDescription ? info->bstrDescription : L"";
    }
    entries.push_back(entry);
    return S_OK;
}

ComPtr<FakePropertyBag> FakePropertyBag::Create() { return Make<FakePropertyBag>(); }

FakePropertyBag::~FakePropertyBag() {
    for (auto& value : values) VariantClear(&value.second);
}

void* FakePropertyBag::Find(REFIID riid) {
    if (riid == IID_IUnknown || riid == IID_IPropertyBag) return static_cast<IPropertyBag*>(this);
    return nullptr;
}

STDMETHODIMP FakePropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    auto found = values.find(name);
    if (found == values.end()) return E_INVALIDARG;
    return VariantCopy(value, &found->second);
}

STDMETHODIMP FakePropertyBag::Write(LPCOLESTR name, VARIANT* value) {
    if (failWrites) return E_FAIL;
    VARIANT copy;
    VariantInit(&copy);
    HRESULT hr = VariantCopy(&copy, value);
    if (FAILED(hr)) return hr;
    VariantClear(&values[name]);
    values[name] = copy;
    return S_OK;
}

ComPtr<FailingStream> FailingStream::Create(ULONG capacity) {
    ComPtr<FailingStream> stream = Make<FailingStream>();
    stream->capacity = capacity;
    return stream;
}

void* FailingStream::Find(REFIID riid) {
    if (riid == IID_IUnknown || riid == IID_IStream || riid == IID_ISequentialStream)
        return static_cast<IStream*>(this);
    return nullptr;
}

STDMETHODIMP FailingStream::Write(const void*, ULONG size, ULONG* written) {
    ULONG accepted = size <= capacity ? size : capacity;
    capacity -= accepted;
    if (written) *written = accepted;
    return accepted == size ? S_OK : STG_E_MEDIUMFULL;
}

ComPtr<IStream> MemoryStream(const std::string& bytes) {
    ComPtr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    if (!bytes.empty()) stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
    LARGE_INTEGER zero = {};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    return stream;
}

std::string StreamBytes(IStream* stream) {
    LARGE_INTEGER zero = {};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    std::string bytes;
    char buffer[4096];
    ULONG read = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &read)) && read > 0) bytes.append(buffer, read);
    return bytes;
}

namespace {

std::wstring UserText(IUnknown* object, HRESULT (STDMETHODCALLTYPE ECapeUser::*getter)(BSTR*)) {
    ComPtr<ECapeUser> user;
    if (FAILED(object->QueryInterface(IID_PPV_ARGS(&user)))) return L"<no ECapeUser>";
    BSTR text = nullptr;
    ((*user.Get()).*getter)(&text);
    _bstr_t owned(text, false);
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

}  // namespace

std::wstring ErrorDescription(IUnknown* object) { return UserText(object, &ECapeUser::get_description); }
std::wstring ErrorScope(IUnknown* object) { return UserText(object, &ECapeUser::get_scope); }
std::wstring ErrorInterface(IUnknown* object) { return UserText(object, &ECapeUser::get_interfaceName); }

}  // namespace tarnevo_test
