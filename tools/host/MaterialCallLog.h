// What a host material was asked, in order, and the failures it was told to inject.
//   material->FailCall(L"GetTPFraction", ECapeUnknownHR, L"no state", L"Liquid");
//   EXPECT_THAT(material->CallDescriptions(), ElementsAre(L"GetTPFraction(Vapor)",
//                                                         L"SetSinglePhaseProp(density,Vapor,mole)"));
#pragma once

#include <windows.h>
#include <comdef.h>

#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarnevo::host {

struct MaterialCall {
    MaterialCall() = default;
    // A call of `methodName` with what it names; the rest is filled in as the call runs.
    MaterialCall(std::wstring methodName, std::wstring propertyName = {}, std::vector<std::wstring> phaseLabels = {},
                 std::optional<std::wstring> basisName = std::nullopt)
        : method(std::move(methodName)),
          property(std::move(propertyName)),
          phases(std::move(phaseLabels)),
          basis(std::move(basisName)) {}

    std::wstring method;
    std::wstring property;               // empty where the method takes none
    std::vector<std::wstring> phases;    // the label(s) named by the call, or returned present phases
    std::optional<std::wstring> basis;   // nullopt: a null BSTR was passed (or the method has no basis)
    _variant_t values;                   // values passed in, or returned on success
    _variant_t status;                   // phase status passed to SetPresentPhases or returned
    double temperature = std::numeric_limits<double>::quiet_NaN();  // returned by Get(Overall)TPFraction
    double pressure = std::numeric_limits<double>::quiet_NaN();
    HRESULT result = S_OK;

    // "Method(property,phase...,basis)" without the empty parts, e.g. "GetOverallProp(fraction,mole)".
    std::wstring Describe() const;
};

// A failure to inject: calls of `method` fail with `hr` and `description` (ECapeUser). A
// non-empty `qualifier` restricts it to one property name, or, for methods without one
// (GetTPFraction), to one phase label; compared without regard to case.
struct InjectedFailure {
    std::wstring method;
    std::wstring qualifier;
    HRESULT hr = E_FAIL;
    std::wstring description;
};

class MaterialCallLog {
public:
    // Appends a call and returns its index.
    size_t Add(MaterialCall call);
    MaterialCall& At(size_t index) { return calls_[index]; }
    const std::vector<MaterialCall>& Calls() const noexcept { return calls_; }
    void Clear() noexcept { calls_.clear(); }

    void AddFailure(InjectedFailure failure) { failures_.push_back(std::move(failure)); }
    void ClearFailures() noexcept { failures_.clear(); }
    // The most recently added failure that matches the call, or null.
    const InjectedFailure* FailureFor(const MaterialCall& call) const;

private:
    std::vector<MaterialCall> calls_;
    std::vector<InjectedFailure> failures_;
};

}  // namespace tarnevo::host
