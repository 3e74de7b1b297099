// Calling the library's routines the way a Fortran-convention caller does.
#pragma once

#include "api/RefpropExports.h"

#include <string>
#include <vector>

namespace enginetest {

struct Message {
    char text[256];
    Message() { reset(); }
    void reset() {
        for (int i = 0; i < 255; ++i) text[i] = ' ';
        text[255] = '\0';
    }
    std::string str() const {
        std::string s(text, 255);
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
};

inline std::string fluidPath(const std::string& name) {
    return std::string(TARNEVO_FLUIDS_DIR) + "/" + name + ".FLD";
}

// SETUPdll with the fluid files of the given names and the committed mixture file.
inline int setup(const std::vector<std::string>& names, Message& herr,
                 std::string mixture = std::string(TARNEVO_FLUIDS_DIR) + "/hmx.bnc",
                 std::string reference = "DEF") {
    std::string files;
    for (size_t i = 0; i < names.size(); ++i) files += (i ? "|" : "") + fluidPath(names[i]);
    files.resize(10000, ' ');
    mixture.resize(255, ' ');
    int nc = static_cast<int>(names.size()), ierr = -99;
    herr.reset();
    SETUPdll(&nc, files.data(), mixture.data(), reference.data(), &ierr, herr.text, 10000, 255,
             static_cast<RpLength>(reference.size()), 255);
    return ierr;
}

inline const std::vector<std::string>& naturalGas() {
    static const std::vector<std::string> n = {"METHANE", "ETHANE", "PROPANE", "NITROGEN", "CO2"};
    return n;
}

}  // namespace enginetest
