// IPersistStream and IPersistPropertyBag of CPropertyPackage: the definition text travels
// with the host's document.
//   stream: version (uint32, 0), N (uint32), N bytes of definition text, little-endian
//   property bag: "configuration" = the text as a BSTR, CR LF stored as LF
#include "package/PropertyPackage.h"

#include <comdef.h>

#include <algorithm>
#include <cstdint>

namespace tarnevo {
namespace {

constexpr const wchar_t kStream[] = L"IPersistStream";
constexpr const wchar_t kBag[] = L"IPersistPropertyBag";
constexpr const wchar_t kBagProperty[] = L"configuration";
constexpr ULONG kReadChunk = 64 * 1024;

void ReadExactly(IStream* stream, void* buffer, ULONG size) {
    ULONG read = 0;
    HRESULT hr = stream->Read(buffer, size, &read);
    if (FAILED(hr) || read != size) throw CapeFailure(L"Read error");
}

void WriteExactly(IStream* stream, const void* buffer, ULONG size) {
    if (size == 0) return;
    ULONG written = 0;
    HRESULT hr = stream->Write(buffer, size, &written);
    if (FAILED(hr) || written != size) throw CapeFailure(L"Write error");
}

std::uint32_t ReadUint32(IStream* stream) {
    unsigned char bytes[4];
    ReadExactly(stream, bytes, 4);
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void WriteUint32(IStream* stream, std::uint32_t value) {
    unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                              static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    WriteExactly(stream, bytes, 4);
}

void LogBagError(IErrorLog* errorLog, const wchar_t* description) {
    if (!errorLog) return;
    _bstr_t source(L"TARNEVO");
    _bstr_t text(description);
    EXCEPINFO info = {};
    info.bstrSource = source.GetBSTR();
    info.bstrDescription = text.GetBSTR();
    info.scode = E_FAIL;
    errorLog->AddError(kBagProperty, &info);
}

}  // namespace

STDMETHODIMP CPropertyPackage::GetClassID(CLSID* classId) {
    if (!classId) return E_POINTER;
    *classId = CLSID_PropertyPackage;
    return S_OK;
}

// --- IPersistStream --------------------------------------------------------------------------

STDMETHODIMP CPropertyPackage::IsDirty() { return dirty ? S_OK : S_FALSE; }

STDMETHODIMP CPropertyPackage::Load(IStream* stream) {
    return Guarded(L"Load", kStream, [&] {
        CheckOutPointer(stream);
        if (ReadUint32(stream) != 0)
            throw CapeFailure(L"Property package was saved with a newer version of TARNEVO; please make sure you "
                              L"have the latest version");
        std::uint32_t length = ReadUint32(stream);
        // Read in chunks: a length larger than the stream fails without reserving it first.
        std::string text;
        while (text.size() < length) {
            ULONG chunk = static_cast<ULONG>(std::min<std::uint64_t>(kReadChunk, length - text.size()));
            size_t offset = text.size();
            text.resize(offset + chunk);
            ReadExactly(stream, &text[offset], chunk);
        }
        definitionText = std::move(text);
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::Save(IStream* stream, BOOL clearDirty) {
    return GuardedInitialised(L"Save", kStream, [&] {
        CheckOutPointer(stream);
        if (definitionText.size() > UINT32_MAX) throw CapeFailure(L"Write error");
        WriteUint32(stream, 0);
        WriteUint32(stream, static_cast<std::uint32_t>(definitionText.size()));
        WriteExactly(stream, definitionText.data(), static_cast<ULONG>(definitionText.size()));
        if (clearDirty) dirty = false;
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::GetSizeMax(ULARGE_INTEGER* size) {
    return GuardedInitialised(L"GetSizeMax", kStream, [&] {
        CheckOutPointer(size);
        size->QuadPart = static_cast<ULONGLONG>(definitionText.size()) + 8;
        return S_OK;
    });
}

// --- IPersistPropertyBag ---------------------------------------------------------------------

STDMETHODIMP CPropertyPackage::InitNew() { return S_OK; }

STDMETHODIMP CPropertyPackage::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
    return Guarded(L"Save", kBag, [&] {
        CheckOutPointer(bag);
        std::wstring text;
        text.reserve(definitionText.size());
        for (unsigned char byte : definitionText) {
            if (byte < 0x20 && byte != '\n' && byte != '\t') continue;  // CR LF becomes LF
            text.push_back(static_cast<wchar_t>(byte));
        }
        _variant_t value(_bstr_t(text.c_str()));
        if (FAILED(bag->Write(kBagProperty, &value)))
            throw CapeFailure(L"Failed to write \"configuration\" to the property bag", E_FAIL);
        if (clearDirty) dirty = false;
        return S_OK;
    });
}

STDMETHODIMP CPropertyPackage::Load(IPropertyBag* bag, IErrorLog* errorLog) {
    return Guarded(L"Load", kBag, [&] {
        CheckOutPointer(bag);
        VariantArray value;
        if (!ReadBagString(bag, errorLog, L"TARNEVO", kBagProperty, value))
            throw CapeFailure(L"Failed to read \"configuration\" from the property bag", E_FAIL);
        BSTR stored = value.Value().bstrVal;
        const UINT length = stored ? SysStringLen(stored) : 0;
        std::string text;
        text.reserve(length + length / 16);
        for (UINT i = 0; i < length; ++i) {
            wchar_t c = stored[i];
            if (c > 0xFF) {
                LogBagError(errorLog, L"Illegal characters in string");
                throw CapeFailure(L"Illegal characters in string", E_FAIL);
            }
            // LF becomes CR LF again; a CR already in front of it is not doubled.
            if (c == L'\n' && (text.empty() || text.back() != '\r')) text.push_back('\r');
            text.push_back(static_cast<char>(c));
        }
        definitionText = std::move(text);
        return S_OK;
    });
}

}  // namespace tarnevo
