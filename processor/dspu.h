#pragma once

#include <cmath>

/** The arithmetic that all five compressor models share.

    Every function is pure, single precision and cheap enough to be called several
    times per branch and sample at eight times the host rate.
*/
namespace kelvarn::dspu
{
/** The gain change in dB (0 or negative) that a compressor's static curve applies to
    a level, with an optional soft knee centred on the threshold.

    A knee width of 0 or less gives a hard knee; a ratio of 1 or less never changes
    the level, so the curve never expands.
*/
inline float gainComputerSoftKneeDb (float levelDb, float thresholdDb, float ratio, float kneeWidthDb) noexcept
{
    if (kneeWidthDb > 0.0f)
    {
        const auto halfKnee = kneeWidthDb / 2.0f;

        if (levelDb <= thresholdDb - halfKnee)
            return 0.0f;

        if (levelDb < thresholdDb + halfKnee)
        {
            // Quadratic blend between the two straight parts, so the curve has no corner.
            const auto slope = ratio < 1.0f ? 0.0f : 1.0f / ratio - 1.0f;
            const auto intoKnee = levelDb - thresholdDb + halfKnee;
            const auto outputDb = levelDb + slope * (intoKnee * intoKnee) / (2.0f * kneeWidthDb);
            return outputDb - levelDb;
        }
    }

    if (levelDb <= thresholdDb || ratio <= 1.0f)
        return 0.0f;

    const auto outputDb = thresholdDb + (levelDb - thresholdDb) / ratio;
    return outputDb - levelDb;
}

/** The coefficient of a one-pole follower that covers 10 % to 90 % of a step in the
    given time, so that times read as rise and fall times. Times that last less than
    a sample's millionth make the follower jump to its input.
*/
inline float timeToCoeff (float seconds, float sampleRate) noexcept
{
    const auto samples = seconds * sampleRate;
    const auto exponent = samples < 0.000001f ? -2200000.0f : -2.2f / samples;
    return 1.0f - std::exp (exponent);
}

/** A linear level in dB, floored at -100 dB so that silence never takes log(0). */
inline float levelToDb (float level) noexcept
{
    if (level < 1.0e-12f || ! (level > 0.0f))
        return -100.0f;

    const auto decibels = 20.0f * std::log10 (level);
    return decibels > -100.0f ? decibels : -100.0f;
}

/** A cubic clipper: slope 1.5 at zero, meeting the limits of +/-1 without a corner. */
inline float softClip (float x) noexcept
{
    if (x < -1.0f)
        return -1.0f;

    if (x > 1.0f)
        return 1.0f;

    return 1.5f * x - 0.5f * (x * x * x);
}
} // namespace kelvarn::dspu
