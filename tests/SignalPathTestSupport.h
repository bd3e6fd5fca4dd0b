#pragma once

#include "processor/KelvarnAudioProcessor.h"

#include <cmath>
#include <memory>
#include <vector>

/** Helpers shared by the signal-path tests. */
namespace kelvarn::testing
{
using Processor = KelvarnAudioProcessor;
using BranchType = KelvarnAudioProcessor::BranchType;
using BranchState = KelvarnAudioProcessor::BranchState;

/** Sets a parameter's plain value the way the editor does, through the parameter object. */
inline void setPlain (Processor& processor, const char* id, float plainValue)
{
    auto* parameter = processor.apvts.getParameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (plainValue));
}

/** Puts a value the parameter's range would never produce straight into the value
    the signal path reads, to reach the models' guards against out-of-range choices. */
inline void forceRawValue (Processor& processor, const char* id, float value)
{
    processor.apvts.getRawParameterValue (id)->store (value);
}

/** A latency changed while playing reaches the host from the message thread: runs the
    message loop until the processor reports the expected latency, for at most a second. */
inline int latencyOnceDelivered (const juce::AudioProcessor& processor, int expected)
{
    for (int waited = 0; processor.getLatencySamples() != expected && waited < 1000; waited += 10)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (10);

    return processor.getLatencySamples();
}

/** A processor prepared the way a host prepares it: layout, rate, then prepareToPlay. */
inline std::unique_ptr<Processor> makePreparedProcessor (double sampleRate = 48000.0, int blockSize = 256,
                                                         int numChannels = 2)
{
    auto processor = std::make_unique<Processor>();

    if (numChannels == 1)
    {
        juce::AudioProcessor::BusesLayout mono;
        mono.inputBuses.add (juce::AudioChannelSet::mono());
        mono.outputBuses.add (juce::AudioChannelSet::mono());
        processor->setBusesLayout (mono);
    }

    processor->setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor->prepareToPlay (sampleRate, blockSize);
    return processor;
}

/** Feeds a constant pair to one branch for a number of samples; returns the last output. */
struct BranchRun
{
    float outL = 0.0f, outR = 0.0f, grDb = 0.0f;
};

inline BranchRun runBranch (Processor& processor, BranchType type, BranchState& state, float inL, float inR,
                            int numSamples, float sampleRate = 48000.0f)
{
    BranchRun run;

    for (int i = 0; i < numSamples; ++i)
        processor.processBranchSample (type, state, inL, inR, sampleRate, run.outL, run.outR, run.grDb);

    return run;
}

inline float decibelsToAmplitude (float decibels)
{
    return std::pow (10.0f, decibels / 20.0f);
}

/** A stereo test signal: two detuned sines with a slow swell, loud enough to compress. */
inline juce::AudioBuffer<float> makeMusicLikeBuffer (int numChannels, int numSamples, double sampleRate,
                                                     int offset = 0)
{
    juce::AudioBuffer<float> buffer (numChannels, numSamples);

    for (int channel = 0; channel < numChannels; ++channel)
        for (int i = 0; i < numSamples; ++i)
        {
            const auto t = static_cast<double> (i + offset) / sampleRate;
            const auto swell = 0.35 + 0.3 * std::sin (2.0 * juce::MathConstants<double>::pi * 1.5 * t);
            const auto tone = std::sin (2.0 * juce::MathConstants<double>::pi * (220.0 + 3.0 * channel) * t)
                              + 0.3 * std::sin (2.0 * juce::MathConstants<double>::pi * 3170.0 * t);
            buffer.setSample (channel, i, static_cast<float> (swell * tone));
        }

    return buffer;
}

inline bool allFinite (const juce::AudioBuffer<float>& buffer)
{
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            if (! std::isfinite (buffer.getSample (channel, i)))
                return false;

    return true;
}

inline bool sameSamples (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return false;

    for (int channel = 0; channel < a.getNumChannels(); ++channel)
        for (int i = 0; i < a.getNumSamples(); ++i)
            if (! juce::exactlyEqual (a.getSample (channel, i), b.getSample (channel, i)))
                return false;

    return true;
}

/** Turns on every model with settings that make each of them work hard. */
inline void enableAllModels (Processor& processor)
{
    for (auto* id : { "fet_enable", "opto_enable", "vca_enable", "varimu_enable", "tube_enable" })
        setPlain (processor, id, 1.0f);
}
} // namespace kelvarn::testing
