#include "editor/KelvarnAudioProcessorEditor.h"

using Editor = KelvarnAudioProcessorEditor;

namespace
{
// The phrase that cycles the colour schemes; typed letters and the space still act as keys.
const juce::String colourSchemePhrase { "MERCIS TOLBENKRAD" };
constexpr int typedKeysLimit = 32;
constexpr int numColourSchemes = 3;

// Escape and Return are recognised by these codes on every platform the editor runs on.
constexpr int escapeKeyCode = 27;
constexpr int returnKeyCode = 13;
constexpr juce::juce_wchar spaceCharacter = 32;

constexpr float valueKeyStep = 0.02f; // "Z" and "X"
constexpr float arrowKeyStep = 0.01f; // Left and Right

juce::String keyText (const juce::KeyPress& key)
{
    return juce::String::charToString (key.getTextCharacter()).toUpperCase();
}

bool hasShiftCtrlOrAlt (const juce::KeyPress& key)
{
    return key.getModifiers().testFlags (juce::ModifierKeys::shiftModifier | juce::ModifierKeys::ctrlModifier
                                         | juce::ModifierKeys::altModifier);
}

bool isPlainKey (const juce::KeyPress& key, int keyCode)
{
    return key.getKeyCode() == keyCode && ! hasShiftCtrlOrAlt (key);
}

/** Remembers a printable key; true when it completed the colour-scheme phrase. */
bool completesColourSchemePhrase (juce::String& typedKeys, const juce::KeyPress& key)
{
    const auto text = keyText (key);

    if (text.isEmpty() || key.getTextCharacter() <= 31)
        return false;

    typedKeys = (typedKeys + text).getLastCharacters (typedKeysLimit);

    if (! typedKeys.contains (colourSchemePhrase))
        return false;

    typedKeys.clear();
    return true;
}

/** Moves a preset or tweak index one entry in the direction of the amount; 0 counts as down. */
int steppedIndex (int index, float amount, int count)
{
    return juce::jlimit (0, count - 1, amount > 0.0f ? index + 1 : index - 1);
}

bool isValidRow (const Editor& editor, int rowIndex)
{
    return rowIndex >= 0 && rowIndex < static_cast<int> (editor.rows.size());
}

/** Points the cursor at a position inside the selected module's rows. */
void selectParam (Editor& editor, int position)
{
    const auto& rowIds = editor.modules[static_cast<size_t> (editor.selectedModule)].rowIds;
    editor.selectedParam = position;
    editor.selectedRow = editor.findRowById (rowIds[static_cast<size_t> (position)]);
}

int lastParamPosition (const Editor& editor)
{
    return static_cast<int> (editor.modules[static_cast<size_t> (editor.selectedModule)].rowIds.size()) - 1;
}

/** Return on a module focuses it, or leaves the focus view when it is the focused one. */
void toggleFocus (Editor& editor)
{
    editor.focusModule = editor.focusModule == editor.selectedModule ? -1 : editor.selectedModule;
}

/** Space flips the selected module's enable parameter; false on GLOBAL, which has none. */
bool flipSelectedModule (Editor& editor)
{
    if (editor.selectedModule <= 0)
        return false;

    const auto enableRow = editor.findRowById (editor.modules[static_cast<size_t> (editor.selectedModule)].enableId);

    if (enableRow >= 0)
        editor.nudgeRow (enableRow, 1.0f);

    return true;
}

void nudgeCursorRow (Editor& editor, float amount)
{
    if (editor.selectedRow >= 0)
        editor.nudgeRow (editor.selectedRow, amount);
}

/** Up, Down, Left and Right without Shift, Ctrl or Alt; false for anything else. */
bool handleArrowKey (Editor& editor, const juce::KeyPress& key)
{
    const auto lastRow = static_cast<int> (editor.rows.size()) - 1;

    if (isPlainKey (key, juce::KeyPress::upKey))
        editor.selectedRow = editor.selectedRow > 0 ? editor.selectedRow - 1 : editor.selectedRow;
    else if (isPlainKey (key, juce::KeyPress::downKey))
        editor.selectedRow = editor.selectedRow < lastRow ? editor.selectedRow + 1 : editor.selectedRow;
    else if (isPlainKey (key, juce::KeyPress::leftKey))
        nudgeCursorRow (editor, -arrowKeyStep);
    else if (isPlainKey (key, juce::KeyPress::rightKey))
        nudgeCursorRow (editor, arrowKeyStep);
    else
        return false;

    return true;
}

/** The letter keys of the text view; false for any other text. */
bool handleLetterKey (Editor& editor, const juce::String& text)
{
    if (text == "Q")
        editor.selectModule (editor.selectedModule - 1);
    else if (text == "W")
        editor.selectModule (editor.selectedModule + 1);
    else if (text == "A")
        selectParam (editor, juce::jmax (0, editor.selectedParam - 1));
    else if (text == "S")
        selectParam (editor, juce::jmin (editor.selectedParam + 1, lastParamPosition (editor)));
    else if (text == "Z")
        nudgeCursorRow (editor, -valueKeyStep);
    else if (text == "X")
        nudgeCursorRow (editor, valueKeyStep);
    else
        return false;

    return true;
}

/** Every key of the text view after the view switch; false lets the host have the key. */
bool handleTextViewKey (Editor& editor, const juce::KeyPress& key)
{
    if (isPlainKey (key, escapeKeyCode))
    {
        editor.focusModule = -1;
        return true;
    }

    if (isPlainKey (key, returnKeyCode) && editor.selectedModule > 0)
    {
        toggleFocus (editor);
        return true;
    }

    if (handleLetterKey (editor, keyText (key)))
        return true;

    if (key.getTextCharacter() == spaceCharacter && flipSelectedModule (editor))
        return true;

    return handleArrowKey (editor, key);
}
} // namespace

