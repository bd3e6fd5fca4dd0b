#include "EditorTestSupport.h"

#include <map>

namespace
{
using EditorModel = EditorFixture;

TEST_F (EditorModel, StartsFromTheFixedInitialState)
{
    EXPECT_EQ (editor.getWidth(), 1120);
    EXPECT_EQ (editor.getHeight(), 720);
    EXPECT_TRUE (editor.getWantsKeyboardFocus());
    EXPECT_FALSE (editor.hasKeyboardFocus (true));
    EXPECT_FALSE (editor.isResizable());
    EXPECT_EQ (editor.getNumChildComponents(), 0);
    EXPECT_TRUE (editor.isTimerRunning());
    EXPECT_EQ (editor.getTimerInterval(), 33);

    EXPECT_EQ (editor.viewMode, 0);
    EXPECT_EQ (editor.selectedModule, 1);
    EXPECT_EQ (editor.selectedParam, 0);
    EXPECT_EQ (editor.selectedRow, 6);
    EXPECT_EQ (editor.focusModule, -1);
    EXPECT_EQ (editor.presetIndex, 0);
    EXPECT_EQ (editor.tweakIndex, 1);
    EXPECT_EQ (editor.colourScheme, 0);
    EXPECT_EQ (editor.holdIn, 0.0f);
    EXPECT_EQ (editor.holdOut, 0.0f);
    EXPECT_EQ (editor.holdGr, (std::array<float, 5> {}));
    EXPECT_EQ (editor.activeKnob, 0);
    EXPECT_EQ (editor.dragRow, -1);
    EXPECT_TRUE (editor.typedKeys.isEmpty());
    EXPECT_TRUE (editor.hitRegions.empty());
}

TEST_F (EditorModel, ModulesListEveryRowOnceAndRowsFollowThemWithLevelMetersLast)
{
    ASSERT_EQ (editor.rows.size(), 43u);
    ASSERT_EQ (editor.modules.size(), 6u);

    const std::vector<std::pair<juce::String, juce::String>> namesAndEnables {
        { "GLOBAL", "" },          { "FET76", "fet_enable" },     { "OPTO2A", "opto_enable" },
        { "VCA160", "vca_enable" }, { "VARIMU", "varimu_enable" }, { "TUBE670", "tube_enable" }
    };

    std::vector<juce::String> expectedOrder;
    std::map<juce::String, int> timesListed;

    for (size_t m = 0; m < editor.modules.size(); ++m)
    {
        const auto& module = editor.modules[m];
        EXPECT_EQ (module.name, namesAndEnables[m].first);
        EXPECT_EQ (module.enableId, namesAndEnables[m].second);

        if (m > 0)
        {
            EXPECT_EQ (module.rowIds.front(), module.enableId);
        }

        for (const auto& id : module.rowIds)
        {
            ++timesListed[id];

            if (! id.startsWith ("meter_input") && ! id.startsWith ("meter_output"))
                expectedOrder.push_back (id);
        }
    }

    expectedOrder.push_back ("meter_input");
    expectedOrder.push_back ("meter_output");

    for (size_t i = 0; i < editor.rows.size(); ++i)
    {
        EXPECT_EQ (editor.rows[i].paramId, expectedOrder[i]) << "row " << i;
        EXPECT_EQ (timesListed[editor.rows[i].paramId], 1) << editor.rows[i].paramId;
    }

    EXPECT_EQ (timesListed.size(), 43u);
}

TEST_F (EditorModel, RowTableHoldsKindsLabelsAndSteps)
{
    struct Case
    {
        size_t index;
        const char* label;
        const char* id;
        Row::Kind kind;
        float dragStep, wheelStep;
    };

    const Case cases[] {
        { 0, "DRY/WET", "global_drywet", Row::continuous, 0.0025f, 0.02f },
        { 2, "SAFETY", "global_safety", Row::toggle, 0.0f, 1.0f },
        { 3, "OVERSAMPLING", "global_os", Row::choice, 0.0f, 0.33f },
        { 4, "PRESET", "macro_preset", Row::preset, 0.0f, 1.0f },
        { 5, "TWEAK", "macro_tweak", Row::tweak, 0.0f, 1.0f },
        { 9, "ATTACK US", "fet_attack_us", Row::continuous, 0.0015f, 0.01f },
        { 13, "GR", "meter_fet_gr", Row::meter, 0.0025f, 0.02f },
        { 15, "PEAK RED", "opto_peak_reduction", Row::continuous, 0.0018f, 0.01f },
        { 16, "MODE", "opto_mode", Row::choice, 0.0f, 0.5f },
        { 23, "OVEREASY", "vca_overeasy", Row::toggle, 0.0f, 1.0f },
        { 29, "ATTACK", "varimu_attack", Row::continuous, 0.0018f, 0.01f },
        { 30, "RECOVERY", "varimu_recovery", Row::choice, 0.0f, 0.2f },
        { 36, "TIME CONST", "tube_timeconstant", Row::choice, 0.0f, 0.2f },
        { 39, "SAT", "tube_sat", Row::continuous, 0.0025f, 0.02f },
        { 41, "INPUT", "meter_input", Row::meter, 0.0025f, 0.02f },
        { 42, "OUTPUT", "meter_output", Row::meter, 0.0025f, 0.02f },
    };

    for (const auto& c : cases)
    {
        const auto& row = editor.rows.at (c.index);
        EXPECT_EQ (row.label, c.label) << c.index;
        EXPECT_EQ (row.paramId, c.id) << c.index;
        EXPECT_EQ (row.kind, c.kind) << c.index;
        EXPECT_FLOAT_EQ (row.dragStep, c.dragStep) << c.index;
        EXPECT_FLOAT_EQ (row.wheelStep, c.wheelStep) << c.index;
    }

    // Every row that names a parameter finds it in the processor.
    for (const auto& row : editor.rows)
    {
        if (row.kind <= Row::choice)
        {
            EXPECT_NE (processor.apvts.getParameter (row.paramId), nullptr) << row.paramId;
        }
    }
}

TEST_F (EditorModel, FindRowByIdMatchesWholeCaseSensitiveIds)
{
    const std::pair<const char*, int> cases[] {
        { "global_drywet", 0 }, { "macro_preset", 4 }, { "fet_enable", 6 }, { "meter_input", 41 },
        { "meter_output", 42 }, { "", -1 },           { "FET_ENABLE", -1 }, { "fet_", -1 },
        { "meter_fet_gr ", -1 }
    };

    for (const auto& [id, expected] : cases)
        EXPECT_EQ (editor.findRowById (id), expected) << "'" << id << "'";

    editor.rows.clear();
    EXPECT_EQ (editor.findRowById ("global_drywet"), -1);
}

TEST_F (EditorModel, SelectModuleClampsAndPutsTheCursorOnTheFirstRow)
{
    struct Case
    {
        int requested, module, row;
    };

    const Case cases[] { { -3, 0, 0 }, { 0, 0, 0 }, { 2, 2, 14 }, { 5, 5, 34 }, { 99, 5, 34 } };

    for (const auto& c : cases)
    {
        editor.selectedParam = 3;
        editor.focusModule = 4;
        editor.selectModule (c.requested);

        EXPECT_EQ (editor.selectedModule, c.module) << c.requested;
        EXPECT_EQ (editor.selectedParam, 0) << c.requested;
        EXPECT_EQ (editor.selectedRow, c.row) << c.requested;
        EXPECT_EQ (editor.focusModule, 4) << "selection leaves the focus alone";
    }
}

TEST_F (EditorModel, SelectModuleWithAnEmptyRowListKeepsTheCursor)
{
    editor.modules[3].rowIds.clear();
    editor.selectedRow = 17;
    editor.selectModule (3);

    EXPECT_EQ (editor.selectedModule, 3);
    EXPECT_EQ (editor.selectedRow, 17);
}
} // namespace
