// Failures the program reports: a CAPE-OPEN failure of a call into a component (exit code 1,
// printed with its ECapeUser description, scope and interface name) and other failures of the
// host itself (exit code 1, one line).
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <stdexcept>
#include <string>

namespace tarnevo::cli {

class CapeFailure : public std::runtime_error {
public:
    CapeFailure(HRESULT hr, std::wstring description, std::wstring scope, std::wstring interfaceName)
        : std::runtime_error("CAPE-OPEN failure"), hr_(hr), description_(std::move(description)),
          scope_(std::move(scope)), interfaceName_(std::move(interfaceName)) {}
    HRESULT hr() const noexcept { return hr_; }
    const std::wstring& description() const noexcept { return description_; }
    const std::wstring& scope() const noexcept { return scope_; }
    const std::wstring& interfaceName() const noexcept { return interfaceName_; }
    // "ECapeUnknownHR" etc., or the hexadecimal code.
    std::wstring CodeName() const;
    // The lines printed for the user.
    std::wstring Report() const;

private:
    HRESULT hr_;
    std::wstring description_;
    std::wstring scope_;
    std::wstring interfaceName_;
};

class ProgramFailure : public std::runtime_error {
public:
    explicit ProgramFailure(std::wstring message) : std::runtime_error("program failure"), message_(std::move(message)) {}
    const std::wstring& message() const noexcept { return message_; }

private:
    std::wstring message_;
};

// Throws CapeFailure when `hr` is a failure: the ECapeUser details of `object` when it offers
// them, else `operation` and `interfaceName` with the system's text for the code.
void CheckCape(HRESULT hr, IUnknown* object, const wchar_t* operation, const wchar_t* interfaceName);

// The system's text for an HRESULT, without the line end.
std::wstring SystemText(HRESULT hr);

}  // namespace tarnevo::cli
