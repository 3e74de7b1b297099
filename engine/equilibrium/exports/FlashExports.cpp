// The flash routines: two state values and the bulk composition in, the state out.
#include "equilibrium/QualityFlash.h"
#include "equilibrium/PropertyFlash.h"
#include "equilibrium/TPFlash.h"
#include "equilibrium/exports/ExportSupport.h"

using tarnevo::engine::api::RpLength;
using namespace tarnevo::engine::equilibrium;
using namespace tarnevo::engine::equilibrium::exports;

namespace {

std::string at(const char* flash, const std::string& a, const std::string& b) {
    return std::string(flash) + " at " + a + ", " + b;
}

const char* const kT = "K";
const char* const kP = "kPa";
const char* const kD = "mol/L";
const char* const kJ = "J/mol";
const char* const kS = "J/(mol K)";

}  // namespace

extern "C" {

void TPFLSHdll(double* t, double* p, double* z, double* D, double* Dl, double* Dv, double* x, double* y,
               double* q, double* e, double* h, double* s, double* cv, double* cp, double* w, int* ierr,
               char* herr, RpLength lerr) {
    Outputs o{nullptr, nullptr, D, Dl, Dv, x, y, q, e, h, s, cv, cp, w};
    const std::string problem = check({{Input::Temperature, t}, {Input::Pressure, p}});
    runFlash("TPFLSHdll", at("T-P flash", value("T", t, kT), value("P", p, kP)), problem, z, ierr, herr, lerr, o,
             [&](const System& sys) { return flashTP(sys, *t, *p); });
}

void TQFLSHdll(double* t, double* q, double* z, int* kq, double* p, double* D, double* Dl, double* Dv,
               double* x, double* y, double* e, double* h, double* s, double* cv, double* cp, double* w,
               int* ierr, char* herr, RpLength lerr) {
    Outputs o{nullptr, p, D, Dl, Dv, x, y, nullptr, e, h, s, cv, cp, w};
    const std::string problem = check({{Input::Temperature, t}, {Input::Fraction, q}, {Input::Flag, kq}});
    runFlash("TQFLSHdll", at("T-Q flash", value("T", t, kT), value("q", q, "")), problem, z, ierr, herr,
             lerr, o, [&](const System& sys) { return flashTQ(sys, *t, *q, *kq); });
}

void PQFLSHdll(double* p, double* q, double* z, int* kq, double* t, double* D, double* Dl, double* Dv,
               double* x, double* y, double* e, double* h, double* s, double* cv, double* cp, double* w,
               int* ierr, char* herr, RpLength lerr) {
    Outputs o{t, nullptr, D, Dl, Dv, x, y, nullptr, e, h, s, cv, cp, w};
    const std::string problem = check({{Input::Pressure, p}, {Input::Fraction, q}, {Input::Flag, kq}});
    runFlash("PQFLSHdll", at("P-Q flash", value("P", p, kP), value("q", q, "")), problem, z, ierr, herr,
             lerr, o, [&](const System& sys) { return flashPQ(sys, *p, *q, *kq); });
}

void PHFLSHdll(double* p, double* h, double* z, double* t, double* D, double* Dl, double* Dv, double* x,
               double* y, double* q, double* e, double* s, double* cv, double* cp, double* w, int* ierr,
               char* herr, RpLength lerr) {
    Outputs o{t, nullptr, D, Dl, Dv, x, y, q, e, nullptr, s, cv, cp, w};
    const std::string problem = check({{Input::Pressure, p}, {Input::Value, h}});
    runFlash("PHFLSHdll", at("P-H flash", value("P", p, kP), value("h", h, kJ)), problem, z, ierr, herr, lerr, o,
             [&](const System& sys) { return flashPX(sys, *p, Spec::H, *h); });
}

void PSFLSHdll(double* p, double* s, double* z, double* t, double* D, double* Dl, double* Dv, double* x,
               double* y, double* q, double* e, double* h, double* cv, double* cp, double* w, int* ierr,
               char* herr, RpLength lerr) {
    Outputs o{t, nullptr, D, Dl, Dv, x, y, q, e, h, nullptr, cv, cp, w};
    const std::string problem = check({{Input::Pressure, p}, {Input::Value, s}});
    runFlash("PSFLSHdll", at("P-S flash", value("P", p, kP), value("s", s, kS)), problem, z, ierr, herr, lerr, o,
             [&](const System& sys) { return flashPX(sys, *p, Spec::S, *s); });
}

void PEFLSHdll(double* p, double* e, double* z, double* t, double* D, double* Dl, double* Dv, double* x,
               double* y, double* q, double* h, double* s, double* cv, double* cp, double* w, int* ierr,
               char* herr, RpLength lerr) {
    Outputs o{t, nullptr, D, Dl, Dv, x, y, q, nullptr, h, s, cv, cp, w};
    const std::string problem = check({{Input::Pressure, p}, {Input::Value, e}});
    runFlash("PEFLSHdll", at("P-U flash", value("P", p, kP), value("e", e, kJ)), problem, z, ierr, herr, lerr, o,
             [&](const System& sys) { return flashPX(sys, *p, Spec::E, *e); });
}

void PDFLSHdll(double* p, double* D, double* z, double* t, double* Dl, double* Dv, double* x, double* y,
               double* q, double* e, double* h, double* s, double* cv, double* cp, double* w, int* ierr,
               char* herr, RpLength lerr) {
    Outputs o{t, nullptr, nullptr, Dl, Dv, x, y, q, e, h, s, cv, cp, w};
    const std::string problem = check({{Input::Pressure, p}, {Input::Density, D}});
    runFlash("PDFLSHdll", at("P-rho flash", value("P", p, kP), value("D", D, kD)), problem, z, ierr, herr, lerr, o,
             [&](const System& sys) { return flashPX(sys, *p, Spec::D, *D); });
}

void THFLSHdll(double* t, double* h, double* z, int* kr, double* p, double* D, double* Dl, double* Dv,
               double* x, double* y, double* q, double* e, double* s, double* cv, double* cp, double* w,
               int* ierr, char* herr, RpLength lerr) {
    Outputs o{nullptr, p, D, Dl, Dv, x, y, q, e, nullptr, s, cv, cp, w};
    const std::string problem = check({{Input::Temperature, t}, {Input::Value, h}, {Input::Flag, kr}});
    runFlash("THFLSHdll", at("T-H flash", value("T", t, kT), value("h", h, kJ)), problem, z, ierr, herr,
             lerr, o, [&](const System& sys) { return flashTX(sys, *t, Spec::H, *h, *kr); });
}

void TSFLSHdll(double* t, double* s, double* z, int* kr, double* p, double* D, double* Dl, double* Dv,
               double* x, double* y, double* q, double* e, double* h, double* cv, double* cp, double* w,
               int* ierr, char* herr, RpLength lerr) {
    Outputs o{nullptr, p, D, Dl, Dv, x, y, q, e, h, nullptr, cv, cp, w};
    const std::string problem = check({{Input::Temperature, t}, {Input::Value, s}, {Input::Flag, kr}});
    runFlash("TSFLSHdll", at("T-S flash", value("T", t, kT), value("s", s, kS)), problem, z, ierr, herr,
             lerr, o, [&](const System& sys) { return flashTX(sys, *t, Spec::S, *s, *kr); });
}

void TEFLSHdll(double* t, double* e, double* z, int* kr, double* p, double* D, double* Dl, double* Dv,
               double* x, double* y, double* q, double* h, double* s, double* cv, double* cp, double* w,
               int* ierr, char* herr, RpLength lerr) {
    Outputs o{nullptr, p, D, Dl, Dv, x, y, q, nullptr, h, s, cv, cp, w};
    const std::string problem = check({{Input::Temperature, t}, {Input::Value, e}, {Input::Flag, kr}});
    runFlash("TEFLSHdll", at("T-U flash", value("T", t, kT), value("e", e, kJ)), problem, z, ierr, herr,
             lerr, o, [&](const System& sys) { return flashTX(sys, *t, Spec::E, *e, *kr); });
}

void TDFLSHdll(double* t, double* D, double* z, double* p, double* Dl, double* Dv, double* x, double* y,
               double* q, double* e, double* h, double* s, double* cv, double* cp, double* w, int* ierr,
               char* herr, RpLength lerr) {
    Outputs o{nullptr, p, nullptr, Dl, Dv, x, y, q, e, h, s, cv, cp, w};
    const std::string problem = check({{Input::Temperature, t}, {Input::Density, D}});
    runFlash("TDFLSHdll", at("T-rho flash", value("T", t, kT), value("D", D, kD)), problem, z, ierr, herr, lerr, o,
             [&](const System& sys) { return flashTD(sys, *t, *D); });
}

void DHFLSHdll(double* D, double* h, double* z, double* t, double* p, double* Dl, double* Dv, double* x,
               double* y, double* q, double* e, double* s, double* cv, double* cp, double* w, int* ierr,
               char* herr, RpLength lerr) {
    Outputs o{t, p, nullptr, Dl, Dv, x, y, q, e, nullptr, s, cv, cp, w};
    const std::string problem = check({{Input::Density, D}, {Input::Value, h}});
    runFlash("DHFLSHdll", at("Rho-H flash", value("D", D, kD), value("h", h, kJ)), problem, z, ierr, herr, lerr, o,
             [&](const System& sys) { return flashDX(sys, *D, Spec::H, *h); });
}

void DSFLSHdll(double* D, double* s, double* z, double* t, double* p, double* Dl, double* Dv, double* x,
               double* y, double* q, double* e, double* h, double* cv, double* cp, double* w, int* ierr,
               char* herr, RpLength lerr) {
    Outputs o{t, p, nullptr, Dl, Dv, x, y, q, e, h, nullptr, cv, cp, w};
    const std::string problem = check({{Input::Density, D}, {Input::Value, s}});
    runFlash("DSFLSHdll", at("Rho-S flash", value("D", D, kD), value("s", s, kS)), problem, z, ierr, herr, lerr, o,
             [&](const System& sys) { return flashDX(sys, *D, Spec::S, *s); });
}

void DEFLSHdll(double* D, double* e, double* z, double* t, double* p, double* Dl, double* Dv, double* x,
               double* y, double* q, double* h, double* s, double* cv, double* cp, double* w, int* ierr,
               char* herr, RpLength lerr) {
    Outputs o{t, p, nullptr, Dl, Dv, x, y, q, nullptr, h, s, cv, cp, w};
    const std::string problem = check({{Input::Density, D}, {Input::Value, e}});
    runFlash("DEFLSHdll", at("Rho-U flash", value("D", D, kD), value("e", e, kJ)), problem, z, ierr, herr, lerr, o,
             [&](const System& sys) { return flashDX(sys, *D, Spec::E, *e); });
}

void HSFLSHdll(double* h, double* s, double* z, double* t, double* p, double* D, double* Dl, double* Dv,
               double* x, double* y, double* q, double* e, double* cv, double* cp, double* w, int* ierr,
               char* herr, RpLength lerr) {
    Outputs o{t, p, D, Dl, Dv, x, y, q, e, nullptr, nullptr, cv, cp, w};
    const std::string problem = check({{Input::Value, h}, {Input::Value, s}});
    runFlash("HSFLSHdll", at("S-H flash", value("h", h, kJ), value("s", s, kS)), problem, z, ierr, herr, lerr, o,
             [&](const System& sys) { return flashSX(sys, *s, Spec::H, *h); });
}

void ESFLSHdll(double* e, double* s, double* z, double* t, double* p, double* D, double* Dl, double* Dv,
               double* x, double* y, double* q, double* h, double* cv, double* cp, double* w, int* ierr,
               char* herr, RpLength lerr) {
    Outputs o{t, p, D, Dl, Dv, x, y, q, nullptr, h, nullptr, cv, cp, w};
    const std::string problem = check({{Input::Value, e}, {Input::Value, s}});
    runFlash("ESFLSHdll", at("S-U flash", value("e", e, kJ), value("s", s, kS)), problem, z, ierr, herr, lerr, o,
             [&](const System& sys) { return flashSX(sys, *s, Spec::E, *e); });
}

}  // extern "C"
