#include "core/FluidFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tarnevo::engine {
namespace {

std::string stripComment(std::string line) {
    if (auto bang = line.find('!'); bang != std::string::npos) line.erase(bang);
    line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
    size_t start = line.find_first_not_of(" \t");
    return start == std::string::npos ? std::string() : line.substr(start);
}

bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    value = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !std::isfinite(value)) return false;
    while (*end == ' ' || *end == '\t') ++end;
    return *end == '\0';
}

bool readLines(const std::string& path, std::vector<std::string>& lines, std::string& message) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        message = "cannot open file \"" + path + "\"";
        return false;
    }
    std::string line;
    while (std::getline(in, line)) lines.push_back(stripComment(line));
    return true;
}

// Parses one term line of an equation or departure function ("term", "gaob", "na").
bool parseTerm(const std::string& key, const std::vector<double>& v, TermSet& set) {
    HelmholtzTerm k;
    if (key == "term" && v.size() == 11) {
        k.n = v[0], k.t = v[2], k.gd = v[3], k.ld = v[4], k.gt = v[5], k.lt = v[6];
        k.eta = v[7], k.eps = v[8], k.beta = v[9], k.gam = v[10];
    } else if (key == "gaob" && v.size() == 8) {
        k.kind = HelmholtzTerm::GaoB;
        k.n = v[0], k.t = v[2], k.eta = v[3], k.eps = v[4], k.beta = v[5], k.gam = v[6], k.b = v[7];
    } else if (key == "na" && v.size() == 8) {
        k.kind = HelmholtzTerm::NonAnalytic;
        k.n = v[0], k.a = v[1], k.nb = v[2], k.nbeta = v[3], k.A = v[4], k.B = v[5], k.C = v[6], k.D = v[7];
        set.terms.push_back(k);
        return true;
    } else {
        return false;
    }
    k.d = static_cast<int>(v[1]);
    if (k.d != v[1] || k.d < 0 || k.d > Reduced<double>::kMaxPower) return false;
    set.maxPower = std::max(set.maxPower, k.d);
    if (k.gd != 0 && k.ld == static_cast<int>(k.ld) && k.ld <= Reduced<double>::kMaxPower)
        set.maxPower = std::max(set.maxPower, static_cast<int>(k.ld));
    set.terms.push_back(k);
    return true;
}

bool parseNumbers(std::istringstream& in, std::vector<double>& values, std::string& bad) {
    std::string word;
    while (in >> word) {
        double v;
        if (!parseNumber(word, v)) {
            bad = word;
            return false;
        }
        values.push_back(v);
    }
    return true;
}

}  // namespace

bool FluidData::provides(const std::string& category, const std::string& code) const {
    auto it = models.find(category);
    if (it == models.end()) return false;
    for (const auto& c : it->second)
        if (c == code) return true;
    return false;
}

