// The catalogue of model options offered for the custom model's overrides, and how
// an override field turns into the model-options dialog's selections and back.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "definition/PackageEditorModel.h"

namespace tarnevo {

struct ModelOption {
    std::wstring code;  // exactly three characters, e.g. "PR " with its trailing blank
    std::wstring text;
};

struct ModelCategory {
    std::wstring key;          // "EOS", "ETA", "TCX", "STN"
    std::wstring longName;     // as in the definition file's comment lines
    std::wstring dialogTitle;  // e.g. "EOS model options:"
    std::vector<ModelOption> mixtureOptions;    // index 0 is ("NBS", "NIST recommended")
    std::vector<ModelOption> componentOptions;  // index 0 is ("NBS", "NIST recommended")
};

// The four categories in the order of the editor's override fields.
const std::vector<ModelCategory>& ModelCategories();

struct ModelSelections {
    int mixture = 0;
    std::vector<int> components;  // one per compound
};

// Selections of a field value: all 0 for "NIST recommended" (any case); otherwise the
// mixture code at 0 … 2 and compound i's code at 4 + 4i … 6 + 4i, compared exactly;
// a code that is not offered selects index 0.
ModelSelections SelectionsFromField(const ModelCategory& category, const std::wstring& field,
                                    size_t compoundCount);

// The override value of selections: mixture code, then ";" + code per compound.
std::wstring FieldFromSelections(const ModelCategory& category, const ModelSelections& selections);

// What the model-options dialog is opened with; it changes `selections`.
struct ModelOptionsDialogData {
    std::wstring title;
    std::vector<std::wstring> compoundNames;
    const std::vector<ModelOption>* mixtureOptions = nullptr;
    const std::vector<ModelOption>* componentOptions = nullptr;
    ModelSelections selections;
};

// Dialog results: 1 OK, 2 cancel, 219 the "NIST recommended" (Defaults) button.
constexpr int kModelOptionsOk = 1;
constexpr int kModelOptionsCancel = 2;
constexpr int kModelOptionsDefaults = 219;
using ModelOptionsDialog = std::function<int(ModelOptionsDialogData&)>;

// The "Choose" button of override field `fieldIndex` (0 EOS … 3 STN): opens the dialog
// through `showDialog` and writes its outcome into the field. False with "Out of
// memory" when the dialog's data cannot be built.
bool ChooseModelOptions(PackageEditorModel& model, size_t fieldIndex, const ModelOptionsDialog& showDialog,
                        std::wstring& message);

enum class CompoundListChange { Added, Removed, MovedUp, MovedDown };

// Keeps the four override fields in step with the compound list after a compound was
// appended, or the one at `position` (0-based) was removed or moved one place.
void AdjustModelOverrides(PackageEditorModel& model, CompoundListChange change, size_t position);

}  // namespace tarnevo
