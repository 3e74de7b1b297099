#include "refprop/RefpropBinding.h"

#include <comdef.h>

#include <cmath>
#include <cstring>

#include "refprop/RefpropLibrary.h"

namespace tarnevo {
namespace {

constexpr RpLength kHerr = kHerrLength;

// A writable copy of a fixed-length character argument (REFPROP takes char*).
template <std::size_t N>
struct FixedText {
    char text[N + 1];
    explicit FixedText(const char* source) noexcept {
        std::memcpy(text, source, N);
        text[N] = 0;
    }
};

}  // namespace

void RefpropBinding::BlankMessage() noexcept {
    std::memset(herr, ' ', kHerrLength);
    herr[kHerrLength] = 0;
}

int RefpropBinding::TPRHO(double t, double p, double* x, int kph, double& D) {
    int kguess = (D == kUnsetValue || std::isnan(D)) ? 0 : 1;
    int ierr = 0;
    BlankMessage();
    routines.TPRHOdll(&t, &p, x, &kph, &kguess, &D, &ierr, herr, kHerr);
    return ierr;
}

int RefpropBinding::FUGCOF(double t, double D, double* x, double* phi) {
    int ierr = 0;
    BlankMessage();
    routines.FUGCOFdll(&t, &D, x, phi, &ierr, herr, kHerr);
    return ierr;
}

void RefpropBinding::FGCTY(double t, double D, double* x, double* f) { routines.FGCTYdll(&t, &D, x, f); }

int RefpropBinding::TRNPRP(double t, double D, double* x, double& eta, double& tcx) {
    int ierr = 0;
    BlankMessage();
    routines.TRNPRPdll(&t, &D, x, &eta, &tcx, &ierr, herr, kHerr);
    return ierr;
}

int RefpropBinding::SURTEN(double t, double Dl, double Dv, double* xl, double* xv, double& sigma) {
    int ierr = 0;
    BlankMessage();
    routines.SURTENdll(&t, &Dl, &Dv, xl, xv, &sigma, &ierr, herr, kHerr);
    return ierr;
}

int RefpropBinding::SATT(double t, double* x, int kph, double& p, double& Dl, double& Dv, double* xliq,
                         double* xvap) {
    int ierr = 0;
    BlankMessage();
    routines.SATTdll(&t, x, &kph, &p, &Dl, &Dv, xliq, xvap, &ierr, herr, kHerr);
    return ierr;
}

int RefpropBinding::CSATK(int icomp, double t, int kph, double& p, double& D, double& csat) {
    int ierr = 0;
    BlankMessage();
    routines.CSATKdll(&icomp, &t, &kph, &p, &D, &csat, &ierr, herr, kHerr);
    return ierr;
}

int RefpropBinding::DPTSATK(int icomp, double t, int kph, double& p, double& D, double& csat, double& dpdt) {
    int ierr = 0;
    BlankMessage();
    routines.DPTSATKdll(&icomp, &t, &kph, &p, &D, &csat, &dpdt, &ierr, herr, kHerr);
    return ierr;
}

int RefpropBinding::ABFL1(double a, double b, double* z, int kph, const char ab[2], double Dmin, double Dmax,
                          double& t, double& p, double& D) {
    FixedText<2> code(ab);
    int ierr = 0;
    BlankMessage();
    routines.ABFL1dll(&a, &b, z, &kph, code.text, &Dmin, &Dmax, &t, &p, &D, &ierr, herr, 2, kHerr);
    return ierr;
}

int RefpropBinding::SETUP(int nc, const std::string& hfiles, const std::string& hfmix, const char hrf[3]) {
    std::string files = hfiles;
    std::string mixture = hfmix;
    FixedText<3> reference(hrf);
    int ierr = 0;
    BlankMessage();
    routines.SETUPdll(&nc, &files[0], &mixture[0], reference.text, &ierr, herr, static_cast<RpLength>(files.size()),
                      static_cast<RpLength>(mixture.size()), 3, kHerr);
    return ierr;
}

int RefpropBinding::SETMOD(int nc, const char htype[3], const char hmix[3], const std::string& hcomp) {
    FixedText<3> type(htype);
    FixedText<3> mixture(hmix);
    std::string components = hcomp;
    components.push_back(0);
    int ierr = 0;
    BlankMessage();
    routines.SETMODdll(&nc, type.text, mixture.text, &components[0], &ierr, herr, 3, 3,
                       static_cast<RpLength>(hcomp.size()), kHerr);
    return ierr;
}

int RefpropBinding::GERG04(int nc, int iflag) {
    int ierr = 0;
    BlankMessage();
    routines.GERG04dll(&nc, &iflag, &ierr, herr, kHerr);
    return ierr;
}

void RefpropBinding::PREOS(int i) { routines.PREOSdll(&i); }

int RefpropBinding::SETAGA() {
    int ierr = 0;
    BlankMessage();
    routines.SETAGAdll(&ierr, herr, kHerr);
    return ierr;
}

void RefpropBinding::Unload() noexcept { UnloadRefpropLibrary(*this); }

std::wstring GetRefpropMessage(const RefpropBinding& binding) {
    int length = 0;
    while (length <= kHerrLength && binding.herr[length] != 0) ++length;
    std::wstring text;
    if (length > 0) {
        int wide = MultiByteToWideChar(CP_ACP, 0, binding.herr, length, nullptr, 0);
        if (wide > 0) {
            text.resize(static_cast<size_t>(wide));
            MultiByteToWideChar(CP_ACP, 0, binding.herr, length, &text[0], wide);
        }
    }
    if (text.size() > static_cast<size_t>(kHerrLength)) text.resize(kHerrLength);
    size_t end = text.find_last_not_of(L' ');
    text.erase(end == std::wstring::npos ? 0 : end + 1);
    return text;
}

void LogWarning(ICapeDiagnostic* diagnostics, const std::wstring& text) noexcept {
    if (!diagnostics) return;
    try {
        const std::wstring message = L"Warning: " + text;
        _bstr_t bstr(message.c_str());
        diagnostics->LogMessage(bstr);
    } catch (...) {
        // A warning that cannot be delivered is dropped; the calculation goes on.
    }
}

void ReportRefpropWarning(const RefpropBinding& binding, ICapeDiagnostic* diagnostics,
                          const std::wstring& context) noexcept {
    if (!diagnostics) return;
    try {
        LogWarning(diagnostics, context + L": " + GetRefpropMessage(binding));
    } catch (...) {
        // No memory for the text: the warning is dropped.
    }
}

}  // namespace tarnevo
