// Ties the routine table to the declarations of the bundled engine's exports: a routine
// whose argument list differs between the two does not compile.
#include <type_traits>

#include "engine/api/RefpropExports.h"
#include "refprop/RefpropRoutines.h"

namespace tarnevo {

static_assert(std::is_same_v<decltype(&::FUGCOFdll), FUGCOFdll_t>, "FUGCOFdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::ABFL1dll), ABFL1dll_t>, "ABFL1dll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::AGdll), AGdll_t>, "AGdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::CSATKdll), CSATKdll_t>, "CSATKdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::CVCPdll), CVCPdll_t>, "CVCPdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::DBDTdll), DBDTdll_t>, "DBDTdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::DEFLSHdll), Flash15dll_t>, "DEFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::DHD1dll), DHD1dll_t>, "DHD1dll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::DHFLSHdll), Flash15dll_t>, "DHFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::DPTSATKdll), DPTSATKdll_t>, "DPTSATKdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::DSFLSHdll), Flash15dll_t>, "DSFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::ENTHALdll), ENTHALdll_t>, "ENTHALdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::ESFLSHdll), Flash15dll_t>, "ESFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::FGCTYdll), FGCTYdll_t>, "FGCTYdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::GERG04dll), GERG04dll_t>, "GERG04dll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::HSFLSHdll), Flash15dll_t>, "HSFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::PDFLSHdll), Flash15dll_t>, "PDFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::PEFLSHdll), Flash15dll_t>, "PEFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::PHFLSHdll), Flash15dll_t>, "PHFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::PQFLSHdll), FlashFlagdll_t>, "PQFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::PREOSdll), PREOSdll_t>, "PREOSdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::PSFLSHdll), Flash15dll_t>, "PSFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::SATTdll), SATTdll_t>, "SATTdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::SETAGAdll), SETAGAdll_t>, "SETAGAdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::SETMODdll), SETMODdll_t>, "SETMODdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::SETREFdll), SETREFdll_t>, "SETREFdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::SETUPdll), SETUPdll_t>, "SETUPdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::SURTENdll), SURTENdll_t>, "SURTENdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::TDFLSHdll), Flash15dll_t>, "TDFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::TEFLSHdll), FlashFlagdll_t>, "TEFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::THERM0dll), THERM0dll_t>, "THERM0dll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::THERM2dll), THERM2dll_t>, "THERM2dll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::THERMdll), THERMdll_t>, "THERMdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::THFLSHdll), FlashFlagdll_t>, "THFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::TPFLSHdll), Flash15dll_t>, "TPFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::TPRHOdll), TPRHOdll_t>, "TPRHOdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::TQFLSHdll), FlashFlagdll_t>, "TQFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::TRNPRPdll), TRNPRPdll_t>, "TRNPRPdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::TSFLSHdll), FlashFlagdll_t>, "TSFLSHdll: signature differs from the engine export");
static_assert(std::is_same_v<decltype(&::VIRBdll), VIRBdll_t>, "VIRBdll: signature differs from the engine export");

}  // namespace tarnevo
