// State shared by every routine of the library (the fluid system set up by
// SETUPdll and the model options) and the helpers each routine uses: filling
// herr/ierr, checking inputs, recording calls.
#pragma once

#include "api/RefpropExports.h"
#include "core/HelmholtzMixture.h"
#include "core/ReferenceState.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace tarnevo::engine::api {

using ::RpLength;

constexpr int kMaxComponents = 20;
constexpr RpLength kMessageLength = 255;

// ierr values.
constexpr int kErrInput = 1;         // invalid argument
constexpr int kErrNotSetUp = 2;      // no fluid system
constexpr int kErrCalculation = 3;   // no solution at the given state
constexpr int kErrFile = 101;        // fluid or mixture file
constexpr int kErrModel = 102;       // model option not available
constexpr int kErrNotAvailable = 501;
constexpr int kWarnRange = -1;       // computed, outside the range of the data

struct ModelOptions {
    std::string mixtureCode;                // "" when not set
    std::vector<std::string> componentCodes;
};

struct Session {
    std::unique_ptr<HelmholtzMixture> mixture;
    // SETMODdll choices by category ("EOS", "ETA", "TCX", "STN"), checked and consumed
    // by the next SETUPdll.
    std::vector<std::pair<std::string, ModelOptions>> modelOptions;
    int peng_robinson = 0;  // PREOSdll flag
    // What SETUPdll was given, to rebuild the mixture when PREOSdll switches the model.
    std::vector<std::string> files;
    std::string mixtureFile, model;  // model chosen at setup ("PR" or "FEQ")
    std::string activeModel;         // model of the mixture in use
    ReferenceChoice reference;
    std::vector<double> xWork;  // normalised composition
};

Session& session();

// The fluid system set up by SETUPdll, or null.
const Mixture* currentMixture();
int componentCount();  // 0 when nothing is set up

// Writes text into herr blank-padded to min(length, 255) characters.
void writeMessage(char* herr, RpLength length, const std::string& text);
// ierr = 0 and herr blank.
void succeed(int* ierr, char* herr, RpLength length);
// ierr = code and herr = "<routine>: <cause>" (warnings: code < 0).
void report(int* ierr, char* herr, RpLength length, int code, const char* routine,
            const std::string& cause);

// Input checks: an empty string when fine, else the cause. checkComposition also
// requires a fluid system and returns in x the composition to use (normalised when
// the sum is within 1e-6 of one).
std::string checkSetUp();
std::string checkComposition(const double* x, const double*& use, const char* what = "composition");
// For the state-function routines (properties at given T, D, x): fractions whose sum is
// within 1e-4 of one are used as given, not normalised, so that a single fraction can be
// perturbed on its own (partial derivatives in one mole fraction).
std::string checkStateComposition(const double* x, const double*& use, const char* what = "composition");
std::string checkTemperature(const double* t);
std::string checkDensity(const double* D, bool zeroAllowed);
std::string checkPressure(const double* p);
// Range of the data for the composition: a warning text or empty.
std::string rangeWarning(double T, double p, const double* x);

// Appends "<routine>\n" to the file named by TARNEVO_RECORD_FILE (recording build only).
void recordCall(const char* routine);

std::string formatNumber(double v);

// Runs body(); an escaping exception becomes ierr > 0 with the routine's name.
template <class Body>
void guarded(const char* routine, int* ierr, char* herr, RpLength length, Body&& body) {
    recordCall(routine);
    try {
        body();
    } catch (const std::exception& e) {
        report(ierr, herr, length, kErrCalculation, routine, std::string("internal error: ") + e.what());
    } catch (...) {
        report(ierr, herr, length, kErrCalculation, routine, "internal error");
    }
}

}  // namespace tarnevo::engine::api
