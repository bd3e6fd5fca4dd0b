#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_dsp/juce_dsp.h>

#include "processor/LatencyReporter.h"

#include "processor/CachedCoefficients.h"
#include "processor/ResolvedParameters.h"

#include <array>
#include <atomic>
#include <memory>

/** kelvarn's audio processor: five compressor models in parallel, mixed dry/wet,
    gained and bounded by a safety stage, at 1x to 8x oversampling.

    It owns the parameter tree, the per-branch DSP state, the oversampler and the
    meter record that the editor reads.
*/
class KelvarnAudioProcessor : public juce::AudioProcessor
{
public:
    /** The five compressor models. */
    enum class BranchType
    {
        Fet = 0,
        Opto = 1,
        Vca = 2,
        VariMu = 3,
        Tube = 4
    };

    /** Detector and gain state of one branch; each model uses only some fields. */
    struct BranchState
    {
        float env = 0.0f;
        float envAttackCoeff = 0.0f;
        float envReleaseCoeff = 0.0f;
        float optoFast = 0.0f;
        float optoFastAttackCoeff = 0.0f;
        float optoFastReleaseCoeff = 0.0f;
        float optoSlow = 0.0f;
        float optoSlowAttackCoeff = 0.0f;
        float optoSlowReleaseCoeff = 0.0f;
        float vcaMeanSquare = 0.0f;
        float vcaRmsCoeff = 0.0f;
        float gainDb = 0.0f;
        float gainAttackCoeff = 0.0f;
        float gainReleaseCoeff = 0.0f;
        float tubeMemory = 0.0f;
        float grSmoothDb = 0.0f;
        float lastGain = 1.0f;
    };

    /** A plain copy of the meter record, for the editor. */
    struct MeterSnapshot
    {
        float inputPeak = 0.0f;
        float outputPeak = 0.0f;
        float grFet = 0.0f;
        float grOpto = 0.0f;
        float grVca = 0.0f;
        float grVariMu = 0.0f;
        float grTube = 0.0f;
    };

    /** The meter record: written once per block by the audio thread, read by the editor. */
    struct Meters
    {
        std::atomic<float> inputPeak { 0.0f };
        std::atomic<float> outputPeak { 0.0f };
        std::atomic<float> grFet { 0.0f };
        std::atomic<float> grOpto { 0.0f };
        std::atomic<float> grVca { 0.0f };
        std::atomic<float> grVariMu { 0.0f };
        std::atomic<float> grTube { 0.0f };
    };

    KelvarnAudioProcessor();
    ~KelvarnAudioProcessor() override;

    const juce::String getName() const override;

    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;
    using juce::AudioProcessor::processBlock;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool isMidiEffect() const override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    /** Builds the 34 parameters in the order the host lists them. */
    static juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();

    /** The plain value of the parameter with this ID, or 0 if no parameter has it. */
    float getFloat (const juce::String& parameterId) const;

    /** A copy of the seven meter values. */
    MeterSnapshot getMeterSnapshot() const;

    /** Runs the branch network over the whole buffer, in place, at the given rate. */
    void processInternalBlock (juce::AudioBuffer<float>& buffer, float sampleRate);

    /** Builds, refreshes or removes the oversampler for the current global_os choice. */
    void updateOversampling (double sampleRate, int blockLength);

    /** One sample of one compressor model. */
    void processBranchSample (BranchType type, BranchState& state, float inL, float inR,
                              float sampleRate, float& outL, float& outR, float& grDb);

    juce::AudioProcessorValueTreeState apvts;

    BranchState fetState;
    BranchState optoState;
    BranchState vcaState;
    BranchState varimuState;
    BranchState tubeState;
    BranchState tubeMidState;
    BranchState tubeSideState;

    std::unique_ptr<juce::dsp::Oversampling<float>> oversampler;
    int currentOsIndex = -1;

    Meters meters;

private:
    static constexpr int numBranches = 5;
    static constexpr int maxOversamplingIndex = 3;
    // Only channels 0 and 1 carry signal; the rest are cleared.
    static constexpr int maxSignalChannels = 2;

    /** What one branch made of one sample pair. */
    struct BranchOutput
    {
        float left = 0.0f;
        float right = 0.0f;
        float gainReductionDb = 0.0f;
    };

    using BranchOutputs = std::array<BranchOutput, numBranches>;
    using BranchWeights = std::array<float, numBranches>;

    // Branch network (BranchNetwork.cpp)
    void runBranches (const BranchWeights& weights, bool tubeMidSide, float left, float right,
                      float sampleRate, BranchOutputs& outputs);
    BranchOutput runTubeMidSide (float left, float right, float sampleRate);
    void publishMeters (const MeterSnapshot& targets);

    // Block processing (BlockProcessing.cpp)
    int readOversamplingIndex() const;
    void resetBranchStates();
    void buildOversamplers (int numChannels);
    void prepareOversamplers (int blockLength);
    void selectOversampler (int index);
    void parkOversampler();
    int oversamplerLatency() const;
    void processOversampled (juce::AudioBuffer<float>& buffer);
    void processOversampledSection (juce::AudioBuffer<float>& buffer, int numChannels,
                                    int startSample, int numSamples, float sampleRate);

    // Declared after apvts, whose value atomics these point to.
    kelvarn::ResolvedParameters parameters { apvts };
    kelvarn::BranchCoefficientCaches coefficientCaches;

    // Oversamplers for 2x, 4x and 8x, built and prepared ahead so that a change of
    // global_os on the audio thread only swaps one of them into `oversampler`.
    std::array<std::unique_ptr<juce::dsp::Oversampling<float>>, maxOversamplingIndex> spareOversamplers;
    int oversamplerChannels = 0;
    int preparedBlockLength = 0;

    // Declared last, so that its timer stops before anything it reports on goes away.
    kelvarn::LatencyReporter latencyReporter { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KelvarnAudioProcessor)
};
