#include "equilibrium/exports/ExportSupport.h"

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

}  // namespace tarnevo::engine::equilibrium::exports