bool readFluidFile(const std::string& path, FluidData& out, std::string& message) {
    std::vector<std::string> lines;
    if (!readLines(path, lines, message)) return false;
    auto fail = [&](size_t line, const std::string& why) {
        message = "bad fluid file \"" + path + "\" at line " + std::to_string(line + 1) + ": " + why;
        return false;
    };
    if (lines.size() < 13) return fail(lines.size(), "header incomplete (13 lines expected)");
    FluidData d;
    d.path = path;
    ComponentConstants& c = d.constants;
    c.name = lines[0];
    c.cas = lines[1];
    if (c.name.empty()) return fail(0, "no fluid name");
    double* numbers[] = {&c.molarMass, &c.tTriple, &c.tNormalBoiling, &c.tCritical,
                         &c.pCritical, &c.rhoCritical, &c.acentric, &c.dipole};
    for (int i = 0; i < 8; ++i)
        if (!parseNumber(lines[5 + i], *numbers[i])) return fail(5 + i, "not a number");
    if (c.molarMass <= 0 || c.tCritical <= 0 || c.pCritical <= 0 || c.rhoCritical <= 0)
        return fail(5, "molar mass and critical constants must be positive");

    std::string section;
    bool sawPr = false, sawCp0 = false;
    for (size_t i = 13; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty()) continue;
        if (line[0] == '#') {
            section = line.substr(1);
            if (section == "PR") sawPr = true;
            if (section == "CP0") sawCp0 = true;
            if (section == "ST1") d.hasSurfaceTension = true;
            continue;
        }
        std::istringstream in(line);
        std::string key;
        in >> key;
        if (section == "MODELS") {
            std::string code;
            auto& codes = d.models[key];
            while (in >> code) codes.push_back(code == "PR" ? "PR " : code);
            continue;
        }
        std::string form;
        if (section == "ANC") in >> form;
        std::vector<double> values;
        std::string bad;
        if (!parseNumbers(in, values, bad)) return fail(i, "not a number: " + bad);
        auto need = [&](size_t n) { return values.size() == n; };
        bool ok = true;
        if (section == "PR") {
            double* target = key == "tc" ? &d.tc : key == "pc" ? &d.pc : key == "omega" ? &d.omega
                           : key == "tmin" ? &d.tmin : key == "tmax" ? &d.tmax
                           : key == "pmax" ? &d.pmax : nullptr;
            ok = target && need(1);
            if (ok) *target = values[0];
        } else if (section == "CP0") {
            if (key == "R" && need(1)) d.cp0.R = values[0];
            else if (key == "c0" && need(1)) d.cp0.c0 = values[0];
            else if (key == "power" && need(2)) d.cp0.power.emplace_back(values[0], values[1]);
            else if (key == "pe" && need(2)) d.cp0.planck.emplace_back(values[0], values[1]);
            else ok = false;
        } else if (section == "CHUNG") {
            if (key == "kappa" && need(1)) d.kappa = values[0];
        } else if (section == "ST1") {
            if (key == "tc" && need(1)) d.surfaceTension.tc = values[0];
            else if (key == "term" && need(2)) d.surfaceTension.terms.emplace_back(values[0], values[1]);
            else ok = false;
        } else if (section == "FEQ") {
            d.hasEquation = true;
            if (key == "R" && need(1)) d.eqR = values[0];
            else if (key == "tred" && need(1)) d.eqTred = values[0];
            else if (key == "rhored" && need(1)) d.eqRhored = values[0];
            else ok = parseTerm(key, values, d.eqTerms);
        } else if (section == "ANC") {
            Ancillary* a = key == "ps" ? &d.ps : key == "dl" ? &d.dl : key == "dv" ? &d.dv : nullptr;
            ok = a && values.size() >= 3 && values.size() % 2 == 1 && (form == "exp" || form == "lin");
            if (ok) {
                a->present = true;
                a->exponential = form == "exp";
                a->Tr = values[0], a->value = values[1], a->overT = values[2] != 0;
                for (size_t k = 3; k + 1 < values.size(); k += 2) a->terms.emplace_back(values[k], values[k + 1]);
            }
        }
        if (!ok) return fail(i, "unexpected line \"" + line + "\" in section " + section);
    }
    if (!sawPr || d.tc <= 0 || d.pc <= 0) return fail(lines.size(), "no Peng-Robinson constants");
    if (!sawCp0 || d.cp0.R <= 0) return fail(lines.size(), "no ideal-gas heat capacity");
    for (const auto& term : d.cp0.planck)
        if (!(term.second > 0)) return fail(lines.size(), "cp0 term with a characteristic temperature <= 0");
    if (d.hasEquation && (d.eqR <= 0 || d.eqTred <= 0 || d.eqRhored <= 0 || d.eqTerms.terms.empty()))
        return fail(lines.size(), "multiparameter equation without gas constant, reducing state or terms");
    if (d.tmax <= 0) d.tmax = 10 * d.tc;
    if (d.pmax <= 0) d.pmax = 1e6;
    out = std::move(d);
    return true;
}

double BinaryParameters::get(const std::string& a, const std::string& b) const {
    auto it = kij.find(a < b ? std::make_pair(a, b) : std::make_pair(b, a));
    return it == kij.end() ? 0.0 : it->second;
}

