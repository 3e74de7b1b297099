// Saturation, flash and single-phase solver routines while the equilibrium
// solvers are not part of the build: each reports that it is not available.
#include "api/Session.h"

using namespace tarnevo::engine::api;

namespace {

void notAvailable(const char* routine, int* ierr, char* herr, RpLength lerr) {
    recordCall(routine);
    report(ierr, herr, lerr, kErrNotAvailable, routine, "not available in this build of the engine");
}

}  // namespace

#define TARNEVO_FLASH_STUB(name, ...)                                      \
    extern "C" void name(__VA_ARGS__, int* ierr, char* herr, RpLength lerr) { \
        notAvailable(#name, ierr, herr, lerr);                             \
    }

TARNEVO_FLASH_STUB(SATTdll, double*, double*, int*, double*, double*, double*, double*, double*)
TARNEVO_FLASH_STUB(DPTSATKdll, int*, double*, int*, double*, double*, double*, double*)
TARNEVO_FLASH_STUB(CSATKdll, int*, double*, int*, double*, double*, double*)
TARNEVO_FLASH_STUB(TPFLSHdll, double*, double*, double*, double*, double*, double*, double*, double*,
                   double*, double*, double*, double*, double*, double*, double*)
TARNEVO_FLASH_STUB(TQFLSHdll, double*, double*, double*, int*, double*, double*, double*, double*,
                   double*, double*, double*, double*, double*, double*, double*, double*)
TARNEVO_FLASH_STUB(PQFLSHdll, double*, double*, double*, int*, double*, double*, double*, double*,
                   double*, double*, double*, double*, double*, double*, double*, double*)
#define TARNEVO_FLASH15(name)                                                                   \
    TARNEVO_FLASH_STUB(name, double*, double*, double*, double*, double*, double*, double*,    \
                       double*, double*, double*, double*, double*, double*, double*, double*)
TARNEVO_FLASH15(PHFLSHdll)
TARNEVO_FLASH15(PSFLSHdll)
TARNEVO_FLASH15(PEFLSHdll)
TARNEVO_FLASH15(PDFLSHdll)
TARNEVO_FLASH15(TDFLSHdll)
TARNEVO_FLASH15(DHFLSHdll)
TARNEVO_FLASH15(DSFLSHdll)
TARNEVO_FLASH15(DEFLSHdll)
TARNEVO_FLASH15(HSFLSHdll)
TARNEVO_FLASH15(ESFLSHdll)
#define TARNEVO_FLASH_KR(name)                                                               \
    TARNEVO_FLASH_STUB(name, double*, double*, double*, int*, double*, double*, double*,    \
                       double*, double*, double*, double*, double*, double*, double*, double*, \
                       double*)
TARNEVO_FLASH_KR(THFLSHdll)
TARNEVO_FLASH_KR(TSFLSHdll)
TARNEVO_FLASH_KR(TEFLSHdll)

extern "C" void ABFL1dll(double*, double*, double*, int*, char*, double*, double*, double*,
                         double*, double*, int* ierr, char* herr, RpLength, RpLength lerr) {
    notAvailable("ABFL1dll", ierr, herr, lerr);
}
