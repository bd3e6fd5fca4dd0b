#pragma once

#include "processor/dspu.h"

#include <juce_core/juce_core.h>

#include <cmath>
#include <limits>

namespace kelvarn
{
/** 10^(decibels/20) in single precision: how every gain of the signal path is formed. */
inline float decibelsToGain (float decibels) noexcept
{
    return std::pow (10.0f, decibels / 20.0f);
}

/** dspu::timeToCoeff, remembered for the last time and rate it was asked for.

    Most coefficients only change with a parameter or the rate, so the exponential is
    computed again only when an input differs; the result is always the one a fresh
    call would give.
*/
class CachedCoefficient
{
public:
    float get (float seconds, float sampleRate) noexcept
    {
        if (! juce::exactlyEqual (seconds, lastSeconds) || ! juce::exactlyEqual (sampleRate, lastRate))
        {
            lastSeconds = seconds;
            lastRate = sampleRate;
            coefficient = dspu::timeToCoeff (seconds, sampleRate);
        }

        return coefficient;
    }

private:
    // NaN never compares equal, so the first call always computes.
    float lastSeconds = std::numeric_limits<float>::quiet_NaN();
    float lastRate = std::numeric_limits<float>::quiet_NaN();
    float coefficient = 0.0f;
};

/** decibelsToGain, remembered for the last level it was asked for. */
class CachedGain
{
public:
    float get (float decibels) noexcept
    {
        if (! juce::exactlyEqual (decibels, lastDecibels))
        {
            lastDecibels = decibels;
            gain = decibelsToGain (decibels);
        }

        return gain;
    }

private:
    float lastDecibels = std::numeric_limits<float>::quiet_NaN();
    float gain = 1.0f;
};

/** The remembered coefficients and gains of the five compressor models. Each entry
    depends only on its own inputs, so one set serves every state a model runs on.
*/
struct BranchCoefficientCaches
{
    struct Fet
    {
        CachedCoefficient attack, release;
        CachedGain inputGain, outputGain, gain;
    };

    struct Opto
    {
        CachedCoefficient detectorAttack, fastRelease, slowRelease, gainAttack, gainRelease;
        CachedGain gain;
    };

    struct Vca
    {
        CachedCoefficient rms, attack;
        CachedGain gain;
    };

    struct FeedbackModel
    {
        CachedCoefficient attack, release;
        CachedGain gain, makeup;
    };

    Fet fet;
    Opto opto;
    Vca vca;
    FeedbackModel varimu, tube;
};
} // namespace kelvarn
