#include "processor/KelvarnAudioProcessor.h"

#include "processor/dspu.h"

#include <algorithm>
#include <array>
#include <cmath>

// The five compressor models, one sample pair at a time. Each model advances its
// detector and gain in its own BranchState and leaves the gained pair in outL/outR;
// processBranchSample then applies the saturation stage every model shares.

namespace
{
using State = KelvarnAudioProcessor::BranchState;
using Caches = kelvarn::BranchCoefficientCaches;
using kelvarn::ResolvedParameters;
namespace dspu = kelvarn::dspu;

/** What a model leaves for the shared output stage. */
struct ModelOutput
{
    float left;
    float right;
    float saturation;  // the model's saturation parameter
    float driveFactor; // how strongly that parameter drives the clipper
};

constexpr float secondsPerMillisecond = 0.001f;

float millisecondsToSeconds (float milliseconds) noexcept
{
    return milliseconds * secondsPerMillisecond;
}

/** Choices are rounded to the nearest index, halves to even. */
int roundedChoice (float value) noexcept
{
    return juce::roundToInt (value);
}

bool isOn (float value) noexcept
{
    return value >= 0.5f;
}

float pairPeak (float a, float b) noexcept
{
    return std::max (std::abs (a), std::abs (b));
}

/** Feedback models listen to their input scaled by the gain they applied last. */
float feedbackDetectorInput (const State& state, float inL, float inR) noexcept
{
    return pairPeak (inL * state.lastGain, inR * state.lastGain);
}

/** Rising input uses the attack coefficient, falling input the release coefficient. */
void stepDetector (float& level, float input, float attack, float release) noexcept
{
    level = level + (input - level) * (level >= input ? release : attack);
}

/** More reduction uses the attack coefficient, less reduction the release coefficient. */
void stepGain (float& gainDb, float targetDb, float attack, float release) noexcept
{
    gainDb = gainDb + (targetDb - gainDb) * (targetDb >= gainDb ? release : attack);
}

//==============================================================================
ModelOutput processFet (const ResolvedParameters& p, Caches::Fet& caches, State& state,
                        float inL, float inR, float sampleRate) noexcept
{
    const auto attackSeconds = p.fetAttackUs.get() * secondsPerMillisecond * secondsPerMillisecond;
    const auto attack = caches.attack.get (attackSeconds, sampleRate);
    const auto release = caches.release.get (millisecondsToSeconds (p.fetReleaseMs.get()), sampleRate);
    state.envAttackCoeff = state.gainAttackCoeff = attack;
    state.envReleaseCoeff = state.gainReleaseCoeff = release;

    const auto inputGain = caches.inputGain.get (p.fetInput.get());
    const auto outputGain = caches.outputGain.get (p.fetOutput.get());

    stepDetector (state.env, feedbackDetectorInput (state, inL, inR), attack, release);
    const auto levelDb = dspu::levelToDb (state.env * inputGain);
    const auto targetDb = dspu::gainComputerSoftKneeDb (levelDb, p.fetThreshold.get(), 8.0f, 0.0f);
    stepGain (state.gainDb, targetDb, attack, release);
    state.lastGain = caches.gain.get (state.gainDb);

    return { inL * inputGain * state.lastGain * outputGain,
             inR * inputGain * state.lastGain * outputGain,
             p.fetSat.get(), 5.0f };
}

/** The slow detector releases more slowly the more reduction has been applied:
    from 500 ms without reduction to 5000 ms from 20 dB on. */
float optoSlowReleaseSeconds (float smoothedReductionDb) noexcept
{
    const auto reduction = std::clamp (smoothedReductionDb, 0.0f, 20.0f);
    return millisecondsToSeconds ((reduction * 4.5f / 20.0f + 0.5f) * 1000.0f);
}

ModelOutput processOpto (const ResolvedParameters& p, Caches::Opto& caches, State& state,
                         float inL, float inR, float sampleRate) noexcept
{
    const auto ratio = roundedChoice (p.optoMode.get()) == 0 ? 3.0f : 10.0f;
    const auto thresholdDb = p.optoPeakReduction.get() * (-52.0f) / 100.0f - 4.0f;

    // The emphasis only scales the detected level; the audio itself is not filtered.
    const auto detectorInput = (1.0f + 0.35f * p.optoHfEmphasis.get()) * pairPeak (inL, inR);

    const auto detectorAttack = caches.detectorAttack.get (millisecondsToSeconds (10.0f), sampleRate);
    state.optoFastAttackCoeff = state.optoSlowAttackCoeff = detectorAttack;
    state.optoFastReleaseCoeff = caches.fastRelease.get (millisecondsToSeconds (60.0f), sampleRate);
    state.optoSlowReleaseCoeff = caches.slowRelease.get (optoSlowReleaseSeconds (state.grSmoothDb), sampleRate);

    stepDetector (state.optoFast, detectorInput, detectorAttack, state.optoFastReleaseCoeff);
    stepDetector (state.optoSlow, detectorInput, detectorAttack, state.optoSlowReleaseCoeff);

    const auto levelDb = dspu::levelToDb (std::max (state.optoFast, state.optoSlow));
    const auto targetDb = dspu::gainComputerSoftKneeDb (levelDb, thresholdDb, ratio, 9.0f);

    state.gainAttackCoeff = caches.gainAttack.get (millisecondsToSeconds (12.0f), sampleRate);
    state.gainReleaseCoeff = caches.gainRelease.get (millisecondsToSeconds (200.0f), sampleRate);
    stepGain (state.gainDb, targetDb, state.gainAttackCoeff, state.gainReleaseCoeff);

    const auto gain = caches.gain.get (p.optoMakeup.get() + state.gainDb);
    return { inL * gain, inR * gain, p.optoSat.get(), 3.0f };
}

/** The attack shortens as the level rises over the threshold: 15 ms up to 10 dB over,
    falling linearly to 3 ms at 30 dB over. */
float vcaAttackMilliseconds (float excessDb) noexcept
{
    if (excessDb <= 0.0f)
        return 15.0f;

    return std::clamp (15.0f + (excessDb - 10.0f) * (-12.0f) / 20.0f, 3.0f, 15.0f);
}

/** Below the target the gain recovers at a constant 120 dB per second; it may pass the
    target by one step, and the next attack step pulls it back. */
void stepVcaGain (float& gainDb, float targetDb, float attack, float sampleRate) noexcept
{
    if (gainDb > targetDb)
    {
        gainDb = gainDb + (targetDb - gainDb) * attack;
        return;
    }

    gainDb = gainDb + 120.0f / sampleRate;

    if (! (gainDb < 0.0f))
        gainDb = 0.0f;
}

ModelOutput processVca (const ResolvedParameters& p, Caches::Vca& caches, State& state,
                        float inL, float inR, float sampleRate) noexcept
{
    const auto thresholdDb = p.vcaThreshold.get();
    const auto kneeWidthDb = isOn (p.vcaOverEasy.get()) ? 8.0f : 0.0f;

    state.vcaRmsCoeff = caches.rms.get (millisecondsToSeconds (20.0f), sampleRate);
    const auto peak = pairPeak (inL, inR);
    state.vcaMeanSquare = state.vcaMeanSquare + (peak * peak - state.vcaMeanSquare) * state.vcaRmsCoeff;

    const auto levelDb = state.vcaMeanSquare < 1.0e-20f ? -100.0f : dspu::levelToDb (std::sqrt (state.vcaMeanSquare));
    const auto attackMs = vcaAttackMilliseconds (levelDb - thresholdDb);
    const auto targetDb = dspu::gainComputerSoftKneeDb (levelDb, thresholdDb, 4.0f, kneeWidthDb);

    state.gainAttackCoeff = caches.attack.get (millisecondsToSeconds (attackMs), sampleRate);
    stepVcaGain (state.gainDb, targetDb, state.gainAttackCoeff, sampleRate);

    const auto gain = caches.gain.get (state.gainDb + p.vcaMakeup.get());
    return { inL * gain, inR * gain, p.vcaSat.get(), 1.75f };
}

/** Ratio and knee grow with the reduction that a gentle 2:1 curve would apply. */
float varimuTargetDb (float levelDb, float thresholdDb) noexcept
{
    const auto provisionalReductionDb = -dspu::gainComputerSoftKneeDb (levelDb, thresholdDb, 2.0f, 8.0f);
    const auto ratio = std::clamp (2.0f + 0.25f * provisionalReductionDb, 1.5f, 12.0f);
    const auto kneeWidthDb = std::clamp (8.0f + 0.5f * provisionalReductionDb, 4.0f, 18.0f);
    return dspu::gainComputerSoftKneeDb (levelDb, thresholdDb, ratio, kneeWidthDb);
}

/** Shared tail of the feedback models: detector, static curve, gain and make-up. */
template <typename TargetFunction>
std::array<float, 2> runFeedbackModel (Caches::FeedbackModel& caches, State& state, float detectorInput,
                                       float inL, float inR, float attack, float release,
                                       float makeupDb, TargetFunction&& targetFor) noexcept
{
    state.envAttackCoeff = state.gainAttackCoeff = attack;
    state.envReleaseCoeff = state.gainReleaseCoeff = release;

    stepDetector (state.env, detectorInput, attack, release);
    stepGain (state.gainDb, targetFor (dspu::levelToDb (state.env)), attack, release);
    state.lastGain = caches.gain.get (state.gainDb);

    const auto makeup = caches.makeup.get (makeupDb);
    return { inL * state.lastGain * makeup, inR * state.lastGain * makeup };
}

ModelOutput processVariMu (const ResolvedParameters& p, Caches::FeedbackModel& caches, State& state,
                           float inL, float inR, float sampleRate) noexcept
{
    static constexpr std::array<float, 5> recoveriesMs { 200.0f, 400.0f, 600.0f, 4000.0f, 8000.0f };

    const auto recoveryIndex = std::clamp (roundedChoice (p.varimuRecovery.get()), 0, 4);
    const auto attack = caches.attack.get (p.varimuAttack.get() * secondsPerMillisecond, sampleRate);
    const auto release = caches.release.get (recoveriesMs[(size_t) recoveryIndex] * secondsPerMillisecond, sampleRate);
    const auto thresholdDb = p.varimuThreshold.get();

    const auto out = runFeedbackModel (caches, state, feedbackDetectorInput (state, inL, inR), inL, inR,
                                       attack, release, p.varimuMakeup.get(),
                                       [thresholdDb] (float levelDb) { return varimuTargetDb (levelDb, thresholdDb); });

    return { out[0], out[1], p.varimuSat.get(), 4.5f };
}

/** At positions "5" and "6" the release lengthens, up to 2.5 times, while the detector
    keeps seeing loud input, and shortens again once it goes quiet. */
float tubeReleaseMilliseconds (State& state, int position, float releaseMs, float detectorInput) noexcept
{
    if (position <= 3)
        return releaseMs;

    state.tubeMemory = detectorInput > 0.3f ? state.tubeMemory + 0.002f : state.tubeMemory - 0.0005f;
    state.tubeMemory = std::clamp (state.tubeMemory, 0.0f, 1.0f);
    return releaseMs * (1.0f + 1.5f * state.tubeMemory);
}

ModelOutput processTube (const ResolvedParameters& p, Caches::FeedbackModel& caches, State& state,
                         float inL, float inR, float sampleRate) noexcept
{
    static constexpr std::array<float, 6> attackMs { 0.2f, 0.2f, 0.4f, 0.4f, 0.4f, 0.2f };
    static constexpr std::array<float, 6> releaseMs { 300.0f, 800.0f, 2000.0f, 5000.0f, 4000.0f, 6000.0f };

    // The unlimited position decides about the release memory, the limited one indexes.
    const auto position = roundedChoice (p.tubeTimeConstant.get());
    const auto index = (size_t) std::clamp (position, 0, 5);
    const auto detectorInput = feedbackDetectorInput (state, inL, inR);
    const auto releaseTimeMs = tubeReleaseMilliseconds (state, position, releaseMs[index], detectorInput);

    const auto attack = caches.attack.get (attackMs[index] * secondsPerMillisecond, sampleRate);
    const auto release = caches.release.get (releaseTimeMs * secondsPerMillisecond, sampleRate);
    const auto thresholdDb = p.tubeThreshold.get();

    const auto out = runFeedbackModel (caches, state, detectorInput, inL, inR, attack, release, p.tubeMakeup.get(),
                                       [thresholdDb] (float levelDb)
                                       { return dspu::gainComputerSoftKneeDb (levelDb, thresholdDb, 8.0f, 6.0f); });

    return { out[0], out[1], p.tubeSat.get(), 5.0f };
}

//==============================================================================
/** Drives the soft clipper harder with more saturation and scales back, so no branch
    output exceeds 1/drive. */
float saturate (float sample, float drive) noexcept
{
    // Without saturation the drive is exactly 1, where both scalings are exact no-ops:
    // skipping them saves two divisions per sample without changing a bit.
    if (juce::exactlyEqual (drive, 1.0f))
        return dspu::softClip (sample);

    return dspu::softClip (sample * drive) / drive;
}
} // namespace

