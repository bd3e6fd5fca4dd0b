#include "editor/KelvarnAudioProcessorEditor.h"

const juce::StringArray& KelvarnAudioProcessorEditor::presetNames()
{
    static const juce::StringArray names { "VOICE RADIO", "LOFI CRUSH", "DRUM SMASH", "WARM TAPE" };
    return names;
}

const juce::StringArray& KelvarnAudioProcessorEditor::tweakNames()
{
    static const juce::StringArray names { "SOFT", "HARD", "AGGRESSIVE" };
    return names;
}

// The preset recipes arrive with the macro preset work.
void KelvarnAudioProcessorEditor::applyMacroPreset() {}
