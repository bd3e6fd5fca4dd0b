#include "processor/KelvarnAudioProcessor.h"

#include <algorithm>
#include <cmath>

// The audio entry: each host block is made safe, up-sampled by the chosen factor,
// run through the branch network at the raised rate and down-sampled back in place.
//
// The audio thread never allocates or locks here. prepareToPlay builds and prepares
// an oversampler for every factor, and a change of global_os while playing only swaps
// the prepared one in, with clean filter memory; its latency reaches the host from the
// message thread a moment later (see LatencyReporter). Every oversampler accepts blocks up to
// the length prepareToPlay gave; longer host blocks are processed in pieces of that
// length, so the meters then move once per piece rather than once per block.

namespace
{
juce::dsp::Oversampling<float>::FilterType oversamplingFilter()
{
    return juce::dsp::Oversampling<float>::filterHalfBandPolyphaseIIR;
}

/** Non-finite host samples count as silence, so they cannot poison the oversampling
    filters or the branch states. */
void replaceNonFiniteWithSilence (float* samples, int numSamples) noexcept
{
    for (int i = 0; i < numSamples; ++i)
        if (! std::isfinite (samples[i]))
            samples[i] = 0.0f;
}
} // namespace

void KelvarnAudioProcessor::prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock)
{
    updateOversampling (sampleRate, maximumExpectedSamplesPerBlock);
    resetBranchStates();
}

void KelvarnAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    const auto numSamples = buffer.getNumSamples();

    for (auto channel = getTotalNumInputChannels(); channel < getTotalNumOutputChannels(); ++channel)
        buffer.clear (channel, 0, numSamples);

    for (auto channel = maxSignalChannels; channel < buffer.getNumChannels(); ++channel)
        buffer.clear (channel, 0, numSamples);

    for (auto channel = 0; channel < std::min (buffer.getNumChannels(), maxSignalChannels); ++channel)
        replaceNonFiniteWithSilence (buffer.getWritePointer (channel), numSamples);

    if (const auto index = readOversamplingIndex(); index != currentOsIndex)
    {
        selectOversampler (index);
        latencyReporter.post (oversamplerLatency());
    }

    if (oversampler == nullptr)
        processInternalBlock (buffer, static_cast<float> (getSampleRate()));
    else
        processOversampled (buffer);
}

void KelvarnAudioProcessor::updateOversampling (double, int blockLength)
{
    // Only two channels carry signal, whatever the layout says.
    const auto numChannels = std::clamp (getTotalNumOutputChannels(), 1, maxSignalChannels);

    if (numChannels != oversamplerChannels)
        buildOversamplers (numChannels);

    prepareOversamplers (std::max (blockLength, 1));
    selectOversampler (readOversamplingIndex());
    latencyReporter.reportNow (oversamplerLatency());
}

//==============================================================================
int KelvarnAudioProcessor::readOversamplingIndex() const
{
    return std::clamp (juce::roundToInt (parameters.globalOs.get()), 0, maxOversamplingIndex);
}

void KelvarnAudioProcessor::resetBranchStates()
{
    for (auto* state : { &fetState, &optoState, &vcaState, &varimuState, &tubeState, &tubeMidState, &tubeSideState })
        *state = BranchState {};
}

void KelvarnAudioProcessor::buildOversamplers (int numChannels)
{
    parkOversampler();

    for (size_t i = 0; i < spareOversamplers.size(); ++i)
        spareOversamplers[i] = std::make_unique<juce::dsp::Oversampling<float>> (
            static_cast<size_t> (numChannels), i + 1, oversamplingFilter(), true, false);

    oversamplerChannels = numChannels;
}

void KelvarnAudioProcessor::prepareOversamplers (int blockLength)
{
    parkOversampler();

    for (auto& spare : spareOversamplers)
    {
        spare->reset();
        spare->initProcessing (static_cast<size_t> (blockLength));
    }

    preparedBlockLength = blockLength;
}

void KelvarnAudioProcessor::selectOversampler (int index)
{
    parkOversampler();
    currentOsIndex = index;

    if (index > 0)
    {
        // Empty until prepareToPlay has built them: the network then runs at the host rate.
        oversampler = std::move (spareOversamplers[static_cast<size_t> (index - 1)]);

        if (oversampler != nullptr)
            oversampler->reset();
    }
}

void KelvarnAudioProcessor::parkOversampler()
{
    if (oversampler != nullptr)
        spareOversamplers[static_cast<size_t> (currentOsIndex - 1)] = std::move (oversampler);
}

int KelvarnAudioProcessor::oversamplerLatency() const
{
    return oversampler != nullptr ? juce::roundToInt (oversampler->getLatencyInSamples()) : 0;
}

//==============================================================================
void KelvarnAudioProcessor::processOversampled (juce::AudioBuffer<float>& buffer)
{
    // Only the channels the oversampler was built for pass through it.
    const auto numChannels = std::min (buffer.getNumChannels(), oversamplerChannels);
    const auto numSamples = buffer.getNumSamples();
    const auto rate = static_cast<float> (getSampleRate() * static_cast<double> (1 << currentOsIndex));

    // An empty block still reaches the network once, so the meters fall as usual.
    auto start = 0;

    do
    {
        const auto length = std::min (preparedBlockLength, numSamples - start);
        processOversampledSection (buffer, numChannels, start, length, rate);
        start += length;
    } while (start < numSamples);
}

void KelvarnAudioProcessor::processOversampledSection (juce::AudioBuffer<float>& buffer, int numChannels,
                                                       int startSample, int numSamples, float sampleRate)
{
    juce::dsp::AudioBlock<float> hostBlock (buffer.getArrayOfWritePointers(), static_cast<size_t> (numChannels),
                                            static_cast<size_t> (startSample), static_cast<size_t> (numSamples));

    auto upsampled = oversampler->processSamplesUp (hostBlock);

    std::array<float*, maxSignalChannels> channels {};

    for (size_t channel = 0; channel < static_cast<size_t> (numChannels); ++channel)
        channels[channel] = upsampled.getChannelPointer (channel);

    juce::AudioBuffer<float> upsampledBuffer (channels.data(), numChannels, static_cast<int> (upsampled.getNumSamples()));
    processInternalBlock (upsampledBuffer, sampleRate);

    oversampler->processSamplesDown (hostBlock);
}
