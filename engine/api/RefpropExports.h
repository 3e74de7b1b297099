// The routines of the stand-in REFPROP library. Every argument is passed by
// address; each character argument adds one hidden length (by value, 64-bit) at
// the end, in argument order. Units: K, kPa, mol/L, J/mol, J/(mol K).
#pragma once

extern "C" {

typedef long long RpLength;

// Setup and model selection
void SETUPdll(int* nc, char* hfiles, char* hfmix, char* hrf, int* ierr, char* herr,
              RpLength lfiles, RpLength lfmix, RpLength lrf, RpLength lerr);
void SETMODdll(int* nc, char* htype, char* hmix, char* hcomp, int* ierr, char* herr,
               RpLength ltype, RpLength lmix, RpLength lcomp, RpLength lerr);
void SETREFdll(char* hrf, int* ixflag, double* x0, double* h0, double* s0, double* t0,
               double* p0, int* ierr, char* herr, RpLength lrf, RpLength lerr);
void PREOSdll(int* i);
void GERG04dll(int* nc, int* iflag, int* ierr, char* herr, RpLength lerr);
void SETAGAdll(int* ierr, char* herr, RpLength lerr);

// Single-phase properties
void TPRHOdll(double* t, double* p, double* x, int* kph, int* kguess, double* D, int* ierr,
              char* herr, RpLength lerr);
void THERMdll(double* t, double* D, double* x, double* p, double* e, double* h, double* s,
              double* cv, double* cp, double* w, double* hjt);
void THERM0dll(double* t, double* D, double* x, double* p, double* e, double* h, double* s,
               double* cv, double* cp, double* w, double* a, double* g);
void THERM2dll(double* t, double* D, double* x, double* p, double* e, double* h, double* s,
               double* cv, double* cp, double* w, double* Z, double* hjt, double* A, double* G,
               double* xkappa, double* beta, double* dPdD, double* d2PdD2, double* dPdT,
               double* dDdT, double* dDdP, double* d2PdT2, double* d2PdTD, double* spare3,
               double* spare4);
void CVCPdll(double* t, double* D, double* x, double* cv, double* cp);
void ENTHALdll(double* t, double* D, double* x, double* h);
void AGdll(double* t, double* D, double* x, double* a, double* g);
void DHD1dll(double* t, double* D, double* x, double* dhdt_D, double* dhdt_p, double* dhdD_t,
             double* dhdD_p, double* dhdp_t, double* dhdp_D);
void FUGCOFdll(double* t, double* D, double* x, double* phi, int* ierr, char* herr, RpLength lerr);
void FGCTYdll(double* t, double* D, double* x, double* f);
void VIRBdll(double* t, double* x, double* B);
void DBDTdll(double* t, double* x, double* dBdT);
void TRNPRPdll(double* t, double* D, double* x, double* eta, double* tcx, int* ierr, char* herr,
               RpLength lerr);
void SURTENdll(double* t, double* Dl, double* Dv, double* xl, double* xv, double* sigma, int* ierr,
               char* herr, RpLength lerr);

// Saturation, flashes and the single-phase solver (engine/equilibrium)
void SATTdll(double* t, double* x, int* kph, double* p, double* Dl, double* Dv, double* xliq,
             double* xvap, int* ierr, char* herr, RpLength lerr);
void DPTSATKdll(int* icomp, double* t, int* kph, double* p, double* D, double* csat, double* dpdt,
                int* ierr, char* herr, RpLength lerr);
void CSATKdll(int* icomp, double* t, int* kph, double* p, double* D, double* csat, int* ierr,
              char* herr, RpLength lerr);
void TPFLSHdll(double* t, double* p, double* z, double* D, double* Dl, double* Dv, double* x,
               double* y, double* q, double* e, double* h, double* s, double* cv, double* cp,
               double* w, int* ierr, char* herr, RpLength lerr);
void TQFLSHdll(double* t, double* q, double* z, int* kq, double* p, double* D, double* Dl,
               double* Dv, double* x, double* y, double* e, double* h, double* s, double* cv,
               double* cp, double* w, int* ierr, char* herr, RpLength lerr);
void PQFLSHdll(double* p, double* q, double* z, int* kq, double* t, double* D, double* Dl,
               double* Dv, double* x, double* y, double* e, double* h, double* s, double* cv,
               double* cp, double* w, int* ierr, char* herr, RpLength lerr);
void PHFLSHdll(double* p, double* h, double* z, double* t, double* D, double* Dl, double* Dv,
               double* x, double* y, double* q, double* e, double* s, double* cv, double* cp,
               double* w, int* ierr, char* herr, RpLength lerr);
void PSFLSHdll(double* p, double* s, double* z, double* t, double* D, double* Dl, double* Dv,
               double* x, double* y, double* q, double* e, double* h, double* cv, double* cp,
               double* w, int* ierr, char* herr, RpLength lerr);
void PEFLSHdll(double* p, double* e, double* z, double* t, double* D, double* Dl, double* Dv,
               double* x, double* y, double* q, double* h, double* s, double* cv, double* cp,
               double* w, int* ierr, char* herr, RpLength lerr);
void PDFLSHdll(double* p, double* D, double* z, double* t, double* Dl, double* Dv, double* x,
               double* y, double* q, double* e, double* h, double* s, double* cv, double* cp,
               double* w, int* ierr, char* herr, RpLength lerr);
void THFLSHdll(double* t, double* h, double* z, int* kr, double* p, double* D, double* Dl,
               double* Dv, double* x, double* y, double* q, double* e, double* s, double* cv,
               double* cp, double* w, int* ierr, char* herr, RpLength lerr);
void TSFLSHdll(double* t, double* s, double* z, int* kr, double* p, double* D, double* Dl,
               double* Dv, double* x, double* y, double* q, double* e, double* h, double* cv,
               double* cp, double* w, int* ierr, char* herr, RpLength lerr);
void TEFLSHdll(double* t, double* e, double* z, int* kr, double* p, double* D, double* Dl,
               double* Dv, double* x, double* y, double* q, double* h, double* s, double* cv,
               double* cp, double* w, int* ierr, char* herr, RpLength lerr);
void TDFLSHdll(double* t, double* D, double* z, double* p, double* Dl, double* Dv, double* x,
               double* y, double* q, double* e, double* h, double* s, double* cv, double* cp,
               double* w, int* ierr, char* herr, RpLength lerr);
void DHFLSHdll(double* D, double* h, double* z, double* t, double* p, double* Dl, double* Dv,
               double* x, double* y, double* q, double* e, double* s, double* cv, double* cp,
               double* w, int* ierr, char* herr, RpLength lerr);
void DSFLSHdll(double* D, double* s, double* z, double* t, double* p, double* Dl, double* Dv,
               double* x, double* y, double* q, double* e, double* h, double* cv, double* cp,
               double* w, int* ierr, char* herr, RpLength lerr);
void DEFLSHdll(double* D, double* e, double* z, double* t, double* p, double* Dl, double* Dv,
               double* x, double* y, double* q, double* h, double* s, double* cv, double* cp,
               double* w, int* ierr, char* herr, RpLength lerr);
void HSFLSHdll(double* h, double* s, double* z, double* t, double* p, double* D, double* Dl,
               double* Dv, double* x, double* y, double* q, double* e, double* cv, double* cp,
               double* w, int* ierr, char* herr, RpLength lerr);
void ESFLSHdll(double* e, double* s, double* z, double* t, double* p, double* D, double* Dl,
               double* Dv, double* x, double* y, double* q, double* h, double* cv, double* cp,
               double* w, int* ierr, char* herr, RpLength lerr);
void ABFL1dll(double* a, double* b, double* z, int* kph, char* ab, double* Dmin, double* Dmax,
              double* t, double* p, double* D, int* ierr, char* herr, RpLength lab, RpLength lerr);

}  // extern "C"
