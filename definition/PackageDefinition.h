// The interpreted package definition (the loader's view of a .rpp text) and the
// fixed vocabulary of the definition files.
#pragma once

#include <string>
#include <vector>

#include "definition/CompoundRecord.h"

namespace tarnevo {

enum class ModelType { Default = 0, Gerg = 1, Aga = 2, PengRobinson = 3, Custom = 4 };

// Value in the file and display name of a model type, by editor index 0 … 4.
const wchar_t* ModelTypeValue(int index);
const wchar_t* ModelTypeDisplayName(int index);
constexpr int kModelTypeCount = 5;

constexpr wchar_t kDefaultMixtureFile[] = L"fluids\\hmx.bnc";

// The most compounds the fluid library takes in one fluid system.
constexpr int kMaxCompounds = 20;

struct ModelOverride {
    std::string category;                    // "EOS", "ETA", "TCX" or "STN"
    std::string mixtureCode;                 // characters 0 … 2 of the value
    std::vector<std::string> componentCodes; // one per compound, in package order
};

struct PackageDefinition {
    std::wstring description;
    std::vector<std::wstring> compounds;       // compound strings, position = index
    std::vector<CompoundRecord> compoundRecords;  // read from the fluid files, same order
    // Selection flags: every MODELTYPE entry sets the flag of its value, none clears one.
    bool custom = false;
    bool gerg = false;
    bool aga = false;
    bool pengRobinson = false;
    std::vector<ModelOverride> overrides;      // in file order; applied only when custom
    std::string mixtureFile = "fluids\\hmx.bnc";
    std::vector<std::wstring> warnings;        // entries read but ignored, for the host's log
};

// "nfluid" value read like scanf "%d": leading blanks skipped, trailing text ignored.
// False when no number is read. Values beyond the 32-bit range are clamped.
bool ReadCompoundCount(const std::wstring& value, long long& count);

// A key of 6 or more characters: "fluid" (any case) followed only by decimal digits.
// `index` is the number (clamped to a large value when it overflows).
bool ParseCompoundKey(const std::wstring& key, long long& index);

}  // namespace tarnevo
