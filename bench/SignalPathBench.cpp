// CPU cost of the signal path: seconds of CPU per second of 48 kHz stereo audio in
// blocks of 512, for every model alone, all five together and none, at every factor,
// beside JUCE's dsp::Compressor as a floor and LSP Compressor Stereo (Debian's
// lsp-plugins-lv2, hosted through JUCE's LV2 hosting) as a peer.
//
// Run: build-dir/bench/kelvarn_signal_bench  (Release build)
#include "processor/KelvarnAudioProcessor.h"

#include <benchmark/benchmark.h>
#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_dsp/juce_dsp.h>

#include <ctime>
#include <functional>
#include <iostream>
#include <memory>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;
constexpr int numChannels = 2;
constexpr int secondOfAudio = 48000;

const juce::String peerUri { "http://lsp-plug.in/plugins/lv2/compressor_stereo" };

// The peer's cost, measured first in the same run, so every later case can be compared.
double peerSecondsPerSecond = 0.0;

/** The same second of music-like audio for every case: two detuned tones with a swell. */
const juce::AudioBuffer<float>& sourceAudio()
{
    static const auto source = []
    {
        juce::AudioBuffer<float> buffer (numChannels, secondOfAudio);
        juce::Random random (1234);

        for (int channel = 0; channel < numChannels; ++channel)
            for (int i = 0; i < secondOfAudio; ++i)
            {
                const auto t = i / sampleRate;
                const auto swell = 0.35 + 0.3 * std::sin (juce::MathConstants<double>::twoPi * 1.5 * t);
                const auto tone = std::sin (juce::MathConstants<double>::twoPi * (220.0 + 3.0 * channel) * t)
                                  + 0.3 * std::sin (juce::MathConstants<double>::twoPi * 3170.0 * t)
                                  + 0.05 * (random.nextFloat() * 2.0f - 1.0f);
                buffer.setSample (channel, i, static_cast<float> (swell * tone));
            }

        return buffer;
    }();

    return source;
}

double threadCpuSeconds()
{
    timespec now {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double> (now.tv_sec) + static_cast<double> (now.tv_nsec) * 1.0e-9;
}

/** Plays one second of the source through a block processor per iteration, timing it
    by the thread's CPU clock so that other processes on the machine do not count, and
    reports the cost in seconds of CPU per second of audio (the copy of each block from
    the source, about 20 us per second, is included). */
void measure (benchmark::State& state, const std::function<void (juce::AudioBuffer<float>&)>& processBlock,
              bool isPeer = false)
{
    juce::AudioBuffer<float> block (numChannels, blockSize);
    const auto& source = sourceAudio();
    auto totalSeconds = 0.0;

    for (auto _ : state)
    {
        const auto start = threadCpuSeconds();

        for (int position = 0; position < secondOfAudio; position += blockSize)
        {
            const auto length = std::min (blockSize, secondOfAudio - position);
            block.setSize (numChannels, length, false, false, true);

            for (int channel = 0; channel < numChannels; ++channel)
                block.copyFrom (channel, 0, source, channel, position, length);

            processBlock (block);
            benchmark::DoNotOptimize (block.getReadPointer (0));
        }

        const auto elapsed = threadCpuSeconds() - start;
        state.SetIterationTime (elapsed);
        totalSeconds += elapsed;
    }

    const auto secondsPerSecond = totalSeconds / static_cast<double> (std::max<benchmark::IterationCount> (state.iterations(), 1));

    if (isPeer)
        peerSecondsPerSecond = secondsPerSecond;

    state.counters["cpu_s_per_s"] = secondsPerSecond;

    if (peerSecondsPerSecond > 0.0)
        state.counters["x_peer"] = secondsPerSecond / peerSecondsPerSecond;
}

//==============================================================================
struct KelvarnCase
{
    const char* name;
    std::vector<const char*> enabled;
};

const std::vector<KelvarnCase> kelvarnCases {
    { "none", {} },
    { "fet76", { "fet_enable" } },
    { "opto2a", { "opto_enable" } },
    { "vca160", { "vca_enable" } },
    { "varimu", { "varimu_enable" } },
    { "tube670", { "tube_enable" } },
    { "all5", { "fet_enable", "opto_enable", "vca_enable", "varimu_enable", "tube_enable" } },
};

void setPlain (KelvarnAudioProcessor& processor, const char* id, float plainValue)
{
    auto* parameter = processor.apvts.getParameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (plainValue));
}

void benchmarkKelvarn (benchmark::State& state, const KelvarnCase& kase, int oversamplingIndex)
{
    KelvarnAudioProcessor processor;
    setPlain (processor, "global_os", static_cast<float> (oversamplingIndex));

    for (auto* id : kase.enabled)
        setPlain (processor, id, 1.0f);

    processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);
    juce::MidiBuffer midi;

    measure (state, [&] (juce::AudioBuffer<float>& block) { processor.processBlock (block, midi); });
}

void benchmarkJuceCompressor (benchmark::State& state)
{
    juce::dsp::Compressor<float> compressor;
    compressor.setThreshold (-24.0f);
    compressor.setRatio (4.0f);
    compressor.setAttack (1.0f);
    compressor.setRelease (100.0f);
    compressor.prepare ({ sampleRate, static_cast<juce::uint32> (blockSize), static_cast<juce::uint32> (numChannels) });

    measure (state, [&] (juce::AudioBuffer<float>& block)
    {
        juce::dsp::AudioBlock<float> audio (block);
        compressor.process (juce::dsp::ProcessContextReplacing<float> (audio));
    });
}

std::unique_ptr<juce::AudioPluginInstance> loadPeer (juce::String& error)
{
    juce::LV2PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile (found, peerUri);

    if (found.isEmpty())
    {
        error = "LV2 plug-in " + peerUri + " not found (install Debian's lsp-plugins-lv2)";
        return nullptr;
    }

    auto plugin = format.createInstanceFromDescription (*found.getFirst(), sampleRate, blockSize, error);

    if (plugin != nullptr)
        plugin->prepareToPlay (sampleRate, blockSize);

    return plugin;
}

void benchmarkPeer (benchmark::State& state)
{
    juce::String error;
    auto peer = loadPeer (error);

    if (peer == nullptr)
    {
        state.SkipWithError (error.toRawUTF8());
        return;
    }

    juce::MidiBuffer midi;
    measure (state, [&] (juce::AudioBuffer<float>& block) { peer->processBlock (block, midi); }, true);
}

void registerBenchmarks()
{
    // The peer first: every later case reports its cost relative to it.
    benchmark::RegisterBenchmark ("peer/LSP_Compressor_Stereo", benchmarkPeer)->UseManualTime()->Unit (benchmark::kMillisecond);
    benchmark::RegisterBenchmark ("floor/juce_dsp_Compressor", benchmarkJuceCompressor)->UseManualTime()->Unit (benchmark::kMillisecond);

    for (const auto index : { 0, 1, 2, 3 })
        for (const auto& kase : kelvarnCases)
        {
            const auto name = std::string ("kelvarn/") + kase.name + "/" + std::to_string (1 << index) + "x";
            benchmark::RegisterBenchmark (name.c_str(), [&kase, index] (benchmark::State& state)
                                          { benchmarkKelvarn (state, kase, index); })
                ->UseManualTime()
                ->Unit (benchmark::kMillisecond);
        }
}
} // namespace

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;

    {
        juce::String error;

        if (loadPeer (error) == nullptr)
            std::cerr << "Skipping the peer: " << error << "\n";
    }

    registerBenchmarks();
    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
