#include "processor/KelvarnAudioProcessor.h"

#include <gtest/gtest.h>

namespace
{
enum class Kind { Float, Bool, Choice };

struct ParameterRow
{
    const char* id;
    const char* name;
    Kind kind;
    float start, end, interval, defaultValue;
    std::vector<const char*> choices {};
};

constexpr float tenth = 0.1f;

// The host lists the parameters in this order; their IDs are also the saved state's keys.
const std::vector<ParameterRow> expectedTable {
    { "global_drywet", "Global Dry/Wet", Kind::Float, 0, 1, 0, 0.5f },
    { "global_output", "Global Output", Kind::Float, -24, 24, tenth, 0 },
    { "global_safety", "Safety", Kind::Bool, 0, 1, 1, 1 },
    { "global_os", "Oversampling", Kind::Choice, 0, 3, 1, 0, { "1x", "2x", "4x", "8x" } },
    { "fet_enable", "FET Enable", Kind::Bool, 0, 1, 1, 0 },
    { "fet_input", "FET Input", Kind::Float, -24, 24, tenth, 0 },
    { "fet_output", "FET Output", Kind::Float, -24, 24, tenth, 0 },
    { "fet_attack_us", "FET Attack", Kind::Float, 20, 800, 1, 120 },
    { "fet_release_ms", "FET Release", Kind::Float, 50, 1100, 1, 220 },
    { "fet_threshold", "FET Threshold", Kind::Float, -60, 0, tenth, -24 },
    { "fet_sat", "FET Saturation", Kind::Float, 0, 1, 0, 0 },
    { "opto_enable", "Opto Enable", Kind::Bool, 0, 1, 1, 0 },
    { "opto_peak_reduction", "Opto Peak Reduction", Kind::Float, 0, 100, tenth, 42 },
    { "opto_mode", "Opto Mode", Kind::Choice, 0, 1, 1, 0, { "COMP", "LIMIT" } },
    { "opto_makeup", "Opto Makeup", Kind::Float, -24, 24, tenth, 0 },
    { "opto_hf_emphasis", "Opto HF Emphasis", Kind::Float, 0, 1, 0, 0 },
    { "opto_sat", "Opto Saturation", Kind::Float, 0, 1, 0, 0 },
    { "vca_enable", "VCA Enable", Kind::Bool, 0, 1, 1, 0 },
    { "vca_threshold", "VCA Threshold", Kind::Float, -60, 0, tenth, -20 },
    { "vca_overeasy", "VCA OverEasy", Kind::Bool, 0, 1, 1, 1 },
    { "vca_makeup", "VCA Makeup", Kind::Float, -24, 24, tenth, 0 },
    { "vca_sat", "VCA Saturation", Kind::Float, 0, 1, 0, 0 },
    { "varimu_enable", "VariMu Enable", Kind::Bool, 0, 1, 1, 0 },
    { "varimu_threshold", "VariMu Threshold", Kind::Float, -60, 0, tenth, -22 },
    { "varimu_attack", "VariMu Attack", Kind::Float, 15, 90, 1, 45 },
    { "varimu_recovery", "VariMu Recovery", Kind::Choice, 0, 4, 1, 1, { "0.2s", "0.4s", "0.6s", "4s", "8s" } },
    { "varimu_makeup", "VariMu Makeup", Kind::Float, -24, 24, tenth, 0 },
    { "varimu_sat", "VariMu Saturation", Kind::Float, 0, 1, 0, 0 },
    { "tube_enable", "Tube670 Enable", Kind::Bool, 0, 1, 1, 0 },
    { "tube_threshold", "Tube670 Threshold", Kind::Float, -60, 0, tenth, -18 },
    { "tube_timeconstant", "Tube670 Time Constant", Kind::Choice, 0, 5, 1, 1, { "1", "2", "3", "4", "5", "6" } },
    { "tube_mode", "Tube670 Mode", Kind::Choice, 0, 1, 1, 0, { "LR", "MS" } },
    { "tube_makeup", "Tube670 Makeup", Kind::Float, -24, 24, tenth, 0 },
    { "tube_sat", "Tube670 Saturation", Kind::Float, 0, 1, 0, 0 },
};

class ParameterSetTest : public ::testing::Test
{
protected:
    KelvarnAudioProcessor processor;

    juce::RangedAudioParameter& parameter (const char* id) { return *processor.apvts.getParameter (id); }

