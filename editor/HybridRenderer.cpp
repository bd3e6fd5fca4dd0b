#include "editor/KelvarnAudioProcessorEditor.h"

#include "editor/TerminalFont.h"

// The hybrid view's knobs, meters and module toggles arrive with the hybrid view work;
// until then it shows only the button that leads back to the text view.

void KelvarnAudioProcessorEditor::drawHybrid (juce::Graphics& g)
{
    hitRegions.clear();
    g.fillAll (juce::Colour (0xFF0E1212));
    g.setFont (kelvarn::terminalFont (13.0f));
    drawViewToggleButton (g);
}

void KelvarnAudioProcessorEditor::drawKnob (juce::Graphics&, juce::Rectangle<int>, const juce::String&, float, bool) {}
