// Calling the library's equilibrium routines as a Fortran-convention caller does.
#pragma once

#include "api/RefpropExports.h"

#include <string>
#include <vector>

namespace eqtest {

struct Herr {
    char text[256];
    Herr() { reset(); }
    void reset() {
        for (int i = 0; i < 255; ++i) text[i] = 'x';
        text[255] = '\0';
    }
    std::string raw() const { return std::string(text, 255); }
    std::string str() const {
        std::string s = raw();
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
};

inline int setUp(const std::vector<std::string>& names) {
    std::string files;
    for (size_t i = 0; i < names.size(); ++i)
        files += (i ? "|" : "") + std::string(TARNEVO_FLUIDS_DIR) + "/" + names[i] + ".FLD";
    files.resize(10000, ' ');
    std::string mixture = std::string(TARNEVO_FLUIDS_DIR) + "/hmx.bnc";
    mixture.resize(255, ' ');
    std::string hrf = "DEF";
    int nc = static_cast<int>(names.size()), ierr = -99;
    Herr herr;
    SETUPdll(&nc, files.data(), mixture.data(), hrf.data(), &ierr, herr.text, 10000, 255, 3, 255);
    return ierr;
}

// Every output of a flash routine.
struct Flash {
    double t = 0, p = 0, D = 0, Dl = 0, Dv = 0, q = 0, e = 0, h = 0, s = 0, cv = 0, cp = 0, w = 0;
    double x[20] = {}, y[20] = {};
    int ierr = -99;
    Herr herr;
};

inline Flash tp(double t, double p, const double* z) {
    Flash f;
    f.t = t;
    f.p = p;
    TPFLSHdll(&f.t, &f.p, const_cast<double*>(z), &f.D, &f.Dl, &f.Dv, f.x, f.y, &f.q, &f.e, &f.h, &f.s, &f.cv,
              &f.cp, &f.w, &f.ierr, f.herr.text, 255);
    return f;
}

inline Flash ph(double p, double h, const double* z) {
    Flash f;
    f.p = p;
    f.h = h;
    PHFLSHdll(&f.p, &f.h, const_cast<double*>(z), &f.t, &f.D, &f.Dl, &f.Dv, f.x, f.y, &f.q, &f.e, &f.s, &f.cv,
              &f.cp, &f.w, &f.ierr, f.herr.text, 255);
    return f;
}

}  // namespace eqtest
