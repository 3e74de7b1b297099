#include "api/Session.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace tarnevo::engine::api {

Session& session() {
    static Session s;
    return s;
}

const Mixture* currentMixture() { return session().mixture.get(); }

int componentCount() { return session().mixture ? session().mixture->size() : 0; }

void writeMessage(char* herr, RpLength length, const std::string& text) {
    if (!herr || length <= 0) return;
    const size_t n = static_cast<size_t>(std::min(length, kMessageLength));
    const size_t k = std::min(n, text.size());
    std::memcpy(herr, text.data(), k);
    std::memset(herr + k, ' ', n - k);
}

void succeed(int* ierr, char* herr, RpLength length) {
    if (ierr) *ierr = 0;
    writeMessage(herr, length, std::string());
}

void report(int* ierr, char* herr, RpLength length, int code, const char* routine,
            const std::string& cause) {
    if (ierr) *ierr = code;
    writeMessage(herr, length, std::string(routine) + ": " + cause);
}

std::string formatNumber(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

std::string checkSetUp() {
    return session().mixture ? std::string() : "no fluids are set up (call SETUPdll first)";
}

namespace {

std::string checkFractions(const double* x, const char* what, double tolerance, double& sum) {
    if (auto why = checkSetUp(); !why.empty()) return why;
    if (!x) return std::string("no ") + what + " given";
    const int nc = componentCount();
    sum = 0;
    for (int i = 0; i < nc; ++i) {
        if (!std::isfinite(x[i]) || x[i] < 0 || x[i] > 1)
            return std::string(what) + " " + std::to_string(i + 1) + " is " + formatNumber(x[i]) +
                   " (must be between 0 and 1)";
        sum += x[i];
    }
    if (std::fabs(sum - 1) > tolerance)
        return std::string(what) + " sums to " + formatNumber(sum) + " instead of 1";
    return std::string();
}

}  // namespace

std::string checkComposition(const double* x, const double*& use, const char* what) {
    double sum = 0;
    if (auto why = checkFractions(x, what, 1e-6, sum); !why.empty()) return why;
    use = x;
    if (sum != 1) {
        auto& w = session().xWork;
        w.assign(x, x + componentCount());
        for (double& v : w) v /= sum;
        use = w.data();
    }
    return std::string();
}

std::string checkStateComposition(const double* x, const double*& use, const char* what) {
    double sum = 0;
    if (auto why = checkFractions(x, what, 1e-4, sum); !why.empty()) return why;
    use = x;
    return std::string();
}

std::string checkTemperature(const double* t) {
    if (!t || !std::isfinite(*t) || *t <= 0 || *t > 1e5)
        return "temperature " + (t ? formatNumber(*t) : std::string("missing")) +
               " K is not valid (0 < T <= 100000 K)";
    return std::string();
}

std::string checkDensity(const double* D, bool zeroAllowed) {
    if (!D || !std::isfinite(*D) || *D < 0 || (*D == 0 && !zeroAllowed) || *D > 1e5)
        return "density " + (D ? formatNumber(*D) : std::string("missing")) + " mol/L is not valid";
    return std::string();
}

std::string checkPressure(const double* p) {
    if (!p || !std::isfinite(*p) || *p <= 0 || *p > 1e9)
        return "pressure " + (p ? formatNumber(*p) : std::string("missing")) +
               " kPa is not valid (0 < p <= 1e9 kPa)";
    return std::string();
}

std::string rangeWarning(double T, double p, const double* x) {
    const HelmholtzMixture& m = *session().mixture;
    double tmin = 0, tmax = 0, pmax = 1e300;
    for (int i = 0; i < m.size(); ++i) {
        if (x[i] <= 0) continue;
        tmin += x[i] * m.fluid(i).tmin;
        tmax += x[i] * m.fluid(i).tmax;
        pmax = std::min(pmax, m.fluid(i).pmax);
    }
    if (T < tmin) return "temperature " + formatNumber(T) + " K below the lower limit " + formatNumber(tmin) + " K";
    if (T > tmax) return "temperature " + formatNumber(T) + " K above the upper limit " + formatNumber(tmax) + " K";
    if (p > pmax) return "pressure " + formatNumber(p) + " kPa above the upper limit " + formatNumber(pmax) + " kPa";
    for (const auto& [i, j] : m.model().estimatedPairs())
        if (x[i] > 0 && x[j] > 0)
            return "no binary parameters for " + m.component(i).name + "/" + m.component(j).name +
                   " (estimated by the linear rule)";
    return std::string();
}

}  // namespace tarnevo::engine::api
