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

// The codes themselves are checked where selections become override values and back.
TEST(ModelOptionCatalogue, FourCategoriesOfferTheRecommendedModelFirstAndThreeLetterCodes) {
    const auto& categories = ModelCategories();
    ASSERT_EQ(categories.size(), 4u);
    const wchar_t* const keys[] = {L"EOS", L"ETA", L"TCX", L"STN"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(categories[i].key, keys[i]);
        for (const auto* options : {&categories[i].mixtureOptions, &categories[i].componentOptions}) {
            EXPECT_EQ(Codes(*options)[0], L"NBS");
            EXPECT_EQ((*options)[0].text, L"NIST recommended");
            for (const ModelOption& option : *options) EXPECT_EQ(option.code.size(), 3u) << keys[i];
        }
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
