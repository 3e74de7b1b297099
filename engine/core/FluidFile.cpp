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
        std::vector<double> values;
        std::string word;
        while (in >> word) {
            double v;
            if (!parseNumber(word, v)) return fail(i, "not a number: " + word);
            values.push_back(v);
        }
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
        }
        if (!ok) return fail(i, "unexpected line \"" + line + "\" in section " + section);
    }
    if (!sawPr || d.tc <= 0 || d.pc <= 0) return fail(lines.size(), "no Peng-Robinson constants");
    if (!sawCp0 || d.cp0.R <= 0) return fail(lines.size(), "no ideal-gas heat capacity");
    for (const auto& term : d.cp0.planck)
        if (!(term.second > 0)) return fail(lines.size(), "cp0 term with a characteristic temperature <= 0");
    if (d.tmax <= 0) d.tmax = 10 * d.tc;
    if (d.pmax <= 0) d.pmax = 1e6;
    out = std::move(d);
    return true;
}

double BinaryParameters::get(const std::string& a, const std::string& b) const {
    auto it = kij.find(a < b ? std::make_pair(a, b) : std::make_pair(b, a));
    return it == kij.end() ? 0.0 : it->second;
}

bool readMixtureFile(const std::string& path, BinaryParameters& out, std::string& message) {
    std::vector<std::string> lines;
    if (!readLines(path, lines, message)) return false;
    BinaryParameters p;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        std::istringstream in(lines[i]);
        std::string model, cas1, cas2, value, extra;
        in >> model >> cas1 >> cas2 >> value;
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
    out = std::move(p);
    return true;
}

}  // namespace tarnevo::engine
