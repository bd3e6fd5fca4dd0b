#include "editor/KelvarnAudioProcessorEditor.h"

KelvarnAudioProcessorEditor::KelvarnAudioProcessorEditor (KelvarnAudioProcessor& processor)
    : juce::AudioProcessorEditor (processor), processorRef (processor)
{
    setSize (1120, 720);
    setWantsKeyboardFocus (true);
}

void KelvarnAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}
