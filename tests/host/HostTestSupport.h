// Shared by the host tests: ECapeUser details of a failed call, and the CAPE-OPEN codes.
#pragma once

#include <windows.h>
#include <comdef.h>
#include <wrl/client.h>

#include <string>

#include "TARNEVO.h"
#include "com/CapeHResults.h"

namespace host_test {

using tarnevo::ECapeInvalidArgumentHR;
using tarnevo::ECapeNoImplHR;
using tarnevo::ECapeThrmPropertyNotAvailableHR;
using tarnevo::ECapeUnknownHR;

struct UserError {
    std::wstring description, scope, interfaceName;
    long code = 0;
};

// The text of a returned BSTR, which it frees.
inline std::wstring Take(BSTR text) {
    std::wstring result = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return result;
}

// What the object behind `object` reports through ECapeUser.
inline UserError ReadUserError(IUnknown* object) {
    UserError error;
    Microsoft::WRL::ComPtr<ECapeUser> user;
    if (FAILED(object->QueryInterface(__uuidof(ECapeUser), reinterpret_cast<void**>(user.GetAddressOf()))))
        return error;
    BSTR text = nullptr;
    if (SUCCEEDED(user->get_description(&text))) error.description = Take(text);
    if (SUCCEEDED(user->get_scope(&text))) error.scope = Take(text);
    if (SUCCEEDED(user->get_interfaceName(&text))) error.interfaceName = Take(text);
    user->get_code(&error.code);
    return error;
}

}  // namespace host_test
