#pragma once

#include "processor/KelvarnAudioProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** kelvarn's editor window. */
class KelvarnAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit KelvarnAudioProcessorEditor (KelvarnAudioProcessor& processor);

    void paint (juce::Graphics& g) override;
    void resized() override {}

private:
    KelvarnAudioProcessor& processorRef;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KelvarnAudioProcessorEditor)
};
