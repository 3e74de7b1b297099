// The catalogue of the fluid files of a folder, for the add-compounds dialog.
#pragma once

#include <string>
#include <vector>

namespace tarnevo {

struct FluidCatalogueEntry {
    std::wstring filePath;          // full path of the fluid file
    std::wstring name;              // header line 0
    std::wstring casNumber;         // line 1
    std::vector<std::wstring> synonyms;  // full name (line 2) and synonym (line 4), each if given
    std::wstring structure;         // line 3 as written
    std::wstring formula;           // derived from line 3 (the raw text when not recognised)
    std::wstring molarMassText;     // line 5 as written, when it reads as a number
    std::wstring boilingPointText;  // line 7 as written, when it reads as a number
};

// The entries of the "*.fld" files of `folder`, in the order the file system returns
// them. Directories and files that cannot be opened are left out; missing header
// lines leave their fields empty.
std::vector<FluidCatalogueEntry> ScanFluidFolder(const std::wstring& folder);

// The synonyms joined for the "Synonyms" column.
std::wstring JoinSynonyms(const FluidCatalogueEntry& entry);

// Filter score: 3 when a field equals the filter (ignoring case), 1 when the filter
// occurs inside a longer field, 0 otherwise. An empty filter scores every entry 1.
int ScoreCatalogueEntry(const FluidCatalogueEntry& entry, const std::wstring& filter);

// The positions of the entries that pass the filter: exact matches first, then
// partial ones, each group in catalogue order.
std::vector<size_t> FilterCatalogue(const std::vector<FluidCatalogueEntry>& entries, const std::wstring& filter);

// The compound string for a chosen fluid file: relative to the REFPROP folder when
// the file lies inside it (fluids\METHANE.FLD), its full path otherwise.
std::wstring CompoundStringForFluidFile(const std::wstring& filePath, const std::wstring& refpropFolder);

}  // namespace tarnevo
