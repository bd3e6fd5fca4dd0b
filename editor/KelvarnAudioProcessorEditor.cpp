#include "editor/KelvarnAudioProcessorEditor.h"

namespace
{
constexpr int fetModule = 1;
} // namespace

KelvarnAudioProcessorEditor::KelvarnAudioProcessorEditor (KelvarnAudioProcessor& processorToEdit)
    : juce::AudioProcessorEditor (processorToEdit), processorRef (processorToEdit)
{
    setSize (editorWidth, editorHeight);
    // Key presses only arrive once the host gives the window focus; taking it here would
    // steal it from the host.
    setWantsKeyboardFocus (true);

    rows = makeRowTable();
    modules = makeModuleTable();

    selectModule (fetModule);
    updateHybridFromParams();
    startTimer (timerPeriodMs);
}

KelvarnAudioProcessorEditor::~KelvarnAudioProcessorEditor()
{
    endRowDrag();
}

void KelvarnAudioProcessorEditor::paint (juce::Graphics& g)
{
    if (viewMode == 0)
        drawTui (g);
    else
        drawHybrid (g);
}

// The window has one fixed size, so the layout never changes.
void KelvarnAudioProcessorEditor::resized() {}
