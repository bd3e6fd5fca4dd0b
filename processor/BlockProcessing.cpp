#include "processor/KelvarnAudioProcessor.h"

// Audio passes through unchanged until the branch network is in place.

void KelvarnAudioProcessor::prepareToPlay (double, int) {}

void KelvarnAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    for (auto channel = getTotalNumInputChannels(); channel < getTotalNumOutputChannels(); ++channel)
        buffer.clear (channel, 0, buffer.getNumSamples());
}

void KelvarnAudioProcessor::updateOversampling (double, int) {}

void KelvarnAudioProcessor::processInternalBlock (juce::AudioBuffer<float>&, float) {}

void KelvarnAudioProcessor::processBranchSample (BranchType, BranchState&, float inL, float inR,
                                                 float, float& outL, float& outR, float& grDb)
{
    outL = inL;
    outR = inR;
    grDb = 0.0f;
}

KelvarnAudioProcessor::MeterSnapshot KelvarnAudioProcessor::getMeterSnapshot() const
{
    return { meters.inputPeak.load(), meters.outputPeak.load(), meters.grFet.load(),
             meters.grOpto.load(),    meters.grVca.load(),      meters.grVariMu.load(),
             meters.grTube.load() };
}
