#include "EditorTestSupport.h"

#include "editor/MeterScale.h"

#include <cmath>

namespace
{
using RowFormatting = EditorFixture;

const juce::Colour green { 0xFF53FF76 };
const juce::Colour amber { 0xFFFFC26E };
const juce::Colour hot { 0xFFFF7561 };
const juce::Colour warm { 0xFFFFD662 };

TEST_F (RowFormatting, MakeBarFillsRoundsAndPlacesTheMarker)
{
    struct Case
    {
        float value, marker;
        int width;
        bool reversed;
        const char* expected;
    };

    const Case cases[] {
        { 0.4f, 0.4f, 11, false, "####|......" },
        { 0.0f, 0.0f, 11, false, "|.........." },
        { 1.0f, 1.0f, 11, false, "###########" },
        { 0.25f, 0.5f, 11, true, "....|...###" },
        { 0.5f, 0.5f, 11, false, "######|...." },  // 5.5 rounds to the even 6
        { 0.5f, 0.5f, 1, false, "|" },              // 0.5 rounds to the even 0
        { 0.2f, 0.1f, 11, false, "##........." },  // a marker inside the fill is hidden
        { -0.5f, -0.5f, 11, false, "|.........." }, // below the range: empty, marker at the start
        { 2.0f, 0.0f, 11, false, "###########" },
        { 0.0f, 1.0f, 11, false, "..........." },  // a marker at full scale has no cell
        { 0.0f, 1.5f, 11, false, "..........." },
        { NAN, NAN, 11, false, "|.........." },
        { 0.0f, 0.0f, 11, true, "..........|" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (editor.makeBar (c.value, c.marker, c.width, c.reversed), c.expected)
            << c.value << " " << c.marker << " " << c.width << " " << c.reversed;

    EXPECT_EQ (editor.makeBar (0.3f, 0.9f, 28, false).length(), 28);
}

struct RowCase
{
    const char* id;
    float normalised; // < 0: leave the default
    const char* expected;
};

TEST_F (RowFormatting, ParameterRowsShowValueOrWordAndGauge)
{
    const RowCase cases[] {
        { "global_drywet", -1, "DRY/WET          0.50 [######|....]" },
        { "fet_attack_us", -1, "ATTACK US         120 [#|.........]" },
        { "fet_release_ms", -1, "RELEASE MS        220 [##|........]" },
        { "fet_threshold", -1, "THRESHOLD       -24.0 [#######|...]" },
        { "global_output", -1, "OUTPUT            0.0 [######|....]" },
        { "global_os", -1, "OVERSAMPLING       <1x> [|..........]" }, // the long label pushes its line
        { "global_os", 1.0f, "OVERSAMPLING       <8x> [###########]" },
        { "tube_timeconstant", -1, "TIME CONST        <2> [##|........]" },
        { "global_safety", -1, "SAFETY          [ON ] [###########]" },
        { "fet_enable", -1, "ENABLE          [OFF] [|..........]" },
        { "fet_sat", -1, "SAT        CLEAN   [|..........]" },
        { "fet_sat", 0.3f, "SAT        WARM    [###|.......]" },
        { "fet_sat", 0.6f, "SAT        GRIT    [#######|...]" },
        { "fet_sat", 0.8f, "SAT        DESTROY [#########|.]" },
        { "fet_input", 0.0f, "INPUT           -24.0 [|..........]" },
        { "varimu_attack", 1.0f, "ATTACK             90 [###########]" },
    };

    for (const auto& c : cases)
    {
        if (c.normalised >= 0.0f)
            setNormalised (c.id, c.normalised);

        auto colour = juce::Colours::transparentBlack;
        EXPECT_EQ (editor.rowToString (rowFor (c.id), 11, colour), c.expected) << c.id;
        EXPECT_EQ (colour, green) << c.id;
    }
}

TEST_F (RowFormatting, SelectorRowsNameThePresetAndTweak)
{
    auto colour = juce::Colours::transparentBlack;
    EXPECT_EQ (editor.rowToString (rowFor ("macro_preset"), 11, colour), "PRESET    <VOICE RADIO>");
    EXPECT_EQ (editor.rowToString (rowFor ("macro_tweak"), 11, colour), "TWEAK     <HARD>");
    EXPECT_EQ (colour, green);

    editor.presetIndex = 3;
    editor.tweakIndex = 2;
    EXPECT_EQ (editor.rowToString (rowFor ("macro_preset"), 11, colour), "PRESET    <WARM TAPE>");
    EXPECT_EQ (editor.rowToString (rowFor ("macro_tweak"), 11, colour), "TWEAK     <AGGRESSIVE>");

    editor.presetIndex = 4;
    editor.tweakIndex = -1;
    EXPECT_EQ (editor.rowToString (rowFor ("macro_preset"), 11, colour), "PRESET    <>");
    EXPECT_EQ (editor.rowToString (rowFor ("macro_tweak"), 11, colour), "TWEAK     <>");
}

TEST_F (RowFormatting, GainReductionRowsAreCappedAt18DbAndFillFromTheRight)
{
    processor.meters.grFet.store (25.0f);
    processor.meters.grOpto.store (0.0f);
    processor.meters.grVca.store (9.0f);
    processor.meters.grVariMu.store (-2.0f);
    editor.holdGr[2] = 0.75f;

    const std::pair<const char*, const char*> cases[] {
        { "meter_fet_gr", "GR FET     18.0 dB [###########]" },
        { "meter_opto_gr", "GR OPTO     0.0 dB [..........|]" },
        { "meter_vca_gr", "GR VCA      9.0 dB [..|..######]" },
        { "meter_varimu_gr", "GR VMU      0.0 dB [..........|]" },
        { "meter_tube_gr", "GR 670      0.0 dB [..........|]" },
    };

    for (const auto& [id, expected] : cases)
    {
        auto colour = juce::Colours::transparentBlack;
        EXPECT_EQ (editor.rowToString (rowFor (id), 11, colour), expected) << id;
        EXPECT_EQ (colour, green) << id;
    }
}

/** The largest level that the meters show at or below this many dBFS. */
float levelAtMost (float db)
{
    auto level = juce::Decibels::decibelsToGain (db);

    while (kelvarn::meterscale::levelToDisplayDb (level) > db)
        level = std::nextafter (level, 0.0f);

    return level;
}

TEST_F (RowFormatting, LevelMetersChangeColourAt3And12DbAndMarkOutputOverload)
{
    struct Case
    {
        float level;
        float hold;
        const char* input;
        const char* output;
        juce::Colour colour;
    };

    const Case cases[] {
        { juce::Decibels::decibelsToGain (-2.0f), 0.0f, "INPUT    [#########..]   -2.0 dBFS",
          "OUTPUT   [#########..]   -2.0 dBFS !", hot },
        { levelAtMost (-3.0f), 0.0f, "INPUT    [########...]   -3.0 dBFS", "OUTPUT   [########...]   -3.0 dBFS", warm },
        { levelAtMost (-12.0f), 0.5f, "INPUT    [###...|....]  -12.0 dBFS", "OUTPUT   [###...|....]  -12.0 dBFS", green },
        { 0.0f, 0.0f, "INPUT    [|..........] -100.0 dBFS", "OUTPUT   [|..........] -100.0 dBFS", green },
        { 0.000001f, 0.0f, "INPUT    [|..........] -100.0 dBFS", "OUTPUT   [|..........] -100.0 dBFS", green },
        { 1.0f, 1.0f, "INPUT    [###########]    0.0 dBFS", "OUTPUT   [###########]    0.0 dBFS !", hot },
    };

    for (const auto& c : cases)
    {
        processor.meters.inputPeak.store (c.level);
        processor.meters.outputPeak.store (c.level);
        editor.holdIn = editor.holdOut = c.hold;

        auto colour = juce::Colours::transparentBlack;
        EXPECT_EQ (editor.rowToString (rowFor ("meter_input"), 11, colour), c.input) << c.level;
        EXPECT_EQ (colour, c.colour) << c.level;

        colour = juce::Colours::transparentBlack;
        EXPECT_EQ (editor.rowToString (rowFor ("meter_output"), 11, colour), c.output) << c.level;
        EXPECT_EQ (colour, c.colour) << c.level;
    }

    EXPECT_FLOAT_EQ (kelvarn::meterscale::levelToDisplayDb (levelAtMost (-3.0f)), -3.0f);
}

TEST_F (RowFormatting, WideHybridGaugeLine)
{
    processor.meters.inputPeak.store (0.5f);
    auto colour = juce::Colours::transparentBlack;
    EXPECT_EQ (editor.rowToString (rowFor ("meter_input"), 28, colour).length(), 51);
}

TEST_F (RowFormatting, AmberSchemeColoursTheTextButNotTheMeterWarnings)
{
    editor.colourScheme = 1;
    processor.meters.outputPeak.store (1.0f);

    auto colour = juce::Colours::transparentBlack;
    editor.rowToString (rowFor ("global_drywet"), 11, colour);
    EXPECT_EQ (colour, amber);
    editor.rowToString (rowFor ("meter_fet_gr"), 11, colour);
    EXPECT_EQ (colour, amber);
    editor.rowToString (rowFor ("meter_output"), 11, colour);
    EXPECT_EQ (colour, hot);
}

TEST_F (RowFormatting, RowsWithoutAParameterOrAKnownMeterStillFormat)
{
    auto colour = juce::Colours::transparentBlack;
    const Row ghost { Row::continuous, "GHOST", "ghost_level", 0.0025f, 0.01f };
    EXPECT_EQ (editor.rowToString (ghost, 11, colour), "GHOST (missing)");
    EXPECT_EQ (colour, green);

    editor.holdGr[0] = 0.5f;
    const Row strayMeter { Row::meter, "STRAY", "meter_stray", 0.0f, 0.0f };
    EXPECT_EQ (editor.rowToString (strayMeter, 11, colour), "STRAY       0.0 dBFS [....|......]");
}
} // namespace
