#include "definition/FluidFileReader.h"

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <new>

#include "definition/AnsiText.h"
#include "definition/FileAccess.h"
#include "definition/FormulaDeriver.h"

namespace tarnevo {

namespace {

// Header lines longer than this are cut there; no header field is nearly as long.
constexpr size_t kMaxHeaderLine = 4096;

void FinishLine(std::string& line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
}

_locale_t ClassicLocale() {
    static _locale_t locale = _create_locale(LC_NUMERIC, "C");
    return locale;
}

}  // namespace

std::vector<std::string> ReadHeaderLines(std::FILE* file, size_t lineCount) {
    std::vector<std::string> lines(lineCount);
    size_t current = 0;
    bool inComment = false;
    char block[512];
    while (current < lineCount) {
        const size_t got = std::fread(block, 1, sizeof(block), file);
        if (got == 0) break;
        for (size_t i = 0; i < got && current < lineCount; ++i) {
            const char c = block[i];
            if (c == '\n') {
                FinishLine(lines[current]);
                ++current;
                inComment = false;
            } else if (c == '\r' || inComment) {
            } else if (c == '!') {
                inComment = true;
            } else if (lines[current].size() < kMaxHeaderLine) {
                lines[current].push_back(c);
            }
        }
    }
    if (current < lineCount) FinishLine(lines[current]);
    return lines;
}

bool ReadHeaderNumber(const std::string& line, double& value) {
    const char* start = line.c_str();
    char* end = nullptr;
    const _locale_t locale = ClassicLocale();
    const double number = locale ? _strtod_l(start, &end, locale) : std::strtod(start, &end);
    if (end == start || !std::isfinite(number)) return false;
    value = number;
    return true;
}

std::wstring ResolveFluidPath(const std::wstring& refpropFolder, const std::wstring& compound) {
    if (compound.find(L':') != std::wstring::npos) return compound;
    return refpropFolder + L"\\" + compound;
}

bool ReadCompoundRecord(const std::wstring& refpropFolder, const std::wstring& compound,
                        CompoundRecord& record, std::wstring& message) {
    try {
        record = CompoundRecord();
        const std::wstring path = ResolveFluidPath(refpropFolder, compound);
        if (PathNamesDevice(compound)) {
            message = L"Fluid file path names a device: " + path;
            return false;
        }
        if (!PathExists(path)) {
            message = L"File does not exist: " + path;
            return false;
        }
        int errorNumber = 0;
        UniqueFile file = OpenFile(path, L"rb", errorNumber);
        if (!file) {
            message = L"Failed to open \"" + path + L"\" for reading: " + CrtErrorText(errorNumber);
            return false;
        }
        const std::vector<std::string> lines = ReadHeaderLines(file.get(), 13);
        file.reset();

        record.id = AnsiToWide(lines[0]);
        if (!lines[1].empty()) {
            record.hasCasNumber = true;
            record.casNumber = AnsiToWide(lines[1]);
        }
        if (!lines[3].empty()) {
            record.hasRawFormula = true;
            record.rawFormula = AnsiToWide(lines[3]);
        }
        struct NumberLine {
            size_t line;
            double* field;
            double factor;
        };
        const NumberLine numbers[] = {
            {5, &record.molecularWeight, 1.0},     {6, &record.tripleTemperature, 1.0},
            {7, &record.normalBoilingPoint, 1.0},  {8, &record.criticalTemperature, 1.0},
            {9, &record.criticalPressure, 1000.0}, {10, &record.criticalDensity, 1000.0},
            {11, &record.acentricFactor, 1.0},     {12, &record.dipoleMoment, 3.33564e-30},
        };
        for (const NumberLine& number : numbers) {
            double value = 0.0;
            if (ReadHeaderNumber(lines[number.line], value)) *number.field = value * number.factor;
        }
        if (record.id.empty()) {
            message = L"Compound in \"" + path + L"\" does not have a name";
            return false;
        }
        if (record.hasRawFormula) {
            record.hasFormula = true;
            if (!DeriveFormula(record.rawFormula, record.formula)) record.formula = record.rawFormula;
        }
        return true;
    } catch (const std::bad_alloc&) {
        message = L"Out of memory";
        return false;
    }
}

}  // namespace tarnevo
