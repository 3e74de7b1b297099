#include <map>
#include <new>

#include "definition/AnsiText.h"
#include "definition/KeyValueReader.h"
#include "definition/PackageDefinition.h"
#include "definition/PackageEditorModel.h"

namespace tarnevo {

namespace {

const wchar_t* const kOverrideKeys[] = {L"EOS", L"ETA", L"TCX", L"STN"};

int OverrideField(const std::wstring& key) {
    for (int i = 0; i < 4; ++i) {
        if (key == kOverrideKeys[i]) return i;
    }
    return -1;
}

void ParserError(std::vector<EditorMessage>& messages, const std::wstring& text) {
    messages.push_back({EditorMessageKind::Error, L"Property Package parser error: " + text, L"Edit Property Package:"});
}

void LoadIntoEditor(const std::string& definitionText, PackageEditorModel& model,
                    std::vector<EditorMessage>& messages) {
    for (std::wstring& field : model.overrides) field = kNistRecommended;
    model.mixtureFile = kDefaultMixtureFile;
    model.description.clear();
    model.compounds.clear();

    KeyValueReader reader;
    std::wstring readerMessage;
    if (!reader.ParseKeyValueText(definitionText, readerMessage)) {
        messages.push_back({EditorMessageKind::Error, L"Property Package parse error: " + readerMessage,
                            L"Edit property package:"});
        return;
    }

    long long count = -1;
    std::map<long long, std::wstring> slots;
    std::wstring errors;
    for (const KeyValueEntry& entry : reader.entries()) {
        const std::wstring& key = entry.key;
        const std::wstring& value = entry.value;
        long long index = 0;
        const int field = OverrideField(key);
        if (EqualsNoCase(key, L"description")) {
            model.description = value;
        } else if (EqualsNoCase(key, L"nfluid")) {
            if (count >= 0) {
                ParserError(messages, L"Multiple occurrence of \"nfluid\" key");
                return;
            }
            long long number = 0;
            if (!ReadCompoundCount(value, number) || number <= 0) {
                ParserError(messages, L"value of \"nfluid\" should be positive integer");
                return;
            }
            count = number;
        } else if (field >= 0) {
            const long long known = count < 0 ? 0 : count;
            if (static_cast<long long>(value.size()) == 3 + 4 * known) model.overrides[field] = value;
        } else if (EqualsNoCase(key, L"MIX")) {
            model.mixtureFile = value;
        } else if (EqualsNoCase(key, L"MODELTYPE")) {
            for (int i = 0; i < kModelTypeCount; ++i) {
                if (value == ModelTypeValue(i)) model.modelTypeIndex = i;
            }
        } else if (ParseCompoundKey(key, index)) {
            if (count < 0) {
                errors += L"\"" + key + L"\" cannot appear before \"nfluid\" key\r\n";
            } else if (index < 1 || index > count) {
                errors += L"Invalid compound index for \"" + key + L"\" key\r\n";
            } else if (slots.count(index)) {
                errors += L"multiple \"" + key + L"\" keys\r\n";
            } else {
                slots.emplace(index, value);
            }
        } else {
            ParserError(messages, L"configuration file contains unknown key \"" + key + L"\"");
            return;
        }
    }
    for (auto& slot : slots) model.compounds.push_back(std::move(slot.second));
    if (!errors.empty()) messages.push_back({EditorMessageKind::Warning, errors, L"Property package parse errors:"});
}

}  // namespace

void LoadPackageDefinitionIntoEditor(const std::string& definitionText, PackageEditorModel& model,
                                     std::vector<EditorMessage>& messages) {
    try {
        LoadIntoEditor(definitionText, model, messages);
    } catch (const std::bad_alloc&) {
        messages.push_back({EditorMessageKind::Error, L"Out of memory", L"Error:"});
    }
}

}  // namespace tarnevo
