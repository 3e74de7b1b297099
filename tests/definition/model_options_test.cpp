#include <gtest/gtest.h>

#include "definition/ModelOptions.h"
#include "definition/PackageEditorModel.h"

using namespace tarnevo;

namespace {

std::vector<std::wstring> Codes(const std::vector<ModelOption>& options) {
    std::vector<std::wstring> codes;
    for (const ModelOption& option : options) codes.push_back(option.code);
    return codes;
}

const ModelCategory& Category(size_t index) { return ModelCategories().at(index); }

}  // namespace

TEST(ModelOptionCatalogue, FourCategoriesWithTheirCodes) {
    const auto& categories = ModelCategories();
    ASSERT_EQ(categories.size(), 4u);
    EXPECT_EQ(categories[0].key, L"EOS");
    EXPECT_EQ(categories[0].dialogTitle, L"EOS model options:");
    EXPECT_EQ(Codes(categories[0].mixtureOptions), (std::vector<std::wstring>{L"NBS", L"HMX", L"PR "}));
    EXPECT_EQ(Codes(categories[0].componentOptions),
              (std::vector<std::wstring>{L"NBS", L"FEQ", L"PR ", L"BWR", L"ECS"}));
    EXPECT_EQ(categories[0].componentOptions[2].text, L"Peng-Robinson");
    EXPECT_EQ(categories[1].key, L"ETA");
    EXPECT_EQ(categories[1].dialogTitle, L"Viscosity model options:");
    EXPECT_EQ(Codes(categories[1].mixtureOptions), (std::vector<std::wstring>{L"NBS", L"ECS"}));
    EXPECT_EQ(Codes(categories[1].componentOptions),
              (std::vector<std::wstring>{L"NBS", L"ECS", L"VS1", L"VS2", L"VS4"}));
    EXPECT_EQ(categories[1].componentOptions[4].text,
              L"Generalized friction theory of Quinones-Cisneros and Deiters");
    EXPECT_EQ(categories[2].key, L"TCX");
    EXPECT_EQ(categories[2].dialogTitle, L"Thermal conductivity model options:");
    EXPECT_EQ(Codes(categories[2].componentOptions), (std::vector<std::wstring>{L"NBS", L"ECS", L"TC1", L"TC2"}));
    EXPECT_EQ(categories[3].key, L"STN");
    EXPECT_EQ(categories[3].dialogTitle, L"Surface tension model options:");
    EXPECT_EQ(Codes(categories[3].mixtureOptions), (std::vector<std::wstring>{L"NBS", L"STX"}));
    EXPECT_EQ(categories[3].componentOptions[1].text, L"surface tension as f(tau); tau = 1 - T/Tc");
    for (const ModelCategory& category : categories) {
        EXPECT_EQ(category.mixtureOptions[0].text, L"NIST recommended");
        EXPECT_EQ(category.componentOptions[0].text, L"NIST recommended");
        for (const ModelOption& option : category.componentOptions) EXPECT_EQ(option.code.size(), 3u);
    }
}

TEST(ModelOptionCatalogue, FieldTextBecomesSelections) {
    ModelSelections s = SelectionsFromField(Category(0), L"XYZ;FEQ", 1);
    EXPECT_EQ(s.mixture, 0);
    EXPECT_EQ(s.components, std::vector<int>{1});

    s = SelectionsFromField(Category(0), L"PR ;PR ;BWR;ECS", 3);
    EXPECT_EQ(s.mixture, 2);
    EXPECT_EQ(s.components, (std::vector<int>{2, 3, 4}));

    s = SelectionsFromField(Category(0), L"nist Recommended", 2);
    EXPECT_EQ(s.mixture, 0);
    EXPECT_EQ(s.components, (std::vector<int>{0, 0}));

    // Exact comparison, and a field shorter than the compound list.
    s = SelectionsFromField(Category(1), L"ecs;VS2", 3);
    EXPECT_EQ(s.mixture, 0);
    EXPECT_EQ(s.components, (std::vector<int>{3, 0, 0}));
}

