#include "definition/ModelOptions.h"

#include <new>
#include <utility>

#include "definition/AnsiText.h"

namespace tarnevo {

namespace {

const ModelOption kRecommended = {L"NBS", L"NIST recommended"};

std::vector<ModelCategory> BuildCategories() {
    return {
        {L"EOS", L"equation of state", L"EOS model options:",
         {kRecommended, {L"HMX", L"Helmholtz model"}, {L"PR ", L"Peng-Robinson"}},
         {kRecommended,
          {L"FEQ", L"Helmholtz free energy"},
          {L"PR ", L"Peng-Robinson"},
          {L"BWR", L"modified Benedict-Webb-Rubin"},
          {L"ECS", L"extended corresponding states"}}},
        {L"ETA", L"viscosity", L"Viscosity model options:",
         {kRecommended, {L"ECS", L"extended corresponding states"}},
         {kRecommended,
          {L"ECS", L"extended corresponding states"},
          {L"VS1", L"composite model for R134a, R152a, NH3, etc."},
          {L"VS2", L"Younglove-Ely model for hydrocarbons"},
          {L"VS4", L"Generalized friction theory of Quinones-Cisneros and Deiters"}}},
        {L"TCX", L"thermal conductivity", L"Thermal conductivity model options:",
         {kRecommended, {L"ECS", L"extended corresponding states"}},
         {kRecommended,
          {L"ECS", L"extended corresponding states"},
          {L"TC1", L"composite model for R134a, R152a, etc."},
          {L"TC2", L"Younglove-Ely model for hydrocarbons"}}},
        {L"STN", L"surface tension", L"Surface tension model options:",
         {kRecommended, {L"STX", L"surface tension mixture model"}},
         {kRecommended, {L"ST1", L"surface tension as f(tau); tau = 1 - T/Tc"}}},
    };
}

int FindCode(const std::vector<ModelOption>& options, const std::wstring& code) {
    for (size_t i = 0; i < options.size(); ++i) {
        if (options[i].code == code) return static_cast<int>(i);
    }
    return 0;
}

const std::wstring& CodeAt(const std::vector<ModelOption>& options, int index) {
    return index >= 0 && static_cast<size_t>(index) < options.size() ? options[index].code : options[0].code;
}

std::vector<std::wstring> SplitCodes(const std::wstring& value) {
    std::vector<std::wstring> codes;
    size_t start = 0;
    for (;;) {
        const size_t semicolon = value.find(L';', start);
        codes.push_back(value.substr(start, semicolon - start));
        if (semicolon == std::wstring::npos) return codes;
        start = semicolon + 1;
    }
}

std::wstring JoinCodes(const std::vector<std::wstring>& codes) {
    std::wstring value;
    for (size_t i = 0; i < codes.size(); ++i) {
        if (i > 0) value += L';';
        value += codes[i];
    }
    return value;
}

}  // namespace

const std::vector<ModelCategory>& ModelCategories() {
    static const std::vector<ModelCategory> categories = BuildCategories();
    return categories;
}

ModelSelections SelectionsFromField(const ModelCategory& category, const std::wstring& field,
                                    size_t compoundCount) {
    ModelSelections selections;
    selections.components.assign(compoundCount, 0);
    if (EqualsNoCase(field, kNistRecommended)) return selections;
    selections.mixture = FindCode(category.mixtureOptions, field.substr(0, 3));
    for (size_t i = 0; i < compoundCount; ++i) {
        const size_t start = 4 + 4 * i;
        if (start >= field.size()) break;
        selections.components[i] = FindCode(category.componentOptions, field.substr(start, 3));
    }
    return selections;
}

std::wstring FieldFromSelections(const ModelCategory& category, const ModelSelections& selections) {
    std::wstring value = CodeAt(category.mixtureOptions, selections.mixture);
    for (int component : selections.components) value += L";" + CodeAt(category.componentOptions, component);
    return value;
}

bool ChooseModelOptions(PackageEditorModel& model, size_t fieldIndex, const ModelOptionsDialog& showDialog,
                        std::wstring& message) {
    const std::vector<ModelCategory>& categories = ModelCategories();
    if (fieldIndex >= categories.size() || !showDialog) {
        message = L"Invalid model option field";
        return false;
    }
    const ModelCategory& category = categories[fieldIndex];
    try {
        ModelOptionsDialogData data;
        data.title = category.dialogTitle;
        data.compoundNames = model.compounds;
        data.mixtureOptions = &category.mixtureOptions;
        data.componentOptions = &category.componentOptions;
        data.selections = SelectionsFromField(category, model.overrides[fieldIndex], model.compounds.size());
        const int result = showDialog(data);
        if (result == kModelOptionsOk) {
            data.selections.components.resize(model.compounds.size(), 0);
            model.overrides[fieldIndex] = FieldFromSelections(category, data.selections);
        } else if (result == kModelOptionsDefaults) {
            model.overrides[fieldIndex] = kNistRecommended;
        }
        return true;
    } catch (const std::bad_alloc&) {
        message = L"Out of memory";
        return false;
    }
}

void AdjustModelOverrides(PackageEditorModel& model, CompoundListChange change, size_t position) {
    for (std::wstring& field : model.overrides) {
        if (field == kNistRecommended) continue;
        std::vector<std::wstring> codes = SplitCodes(field);  // [0] is the mixture code
        const size_t at = position + 1;
        switch (change) {
            case CompoundListChange::Added:
                codes.push_back(L"NBS");
                break;
            case CompoundListChange::Removed:
                if (at < codes.size()) codes.erase(codes.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            case CompoundListChange::MovedUp:
                if (position > 0 && at < codes.size()) std::swap(codes[at], codes[at - 1]);
                break;
            case CompoundListChange::MovedDown:
                if (at + 1 < codes.size()) std::swap(codes[at], codes[at + 1]);
                break;
        }
        field = JoinCodes(codes);
    }
}

}  // namespace tarnevo
