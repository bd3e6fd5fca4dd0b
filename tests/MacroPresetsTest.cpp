#include "EditorInputSupport.h"

#include <map>
#include <set>

namespace
{
/** One recipe write: the plain value stored at SOFT, HARD and AGGRESSIVE, after snapping. */
struct StoredValue
{
    const char* id;
    std::array<float, 3> byTweak;
};

struct PresetCase
{
    const char* name;
    std::vector<const char*> enabled;
    std::vector<StoredValue> values; // in the order the preset writes them, after its enables
};

const std::array<float, 3> dryWetByTweak { 0.385f, 0.55f, 0.715f };
const char* const enableIds[] { "fet_enable", "opto_enable", "vca_enable", "varimu_enable", "tube_enable" };
const char* const saturations[] { "fet_sat", "opto_sat", "vca_sat", "varimu_sat", "tube_sat" };
const char* const thresholds[] { "fet_threshold", "vca_threshold", "varimu_threshold", "tube_threshold" };

const PresetCase presetCases[] {
    { "VOICE RADIO",
      { "opto_enable", "vca_enable" },
      { { "opto_peak_reduction", { 38.5f, 55.0f, 71.5f } },
        { "vca_threshold", { -15.4f, -22.0f, -28.6f } },
        { "opto_sat", { 0.084f, 0.12f, 0.156f } },
        { "vca_sat", { 0.056f, 0.08f, 0.104f } } } },
    { "LOFI CRUSH",
      { "fet_enable", "tube_enable" },
      { { "fet_threshold", { -21.0f, -30.0f, -39.0f } },
        { "tube_threshold", { -18.2f, -26.0f, -33.8f } },
        { "fet_sat", { 0.455f, 0.65f, 0.845f } },
        { "tube_sat", { 0.525f, 0.75f, 0.975f } } } },
    { "DRUM SMASH",
      { "fet_enable", "vca_enable", "tube_enable" },
      { { "fet_attack_us", { 80.0f, 80.0f, 80.0f } },
        { "fet_release_ms", { 110.0f, 110.0f, 110.0f } },
        { "vca_threshold", { -18.2f, -26.0f, -33.8f } },
        { "tube_threshold", { -14.0f, -20.0f, -26.0f } },
        { "fet_sat", { 0.175f, 0.25f, 0.325f } },
        { "tube_sat", { 0.14f, 0.2f, 0.26f } } } },
    { "WARM TAPE",
      { "varimu_enable", "tube_enable" },
      { { "varimu_threshold", { -14.0f, -20.0f, -26.0f } },
        { "varimu_attack", { 86.0f, 60.0f, 46.0f } }, // 60 / k on whole milliseconds
        { "tube_threshold", { -12.6f, -18.0f, -23.4f } },
        { "varimu_sat", { 0.126f, 0.18f, 0.234f } },
        { "tube_sat", { 0.154f, 0.22f, 0.286f } } } },
};

class PresetTable : public EditorInputFixture,
                    public ::testing::WithParamInterface<std::tuple<int, int>>
{
protected:
    /** A user's own settings everywhere, so that whatever a preset leaves alone can be seen. */
    void setEveryParameterOffDefault()
    {
        for (auto* parameter : processor.getParameters())
            parameter->setValueNotifyingHost (0.37f);

        for (const auto* id : enableIds)
            setNormalised (id, 1.0f);
    }

    std::map<juce::String, float> plainValues() const
    {
        std::map<juce::String, float> values;

        for (auto* parameter : processor.getParameters())
            if (const auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter))
                values[withId->paramID] = processor.getFloat (withId->paramID);

        return values;
    }

    template <size_t n>
    float meanNormalised (const char* const (&ids)[n]) const
    {
        auto sum = 0.0f;

        for (const auto* id : ids)
            sum += normalised (id);

        return sum / static_cast<float> (n);
    }
};

