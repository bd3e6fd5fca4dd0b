#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

namespace kelvarn
{
/** One parameter's live plain value, looked up by ID once.

    It reads exactly what KelvarnAudioProcessor::getFloat reads for the same ID (the
    parameter tree's atomic plain value, or 0 when no parameter has the ID), without
    building a string or searching the tree on the audio thread.
*/
class ParameterValue
{
public:
    ParameterValue (const juce::AudioProcessorValueTreeState& tree, const char* parameterId);

    float get() const noexcept { return value != nullptr ? value->load() : 0.0f; }

private:
    const std::atomic<float>* value;
};

/** The live values of all parameters that the signal path reads.

    The parameter tree's value atomics live as long as the tree, so the tree must
    outlive this.
*/
struct ResolvedParameters
{
    explicit ResolvedParameters (const juce::AudioProcessorValueTreeState& tree);

    ParameterValue globalDryWet, globalOutput, globalSafety, globalOs;
    ParameterValue fetEnable, fetInput, fetOutput, fetAttackUs, fetReleaseMs, fetThreshold, fetSat;
    ParameterValue optoEnable, optoPeakReduction, optoMode, optoMakeup, optoHfEmphasis, optoSat;
    ParameterValue vcaEnable, vcaThreshold, vcaOverEasy, vcaMakeup, vcaSat;
    ParameterValue varimuEnable, varimuThreshold, varimuAttack, varimuRecovery, varimuMakeup, varimuSat;
    ParameterValue tubeEnable, tubeThreshold, tubeTimeConstant, tubeMode, tubeMakeup, tubeSat;
};
} // namespace kelvarn