    void setNormalised (const char* id, float normalised) { parameter (id).setValueNotifyingHost (normalised); }
};

TEST_F (ParameterSetTest, TableMatchesInHostOrder)
{
    const auto& params = processor.getParameters();
    ASSERT_EQ (params.size(), (int) expectedTable.size());

    for (int i = 0; i < params.size(); ++i)
    {
        const auto& row = expectedTable[(size_t) i];
        SCOPED_TRACE (row.id);
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (params[i]);
        ASSERT_NE (ranged, nullptr);

        EXPECT_EQ (ranged->getParameterID(), row.id);
        EXPECT_EQ (ranged->getVersionHint(), 0);
        EXPECT_EQ (ranged->getName (100), row.name);
        EXPECT_EQ (ranged->getLabel(), "");
        EXPECT_TRUE (ranged->isAutomatable());
        EXPECT_FALSE (ranged->isMetaParameter());

        const auto& range = ranged->getNormalisableRange();
        EXPECT_EQ (range.start, row.start);
        EXPECT_EQ (range.end, row.end);
        EXPECT_EQ (range.skew, 1.0f);
        EXPECT_FALSE (range.symmetricSkew);
        EXPECT_EQ (processor.getFloat (row.id), row.defaultValue);

        switch (row.kind)
        {
            case Kind::Float:
                ASSERT_NE (dynamic_cast<juce::AudioParameterFloat*> (ranged), nullptr);
                EXPECT_EQ (range.interval, row.interval);
                break;
            case Kind::Bool:
                EXPECT_NE (dynamic_cast<juce::AudioParameterBool*> (ranged), nullptr);
                break;
            case Kind::Choice:
            {
                auto* choice = dynamic_cast<juce::AudioParameterChoice*> (ranged);
                ASSERT_NE (choice, nullptr);
                ASSERT_EQ (choice->choices.size(), (int) row.choices.size());
                for (size_t c = 0; c < row.choices.size(); ++c)
                    EXPECT_EQ (choice->choices[(int) c], row.choices[c]);
                break;
            }
        }
    }
}

TEST_F (ParameterSetTest, DefaultNormalisedValues)
{
    const struct { const char* id; float normalised; } cases[] {
        { "global_output", 0.5f },
        { "fet_threshold", 0.6f },
        { "fet_attack_us", (120.0f - 20.0f) / 780.0f },
        { "opto_peak_reduction", 0.42f },
        { "varimu_attack", 0.4f },
        { "global_drywet", 0.5f },
    };

    for (const auto& c : cases)
        EXPECT_NEAR (parameter (c.id).getValue(), c.normalised, 1e-6f) << c.id;
}

TEST_F (ParameterSetTest, NormalisedToPlain)
{
    const struct { const char* id; float normalised; float plain; } cases[] {
        { "fet_attack_us", 0.5f, 410.0f },
        { "fet_release_ms", 0.5f, 575.0f },
        { "varimu_attack", 1.0f, 90.0f },
        { "global_drywet", 0.123f, 0.123f },
        { "fet_sat", 0.777f, 0.777f },
        { "opto_hf_emphasis", 0.3333f, 0.3333f },
        { "global_os", 0.70f, 2.0f },
        { "tube_timeconstant", 0.95f, 5.0f },
        { "tube_mode", 0.49f, 0.0f },
        { "global_safety", 0.2f, 0.0f },
        { "vca_overeasy", 0.6f, 1.0f },
    };

    for (const auto& c : cases)
    {
        setNormalised (c.id, c.normalised);
        EXPECT_NEAR (processor.getFloat (c.id), c.plain, 1e-5f) << c.id;
    }
}

TEST_F (ParameterSetTest, SteppedValuesSnapToTheirInterval)
{
    for (float normalised : { 0.0f, 0.1234f, 0.5555f, 0.98765f, 1.0f })
    {
        setNormalised ("fet_threshold", normalised);
        const auto stepsFromStart = (processor.getFloat ("fet_threshold") + 60.0f) / 0.1f;
        EXPECT_NEAR (stepsFromStart, std::round (stepsFromStart), 1e-3f) << normalised;

        setNormalised ("varimu_recovery", normalised);
        const auto recovery = processor.getFloat ("varimu_recovery");
        EXPECT_EQ (recovery, std::round (recovery));
        EXPECT_GE (recovery, 0.0f);
        EXPECT_LE (recovery, 4.0f);
    }
}

TEST_F (ParameterSetTest, GetFloatOfUnknownIdIsZero)
{
    for (const char* id : { "", "fet", "FET_ENABLE", "meter_input", "macro_preset" })
        EXPECT_EQ (processor.getFloat (id), 0.0f) << id;
}
} // namespace
