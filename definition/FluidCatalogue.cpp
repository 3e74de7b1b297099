#include "definition/FluidCatalogue.h"

#include <windows.h>

#include <memory>

#include "com/OwnedHandles.h"
#include "definition/AnsiText.h"
#include "definition/FileAccess.h"
#include "definition/FluidFileReader.h"
#include "definition/FormulaDeriver.h"

namespace tarnevo {

namespace {

bool HasFluidExtension(const std::wstring& name) {
    // The search also matches longer extensions through short names; keep only ".fld".
    return name.size() > 4 && EqualsNoCase(name.substr(name.size() - 4), L".fld");
}

bool ReadCatalogueEntry(const std::wstring& path, FluidCatalogueEntry& entry) {
    int errorNumber = 0;
    UniqueFile file = OpenFile(path, L"rb", errorNumber);
    if (!file) return false;
    const std::vector<std::string> lines = ReadHeaderLines(file.get(), 8);
    entry.filePath = path;
    entry.name = AnsiToWide(lines[0]);
    entry.casNumber = AnsiToWide(lines[1]);
    if (!lines[2].empty()) entry.synonyms.push_back(AnsiToWide(lines[2]));
    if (!lines[4].empty()) entry.synonyms.push_back(AnsiToWide(lines[4]));
    entry.structure = AnsiToWide(lines[3]);
    if (!entry.structure.empty() && !DeriveFormula(entry.structure, entry.formula)) entry.formula = entry.structure;
    double number = 0.0;
    if (ReadHeaderNumber(lines[5], number)) entry.molarMassText = AnsiToWide(lines[5]);
    if (ReadHeaderNumber(lines[7], number)) entry.boilingPointText = AnsiToWide(lines[7]);
    return true;
}

}  // namespace

std::vector<FluidCatalogueEntry> ScanFluidFolder(const std::wstring& folder) {
    std::vector<FluidCatalogueEntry> entries;
    WIN32_FIND_DATAW data;
    HANDLE handle = FindFirstFileW((folder + L"\\*.fld").c_str(), &data);
    if (handle == INVALID_HANDLE_VALUE) return entries;
    UniqueFind search(handle);
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring name = data.cFileName;
        if (!HasFluidExtension(name)) continue;
        FluidCatalogueEntry entry;
        if (ReadCatalogueEntry(folder + L"\\" + name, entry)) entries.push_back(std::move(entry));
    } while (FindNextFileW(handle, &data));
    return entries;
}

std::wstring JoinSynonyms(const FluidCatalogueEntry& entry) {
    std::wstring joined;
    for (const std::wstring& synonym : entry.synonyms) {
        if (!joined.empty()) joined += L", ";
        joined += synonym;
    }
    return joined;
}

int ScoreCatalogueEntry(const FluidCatalogueEntry& entry, const std::wstring& filter) {
    if (filter.empty()) return 1;
    const std::wstring lowered = ToLowerText(filter);
    std::vector<const std::wstring*> fields = {&entry.name,      &entry.casNumber,     &entry.molarMassText,
                                               &entry.boilingPointText, &entry.structure, &entry.formula};
    for (const std::wstring& synonym : entry.synonyms) fields.push_back(&synonym);
    int score = 0;
    for (const std::wstring* field : fields) {
        if (field->size() < lowered.size()) continue;
        const std::wstring text = ToLowerText(*field);
        if (text.size() == lowered.size()) {
            if (text == lowered) return 3;
        } else if (text.find(lowered) != std::wstring::npos) {
            score = 1;
        }
    }
    return score;
}

std::vector<size_t> FilterCatalogue(const std::vector<FluidCatalogueEntry>& entries, const std::wstring& filter) {
    std::vector<size_t> exact, partial;
    for (size_t i = 0; i < entries.size(); ++i) {
        const int score = ScoreCatalogueEntry(entries[i], filter);
        if (score > 1) {
            exact.push_back(i);
        } else if (score == 1) {
            partial.push_back(i);
        }
    }
    exact.insert(exact.end(), partial.begin(), partial.end());
    return exact;
}

std::wstring CompoundStringForFluidFile(const std::wstring& filePath, const std::wstring& refpropFolder) {
    const std::wstring prefix = refpropFolder + L"\\";
    if (!refpropFolder.empty() && filePath.size() > prefix.size() &&
        ToLowerText(filePath.substr(0, prefix.size())) == ToLowerText(prefix)) {
        return filePath.substr(prefix.size());
    }
    return filePath;
}

}  // namespace tarnevo