TEST(ModelOptionCatalogue, SelectionsBecomeTheOverrideValue) {
    ModelSelections s;
    s.mixture = 2;
    s.components = {2, 0, 1};
    EXPECT_EQ(FieldFromSelections(Category(0), s), L"PR ;PR ;NBS;FEQ");
    s.mixture = 1;
    s.components = {3};
    EXPECT_EQ(FieldFromSelections(Category(2), s), L"ECS;TC2");
}

TEST(ChooseModelOptions, DialogOutcomesUpdateTheField) {
    PackageEditorModel model;
    model.compounds = {L"fluids\\METHANE.FLD", L"fluids\\ETHANE.FLD"};
    model.overrides[0] = L"HMX;NBS;FEQ";
    std::wstring message;
    ModelOptionsDialogData seen;
    ASSERT_TRUE(ChooseModelOptions(model, 0,
                                   [&](ModelOptionsDialogData& data) {
                                       seen = data;
                                       data.selections.components[0] = 3;
                                       return kModelOptionsOk;
                                   },
                                   message));
    EXPECT_EQ(seen.title, L"EOS model options:");
    EXPECT_EQ(seen.compoundNames, model.compounds);
    EXPECT_EQ(seen.selections.mixture, 1);
    EXPECT_EQ(seen.selections.components, (std::vector<int>{0, 1}));
    EXPECT_EQ(seen.mixtureOptions->size(), 3u);
    EXPECT_EQ(model.overrides[0], L"HMX;BWR;FEQ");

    ASSERT_TRUE(ChooseModelOptions(model, 0, [](ModelOptionsDialogData&) { return kModelOptionsCancel; }, message));
    EXPECT_EQ(model.overrides[0], L"HMX;BWR;FEQ");
    ASSERT_TRUE(ChooseModelOptions(model, 0, [](ModelOptionsDialogData&) { return kModelOptionsDefaults; }, message));
    EXPECT_EQ(model.overrides[0], L"NIST recommended");

    ASSERT_TRUE(ChooseModelOptions(model, 3, [](ModelOptionsDialogData&) { return kModelOptionsOk; }, message));
    EXPECT_EQ(model.overrides[3], L"NBS;NBS;NBS");
}

TEST(AdjustModelOverrides, FieldsFollowTheCompoundList) {
    PackageEditorModel model;
    model.overrides = {L"HMX;FEQ", L"NIST recommended", L"ECS;TC1;TC2;ECS", L"STX;ST1;NBS;ST1"};
    AdjustModelOverrides(model, CompoundListChange::Added, 1);
    EXPECT_EQ(model.overrides[0], L"HMX;FEQ;NBS");
    EXPECT_EQ(model.overrides[1], L"NIST recommended");

    model.overrides[2] = L"ECS;TC1;TC2;ECS";
    AdjustModelOverrides(model, CompoundListChange::MovedUp, 1);
    EXPECT_EQ(model.overrides[2], L"ECS;TC2;TC1;ECS");
    AdjustModelOverrides(model, CompoundListChange::MovedDown, 1);
    EXPECT_EQ(model.overrides[2], L"ECS;TC2;ECS;TC1");
    AdjustModelOverrides(model, CompoundListChange::Removed, 0);
    EXPECT_EQ(model.overrides[2], L"ECS;ECS;TC1");
    EXPECT_EQ(model.overrides[3], L"STX;ST1;ST1;NBS");  // after add, moves and remove

    // Moves past either end and removals beyond the list change nothing.
    AdjustModelOverrides(model, CompoundListChange::MovedUp, 0);
    AdjustModelOverrides(model, CompoundListChange::MovedDown, 1);
    AdjustModelOverrides(model, CompoundListChange::Removed, 7);
    EXPECT_EQ(model.overrides[2], L"ECS;ECS;TC1");
}
