// The REFPROP routine table: one typed entry point per routine, in slot order.
// Every argument is passed by address; each character argument adds one hidden
// length, passed by value as a 64-bit integer after the last listed argument.
#pragma once

#include <cstddef>

namespace tarnevo {

using RpLength = long long;

extern "C" {
// t, D, x[], phi[], ierr, herr
typedef void (*FUGCOFdll_t)(double*, double*, double*, double*, int*, char*, RpLength);
// a, b, z[], kph, ab, Dmin, Dmax, t, p, D, ierr, herr
typedef void (*ABFL1dll_t)(double*, double*, double*, int*, char*, double*, double*, double*, double*, double*,
                           int*, char*, RpLength, RpLength);
// t, D, x[], a, g
typedef void (*AGdll_t)(double*, double*, double*, double*, double*);
// icomp, t, kph, p, D, csat, ierr, herr
typedef void (*CSATKdll_t)(int*, double*, int*, double*, double*, double*, int*, char*, RpLength);
// t, D, x[], cv, cp
typedef void (*CVCPdll_t)(double*, double*, double*, double*, double*);
// t, x[], dBdT
typedef void (*DBDTdll_t)(double*, double*, double*);
// Flash routines with two specified values and 15 floating-point arguments in all,
// e.g. TPFLSHdll: t, p, z[], D, Dl, Dv, x[], y[], q, e, h, s, cv, cp, w, ierr, herr
typedef void (*Flash15dll_t)(double*, double*, double*, double*, double*, double*, double*, double*, double*,
                             double*, double*, double*, double*, double*, double*, int*, char*, RpLength);
// Flash routines with an integer flag after z[], e.g. TQFLSHdll:
// t, q, z[], kq, p, D, Dl, Dv, x[], y[], e, h, s, cv, cp, w, ierr, herr
typedef void (*FlashFlagdll_t)(double*, double*, double*, int*, double*, double*, double*, double*, double*,
                               double*, double*, double*, double*, double*, double*, double*, int*, char*,
                               RpLength);
// t, D, x[], dhdt_D, dhdt_p, dhdD_t, dhdD_p, dhdp_t, dhdp_D
typedef void (*DHD1dll_t)(double*, double*, double*, double*, double*, double*, double*, double*, double*);
// icomp, t, kph, p, D, csat, dpdt, ierr, herr
typedef void (*DPTSATKdll_t)(int*, double*, int*, double*, double*, double*, double*, int*, char*, RpLength);
// t, D, x[], h
typedef void (*ENTHALdll_t)(double*, double*, double*, double*);
// t, D, x[], f[]
typedef void (*FGCTYdll_t)(double*, double*, double*, double*);
// nc, iflag, ierr, herr
typedef void (*GERG04dll_t)(int*, int*, int*, char*, RpLength);
// i
typedef void (*PREOSdll_t)(int*);
// t, x[], kph, p, Dl, Dv, xliq[], xvap[], ierr, herr
typedef void (*SATTdll_t)(double*, double*, int*, double*, double*, double*, double*, double*, int*, char*,
                          RpLength);
// ierr, herr
typedef void (*SETAGAdll_t)(int*, char*, RpLength);
// nc, htype, hmix, hcomp, ierr, herr
typedef void (*SETMODdll_t)(int*, char*, char*, char*, int*, char*, RpLength, RpLength, RpLength, RpLength);
// hrf, ixflag, x0[], h0, s0, t0, p0, ierr, herr (resolved, never called)
typedef void (*SETREFdll_t)(char*, int*, double*, double*, double*, double*, double*, int*, char*, RpLength,
                            RpLength);
// nc, hfiles, hfmix, hrf, ierr, herr
typedef void (*SETUPdll_t)(int*, char*, char*, char*, int*, char*, RpLength, RpLength, RpLength, RpLength);
// t, Dl, Dv, xl[], xv[], sigma, ierr, herr
typedef void (*SURTENdll_t)(double*, double*, double*, double*, double*, double*, int*, char*, RpLength);
// t, D, x[], p, e, h, s, cv, cp, w, a, g
typedef void (*THERM0dll_t)(double*, double*, double*, double*, double*, double*, double*, double*, double*,
                            double*, double*, double*);
// t, D, x[], p, e, h, s, cv, cp, w, Z, hjt, A, G, xkappa, beta, dPdD, d2PdD2, dPdT, dDdT, dDdP,
// and four further outputs
typedef void (*THERM2dll_t)(double*, double*, double*, double*, double*, double*, double*, double*, double*,
                            double*, double*, double*, double*, double*, double*, double*, double*, double*,
                            double*, double*, double*, double*, double*, double*, double*);
// t, D, x[], p, e, h, s, cv, cp, w, hjt
typedef void (*THERMdll_t)(double*, double*, double*, double*, double*, double*, double*, double*, double*,
                           double*, double*);
// t, p, x[], kph, kguess, D, ierr, herr
typedef void (*TPRHOdll_t)(double*, double*, double*, int*, int*, double*, int*, char*, RpLength);
// t, D, x[], eta, tcx, ierr, herr
typedef void (*TRNPRPdll_t)(double*, double*, double*, double*, double*, int*, char*, RpLength);
// t, x[], B
typedef void (*VIRBdll_t)(double*, double*, double*);
}

// The 40 entry points in slot order. FUGCOFdll may be null; all others are set once
// the library is ready.
struct RefpropRoutineTable {
    FUGCOFdll_t FUGCOFdll = nullptr;        // 0 (optional)
    ABFL1dll_t ABFL1dll = nullptr;          // 1
    AGdll_t AGdll = nullptr;                // 2
    CSATKdll_t CSATKdll = nullptr;          // 3
    CVCPdll_t CVCPdll = nullptr;            // 4
    DBDTdll_t DBDTdll = nullptr;            // 5
    Flash15dll_t DEFLSHdll = nullptr;       // 6  D, e, z, t, p, Dl, Dv, x, y, q, h, s, cv, cp, w
    DHD1dll_t DHD1dll = nullptr;            // 7
    Flash15dll_t DHFLSHdll = nullptr;       // 8  D, h, z, t, p, Dl, Dv, x, y, q, e, s, cv, cp, w
    DPTSATKdll_t DPTSATKdll = nullptr;      // 9
    Flash15dll_t DSFLSHdll = nullptr;       // 10 D, s, z, t, p, Dl, Dv, x, y, q, e, h, cv, cp, w
    ENTHALdll_t ENTHALdll = nullptr;        // 11
    Flash15dll_t ESFLSHdll = nullptr;       // 12 resolved, never called
    FGCTYdll_t FGCTYdll = nullptr;          // 13
    GERG04dll_t GERG04dll = nullptr;        // 14
    Flash15dll_t HSFLSHdll = nullptr;       // 15 h, s, z, t, p, D, Dl, Dv, x, y, q, e, cv, cp, w
    Flash15dll_t PDFLSHdll = nullptr;       // 16 p, D, z, t, Dl, Dv, x, y, q, e, h, s, cv, cp, w
    Flash15dll_t PEFLSHdll = nullptr;       // 17 p, e, z, t, D, Dl, Dv, x, y, q, h, s, cv, cp, w
    Flash15dll_t PHFLSHdll = nullptr;       // 18 p, h, z, t, D, Dl, Dv, x, y, q, e, s, cv, cp, w
    FlashFlagdll_t PQFLSHdll = nullptr;     // 19 p, q, z, kq, t, D, Dl, Dv, x, y, e, h, s, cv, cp, w
    PREOSdll_t PREOSdll = nullptr;          // 20
    Flash15dll_t PSFLSHdll = nullptr;       // 21 p, s, z, t, D, Dl, Dv, x, y, q, e, h, cv, cp, w
    SATTdll_t SATTdll = nullptr;            // 22
    SETAGAdll_t SETAGAdll = nullptr;        // 23
    SETMODdll_t SETMODdll = nullptr;        // 24
    SETREFdll_t SETREFdll = nullptr;        // 25 resolved, never called
    SETUPdll_t SETUPdll = nullptr;          // 26
    SURTENdll_t SURTENdll = nullptr;        // 27
    Flash15dll_t TDFLSHdll = nullptr;       // 28 t, D, z, p, Dl, Dv, x, y, q, e, h, s, cv, cp, w
    FlashFlagdll_t TEFLSHdll = nullptr;     // 29 t, e, z, kr, p, D, Dl, Dv, x, y, q, h, s, cv, cp, w
    THERM0dll_t THERM0dll = nullptr;        // 30
    THERM2dll_t THERM2dll = nullptr;        // 31
    THERMdll_t THERMdll = nullptr;          // 32
    FlashFlagdll_t THFLSHdll = nullptr;     // 33 t, h, z, kr, p, D, Dl, Dv, x, y, q, e, s, cv, cp, w
    Flash15dll_t TPFLSHdll = nullptr;       // 34 t, p, z, D, Dl, Dv, x, y, q, e, h, s, cv, cp, w
    TPRHOdll_t TPRHOdll = nullptr;          // 35
    FlashFlagdll_t TQFLSHdll = nullptr;     // 36 t, q, z, kq, p, D, Dl, Dv, x, y, e, h, s, cv, cp, w
    TRNPRPdll_t TRNPRPdll = nullptr;        // 37
    FlashFlagdll_t TSFLSHdll = nullptr;     // 38 t, s, z, kr, p, D, Dl, Dv, x, y, q, e, h, cv, cp, w
    VIRBdll_t VIRBdll = nullptr;            // 39
};

constexpr std::size_t kRefpropRoutineCount = 40;

// The 39 required routines in resolution order (slots 1 … 39), as X(name).
#define TARNEVO_REQUIRED_REFPROP_ROUTINES(X)                                                               \
    X(ABFL1dll) X(AGdll) X(CSATKdll) X(CVCPdll) X(DBDTdll) X(DEFLSHdll) X(DHD1dll) X(DHFLSHdll)            \
    X(DPTSATKdll) X(DSFLSHdll) X(ENTHALdll) X(ESFLSHdll) X(FGCTYdll) X(GERG04dll) X(HSFLSHdll)           \
    X(PDFLSHdll) X(PEFLSHdll) X(PHFLSHdll) X(PQFLSHdll) X(PREOSdll) X(PSFLSHdll) X(SATTdll) X(SETAGAdll) \
    X(SETMODdll) X(SETREFdll) X(SETUPdll) X(SURTENdll) X(TDFLSHdll) X(TEFLSHdll) X(THERM0dll)            \
    X(THERM2dll) X(THERMdll) X(THFLSHdll) X(TPFLSHdll) X(TPRHOdll) X(TQFLSHdll) X(TRNPRPdll)             \
    X(TSFLSHdll) X(VIRBdll)

}  // namespace tarnevo
