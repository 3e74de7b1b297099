// The package editor's fields and the editor side of package definitions: reading a
// definition text into the fields, and writing the fields as a definition text.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace tarnevo {

constexpr wchar_t kNistRecommended[] = L"NIST recommended";

struct PackageEditorModel {
    std::wstring description;
    std::vector<std::wstring> compounds;  // compound strings, in package order
    int modelTypeIndex = 0;               // 0 … 4: DEFAULT, GERG, AGA, PR, CUSTOM
    // EOS, ETA, TCX, STN: an override value or "NIST recommended".
    std::array<std::wstring, 4> overrides = {kNistRecommended, kNistRecommended, kNistRecommended,
                                             kNistRecommended};
    std::wstring mixtureFile = L"fluids\\hmx.bnc";
};

enum class EditorMessageKind { Error, Warning };

struct EditorMessage {
    EditorMessageKind kind;
    std::wstring text;
    std::wstring caption;
};

// Reads `definitionText` into `model`, starting from empty description and compounds,
// "NIST recommended" overrides and the default mixture file; the model-type selection
// is kept unless the text selects one. Appends the message boxes the editor shows.
void LoadPackageDefinitionIntoEditor(const std::string& definitionText, PackageEditorModel& model,
                                     std::vector<EditorMessage>& messages);

// The full definition text of the fields, 8-bit in the ANSI code page, CR LF line ends.
// False with `message` for a package without compounds, or when a field cannot be
// written (a character outside the ANSI code page, a line break, a model type outside
// 0 … 4).
bool WritePackageDefinition(const PackageEditorModel& model, std::string& text, std::wstring& message);

}  // namespace tarnevo
