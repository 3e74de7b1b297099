#include "equilibrium/exports/ExportSupport.h"

#include <cmath>

namespace tarnevo::engine::equilibrium::exports {

void writeState(const FlashState& st, int nc, const Outputs& out) {
    auto put = [](double* dst, double v) {
        if (dst) *dst = v;
    };
    put(out.t, st.T);
    put(out.p, st.p);
    put(out.D, st.rho);
    put(out.Dl, st.rhoL);
    put(out.Dv, st.rhoV);
    put(out.q, st.q);
    put(out.e, st.e);
    put(out.h, st.h);
    put(out.s, st.s);
    put(out.cv, st.cv);
    put(out.cp, st.cp);
    put(out.w, st.w);
    for (int i = 0; i < nc; ++i) {
        if (out.x) out.x[i] = st.x[i];
        if (out.y) out.y[i] = st.y[i];
    }
}

std::string value(const char* name, const double* v, const char* unit) {
    return std::string(name) + " = " + (v ? api::formatNumber(*v) : std::string("(missing)")) + " " + unit;
}

std::string checkInput(Input kind, const void* v) {
    if (!v) return "an input argument is missing";
    const double* d = static_cast<const double*>(v);
    switch (kind) {
    case Input::Temperature: return api::checkTemperature(d);
    case Input::Pressure: return api::checkPressure(d);
    case Input::Density: return api::checkDensity(d, false);
    case Input::Value:
        return std::isfinite(*d) && std::fabs(*d) < 1e9 ? std::string()
                                                        : "value " + api::formatNumber(*d) + " is not valid";
    case Input::Fraction:
        return *d >= 0 && *d <= 1 ? std::string() : "vapour fraction " + api::formatNumber(*d) + " is not within 0 and 1";
    case Input::Flag: return std::string();
    }
    return std::string();
}

std::string check(std::initializer_list<std::pair<Input, const void*>> inputs) {
    for (const auto& [kind, v] : inputs)
        if (std::string why = checkInput(kind, v); !why.empty()) return why;
    return std::string();
}

}  // namespace tarnevo::engine::equilibrium::exports