void KelvarnAudioProcessor::processBranchSample (BranchType type, BranchState& state, float inL, float inR,
                                                 float sampleRate, float& outL, float& outR, float& grDb)
{
    ModelOutput model {};

    switch (type)
    {
        case BranchType::Fet:    model = processFet (parameters, coefficientCaches.fet, state, inL, inR, sampleRate); break;
        case BranchType::Opto:   model = processOpto (parameters, coefficientCaches.opto, state, inL, inR, sampleRate); break;
        case BranchType::Vca:    model = processVca (parameters, coefficientCaches.vca, state, inL, inR, sampleRate); break;
        case BranchType::VariMu: model = processVariMu (parameters, coefficientCaches.varimu, state, inL, inR, sampleRate); break;
        case BranchType::Tube:   model = processTube (parameters, coefficientCaches.tube, state, inL, inR, sampleRate); break;
        default:
            outL = inL;
            outR = inR;
            grDb = 0.0f;
            return;
    }

    const auto drive = std::max (1.0f + model.driveFactor * model.saturation, 1.0f);
    outL = saturate (model.left, drive);
    outR = saturate (model.right, drive);

    grDb = -state.gainDb;
    state.grSmoothDb = state.grSmoothDb + (std::max (grDb, 0.0f) - state.grSmoothDb) * 0.1f;
}