bool BinaryParameters::pair(const std::string& a, const std::string& b, MultiFluidPair& out) const {
    if (auto it = multiFluid.find({a, b}); it != multiFluid.end()) {
        out = it->second;
        return true;
    }
    auto it = multiFluid.find({b, a});
    if (it == multiFluid.end()) return false;
    out = it->second;
    out.betaT = 1 / out.betaT;
    out.betaV = 1 / out.betaV;
    return true;
}

namespace {

// "KW CAS1 CAS2 betaT gammaT betaV gammaV F departure"
bool parseMultiFluidLine(std::istringstream& in, BinaryParameters& p, std::string& why) {
    std::string cas1, cas2, dep, extra;
    in >> cas1 >> cas2;
    std::vector<double> v(5);
    for (double& x : v) {
        std::string w;
        if (!(in >> w) || !parseNumber(w, x)) {
            why = "expected: KW CAS1 CAS2 betaT gammaT betaV gammaV F departure";
            return false;
        }
    }
    in >> dep;
    if (dep.empty() || (in >> extra) || cas1 == cas2 || !(v[0] > 0) || !(v[2] > 0)) {
        why = "expected: KW CAS1 CAS2 betaT gammaT betaV gammaV F departure (betas > 0)";
        return false;
    }
    MultiFluidPair m{v[0], v[1], v[2], v[3], v[4], dep == "-" ? std::string() : dep};
    if (p.multiFluid.count({cas2, cas1}) || !p.multiFluid.emplace(std::make_pair(cas1, cas2), m).second) {
        why = "the pair " + cas1 + " " + cas2 + " is listed twice";
        return false;
    }
    return true;
}

}  // namespace

bool readMixtureFile(const std::string& path, BinaryParameters& out, std::string& message) {
    std::vector<std::string> lines;
    if (!readLines(path, lines, message)) return false;
    BinaryParameters p;
    TermSet* departure = nullptr;
    auto fail = [&](size_t i, const std::string& why) {
        message = "bad line " + std::to_string(i + 1) + " in mixture file \"" + path + "\": \"" +
                  lines[i] + "\" (" + why + ")";
        return false;
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        std::istringstream in(lines[i]);
        std::string model, cas1, cas2, value, extra;
        in >> model;
        if (departure) {
            std::vector<double> values;
            std::string bad;
            if (model == "END") departure = nullptr;
            else if (!parseNumbers(in, values, bad) || !parseTerm(model, values, *departure))
                return fail(i, "not a term of a departure function");
            continue;
        }
        if (model == "DEP") {
            in >> value;
            departure = &p.departures[value];
            continue;
        }
        if (model == "KW") {
            std::string why;
            if (!parseMultiFluidLine(in, p, why)) return fail(i, why);
            continue;
        }
        in >> cas1 >> cas2 >> value;
        double kij = 0;
        bool ok = model == "PR" && !cas1.empty() && !cas2.empty() && parseNumber(value, kij) &&
                  !(in >> extra) && std::fabs(kij) < 1 && cas1 != cas2;
        if (!ok) {
            // The line itself is not quoted: the file may be anything but a mixture file.
            message = "bad line " + std::to_string(i + 1) + " in mixture file \"" + path +
                      "\" (expected: PR CAS1 CAS2 kij, |kij| < 1)";
            return false;
        }
        const auto key = cas1 < cas2 ? std::make_pair(cas1, cas2) : std::make_pair(cas2, cas1);
        if (!p.kij.emplace(key, kij).second) {
            message = "bad line " + std::to_string(i + 1) + " in mixture file \"" + path +
                      "\": the pair " + cas1 + " " + cas2 + " is listed twice";
            return false;
        }
    }
    if (departure) return fail(lines.size() - 1, "departure function without END");
    for (const auto& [key, m] : p.multiFluid)
        if (!m.departure.empty() && !p.departures.count(m.departure)) {
            message = "mixture file \"" + path + "\": departure function " + m.departure + " is not defined";
            return false;
        }
    out = std::move(p);
    return true;
}

}  // namespace tarnevo::engine
