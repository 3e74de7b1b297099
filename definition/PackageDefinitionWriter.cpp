#include <new>

#include "definition/AnsiText.h"
#include "definition/PackageDefinition.h"
#include "definition/PackageEditorModel.h"

namespace tarnevo {

namespace {

const wchar_t* const kOverrideKeys[] = {L"EOS", L"ETA", L"TCX", L"STN"};
const wchar_t* const kOverrideNames[] = {L"equation of state", L"viscosity", L"thermal conductivity",
                                         L"surface tension"};

bool HasLineBreak(const std::wstring& text) { return text.find_first_of(L"\r\n") != std::wstring::npos; }

bool CheckField(const std::wstring& what, const std::wstring& text, std::wstring& message) {
    std::string encoded;
    if (HasLineBreak(text)) {
        message = what + L" must not contain a line break: " + text;
        return false;
    }
    if (!WideToAnsi(text, encoded)) {
        message = what + L" cannot be written in the ANSI code page: " + text;
        return false;
    }
    return true;
}

bool Write(const PackageEditorModel& model, std::string& text, std::wstring& message) {
    const wchar_t* modelType = ModelTypeValue(model.modelTypeIndex);
    if (!modelType) {
        message = L"Invalid model type selection";
        return false;
    }
    if (model.compounds.empty()) {
        message = L"At least one fluid must be present in package";
        return false;
    }
    if (!CheckField(L"The description", model.description, message)) return false;
    for (const std::wstring& compound : model.compounds) {
        if (compound.empty()) {
            message = L"A compound of the package has an empty name";
            return false;
        }
        if (!CheckField(L"A compound", compound, message)) return false;
    }
    for (size_t i = 0; i < 4; ++i) {
        if (!CheckField(std::wstring(L"The ") + kOverrideKeys[i] + L" override", model.overrides[i], message)) {
            return false;
        }
    }
    if (!CheckField(L"The mixture file", model.mixtureFile, message)) return false;

    std::wstring out =
        L"#TARNEVO PROPERTY PACKAGE\r\n#property package name is same as file name\r\n#optional description\r\n";
    out += model.description.empty() ? L"#description=" : L"description=" + model.description;
    out += L"\r\n#fluid information\r\n";
    out += L"nfluid=" + std::to_wstring(model.compounds.size()) + L"\r\n";
    for (size_t i = 0; i < model.compounds.size(); ++i) {
        out += L"fluid" + std::to_wstring(i + 1) + L"=" + model.compounds[i] + L"\r\n";
    }
    out += L"#optional model type selection (DEFAULT,GERG,AGA,PR,CUSTOM)\r\nMODELTYPE=";
    out += modelType;
    out += L"\r\n";
    for (size_t i = 0; i < 4; ++i) {
        out += std::wstring(L"#optional ") + kOverrideNames[i] + L" override (only for CUSTOM model)\r\n";
        const std::wstring& field = model.overrides[i];
        // An empty field would make an unreadable "EOS=" line; it means the same as NBS.
        if (field.empty() || EqualsNoCase(field, kNistRecommended)) {
            out += std::wstring(L"#") + kOverrideKeys[i] + L"=NBS";
            for (size_t c = 0; c < model.compounds.size(); ++c) out += L";NBS";
        } else {
            out += std::wstring(kOverrideKeys[i]) + L"=" + field;
        }
        out += L"\r\n";
    }
    out += L"#mixture file override (default is fluids\\hmx.bnc)\r\n";
    // An empty field means the default file; "MIX=" alone could not be read back.
    if (model.mixtureFile.empty() || EqualsNoCase(model.mixtureFile, kDefaultMixtureFile)) {
        out += L"#MIX=fluids\\hmx.bnc";
    } else {
        out += L"MIX=" + model.mixtureFile;
    }
    out += L"\r\n#mixture rules overrides and reference state overrides currently not supported\r\n";

    if (!WideToAnsi(out, text)) {
        message = L"The package definition contains characters that the ANSI code page cannot represent";
        return false;
    }
    return true;
}

}  // namespace

bool WritePackageDefinition(const PackageEditorModel& model, std::string& text, std::wstring& message) {
    try {
        return Write(model, text, message);
    } catch (const std::bad_alloc&) {
        message = L"Out of memory";
        return false;
    }
}

}  // namespace tarnevo
