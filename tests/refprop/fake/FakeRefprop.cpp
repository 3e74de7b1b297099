// A scripted stand-in for refprp64.dll, for the binding's tests.
// Every call appends one line to the file named by TARNEVO_FAKE_LOG:
//   "<ROUTINE> herr=<blank|dirty> <arguments>"
// and a routine listed in the file named by TARNEVO_FAKE_SCRIPT ("<ROUTINE> <ierr> <message>"
// per line) returns that ierr with the message in herr, blank-padded as REFPROP does.
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using Length = long long;

std::string Env(const char* name) {
    char buffer[1024];
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return (n > 0 && n < sizeof buffer) ? std::string(buffer, n) : std::string();
}

void Log(const std::string& line) {
    std::string path = Env("TARNEVO_FAKE_LOG");
    if (path.empty()) return;
    if (FILE* file = std::fopen(path.c_str(), "ab")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

std::string Trimmed(const char* text, Length length) {
    std::string value(text, static_cast<size_t>(length));
    size_t end = value.find_last_not_of(' ');
    return value.substr(0, end == std::string::npos ? 0 : end + 1);
}

const char* HerrState(const char* herr, Length length) {
    for (Length i = 0; i < length; ++i)
        if (herr[i] != ' ') return "dirty";
    return "blank";
}

// Applies the script line of `routine`, if any.
void Script(const char* routine, int* ierr, char* herr, Length length) {
    *ierr = 0;
    std::string path = Env("TARNEVO_FAKE_SCRIPT");
    if (path.empty()) return;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return;
    char line[1024];
    while (std::fgets(line, sizeof line, file)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        size_t space = text.find(' ');
        if (space == std::string::npos || text.substr(0, space) != routine) continue;
        size_t second = text.find(' ', space + 1);
        *ierr = std::atoi(text.substr(space + 1, second - space - 1).c_str());
        std::string message = second == std::string::npos ? std::string() : text.substr(second + 1);
        std::memset(herr, ' ', static_cast<size_t>(length));
        std::memcpy(herr, message.data(), std::min<size_t>(message.size(), static_cast<size_t>(length)));
        break;
    }
    std::fclose(file);
}

void Routine(const char* name, int* ierr, char* herr, Length length, const std::string& arguments = "") {
    Log(std::string(name) + " herr=" + HerrState(herr, length) + " lerr=" + std::to_string(length) +
        (arguments.empty() ? "" : " " + arguments));
    Script(name, ierr, herr, length);
}

void Plain(const char* name, const std::string& arguments = "") {
    Log(std::string(name) + (arguments.empty() ? "" : " " + arguments));
}

}  // namespace

extern "C" {

void SETUPdll(int* nc, char* hfiles, char* hfmix, char* hrf, int* ierr, char* herr, Length lfiles, Length lfmix,
              Length lrf, Length lerr) {
    Routine("SETUPdll", ierr, herr, lerr,
            "nc=" + std::to_string(*nc) + " lfiles=" + std::to_string(lfiles) + " lfmix=" + std::to_string(lfmix) +
                " lrf=" + std::to_string(lrf) + " hrf=" + std::string(hrf, 3) + " hfiles=" + Trimmed(hfiles, lfiles) +
                " hfmix=" + Trimmed(hfmix, lfmix));
}
void SETMODdll(int* nc, char* htype, char* hmix, char* hcomp, int* ierr, char* herr, Length ltype, Length lmix,
               Length lcomp, Length lerr) {
    Routine("SETMODdll", ierr, herr, lerr,
            "nc=" + std::to_string(*nc) + " htype=" + std::string(htype, static_cast<size_t>(ltype)) +
                " hmix=" + std::string(hmix, static_cast<size_t>(lmix)) +
                " hcomp=" + std::string(hcomp, static_cast<size_t>(lcomp)) + " lcomp=" + std::to_string(lcomp));
}
void SETREFdll(char*, int*, double*, double*, double*, double*, double*, int* ierr, char* herr, Length,
               Length lerr) {
    Routine("SETREFdll", ierr, herr, lerr);
}
void PREOSdll(int* i) { Plain("PREOSdll", "i=" + std::to_string(*i)); }
void GERG04dll(int* nc, int* iflag, int* ierr, char* herr, Length lerr) {
    Routine("GERG04dll", ierr, herr, lerr, "nc=" + std::to_string(*nc) + " iflag=" + std::to_string(*iflag));
}
void SETAGAdll(int* ierr, char* herr, Length lerr) { Routine("SETAGAdll", ierr, herr, lerr); }

void TPRHOdll(double* t, double* p, double*, int* kph, int* kguess, double* D, int* ierr, char* herr,
              Length lerr) {
    char arguments[160];
    std::snprintf(arguments, sizeof arguments, "t=%g p=%g kph=%d kguess=%d D=%g", *t, *p, *kph, *kguess, *D);
    Routine("TPRHOdll", ierr, herr, lerr, arguments);
    *D = 12.5;
}
void FUGCOFdll(double*, double*, double*, double* phi, int* ierr, char* herr, Length lerr) {
    Routine("FUGCOFdll", ierr, herr, lerr);
    phi[0] = 0.9;
}
void FGCTYdll(double*, double*, double*, double* f) {
    Plain("FGCTYdll");
    f[0] = 90.0;
}
void TRNPRPdll(double*, double*, double*, double* eta, double* tcx, int* ierr, char* herr, Length lerr) {
    Routine("TRNPRPdll", ierr, herr, lerr);
    *eta = 11.0;
    *tcx = 0.03;
}
void SURTENdll(double*, double*, double*, double*, double*, double* sigma, int* ierr, char* herr, Length lerr) {
    Routine("SURTENdll", ierr, herr, lerr);
    *sigma = 0.01;
}
void SATTdll(double*, double*, int* kph, double* p, double*, double*, double*, double*, int* ierr, char* herr,
             Length lerr) {
    Routine("SATTdll", ierr, herr, lerr, "kph=" + std::to_string(*kph));
    *p = 100.0;
}
void CSATKdll(int* icomp, double*, int*, double*, double*, double*, int* ierr, char* herr, Length lerr) {
    Routine("CSATKdll", ierr, herr, lerr, "icomp=" + std::to_string(*icomp));
}
void DPTSATKdll(int* icomp, double*, int*, double*, double*, double*, double*, int* ierr, char* herr,
                Length lerr) {
    Routine("DPTSATKdll", ierr, herr, lerr, "icomp=" + std::to_string(*icomp));
}
void ABFL1dll(double*, double*, double*, int*, char* ab, double*, double*, double*, double*, double*, int* ierr,
              char* herr, Length lab, Length lerr) {
    Routine("ABFL1dll", ierr, herr, lerr, "ab=" + std::string(ab, static_cast<size_t>(lab)) + " lab=" +
                                              std::to_string(lab));
}

void THERMdll(double*, double*, double*, double*, double*, double*, double*, double*, double*, double*, double*) {
    Plain("THERMdll");
}
void THERM0dll(double*, double*, double*, double*, double*, double*, double*, double*, double*, double*, double*,
               double*) {
    Plain("THERM0dll");
}
void THERM2dll(double*, double*, double*, double*, double*, double*, double*, double*, double*, double*, double*,
               double*, double*, double*, double*, double*, double*, double*, double*, double*, double*, double*,
               double*, double*, double*) {
    Plain("THERM2dll");
}
void CVCPdll(double*, double*, double*, double*, double*) { Plain("CVCPdll"); }
void ENTHALdll(double*, double*, double*, double*) { Plain("ENTHALdll"); }
void AGdll(double*, double*, double*, double*, double*) { Plain("AGdll"); }
void DHD1dll(double*, double*, double*, double*, double*, double*, double*, double*, double*) { Plain("DHD1dll"); }
void VIRBdll(double*, double*, double*) { Plain("VIRBdll"); }
void DBDTdll(double*, double*, double*) { Plain("DBDTdll"); }

#define FAKE_FLASH15(name)                                                                                    \
    void name(double*, double*, double*, double*, double*, double*, double*, double*, double*, double*, double*, \
              double*, double*, double*, double*, int* ierr, char* herr, Length lerr) {                       \
        Routine(#name, ierr, herr, lerr);                                                                     \
    }
#define FAKE_FLASH_FLAG(name)                                                                                   \
    void name(double*, double*, double*, int* flag, double*, double*, double*, double*, double*, double*,        \
              double*, double*, double*, double*, double*, double*, int* ierr, char* herr, Length lerr) {        \
        Routine(#name, ierr, herr, lerr, "flag=" + std::to_string(*flag));                                     \
    }
FAKE_FLASH15(TPFLSHdll)
FAKE_FLASH15(PHFLSHdll)
FAKE_FLASH15(PSFLSHdll)
FAKE_FLASH15(PEFLSHdll)
FAKE_FLASH15(PDFLSHdll)
FAKE_FLASH15(TDFLSHdll)
FAKE_FLASH15(DHFLSHdll)
FAKE_FLASH15(DSFLSHdll)
FAKE_FLASH15(DEFLSHdll)
FAKE_FLASH15(HSFLSHdll)
FAKE_FLASH15(ESFLSHdll)
FAKE_FLASH_FLAG(TQFLSHdll)
FAKE_FLASH_FLAG(PQFLSHdll)
FAKE_FLASH_FLAG(THFLSHdll)
FAKE_FLASH_FLAG(TSFLSHdll)
FAKE_FLASH_FLAG(TEFLSHdll)

}  // extern "C"