bool Editor::keyPressed (const juce::KeyPress& key)
{
    if (completesColourSchemePhrase (typedKeys, key))
    {
        colourScheme = (colourScheme + 1) % numColourSchemes;
        repaint();
        return true;
    }

    if (keyText (key) == "U")
    {
        viewMode = viewMode == 0 ? 1 : 0;
        return true;
    }

    // The hybrid view is for the mouse: its other keys belong to the host.
    if (viewMode != 0)
        return false;

    return handleTextViewKey (*this, key);
}

void Editor::nudgeRow (int rowIndex, float amount)
{
    if (! isValidRow (*this, rowIndex))
        return;

    const auto& row = rows[static_cast<size_t> (rowIndex)];

    switch (row.kind)
    {
        case Row::meter:
            return;

        case Row::preset:
            presetIndex = steppedIndex (presetIndex, amount, presetNames().size());
            applyMacroPreset(); // also when the index stayed at its end
            return;

        case Row::tweak:
            tweakIndex = steppedIndex (tweakIndex, amount, tweakNames().size());
            applyMacroPreset();
            return;

        case Row::continuous:
        case Row::toggle:
        case Row::choice:
            break;
    }

    auto* parameter = processorRef.apvts.getParameter (row.paramId);

    if (parameter == nullptr)
        return;

    parameter->beginChangeGesture();
    const auto current = parameter->getValue();
    const auto next = row.kind == Row::toggle ? (current < 0.5f ? 1.0f : 0.0f)
                                              : juce::jlimit (0.0f, 1.0f, current + amount);
    parameter->setValueNotifyingHost (next);
    parameter->endChangeGesture();
}

void Editor::setParamValue (const juce::String& paramId, float plainValue)
{
    auto* parameter = processorRef.apvts.getParameter (paramId);

    if (parameter == nullptr)
        return;

    const auto& range = parameter->getNormalisableRange();
    const auto normalised = juce::jlimit (0.0f, 1.0f, range.convertTo0to1 (range.snapToLegalValue (plainValue)));

    parameter->beginChangeGesture();
    parameter->setValueNotifyingHost (normalised);
    parameter->endChangeGesture();
}
