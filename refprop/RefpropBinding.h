// One package's private REFPROP instance: the loaded copy, its routine table, the
// message buffer, and the call helpers that prepare `herr` and pass the hidden lengths.
//
//   int ierr = refprop.TPRHO(t, p, x, kph, rho);      // kguess from rho (unset marker: 0)
//   if (ierr > 0) throw CapeFailure(L"Failed to get density for given conditions: " + GetRefpropMessage(refprop));
//   if (ierr < 0) ReportRefpropWarning(refprop, diagnostics, L"Density calculation");
#pragma once

#include <windows.h>

#include <cfloat>
#include <memory>
#include <string>
#include <type_traits>

#include "TARNEVO.h"
#include "com/OwnedHandles.h"
#include "refprop/RefpropRoutines.h"

namespace tarnevo {

constexpr int kHerrLength = 255;
constexpr int kHfilesLength = 10000;
constexpr int kHfmixLength = 255;

// The "unset" marker of stored numbers and density guesses.
constexpr double kUnsetValue = -DBL_MAX;

struct RefpropBinding {
    bool libraryReady = false;
    std::wstring privateCopyPath;   // empty when there is no private copy
    UniqueHandle privateCopyLock;  // held open while the copy is ours (see RefpropLibrary.h)
    UniqueModule refpropModule;     // the loaded private copy
    char herr[kHerrLength + 1] = {};
    RefpropRoutineTable routines;

    // Blanks positions 0 … 254 of herr and puts 0 at 255; every helper below does it first.
    void BlankMessage() noexcept;

    // Density at (t, p): kguess is 0 when `D` is the unset marker or NaN, else 1 with `D`
    // as the starting guess. Returns ierr.
    int TPRHO(double t, double p, double* x, int kph, double& D);
    bool HasFUGCOF() const noexcept { return routines.FUGCOFdll != nullptr; }
    int FUGCOF(double t, double D, double* x, double* phi);   // only when HasFUGCOF()
    void FGCTY(double t, double D, double* x, double* f);
    int TRNPRP(double t, double D, double* x, double& eta, double& tcx);
    int SURTEN(double t, double Dl, double Dv, double* xl, double* xv, double& sigma);
    int SATT(double t, double* x, int kph, double& p, double& Dl, double& Dv, double* xliq, double* xvap);
    int CSATK(int icomp, double t, int kph, double& p, double& D, double& csat);
    int DPTSATK(int icomp, double t, int kph, double& p, double& D, double& csat, double& dpdt);
    int ABFL1(double a, double b, double* z, int kph, const char ab[2], double Dmin, double Dmax, double& t,
              double& p, double& D);
    // Any Flash15dll_t / FlashFlagdll_t routine: herr blanked, ierr and herr appended.
    template <class Routine, class... Args>
    int Flash(Routine routine, Args... args) {
        int ierr = 0;
        BlankMessage();
        routine(args..., &ierr, herr, static_cast<RpLength>(kHerrLength));
        return ierr;
    }

    // Setup routines (fluid system setup).
    int SETUP(int nc, const std::string& hfiles, const std::string& hfmix, const char hrf[3]);
    int SETMOD(int nc, const char htype[3], const char hmix[3], const std::string& hcomp);
    int GERG04(int nc, int iflag);
    void PREOS(int i);
    int SETAGA();

    // Releases the library and deletes the private copy (10 attempts, 100 ms apart).
    void Unload() noexcept;
};

// herr up to its first zero byte, decoded with the ANSI code page, at most 255
// characters, trailing blanks removed.
std::wstring GetRefpropMessage(const RefpropBinding& binding);

// Logs "Warning: " + text to `diagnostics`; nothing happens without one. Never throws.
void LogWarning(ICapeDiagnostic* diagnostics, const std::wstring& text) noexcept;

// Logs "Warning: " + context + ": " + GetRefpropMessage to `diagnostics`; nothing
// happens without one. Never interrupts the calculation.
void ReportRefpropWarning(const RefpropBinding& binding, ICapeDiagnostic* diagnostics,
                          const std::wstring& context) noexcept;

}  // namespace tarnevo
