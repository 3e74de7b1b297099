// SETUPdll, SETMODdll, SETREFdll and the model switches.
#include "api/Session.h"
#include "core/ReferenceState.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace tarnevo::engine;
using namespace tarnevo::engine::api;

namespace {

// Fortran character argument to text: at most `length` bytes, up to the first zero
// byte, without trailing blanks.
std::string fromFortran(const char* text, RpLength length) {
    if (!text || length <= 0) return std::string();
    size_t n = 0;
    while (n < static_cast<size_t>(length) && text[n] != '\0') ++n;
    std::string s(text, n);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
    return s;
}

std::string trim(std::string s) {
    const size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return std::string();
    const size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool exists(const std::string& path) { return std::ifstream(path, std::ios::binary).good(); }

#ifdef _WIN32
// Folder of this library, with a trailing backslash.
std::string moduleFolder() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&moduleFolder), &self);
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1);
}
#endif

// A file as given (absolute or relative to the current folder); failing that, the
// same name in the library's own fluids folder.
std::string resolve(const std::string& path) {
    if (exists(path)) return path;
#ifdef _WIN32
    const std::string name = path.substr(path.find_last_of("\\/:") + 1);
    const std::string inLibrary = moduleFolder() + "fluids\\" + name;
    if (!name.empty() && exists(inLibrary)) return inLibrary;
#endif
    return path;
}

const char* categoryName(const std::string& c) {
    return c == "EOS" ? "equation of state" : c == "ETA" ? "viscosity"
         : c == "TCX" ? "thermal conductivity" : "surface tension";
}

bool mixtureCodeAvailable(const std::string& category, const std::string& code) {
    if (code == "NBS") return true;
    if (category == "EOS") return code == "PR ";
    if (category == "STN") return code == "STX";
    return false;
}

using ModelChoices = std::vector<std::pair<std::string, ModelOptions>>;

// Checks SETMODdll choices against the fluid files of the mixture.
bool validateModels(const HelmholtzMixture& m, const ModelChoices& choices, std::string& message) {
    for (const auto& [category, options] : choices) {
        if (!options.mixtureCode.empty() && !mixtureCodeAvailable(category, options.mixtureCode)) {
            message = "mixture model \"" + options.mixtureCode + "\" (" + categoryName(category) +
                      ") is not available in this engine";
            return false;
        }
        if (static_cast<int>(options.componentCodes.size()) != m.size() && !options.componentCodes.empty()) {
            message = "model options for " + std::to_string(options.componentCodes.size()) +
                      " components but " + std::to_string(m.size()) + " fluids are set up";
            return false;
        }
        for (size_t i = 0; i < options.componentCodes.size(); ++i) {
            const std::string& code = options.componentCodes[i];
            if (code != "NBS" && !m.fluid(static_cast<int>(i)).provides(category, code)) {
                message = "model \"" + code + "\" (" + categoryName(category) +
                          ") is not available for fluid " + m.component(static_cast<int>(i)).name;
                return false;
            }
        }
    }
    return true;
}

// The equation of state the SETMODdll choices select: "PR", "FEQ" or the default.
// One mixture has one kind of equation for all its fluids.
bool chosenModel(const ModelChoices& choices, std::string& model, std::string& message) {
    model = kDefaultModel;
    for (const auto& [category, options] : choices) {
        if (category != "EOS") continue;
        std::string chosen = options.mixtureCode == "PR " ? "PR" : "";
        for (const std::string& code : options.componentCodes) {
            const std::string one = code == "PR " ? "PR" : code == "FEQ" ? "FEQ" : kDefaultModel;
            if (!chosen.empty() && one != chosen) {
                message = "Peng-Robinson and multiparameter equations of state in one mixture are not "
                          "available in this engine";
                return false;
            }
            chosen = one;
        }
        if (!chosen.empty()) model = chosen;
    }
    return true;
}

// Builds the session's mixture with the given model from what SETUPdll was given.
std::unique_ptr<HelmholtzMixture> build(const Session& s, const std::string& model, std::string& message) {
    auto mixture = createHelmholtzMixture(s.files, s.mixtureFile, message, model);
    if (mixture && s.reference.code != "DEF" && !applyReferenceState(*mixture, s.reference, message))
        return nullptr;
    return mixture;
}

}  // namespace

