#include "editor/KelvarnAudioProcessorEditor.h"

// The key map arrives with the keyboard work; until then every key goes to the host.

bool KelvarnAudioProcessorEditor::keyPressed (const juce::KeyPress&)
{
    return false;
}

void KelvarnAudioProcessorEditor::nudgeRow (int, float) {}

void KelvarnAudioProcessorEditor::setParamValue (const juce::String&, float) {}
