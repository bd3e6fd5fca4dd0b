#pragma once

#include <cmath>

/** How the editor turns the processor's meter record into display values. */
namespace kelvarn::meterscale
{
/** Gain reduction at which a gauge is full. */
inline constexpr float gainReductionFullScaleDb = 18.0f;

/** A held value falls by this much per 33 ms timer tick: about one full scale per second. */
inline constexpr float holdDecayPerTick = 1.0f / 30.0f;

inline constexpr float silenceDb = -100.0f;
inline constexpr float silenceLevel = 0.000001f;

/** A linear level in dBFS, with silence (and anything not a positive level) at -100. */
inline float levelToDisplayDb (float level)
{
    if (! (level >= silenceLevel))
        return silenceDb;

    const auto db = 20.0f * std::log10 (level);
    return db <= silenceDb ? silenceDb : db;
}

/** Gain reduction in dB as a fraction of the gauge's full scale, 0 to 1. */
inline float gainReductionFraction (float grDb)
{
    const auto fraction = grDb / gainReductionFullScaleDb;

    if (! (fraction > 0.0f))
        return 0.0f;

    return fraction < 1.0f ? fraction : 1.0f;
}
} // namespace kelvarn::meterscale
