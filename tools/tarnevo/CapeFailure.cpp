#include "tools/tarnevo/CapeFailure.h"

#include <comdef.h>
#include <wrl/client.h>

#include <cwchar>
#include <memory>

#include "TARNEVO.h"
#include "com/CapeHResults.h"
#include "com/OwnedHandles.h"

namespace tarnevo::cli {
namespace {

struct CodeName {
    HRESULT hr;
    const wchar_t* name;
};

const CodeName kCodeNames[] = {
    {ECapeUnknownHR, L"ECapeUnknownHR"},
    {ECapeDataHR, L"ECapeDataHR"},
    {ECapeLicenceErrorHR, L"ECapeLicenceErrorHR"},
    {ECapeBadCOParameterHR, L"ECapeBadCOParameterHR"},
    {ECapeBadArgumentHR, L"ECapeBadArgumentHR"},
    {ECapeInvalidArgumentHR, L"ECapeInvalidArgumentHR"},
    {ECapeOutOfBoundsHR, L"ECapeOutOfBoundsHR"},
    {ECapeImplementationHR, L"ECapeImplementationHR"},
    {ECapeNoImplHR, L"ECapeNoImplHR"},
    {ECapeLimitedImplHR, L"ECapeLimitedImplHR"},
    {ECapeComputationHR, L"ECapeComputationHR"},
    {ECapeOutOfResourcesHR, L"ECapeOutOfResourcesHR"},
    {ECapeNoMemoryHR, L"ECapeNoMemoryHR"},
    {ECapeTimeOutHR, L"ECapeTimeOutHR"},
    {ECapeFailedInitialisationHR, L"ECapeFailedInitialisationHR"},
    {ECapeSolvingErrorHR, L"ECapeSolvingErrorHR"},
    {ECapeBadInvOrderHR, L"ECapeBadInvOrderHR"},
    {ECapeInvalidOperationHR, L"ECapeInvalidOperationHR"},
    {ECapeThrmPropertyNotAvailableHR, L"ECapeThrmPropertyNotAvailableHR"},
    {E_POINTER, L"E_POINTER"},
    {E_INVALIDARG, L"E_INVALIDARG"},
    {E_OUTOFMEMORY, L"E_OUTOFMEMORY"},
    {E_NOTIMPL, L"E_NOTIMPL"},
    {E_FAIL, L"E_FAIL"},
};

std::wstring Text(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

}  // namespace

std::wstring SystemText(HRESULT hr) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    UniqueLocal<wchar_t> owner(buffer);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

std::wstring CapeFailure::CodeName() const {
    for (const auto& entry : kCodeNames) {
        if (entry.hr == hr_) return entry.name;
    }
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08X", static_cast<unsigned>(hr_));
    return text;
}

std::wstring CapeFailure::Report() const {
    wchar_t code[16];
    std::swprintf(code, 16, L"0x%08X", static_cast<unsigned>(hr_));
    return L"tarnevo: CAPE-OPEN failure " + CodeName() + L" (" + code + L")\n" +
           L"  description: " + description_ + L"\n" +
           L"  scope: " + scope_ + L"\n" +
           L"  interface: " + interfaceName_ + L"\n";
}

void CheckCape(HRESULT hr, IUnknown* object, const wchar_t* operation, const wchar_t* interfaceName) {
    if (SUCCEEDED(hr)) return;
    std::wstring description, scope = operation, iface = interfaceName;
    Microsoft::WRL::ComPtr<ECapeUser> error;
    if (object && SUCCEEDED(object->QueryInterface(__uuidof(ECapeUser), reinterpret_cast<void**>(error.GetAddressOf()))) &&
        error) {
        _bstr_t text;
        if (SUCCEEDED(error->get_description(text.GetAddress()))) description = Text(text);
        _bstr_t errorScope;
        if (SUCCEEDED(error->get_scope(errorScope.GetAddress())) && errorScope.length()) scope = Text(errorScope);
        _bstr_t errorInterface;
        if (SUCCEEDED(error->get_interfaceName(errorInterface.GetAddress())) && errorInterface.length())
            iface = Text(errorInterface);
    }
    if (description.empty()) description = SystemText(hr);
    throw CapeFailure(hr, description, scope, iface);
}

}  // namespace tarnevo::cli
