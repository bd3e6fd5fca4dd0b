// The signal path as a DAW sees it: the built VST3 bundle loaded through JUCE's VST3
// hosting, its oversampling latency and its processed audio.
#include "tests/SignalPathTestSupport.h"
#include "tools/HostedPlugin.h"

#include <juce_dsp/juce_dsp.h>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr double hostRate = 48000.0;
constexpr int blockSize = 512;

std::unique_ptr<juce::AudioPluginInstance> loadPrepared()
{
    juce::String error;
    auto plugin = kelvarn::hosting::loadBundle (KELVARN_VST3_BUNDLE, hostRate, blockSize, error);

    if (plugin != nullptr)
        plugin->prepareToPlay (hostRate, blockSize);

    EXPECT_NE (plugin, nullptr) << error;
    return plugin;
}

void setNormalised (juce::AudioPluginInstance& plugin, const juce::String& name, float normalised)
{
    for (auto* parameter : plugin.getParameters())
        if (parameter->getName (100) == name)
        {
            parameter->setValueNotifyingHost (normalised);
            return;
        }

    ADD_FAILURE() << "no parameter named " << name;
}

/** Plays a sine of the given amplitude; returns the RMS of the last block, or -1 if any
    output sample was not finite. */
float playSine (juce::AudioPluginInstance& plugin, float amplitude, int numBlocks)
{
    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;
    int position = 0;

    for (int block = 0; block < numBlocks; ++block)
    {
        for (int i = 0; i < blockSize; ++i, ++position)
        {
            const auto sample = amplitude * (float) std::sin (2.0 * juce::MathConstants<double>::pi * 440.0 * position / hostRate);
            buffer.setSample (0, i, sample);
            buffer.setSample (1, i, sample);
        }

        plugin.processBlock (buffer, midi);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < blockSize; ++i)
                if (! std::isfinite (buffer.getSample (channel, i)))
                    return -1.0f;
    }

    return buffer.getRMSLevel (0, 0, blockSize);
}

int roundedOversamplerLatency (int index)
{
    juce::dsp::Oversampling<float> oversampler (2, (size_t) index,
                                                juce::dsp::Oversampling<float>::filterHalfBandPolyphaseIIR, true, false);
    return juce::roundToInt (oversampler.getLatencyInSamples());
}

TEST (HostedSignalPath, LatencyFollowsTheOversamplingChoiceWhilePlaying)
{
    auto plugin = loadPrepared();
    ASSERT_NE (plugin, nullptr);
    EXPECT_EQ (plugin->getLatencySamples(), 0);

    for (const auto index : { 1, 2, 3, 0, 3 })
    {
        setNormalised (*plugin, "Oversampling", (float) index / 3.0f);
        EXPECT_GE (playSine (*plugin, 0.1f, 1), 0.0f);

        const auto expected = index == 0 ? 0 : roundedOversamplerLatency (index);
        EXPECT_EQ (kelvarn::testing::latencyOnceDelivered (*plugin, expected), expected) << "index " << index;

        if (index != 0)
        {
            EXPECT_GT (expected, 0);
        }
    }
}

TEST (HostedSignalPath, LatencyIsReportedWhenPreparedAtAFactor)
{
    for (const auto index : { 1, 2, 3 })
    {
        auto plugin = loadPrepared();
        ASSERT_NE (plugin, nullptr);
        setNormalised (*plugin, "Oversampling", (float) index / 3.0f);
        plugin->releaseResources();
        plugin->prepareToPlay (hostRate, blockSize);

        EXPECT_EQ (plugin->getLatencySamples(), roundedOversamplerLatency (index)) << "index " << index;
    }
}

TEST (HostedSignalPath, AModelCompressesLoudAudio)
{
    const auto gainAt = [] (float amplitude)
    {
        auto plugin = loadPrepared();

        if (plugin == nullptr)
            return 0.0f;

        setNormalised (*plugin, "Oversampling", 2.0f / 3.0f);
        setNormalised (*plugin, "FET Enable", 1.0f);
        setNormalised (*plugin, "Global Dry/Wet", 1.0f);
        const auto outputRms = playSine (*plugin, amplitude, 100);
        EXPECT_GE (outputRms, 0.0f) << "non-finite output at amplitude " << amplitude;
        return outputRms / (amplitude / std::sqrt (2.0f));
    };

    const auto quietGain = gainAt (0.003f);
    const auto loudGain = gainAt (0.5f);

    EXPECT_GT (quietGain, 1.0f);
    EXPECT_LT (juce::Decibels::gainToDecibels (loudGain), juce::Decibels::gainToDecibels (quietGain) - 6.0f);
}
} // namespace