extern "C" void SETUPdll(int* nc, char* hfiles, char* hfmix, char* hrf, int* ierr, char* herr,
                         RpLength lfiles, RpLength lfmix, RpLength lrf, RpLength lerr) {
    const char* routine = "SETUPdll";
    guarded(routine, ierr, herr, lerr, [&] {
        Session& s = session();
        s.mixture.reset();
        // SETMODdll choices made before this call apply to this setup only.
        const ModelChoices choices = std::move(s.modelOptions);
        s.modelOptions.clear();
        if (!nc || *nc < 1 || *nc > kMaxComponents) {
            report(ierr, herr, lerr, kErrInput, routine,
                   "number of components " + (nc ? std::to_string(*nc) : std::string("missing")) +
                       " is not between 1 and " + std::to_string(kMaxComponents));
            return;
        }
        const std::string list = fromFortran(hfiles, lfiles);
        std::vector<std::string> files;
        size_t start = 0;
        while (true) {
            const size_t bar = list.find('|', start);
            files.push_back(trim(list.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
            if (bar == std::string::npos) break;
            start = bar + 1;
        }
        while (!files.empty() && files.back().empty() && static_cast<int>(files.size()) > *nc) files.pop_back();
        if (static_cast<int>(files.size()) != *nc) {
            report(ierr, herr, lerr, kErrInput, routine,
                   std::to_string(files.size()) + " fluid files given for " + std::to_string(*nc) + " components");
            return;
        }
        for (auto& f : files) {
            if (f.empty()) {
                report(ierr, herr, lerr, kErrInput, routine, "empty fluid file name");
                return;
            }
            f = resolve(f);
            if (!exists(f)) {
                report(ierr, herr, lerr, kErrFile, routine, "fluid file not found: " + f);
                return;
            }
        }
        std::string mixFile = trim(fromFortran(hfmix, lfmix));
        if (*nc > 1) {
            if (mixFile.empty()) {
                report(ierr, herr, lerr, kErrFile, routine, "no mixture file given");
                return;
            }
            mixFile = resolve(mixFile);
            if (!exists(mixFile)) {
                report(ierr, herr, lerr, kErrFile, routine, "mixture file not found: " + mixFile);
                return;
            }
        } else {
            mixFile.clear();  // a pure fluid needs no binary parameters
        }
        ReferenceChoice reference;
        reference.code = upper(trim(fromFortran(hrf, lrf)));
        if (reference.code.empty()) reference.code = "DEF";
        if (reference.code != "DEF" && reference.code != "NBP" && reference.code != "ASH" &&
            reference.code != "IIR") {
            report(ierr, herr, lerr, kErrInput, routine,
                   "reference state \"" + reference.code + "\" is not one of DEF, NBP, ASH, IIR");
            return;
        }
        std::string message, model;
        if (!chosenModel(choices, model, message)) {
            report(ierr, herr, lerr, kErrModel, routine, message);
            return;
        }
        auto mixture = createHelmholtzMixture(files, mixFile, message, model);
        if (!mixture) {
            report(ierr, herr, lerr, kErrFile, routine, message);
            return;
        }
        if (!validateModels(*mixture, choices, message)) {
            report(ierr, herr, lerr, kErrModel, routine, message);
            return;
        }
        if (reference.code != "DEF" && !applyReferenceState(*mixture, reference, message)) {
            report(ierr, herr, lerr, kErrCalculation, routine, message);
            return;
        }
        s.mixture = std::move(mixture);
        s.files = files;
        s.mixtureFile = mixFile;
        s.model = s.activeModel = model;
        s.reference = reference;
        s.xWork.assign(*nc, 0.0);
        succeed(ierr, herr, lerr);
    });
}

extern "C" void SETMODdll(int* nc, char* htype, char* hmix, char* hcomp, int* ierr, char* herr,
                          RpLength ltype, RpLength lmix, RpLength lcomp, RpLength lerr) {
    const char* routine = "SETMODdll";
    guarded(routine, ierr, herr, lerr, [&] {
        if (!nc || *nc < 1 || *nc > kMaxComponents) {
            report(ierr, herr, lerr, kErrInput, routine, "number of components is not between 1 and " +
                                                          std::to_string(kMaxComponents));
            return;
        }
        const std::string type = upper(trim(fromFortran(htype, ltype)));
        std::string mix = upper(fromFortran(hmix, std::min<RpLength>(lmix, 3)));
        mix.resize(3, ' ');
        const std::string comp = upper(fromFortran(hcomp, lcomp));
        Session& s = session();
        if (type == "NBS") {  // back to the recommended models
            s.modelOptions.clear();
            succeed(ierr, herr, lerr);
            return;
        }
        if (type != "EOS" && type != "ETA" && type != "TCX" && type != "STN") {
            report(ierr, herr, lerr, kErrInput, routine,
                   "model category \"" + type + "\" is not one of EOS, ETA, TCX, STN");
            return;
        }
        ModelOptions options;
        options.mixtureCode = mix;
        for (int i = 0; i < *nc; ++i) {
            std::string code = static_cast<size_t>(3 * i) < comp.size() ? comp.substr(3 * i, 3) : "";
            code.resize(3, ' ');
            options.componentCodes.push_back(code == "   " ? "NBS" : code);
        }
        auto previous = s.modelOptions;
        auto it = std::find_if(s.modelOptions.begin(), s.modelOptions.end(),
                               [&](const auto& entry) { return entry.first == type; });
        if (it != s.modelOptions.end()) it->second = options;
        else s.modelOptions.emplace_back(type, options);
        // Checked against the fluid files now when fluids are set up, else at SETUPdll.
        std::string message;
        if (s.mixture && !validateModels(*s.mixture, s.modelOptions, message)) {
            s.modelOptions = previous;
            report(ierr, herr, lerr, kErrModel, routine, message);
            return;
        }
        if (!s.mixture) {
            for (const auto& [category, o] : s.modelOptions)
                if (!o.mixtureCode.empty() && !mixtureCodeAvailable(category, o.mixtureCode)) {
                    s.modelOptions = previous;
                    report(ierr, herr, lerr, kErrModel, routine,
                           "mixture model \"" + o.mixtureCode + "\" (" + categoryName(category) +
                               ") is not available in this engine");
                    return;
                }
        }
        succeed(ierr, herr, lerr);
    });
}

extern "C" void SETREFdll(char* hrf, int* ixflag, double* x0, double* h0, double* s0, double* t0,
                          double* p0, int* ierr, char* herr, RpLength lrf, RpLength lerr) {
    const char* routine = "SETREFdll";
    (void)x0;
    guarded(routine, ierr, herr, lerr, [&] {
        if (auto why = checkSetUp(); !why.empty()) {
            report(ierr, herr, lerr, kErrNotSetUp, routine, why);
            return;
        }
        if (ixflag && *ixflag == 2) {
            report(ierr, herr, lerr, kErrNotAvailable, routine,
                   "a mixture reference state (ixflag = 2) is not available in this engine");
            return;
        }
        ReferenceChoice choice;
        choice.code = upper(trim(fromFortran(hrf, lrf)));
        if (choice.code.empty()) choice.code = "DEF";
        if (choice.code == "OTH") {
            if (!h0 || !s0 || !t0 || !p0 || !std::isfinite(*h0) || !std::isfinite(*s0) ||
                !checkTemperature(t0).empty() || !checkPressure(p0).empty()) {
                report(ierr, herr, lerr, kErrInput, routine,
                       "reference state OTH needs finite h0 and s0, T0 > 0 and p0 > 0");
                return;
            }
            choice.h0 = *h0;
            choice.s0 = *s0;
            choice.t0 = *t0;
            choice.p0 = *p0;
        }
        std::string message;
        if (!applyReferenceState(*session().mixture, choice, message)) {
            // Leave the fluid system with its default reference state.
            std::string ignored;
            applyReferenceState(*session().mixture, ReferenceChoice{}, ignored);
            report(ierr, herr, lerr, kErrInput, routine, message);
            return;
        }
        succeed(ierr, herr, lerr);
    });
}

extern "C" void PREOSdll(int* i) {
    recordCall("PREOSdll");
    // 0: the equations chosen at setup; 1 or 2: Peng-Robinson for every calculation.
    if (!i) return;
    Session& s = session();
    s.peng_robinson = *i;
    const std::string model = *i == 0 ? s.model : "PR";
    if (!s.mixture || model == s.activeModel) return;
    std::string message;
    if (auto mixture = build(s, model, message)) {
        s.mixture = std::move(mixture);
        s.activeModel = model;
    }
}

extern "C" void GERG04dll(int* nc, int* iflag, int* ierr, char* herr, RpLength lerr) {
    const char* routine = "GERG04dll";
    (void)nc;
    guarded(routine, ierr, herr, lerr, [&] {
        if (iflag && *iflag == 0) {
            succeed(ierr, herr, lerr);
            return;
        }
        report(ierr, herr, lerr, kErrNotAvailable, routine,
               "the GERG-2008 model is not available in this engine");
    });
}

extern "C" void SETAGAdll(int* ierr, char* herr, RpLength lerr) {
    const char* routine = "SETAGAdll";
    guarded(routine, ierr, herr, lerr, [&] {
        report(ierr, herr, lerr, kErrNotAvailable, routine,
               "the AGA8 model is not available in this engine");
    });
}
