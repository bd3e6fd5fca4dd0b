#include "EditorInputSupport.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace
{
using KeyboardControl = EditorInputFixture;
using Mods = juce::ModifierKeys;

/** The part of the editor state that keys move. */
struct Cursor
{
    int view = 0;
    int module = 1;
    int param = 0;
    int row = 6;
    int focus = -1;

    bool operator== (const Cursor& other) const
    {
        return std::tie (view, module, param, row, focus)
               == std::tie (other.view, other.module, other.param, other.row, other.focus);
    }
};

std::ostream& operator<< (std::ostream& out, const Cursor& c)
{
    return out << "view " << c.view << " module " << c.module << " param " << c.param << " row " << c.row
               << " focus " << c.focus;
}

/** A parameter's normalised value before and after the key; no ID when no parameter matters. */
struct ValueChange
{
    const char* id = nullptr;
    float before = 0.0f;
    float after = 0.0f;
};

struct KeyCase
{
    const char* what;
    Cursor before;
    juce::KeyPress key;
    bool used;
    Cursor after;
    ValueChange value {};
};

// Keeps the test list readable: gtest would otherwise print the case as a byte dump.
void PrintTo (const KeyCase& keyCase, std::ostream* out) { *out << keyCase.what; }

juce::KeyPress letter (char c, Mods mods = {})
{
    return { juce::CharacterFunctions::toUpperCase (static_cast<juce::juce_wchar> (c)), mods,
             static_cast<juce::juce_wchar> (c) };
}

juce::KeyPress code (int keyCode, Mods mods = {})
{
    return { keyCode, mods, 0 };
}

const juce::KeyPress space { ' ', {}, ' ' };
const Mods shift { Mods::shiftModifier };
const Mods ctrl { Mods::ctrlModifier };
const Mods alt { Mods::altModifier };

// Cursor fields: view, module, param, row, focus.
const KeyCase keyCases[] {
    { "hybrid view ignores Q", { 1, 1, 0, 6, -1 }, letter ('q'), false, { 1, 1, 0, 6, -1 } },
    { "hybrid view keeps Space for the host", { 1, 1, 0, 6, -1 }, space, false, { 1, 1, 0, 6, -1 }, { "fet_enable", 0.0f, 0.0f } },
    { "U leaves the hybrid view", { 1, 1, 0, 6, -1 }, letter ('U'), true, { 0, 1, 0, 6, -1 } },
    { "u enters the hybrid view", { 0, 1, 0, 6, -1 }, letter ('u'), true, { 1, 1, 0, 6, -1 } },

    { "Escape leaves focus", { 0, 2, 0, 14, 2 }, code (juce::KeyPress::escapeKey), true, { 0, 2, 0, 14, -1 } },
    { "Escape without focus", { 0, 2, 0, 14, -1 }, code (juce::KeyPress::escapeKey), true, { 0, 2, 0, 14, -1 } },
    { "Shift+Escape is the host's", { 0, 2, 0, 14, 2 }, code (juce::KeyPress::escapeKey, shift), false, { 0, 2, 0, 14, 2 } },
    { "Return focuses FET76", { 0, 1, 0, 6, -1 }, code (juce::KeyPress::returnKey), true, { 0, 1, 0, 6, 1 } },
    { "Return again leaves focus", { 0, 1, 0, 6, 1 }, code (juce::KeyPress::returnKey), true, { 0, 1, 0, 6, -1 } },
    { "Return moves focus to the selected module", { 0, 3, 0, 21, 1 }, code (juce::KeyPress::returnKey), true, { 0, 3, 0, 21, 3 } },
    { "Return on GLOBAL", { 0, 0, 0, 0, -1 }, code (juce::KeyPress::returnKey), false, { 0, 0, 0, 0, -1 } },
    { "Ctrl+Return", { 0, 1, 0, 6, -1 }, code (juce::KeyPress::returnKey, ctrl), false, { 0, 1, 0, 6, -1 } },

    { "Q to GLOBAL's first row", { 0, 1, 3, 9, -1 }, letter ('q'), true, { 0, 0, 0, 0, -1 } },
    { "Q on GLOBAL stays", { 0, 0, 3, 3, -1 }, letter ('q'), true, { 0, 0, 0, 0, -1 } },
    { "Shift+Q acts as Q", { 0, 2, 0, 14, -1 }, letter ('Q', shift), true, { 0, 1, 0, 6, -1 } },
    { "W keeps the focus on its module", { 0, 1, 0, 6, 1 }, letter ('w'), true, { 0, 2, 0, 14, 1 } },
    { "W on TUBE670 stays", { 0, 5, 2, 36, -1 }, letter ('w'), true, { 0, 5, 0, 34, -1 } },
    { "A steps up in the module", { 0, 1, 3, 9, -1 }, letter ('a'), true, { 0, 1, 2, 8, -1 } },
    { "A on the first row stays", { 0, 1, 0, 6, -1 }, letter ('a'), true, { 0, 1, 0, 6, -1 } },
    { "S into GLOBAL's level meters", { 0, 0, 5, 5, -1 }, letter ('s'), true, { 0, 0, 6, 41, -1 } },
    { "S on the last row stays", { 0, 1, 7, 13, -1 }, letter ('s'), true, { 0, 1, 7, 13, -1 } },

    { "X raises the threshold", { 0, 1, 5, 11, -1 }, letter ('x'), true, { 0, 1, 5, 11, -1 }, { "fet_threshold", 0.6f, 0.62f } },
    { "X clamps at the top", { 0, 0, 0, 0, -1 }, letter ('x'), true, { 0, 0, 0, 0, -1 }, { "global_drywet", 0.99f, 1.0f } },
    { "Z clamps at the bottom", { 0, 0, 0, 0, -1 }, letter ('z'), true, { 0, 0, 0, 0, -1 }, { "global_drywet", 0.01f, 0.0f } },
    { "Z flips a toggle row", { 0, 1, 0, 6, -1 }, letter ('z'), true, { 0, 1, 0, 6, -1 }, { "fet_enable", 0.0f, 1.0f } },
    { "X without a cursor row", { 0, 1, 0, -1, -1 }, letter ('x'), true, { 0, 1, 0, -1, -1 }, { "fet_enable", 0.0f, 0.0f } },
    { "X on a meter row", { 0, 1, 7, 13, -1 }, letter ('x'), true, { 0, 1, 7, 13, -1 } },
    { "Z on a choice row stays on its choice", { 0, 0, 3, 3, -1 }, letter ('z'), true, { 0, 0, 3, 3, -1 }, { "global_os", 1.0f / 3.0f, 1.0f / 3.0f } },

    { "Space flips the selected module", { 0, 1, 5, 11, -1 }, space, true, { 0, 1, 5, 11, -1 }, { "fet_enable", 0.0f, 1.0f } },
    { "Space switches a module off", { 0, 4, 0, 27, -1 }, space, true, { 0, 4, 0, 27, -1 }, { "varimu_enable", 1.0f, 0.0f } },
    { "Space on GLOBAL", { 0, 0, 2, 2, -1 }, space, false, { 0, 0, 2, 2, -1 }, { "global_safety", 1.0f, 1.0f } },

    { "Down crosses into FET76", { 0, 0, 5, 5, -1 }, code (juce::KeyPress::downKey), true, { 0, 0, 5, 6, -1 } },
    { "Up crosses back into GLOBAL", { 0, 1, 0, 6, -1 }, code (juce::KeyPress::upKey), true, { 0, 1, 0, 5, -1 } },
    { "Up on the first row stays", { 0, 0, 0, 0, -1 }, code (juce::KeyPress::upKey), true, { 0, 0, 0, 0, -1 } },
    { "Down on the last row stays", { 0, 0, 7, 42, -1 }, code (juce::KeyPress::downKey), true, { 0, 0, 7, 42, -1 } },
    { "Down from no row", { 0, 1, 0, -1, -1 }, code (juce::KeyPress::downKey), true, { 0, 1, 0, 0, -1 } },
    { "Shift+Up is the host's", { 0, 1, 0, 6, -1 }, code (juce::KeyPress::upKey, shift), false, { 0, 1, 0, 6, -1 } },
    { "Left lowers by 0.01", { 0, 0, 0, 0, -1 }, code (juce::KeyPress::leftKey), true, { 0, 0, 0, 0, -1 }, { "global_drywet", 0.5f, 0.49f } },
    { "Right raises by 0.01", { 0, 0, 0, 0, -1 }, code (juce::KeyPress::rightKey), true, { 0, 0, 0, 0, -1 }, { "global_drywet", 0.5f, 0.51f } },
    { "Alt+Right is the host's", { 0, 0, 0, 0, -1 }, code (juce::KeyPress::rightKey, alt), false, { 0, 0, 0, 0, -1 }, { "global_drywet", 0.5f, 0.5f } },

    { "an unmapped letter", { 0, 1, 0, 6, -1 }, letter ('k'), false, { 0, 1, 0, 6, -1 } },
    { "an unmapped key", { 0, 1, 0, 6, -1 }, code (juce::KeyPress::F1Key), false, { 0, 1, 0, 6, -1 } },
};

class KeyPressTable : public EditorInputFixture,
                      public ::testing::WithParamInterface<KeyCase>
{
};

void place (KelvarnAudioProcessorEditor& editor, const Cursor& cursor)
{
    editor.viewMode = cursor.view;
    editor.selectedModule = cursor.module;
    editor.selectedParam = cursor.param;
    editor.selectedRow = cursor.row;
    editor.focusModule = cursor.focus;
}

Cursor cursorOf (const KelvarnAudioProcessorEditor& editor)
{
    return { editor.viewMode, editor.selectedModule, editor.selectedParam, editor.selectedRow, editor.focusModule };
}

TEST_P (KeyPressTable, MovesTheStateAndReportsWhetherItUsedTheKey)
{
    const auto& keyCase = GetParam();
    place (editor, keyCase.before);

    if (keyCase.value.id != nullptr)
        setNormalised (keyCase.value.id, keyCase.value.before);

    EXPECT_EQ (editor.keyPressed (keyCase.key), keyCase.used);
    EXPECT_EQ (cursorOf (editor), keyCase.after);

    if (keyCase.value.id != nullptr)
    {
        EXPECT_NEAR (normalised (keyCase.value.id), keyCase.value.after, 1.0e-6f) << keyCase.value.id;
    }
}

std::string caseName (const ::testing::TestParamInfo<KeyCase>& info)
{
    auto name = std::string (info.param.what);
    std::replace_if (name.begin(), name.end(), [] (char c) { return ! std::isalnum (static_cast<unsigned char> (c)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P (KeyMap, KeyPressTable, ::testing::ValuesIn (keyCases), caseName);

/** Types text one key at a time, as a keyboard would deliver it. */
void type (KelvarnAudioProcessorEditor& editor, const std::string& text)
{
    for (const auto c : text)
        editor.keyPressed (c == ' ' ? space : letter (c));
}

TEST_F (KeyboardControl, ThePhraseCyclesTheColourSchemesWhateverItsCase)
{
    const std::pair<const char*, int> typings[] {
        { "mercis tolbenkrad", 1 },
        { "MERCIS TOLBENKRAD", 2 },
        { "xxmercis tolbenkrad", 0 }, // anything before it does not matter
        { "mercis tolbenkrax", 0 },
        { "mercisq tolbenkrad", 0 }, // a key in between breaks it
    };

    for (const auto& [text, scheme] : typings)
    {
        type (editor, text);
        EXPECT_EQ (editor.colourScheme, scheme) << text;
    }
}

TEST_F (KeyboardControl, ThePhraseEmptiesTheTypedKeysAndTheLettersStillActAsKeys)
{
    editor.selectedModule = 1;
    type (editor, "mercis tolbenkra");
    // The space of the phrase flipped FET76 on the way.
    EXPECT_EQ (normalised ("fet_enable"), 1.0f);

    EXPECT_TRUE (editor.keyPressed (letter ('d')));
    EXPECT_EQ (editor.colourScheme, 1);
    EXPECT_TRUE (editor.typedKeys.isEmpty());
}

TEST_F (KeyboardControl, TypedKeysKeepOnlyTheLast32Printables)
{
    type (editor, "abcdefghijklmnopqrstuvwxyzabcdefghij");
    editor.keyPressed (code (juce::KeyPress::upKey));
    EXPECT_EQ (editor.typedKeys, "EFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJ");
}

TEST_F (KeyboardControl, EveryKeyStepIsOneGesture)
{
    editor.selectedRow = 11;
    GestureLog log (processor);

    editor.keyPressed (letter ('x'));
    editor.keyPressed (code (juce::KeyPress::leftKey));
    editor.keyPressed (space);

    EXPECT_EQ (log.entries, singleWrites ({ "fet_threshold", "fet_threshold", "fet_enable" }));
}

TEST_F (KeyboardControl, SetParamValueSnapsClampsAndWritesOneGesture)
{
    const std::tuple<const char*, float, float> writes[] {
        { "fet_threshold", -32.77f, -32.8f }, // to the 0.1 dB step
        { "varimu_attack", 85.71f, 86.0f },   // to whole milliseconds
        { "fet_threshold", 12.0f, 0.0f },     // clamped to the range
        { "global_os", 2.4f, 2.0f },          // to the nearest choice
        { "tube_enable", 1.0f, 1.0f },
    };

    for (const auto& [id, requested, stored] : writes)
    {
        GestureLog log (processor);
        editor.setParamValue (id, requested);
        EXPECT_NEAR (plain (id), stored, 1.0e-4f) << id;
        EXPECT_EQ (log.entries, singleWrites ({ id })) << id;
    }

    GestureLog log (processor);
    editor.setParamValue ("no_such_parameter", 1.0f);
    EXPECT_TRUE (log.entries.empty());
}
} // namespace
