#include "processor/KelvarnAudioProcessor.h"

#include "processor/CachedCoefficients.h"

#include <algorithm>
#include <cmath>

// The branch network: every enabled model runs on the same input pair, the branches
// are averaged, blended with the dry input, gained and optionally bounded, and the
// block's levels and gain reductions are published for the editor.

namespace
{
/** The network-level settings, read once per block. */
struct NetworkSettings
{
    std::array<float, 5> weights {};
    float normaliser = 0.0f;
    float dryWet = 0.0f;
    float outputGain = 1.0f;
    bool safety = false;
    bool tubeMidSide = false;
};

bool isOn (float value) noexcept
{
    return value >= 0.5f;
}

float weightOf (const kelvarn::ParameterValue& enable) noexcept
{
    return isOn (enable.get()) ? 1.0f : 0.0f;
}

NetworkSettings readNetworkSettings (const kelvarn::ResolvedParameters& p) noexcept
{
    NetworkSettings settings;
    settings.dryWet = p.globalDryWet.get();
    settings.outputGain = kelvarn::decibelsToGain (p.globalOutput.get());
    settings.safety = isOn (p.globalSafety.get());
    settings.tubeMidSide = juce::roundToInt (p.tubeMode.get()) != 0;

    settings.weights = { weightOf (p.fetEnable), weightOf (p.optoEnable), weightOf (p.vcaEnable),
                         weightOf (p.varimuEnable), weightOf (p.tubeEnable) };

    auto count = 0.0f;

    for (auto weight : settings.weights)
        count += weight;

    // With nothing enabled every weight is 0, so the wet signal is 0 whatever this is.
    settings.normaliser = count >= 0.000001f ? 1.0f / count : 1000000.0f;
    return settings;
}

/** Non-finite input counts as silence, so it can never poison a detector or a gain. */
float finiteOrZero (float sample) noexcept
{
    return std::isfinite (sample) ? sample : 0.0f;
}

/** Passes small signals unchanged and keeps the output within 2/3 of full scale. */
float safetyStage (float sample) noexcept
{
    return std::tanh (1.5f * sample) / 1.5f;
}

/** The block's measurements, before they are smoothed into the meter record. */
struct BlockMeasurements
{
    float inputPeak = 0.0f;
    float outputPeak = 0.0f;
    std::array<float, 5> gainReductionSums {};
};
} // namespace

void KelvarnAudioProcessor::processInternalBlock (juce::AudioBuffer<float>& buffer, float sampleRate)
{
    const auto settings = readNetworkSettings (parameters);
    const auto numChannels = buffer.getNumChannels();
    const auto numSamples = numChannels > 0 ? buffer.getNumSamples() : 0;
    const auto isStereo = numChannels >= 2;

    auto* left = numChannels > 0 ? buffer.getWritePointer (0) : nullptr;
    auto* right = isStereo ? buffer.getWritePointer (1) : left;

    BlockMeasurements measured;
    BranchOutputs outputs;

    for (int i = 0; i < numSamples; ++i)
    {
        const auto inL = finiteOrZero (left[i]);
        const auto inR = finiteOrZero (right[i]);
        measured.inputPeak = std::max ({ measured.inputPeak, std::abs (inL), std::abs (inR) });

        runBranches (settings.weights, settings.tubeMidSide, inL, inR, sampleRate, outputs);

        auto wetL = 0.0f;
        auto wetR = 0.0f;

        for (size_t b = 0; b < outputs.size(); ++b)
        {
            wetL += settings.weights[b] * outputs[b].left;
            wetR += settings.weights[b] * outputs[b].right;
            measured.gainReductionSums[b] += outputs[b].gainReductionDb;
        }

        auto outL = (inL * (1.0f - settings.dryWet) + settings.normaliser * wetL * settings.dryWet) * settings.outputGain;
        auto outR = (inR * (1.0f - settings.dryWet) + settings.normaliser * wetR * settings.dryWet) * settings.outputGain;

        if (settings.safety)
        {
            outL = safetyStage (outL);
            outR = safetyStage (outR);
        }

        left[i] = outL;

        if (isStereo)
            right[i] = outR;

        measured.outputPeak = std::max ({ measured.outputPeak, std::abs (outL), std::abs (outR) });
    }

    // Block means; an empty block pulls every meter towards 0.
    const auto divisor = static_cast<float> (std::max (numSamples, 1));
    const auto& sums = measured.gainReductionSums;
    publishMeters ({ measured.inputPeak, measured.outputPeak, sums[0] / divisor, sums[1] / divisor,
                     sums[2] / divisor, sums[3] / divisor, sums[4] / divisor });
}