TEST_P (PresetTable, WritesItsRecipeAtTheTweaksIntensityAndNothingElse)
{
    const auto [presetIndex, tweakIndex] = GetParam();
    const auto& preset = presetCases[presetIndex];
    setEveryParameterOffDefault();
    const auto before = plainValues();
    editor.presetIndex = presetIndex;
    editor.tweakIndex = tweakIndex;
    GestureLog log (processor);

    editor.applyMacroPreset();

    std::set<juce::String> written { "global_drywet" };
    EXPECT_NEAR (plain ("global_drywet"), dryWetByTweak[static_cast<size_t> (tweakIndex)], 1.0e-6f);

    for (const auto* id : enableIds)
    {
        const auto on = std::any_of (preset.enabled.begin(), preset.enabled.end(),
                                     [id] (const char* enabled) { return juce::String (enabled) == id; });
        EXPECT_EQ (plain (id), on ? 1.0f : 0.0f) << id;
        written.insert (id);
    }

    for (const auto& value : preset.values)
    {
        EXPECT_NEAR (plain (value.id), value.byTweak[static_cast<size_t> (tweakIndex)], 1.0e-4f) << value.id;
        written.insert (value.id);
    }

    for (const auto& [id, value] : before)
    {
        if (written.count (id) == 0)
        {
            EXPECT_EQ (plain (id), value) << id << " should be untouched";
        }
    }

    std::vector<const char*> order { "global_drywet" };
    order.insert (order.end(), std::begin (enableIds), std::end (enableIds));
    order.insert (order.end(), preset.enabled.begin(), preset.enabled.end());

    for (const auto& value : preset.values)
        order.push_back (value.id);

    std::vector<std::string> expected;

    for (const auto* id : order)
        for (const auto& entry : singleWrites ({ id }))
            expected.push_back (entry);

    EXPECT_EQ (log.entries, expected);

    EXPECT_NEAR (editor.macroMix, normalised ("global_drywet"), 1.0e-6f);
    EXPECT_NEAR (editor.macroDrive, meanNormalised (saturations), 1.0e-6f);
    EXPECT_NEAR (editor.macroComp, meanNormalised (thresholds), 1.0e-6f);
}

std::string presetCaseName (const ::testing::TestParamInfo<std::tuple<int, int>>& info)
{
    const auto [presetIndex, tweakIndex] = info.param;
    return (KelvarnAudioProcessorEditor::presetNames()[presetIndex] + "_"
            + KelvarnAudioProcessorEditor::tweakNames()[tweakIndex])
        .replaceCharacter (' ', '_')
        .toStdString();
}

INSTANTIATE_TEST_SUITE_P (EveryPresetAndTweak, PresetTable,
                          ::testing::Combine (::testing::Range (0, 4), ::testing::Range (0, 3)), presetCaseName);

using MacroPresets = EditorInputFixture;

TEST_F (MacroPresets, SteppingThePresetAndTweakRowsClampsAndAlwaysApplies)
{
    constexpr int presetRow = 4;
    constexpr int tweakRow = 5;

    struct Step
    {
        int row;
        float amount;
        int preset, tweak;
        int presetAfter, tweakAfter;
    };

    const Step steps[] {
        { presetRow, 0.02f, 0, 1, 1, 1 },
        { presetRow, -0.02f, 0, 1, 0, 1 }, // stays on VOICE RADIO
        { presetRow, 0.0f, 2, 1, 1, 1 },   // no amount counts as down
        { presetRow, 0.01f, 3, 1, 3, 1 },  // stays on WARM TAPE
        { tweakRow, -0.02f, 0, 0, 0, 0 },  // stays on SOFT
        { tweakRow, 0.01f, 0, 1, 0, 2 },
        { tweakRow, 1.0f, 0, 2, 0, 2 },    // stays on AGGRESSIVE
    };

    for (const auto& step : steps)
    {
        editor.presetIndex = step.preset;
        editor.tweakIndex = step.tweak;
        setNormalised ("global_drywet", 0.123f);

        editor.nudgeRow (step.row, step.amount);

        EXPECT_EQ (editor.presetIndex, step.presetAfter);
        EXPECT_EQ (editor.tweakIndex, step.tweakAfter);
        EXPECT_NEAR (plain ("global_drywet"), dryWetByTweak[static_cast<size_t> (step.tweakAfter)], 1.0e-6f)
            << "the preset was applied";
    }
}

TEST_F (MacroPresets, IndicesOutsideTheTablesUseTheLastEntries)
{
    editor.presetIndex = 7;
    editor.tweakIndex = -1;

    editor.applyMacroPreset();

    EXPECT_NEAR (plain ("global_drywet"), 0.715f, 1.0e-6f);
    EXPECT_EQ (plain ("varimu_enable"), 1.0f);
    EXPECT_EQ (plain ("varimu_attack"), 46.0f);
}
} // namespace
