// The one exception type of the server's internals. Internal code throws it with the
// message and HRESULT to report; every interface method catches it (and everything
// else) at its boundary and records it as the object's CAPE-OPEN error.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "com/CapeHResults.h"

namespace tarnevo {

class CapeFailure : public std::runtime_error {
public:
    explicit CapeFailure(std::wstring message, HRESULT hr = ECapeUnknownHR)
        : std::runtime_error("CAPE-OPEN failure"), message_(std::move(message)), hr_(hr) {}
    const std::wstring& message() const noexcept { return message_; }
    HRESULT hr() const noexcept { return hr_; }

private:
    std::wstring message_;
    HRESULT hr_;
};

}  // namespace tarnevo