void KelvarnAudioProcessor::runBranches (const BranchWeights& weights, bool tubeMidSide, float left, float right,
                                         float sampleRate, BranchOutputs& outputs)
{
    static constexpr std::array<BranchType, numBranches - 1> singleStateTypes {
        BranchType::Fet, BranchType::Opto, BranchType::Vca, BranchType::VariMu
    };
    const std::array<BranchState*, numBranches - 1> singleStates { &fetState, &optoState, &vcaState, &varimuState };

    for (size_t b = 0; b < singleStates.size(); ++b)
    {
        auto& out = outputs[b];
        out = { left, right, 0.0f };

        if (weights[b] > 0.0f)
            processBranchSample (singleStateTypes[b], *singleStates[b], left, right, sampleRate,
                                 out.left, out.right, out.gainReductionDb);
    }

    auto& tube = outputs[numBranches - 1];
    tube = { left, right, 0.0f };

    if (! (weights[numBranches - 1] > 0.0f))
        return;

    if (tubeMidSide)
        tube = runTubeMidSide (left, right, sampleRate);
    else
        processBranchSample (BranchType::Tube, tubeState, left, right, sampleRate,
                             tube.left, tube.right, tube.gainReductionDb);
}

KelvarnAudioProcessor::BranchOutput KelvarnAudioProcessor::runTubeMidSide (float left, float right, float sampleRate)
{
    const auto mid = (left + right) * 0.5f;
    const auto side = (left - right) * 0.5f;

    BranchOutput midOut, sideOut;
    processBranchSample (BranchType::Tube, tubeMidState, mid, mid, sampleRate,
                         midOut.left, midOut.right, midOut.gainReductionDb);
    processBranchSample (BranchType::Tube, tubeSideState, side, side, sampleRate,
                         sideOut.left, sideOut.right, sideOut.gainReductionDb);

    const auto processedMid = (midOut.left + midOut.right) * 0.5f;
    const auto processedSide = (sideOut.left + sideOut.right) * 0.5f;

    return { processedMid + processedSide, processedMid - processedSide,
             (midOut.gainReductionDb + sideOut.gainReductionDb) * 0.5f };
}

void KelvarnAudioProcessor::publishMeters (const MeterSnapshot& targets)
{
    // Per-block smoothing: each block moves a meter a fifth of the way to its target.
    const auto approach = [] (std::atomic<float>& meter, float target)
    {
        const auto old = meter.load();
        meter.store (old + (target - old) * 0.2f);
    };

    approach (meters.inputPeak, targets.inputPeak);
    approach (meters.outputPeak, targets.outputPeak);
    approach (meters.grFet, targets.grFet);
    approach (meters.grOpto, targets.grOpto);
    approach (meters.grVca, targets.grVca);
    approach (meters.grVariMu, targets.grVariMu);
    approach (meters.grTube, targets.grTube);
}

KelvarnAudioProcessor::MeterSnapshot KelvarnAudioProcessor::getMeterSnapshot() const
{
    return { meters.inputPeak.load(), meters.outputPeak.load(), meters.grFet.load(),
             meters.grOpto.load(),    meters.grVca.load(),      meters.grVariMu.load(),
             meters.grTube.load() };
}
