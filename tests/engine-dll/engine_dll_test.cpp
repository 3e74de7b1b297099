// refprp64.dll and refprop.dll under Wine: exports by name, a natural gas set up
// from the fluid files, calls with the hidden-length convention, call recording.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "com/OwnedHandles.h"

using ::testing::HasSubstr;

namespace {

using Library = tarnevo::UniqueModule;

typedef long long Len;
using SetupFn = void (*)(int*, char*, char*, char*, int*, char*, Len, Len, Len, Len);
using TprhoFn = void (*)(double*, double*, double*, int*, int*, double*, int*, char*, Len);
using ThermFn = void (*)(double*, double*, double*, double*, double*, double*, double*, double*,
                         double*, double*, double*);
using FugcofFn = void (*)(double*, double*, double*, double*, int*, char*, Len);
using TrnprpFn = void (*)(double*, double*, double*, double*, double*, int*, char*, Len);
using GergFn = void (*)(int*, int*, int*, char*, Len);
using TpflshFn = void (*)(double*, double*, double*, double*, double*, double*, double*, double*,
                          double*, double*, double*, double*, double*, double*, double*, int*,
                          char*, Len);

std::string slashes(std::string s) {
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
}

Library load(const std::string& folder, const char* name) {
    return Library(LoadLibraryA(slashes(folder + "/" + name).c_str()));
}

const char* const kRoutines[] = {
    "ABFL1dll",  "AGdll",     "CSATKdll",  "CVCPdll",   "DBDTdll",   "DEFLSHdll", "DHD1dll",
    "DHFLSHdll", "DPTSATKdll", "DSFLSHdll", "ENTHALdll", "ESFLSHdll", "FGCTYdll",  "FUGCOFdll",
    "GERG04dll", "HSFLSHdll", "PDFLSHdll", "PEFLSHdll", "PHFLSHdll", "PQFLSHdll", "PREOSdll",
    "PSFLSHdll", "SATTdll",   "SETAGAdll", "SETMODdll", "SETREFdll", "SETUPdll",  "SURTENdll",
    "TDFLSHdll", "TEFLSHdll", "THERM0dll", "THERM2dll", "THERMdll",  "THFLSHdll", "TPFLSHdll",
    "TPRHOdll",  "TQFLSHdll", "TRNPRPdll", "TSFLSHdll", "VIRBdll"};

struct Herr {
    char text[256];
    Herr() {
        std::fill(text, text + 255, ' ');
        text[255] = 0;
    }
    std::string str() const {
        std::string s(text, 255);
        return s.substr(0, s.find_last_not_of(' ') + 1);
    }
};

template <class Fn>
Fn routine(HMODULE m, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

// SETUPdll for the natural gas with the fluid files of the library's folder.
int setupNaturalGas(HMODULE m, const std::string& folder, Herr& herr, bool bareNames = false) {
    const char* names[] = {"METHANE", "ETHANE", "PROPANE", "NITROGEN", "CO2"};
    std::string files;
    for (const char* n : names) {
        if (!files.empty()) files += "|";
        files += bareNames ? std::string(n) + ".FLD" : slashes(folder + "/fluids/" + n + ".FLD");
    }
    files.resize(10000, ' ');
    std::string mix = slashes(folder + "/fluids/hmx.bnc");
    mix.resize(255, ' ');
    char hrf[] = "DEF";
    int nc = 5, ierr = -99;
    routine<SetupFn>(m, "SETUPdll")(&nc, files.data(), mix.data(), hrf, &ierr, herr.text, 10000,
                                    255, 3, 255);
    return ierr;
}

}  // namespace

TEST(EngineDll, BothLibraryNamesExportEveryRoutine) {
    for (const char* name : {"refprp64.dll", "refprop.dll"}) {
        Library lib = load(TARNEVO_ENGINE_DIR, name);
        ASSERT_TRUE(lib) << name << " error " << GetLastError();
        for (const char* r : kRoutines)
            EXPECT_NE(GetProcAddress(lib.get(), r), nullptr) << name << " " << r;
    }
}

TEST(EngineDll, NaturalGasFromFilesThroughTheExports) {
    Library lib = load(TARNEVO_ENGINE_DIR, "refprp64.dll");
    ASSERT_TRUE(lib);
    HMODULE m = lib.get();
    Herr herr;
    ASSERT_EQ(setupNaturalGas(m, TARNEVO_ENGINE_DIR, herr), 0) << herr.str();
    EXPECT_EQ(herr.text[255], 0);

    double x[5] = {0.85, 0.06, 0.03, 0.04, 0.02}, T = 280, p = 6000, D = 0;
    int kph = 2, kguess = 0, ierr = -99;
    routine<TprhoFn>(m, "TPRHOdll")(&T, &p, x, &kph, &kguess, &D, &ierr, herr.text, 255);
    ASSERT_EQ(ierr, 0) << herr.str();
    EXPECT_NEAR(D, 3.03, 0.2);

    double pp, e, h, s, cv, cp, w, hjt;
    routine<ThermFn>(m, "THERMdll")(&T, &D, x, &pp, &e, &h, &s, &cv, &cp, &w, &hjt);
    EXPECT_NEAR(pp, p, 1e-8 * p);
    EXPECT_NEAR(h, e + pp / D, 1e-9 * std::fabs(h));

    double phi[5];
    routine<FugcofFn>(m, "FUGCOFdll")(&T, &D, x, phi, &ierr, herr.text, 255);
    ASSERT_EQ(ierr, 0) << herr.str();
    for (double v : phi) EXPECT_TRUE(v > 0 && v < 2);

    double eta, tcx;
    routine<TrnprpFn>(m, "TRNPRPdll")(&T, &D, x, &eta, &tcx, &ierr, herr.text, 255);
    ASSERT_EQ(ierr, 0) << herr.str();
    EXPECT_GT(eta, 5);
    EXPECT_GT(tcx, 0.01);

    int nc = 5, iflag = 1;
    routine<GergFn>(m, "GERG04dll")(&nc, &iflag, &ierr, herr.text, 255);
    EXPECT_GT(ierr, 0);
    EXPECT_EQ(herr.str(), "GERG04dll: the GERG-2008 model is not available in this engine");

    // A flash answers with a result or a message, never silently.
    double t2 = 250, p2 = 5000, Dm, Dl, Dv, xl[5], xv[5], q, e2, h2, s2, cv2, cp2, w2;
    ierr = -99;
    routine<TpflshFn>(m, "TPFLSHdll")(&t2, &p2, x, &Dm, &Dl, &Dv, xl, xv, &q, &e2, &h2, &s2, &cv2,
                                     &cp2, &w2, &ierr, herr.text, 255);
    if (ierr > 0) {
        EXPECT_THAT(herr.str(), HasSubstr("TPFLSHdll"));
    }
}

TEST(EngineDll, BareFileNamesAreFoundInTheLibraryFluidsFolder) {
    Library lib = load(TARNEVO_ENGINE_DIR, "refprop.dll");
    ASSERT_TRUE(lib);
    Herr herr;
    EXPECT_EQ(setupNaturalGas(lib.get(), TARNEVO_ENGINE_DIR, herr, true), 0) << herr.str();
}

TEST(EngineDll, RecordingVariantAppendsOneLinePerCall) {
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string file = std::string(temp) + "engine_dll_calls.txt";
    DeleteFileA(file.c_str());
    ASSERT_TRUE(SetEnvironmentVariableA("TARNEVO_RECORD_FILE", file.c_str()));
    {
        Library lib = load(TARNEVO_ENGINE_RECORDING_DIR, "refprp64.dll");
        ASSERT_TRUE(lib);
        Herr herr;
        ASSERT_EQ(setupNaturalGas(lib.get(), TARNEVO_ENGINE_RECORDING_DIR, herr), 0) << herr.str();
        double x[5] = {0.85, 0.06, 0.03, 0.04, 0.02}, T = 300, p = 1000, D;
        int kph = 2, kguess = 0, ierr;
        routine<TprhoFn>(lib.get(), "TPRHOdll")(&T, &p, x, &kph, &kguess, &D, &ierr, herr.text, 255);
        double pp, e, h, s, cv, cp, w, hjt;
        routine<ThermFn>(lib.get(), "THERMdll")(&T, &D, x, &pp, &e, &h, &s, &cv, &cp, &w, &hjt);
    }
    SetEnvironmentVariableA("TARNEVO_RECORD_FILE", nullptr);
    std::vector<std::string> lines;
    {
        std::ifstream in(file);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"SETUPdll", "TPRHOdll", "THERMdll"}));
    // The plain library records nothing.
    ASSERT_TRUE(DeleteFileA(file.c_str()));
    SetEnvironmentVariableA("TARNEVO_RECORD_FILE", file.c_str());
    {
        Library lib = load(TARNEVO_ENGINE_DIR, "refprp64.dll");
        Herr herr;
        setupNaturalGas(lib.get(), TARNEVO_ENGINE_DIR, herr);
    }
    SetEnvironmentVariableA("TARNEVO_RECORD_FILE", nullptr);
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(EngineDll, TwoLoadedLibrariesKeepTheirOwnFluidSystems) {
    Library gas = load(TARNEVO_ENGINE_DIR, "refprp64.dll");
    Library pure = load(TARNEVO_ENGINE_DIR, "refprop.dll");
    ASSERT_TRUE(gas && pure);
    Herr herr;
    ASSERT_EQ(setupNaturalGas(gas.get(), TARNEVO_ENGINE_DIR, herr), 0) << herr.str();
    std::string files = slashes(std::string(TARNEVO_ENGINE_DIR) + "/fluids/WATER.FLD");
    files.resize(10000, ' ');
    std::string mix(255, ' ');
    char hrf[] = "DEF";
    int nc = 1, ierr = -99;
    routine<SetupFn>(pure.get(), "SETUPdll")(&nc, files.data(), mix.data(), hrf, &ierr, herr.text,
                                             10000, 255, 3, 255);
    ASSERT_EQ(ierr, 0) << herr.str();

    double T = 300, p = 101.325, D = 0, water[1] = {1};
    int kph = 1, kguess = 0;
    routine<TprhoFn>(pure.get(), "TPRHOdll")(&T, &p, water, &kph, &kguess, &D, &ierr, herr.text, 255);
    EXPECT_EQ(ierr, 0);
    EXPECT_GT(D, 40);
    double x[5] = {0.85, 0.06, 0.03, 0.04, 0.02};
    kph = 2;
    routine<TprhoFn>(gas.get(), "TPRHOdll")(&T, &p, x, &kph, &kguess, &D, &ierr, herr.text, 255);
    EXPECT_EQ(ierr, 0);
    EXPECT_LT(D, 0.05);
}

