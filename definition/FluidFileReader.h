// Reading the header of a REFPROP fluid file: the compound record of the package
// loader and the header lines the fluid catalogue shows.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "definition/CompoundRecord.h"

namespace tarnevo {

// Header lines 0 … lineCount-1 as the system reads them: LF ends a line, CR is
// ignored, "!" starts a comment, trailing blanks are removed. Missing lines are empty.
std::vector<std::string> ReadHeaderLines(std::FILE* file, size_t lineCount);

// A header line read as a number in the manner of "%lg"; false when it is none.
bool ReadHeaderNumber(const std::string& line, double& value);

// The file a compound string names: unchanged when it holds ":", else relative to
// the REFPROP folder.
std::wstring ResolveFluidPath(const std::wstring& refpropFolder, const std::wstring& compound);

// Fills `record` from the fluid file of a compound string; false with `message`.
bool ReadCompoundRecord(const std::wstring& refpropFolder, const std::wstring& compound,
                        CompoundRecord& record, std::wstring& message);

}  // namespace tarnevo
