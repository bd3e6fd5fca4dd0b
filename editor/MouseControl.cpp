#include "editor/KelvarnAudioProcessorEditor.h"

// Mouse handling and the macro knobs arrive with the mouse work; until then clicks,
// drags and the wheel do nothing.

void KelvarnAudioProcessorEditor::mouseDown (const juce::MouseEvent&) {}

void KelvarnAudioProcessorEditor::mouseDrag (const juce::MouseEvent&) {}

void KelvarnAudioProcessorEditor::mouseUp (const juce::MouseEvent&) {}

void KelvarnAudioProcessorEditor::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) {}

bool KelvarnAudioProcessorEditor::handleHit (const HitRegion&, const juce::MouseEvent&, bool)
{
    return false;
}

void KelvarnAudioProcessorEditor::updateHybridFromParams() {}