TEST(EngineDll, BadInputAcrossTheBoundaryGivesCodesNotCrashes) {
    Library lib = load(TARNEVO_ENGINE_DIR, "refprp64.dll");
    ASSERT_TRUE(lib);
    Herr herr;
    double x[5] = {0.85, 0.06, 0.03, 0.04, 0.02}, T = NAN, p = 1000, D = 0;
    int kph = 2, kguess = 0, ierr = 0;
    // Nothing set up yet in this fresh instance.
    routine<TprhoFn>(lib.get(), "TPRHOdll")(&T, &p, x, &kph, &kguess, &D, &ierr, herr.text, 255);
    EXPECT_EQ(ierr, 2);
    EXPECT_EQ(herr.str(), "TPRHOdll: no fluids are set up (call SETUPdll first)");
    ASSERT_EQ(setupNaturalGas(lib.get(), TARNEVO_ENGINE_DIR, herr), 0);
    routine<TprhoFn>(lib.get(), "TPRHOdll")(&T, &p, x, &kph, &kguess, &D, &ierr, herr.text, 255);
    EXPECT_EQ(ierr, 1);
    EXPECT_THAT(herr.str(), HasSubstr("temperature nan K is not valid"));
    double pp = 0, e, h, s, cv, cp, w, hjt;
    D = -1;
    T = 300;
    routine<ThermFn>(lib.get(), "THERMdll")(&T, &D, x, &pp, &e, &h, &s, &cv, &cp, &w, &hjt);
    EXPECT_TRUE(std::isnan(pp) && std::isnan(h));
}
