#include "definition/PackageDefinitionLoader.h"

#include <map>
#include <new>

#include "definition/AnsiText.h"
#include "definition/FileAccess.h"
#include "definition/FluidFileReader.h"

namespace tarnevo {

namespace {

const wchar_t* const kOverrideKeys[] = {L"EOS", L"ETA", L"TCX", L"STN"};

bool IsOverrideKey(const std::wstring& key) {
    for (const wchar_t* overrideKey : kOverrideKeys) {
        if (key == overrideKey) return true;
    }
    return false;
}

// Checks the form 3 + 4 × count characters with ";" at 3, 7, 11, … and splits it.
bool SplitOverride(const std::wstring& key, const std::wstring& value, long long count, ModelOverride& result) {
    if (static_cast<long long>(value.size()) != 3 + 4 * count) return false;
    for (size_t pos = 3; pos < value.size(); pos += 4) {
        if (value[pos] != L';') return false;
    }
    WideToAnsi(key, result.category);
    if (!WideToAnsi(value.substr(0, 3), result.mixtureCode)) return false;
    result.componentCodes.clear();
    for (size_t pos = 4; pos < value.size(); pos += 4) {
        std::string code;
        if (!WideToAnsi(value.substr(pos, 3), code)) return false;
        result.componentCodes.push_back(code);
    }
    return true;
}

struct CompoundSlot {
    std::wstring compound;
    CompoundRecord record;
};

bool Interpret(const std::vector<KeyValueEntry>& entries, const std::wstring& refpropFolder,
               PackageDefinition& definition, std::wstring& message) {
    definition = PackageDefinition();
    long long count = -1;  // "nfluid" not seen
    std::map<long long, CompoundSlot> slots;

    for (const KeyValueEntry& entry : entries) {
        const std::wstring& key = entry.key;
        const std::wstring& value = entry.value;
        long long index = 0;
        if (EqualsNoCase(key, L"description")) {
            definition.description = value;
        } else if (EqualsNoCase(key, L"nfluid")) {
            if (count >= 0) {
                message = L"Multiple occurance of \"nfluid\" key";
                return false;
            }
            long long number = 0;
            if (!ReadCompoundCount(value, number) || number <= 0) {
                message = L"value of \"nfluid\" should be positive integer";
                return false;
            }
            if (number > kMaxCompounds) {
                message = L"value of \"nfluid\" exceeds the maximum of " + std::to_wstring(kMaxCompounds) +
                          L" compounds";
                return false;
            }
            count = number;
        } else if (key == L"MODELTYPE") {
            if (value == L"CUSTOM") {
                definition.custom = true;
            } else if (value == L"PR") {
                definition.pengRobinson = true;
            } else if (value == L"AGA") {
                definition.aga = true;
            } else if (value == L"GERG") {
                definition.gerg = true;
            } else if (value != L"DEFAULT") {
                definition.warnings.push_back(L"unknown model type \"" + value + L"\" ignored (MODELTYPE is one of " +
                                              L"DEFAULT, GERG, AGA, PR, CUSTOM)");
            }
        } else if (IsOverrideKey(key)) {
            if (count < 0) {
                message = L"\"" + key + L"\" key cannot appear before \"nfluid\" key";
                return false;
            }
            ModelOverride override;
            if (!SplitOverride(key, value, count, override)) {
                message = L"Invalid format of value for \"" + key + L"\" key";
                return false;
            }
            definition.overrides.push_back(std::move(override));
        } else if (EqualsNoCase(key, L"MIX")) {
            if (PathNamesDevice(value)) {
                message = L"Mixture file path names a device: " + ResolveFluidPath(refpropFolder, value);
                return false;
            }
            if (!WideToAnsi(value, definition.mixtureFile)) {
                message = L"Invalid format of value for \"" + key + L"\" key";
                return false;
            }
        } else if (ParseCompoundKey(key, index)) {
            if (count < 0) {
                message = L"\"" + key + L"\" cannot appear before \"nfluid\" key";
                return false;
            }
            if (index < 1 || index > count) {
                message = L"Invalid compound index for \"" + key + L"\" key";
                return false;
            }
            if (slots.count(index)) {
                message = L"multiple \"" + key + L"\" keys";
                return false;
            }
            CompoundSlot slot;
            slot.compound = value;
            if (!ReadCompoundRecord(refpropFolder, value, slot.record, message)) return false;
            slots.emplace(index, std::move(slot));
        } else {
            message = L"configuration file contains unknown key \"" + key + L"\"";
            return false;
        }
    }

    if (count < 0) {
        message = L"Property package definition contains no compounds";
        return false;
    }
    // The slots are kept in a map, so a huge "nfluid" costs nothing before it fails here.
    long long expected = 1;
    for (const auto& slot : slots) {
        if (slot.first != expected) break;
        ++expected;
    }
    if (expected <= count) {
        message = L"missing key \"fluid" + std::to_wstring(expected) + L"\"";
        return false;
    }
    for (auto& slot : slots) {
        definition.compounds.push_back(std::move(slot.second.compound));
        definition.compoundRecords.push_back(std::move(slot.second.record));
    }
    return true;
}

}  // namespace

bool ReadPackageDefinitionEntries(const std::wstring& packageFile, std::string& definitionText,
                                  KeyValueReader& reader, std::wstring& message) {
    std::wstring readerMessage;
    if (definitionText.empty()) {
        if (!PathExists(packageFile)) {
            message = L"Property package definition (" + packageFile + L") does not exist";
            return false;
        }
        if (!reader.ReadKeyValueFile(packageFile, readerMessage)) {
            message = L"Property package configuration error: " + readerMessage;
            return false;
        }
        definitionText = reader.text();
        return true;
    }
    if (!reader.ParseKeyValueText(definitionText, readerMessage)) {
        message = L"Property package configuration error: " + readerMessage;
        return false;
    }
    return true;
}

bool InterpretPackageDefinition(const std::vector<KeyValueEntry>& entries, const std::wstring& refpropFolder,
                                PackageDefinition& definition, std::wstring& message) {
    try {
        if (Interpret(entries, refpropFolder, definition, message)) return true;
    } catch (const std::bad_alloc&) {
        message = L"Out of memory";
    }
    definition = PackageDefinition();
    return false;
}

}  // namespace tarnevo
