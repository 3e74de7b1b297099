// Failure of an equilibrium calculation: the cause, and the error code the exports report.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

namespace tarnevo::engine::equilibrium {

enum class FlashErrorCode {
    BadInput = 1,       // NaN, non-positive or absurd input
    NoSolution = 3,     // no state with the given values (outside the range, above the critical point)
    NotConverged = 4,   // iteration limit reached
    Model = 5,          // the model gave no density root or no usable value
};

class FlashError : public std::runtime_error {
public:
    FlashError(FlashErrorCode code, const std::string& cause) : std::runtime_error(cause), code_(code) {}
    FlashErrorCode code() const noexcept { return code_; }
    int ierr() const noexcept { return static_cast<int>(code_); }

private:
    FlashErrorCode code_;
};

// A number in messages: up to ten significant digits.
inline std::string num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

inline std::string iterationsMessage(int n) {
    return "did not converge after " + std::to_string(n) + " iterations";
}

}  // namespace tarnevo::engine::equilibrium
