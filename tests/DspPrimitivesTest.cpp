// The four shared dynamics primitives, against their documented values.
#include "processor/dspu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
namespace dspu = kelvarn::dspu;

TEST (DspPrimitives, GainComputerSoftKnee)
{
    const struct { float level, threshold, ratio, knee, expected; } cases[] {
        // 4:1 with an 8 dB knee: at the threshold, at the knee's edges, above it
        { 0.0f, 0.0f, 4.0f, 8.0f, -0.75f },
        { -4.0f, 0.0f, 4.0f, 8.0f, 0.0f },
        { 4.0f, 0.0f, 4.0f, 8.0f, -3.0f },
        { 10.0f, 0.0f, 4.0f, 8.0f, -7.5f },
        { -30.0f, 0.0f, 4.0f, 8.0f, 0.0f },
        // hard knee, and a negative width behaving as a hard knee
        { 0.0f, 0.0f, 4.0f, 0.0f, 0.0f },
        { 10.0f, 0.0f, 4.0f, 0.0f, -7.5f },
        { 0.0f, 0.0f, 4.0f, -3.0f, 0.0f },
        { 10.0f, 0.0f, 4.0f, -3.0f, -7.5f },
        // FET76's curve 10 dB over: 8:1, hard
        { -14.0f, -24.0f, 8.0f, 0.0f, -8.75f },
        // ratios of 1 or less never expand, inside or above the knee
        { 0.0f, 0.0f, 1.0f, 8.0f, 0.0f },
        { 20.0f, 0.0f, 1.0f, 8.0f, 0.0f },
        { 0.0f, 0.0f, 0.5f, 8.0f, 0.0f },
        { 20.0f, 0.0f, 0.5f, 8.0f, 0.0f },
        { 20.0f, 0.0f, 0.5f, 0.0f, 0.0f },
    };

    for (const auto& c : cases)
        EXPECT_NEAR (dspu::gainComputerSoftKneeDb (c.level, c.threshold, c.ratio, c.knee), c.expected, 1.0e-5f)
            << c.level << " dB over " << c.threshold << " dB, " << c.ratio << ":1, knee " << c.knee;
}

TEST (DspPrimitives, GainComputerJoinsKneeWithoutStep)
{
    for (const auto ratio : { 2.0f, 4.0f, 10.0f })
    {
        const auto justInside = dspu::gainComputerSoftKneeDb (3.9999f, 0.0f, ratio, 8.0f);
        const auto edge = dspu::gainComputerSoftKneeDb (4.0f, 0.0f, ratio, 8.0f);
        EXPECT_NEAR (justInside, edge, 1.0e-3f) << ratio;
        EXPECT_NEAR (edge, (1.0f / ratio - 1.0f) * 4.0f, 1.0e-5f) << ratio;
    }
}

TEST (DspPrimitives, TimeToCoeff)
{
    const struct { float seconds, rate, expected; } cases[] {
        { 0.0f, 48000.0f, 1.0f },
        { -1.0f, 48000.0f, 1.0f },
        { 1.0e-12f, 48000.0f, 1.0f }, // shorter than a millionth of a sample
        { 0.001f, 48000.0f, 1.0f - std::exp (-2.2f / 48.0f) },
        { 1.0f, 48000.0f, 1.0f - std::exp (-2.2f / 48000.0f) },
    };

    for (const auto& c : cases)
        EXPECT_FLOAT_EQ (dspu::timeToCoeff (c.seconds, c.rate), c.expected) << c.seconds;

    EXPECT_NEAR (dspu::timeToCoeff (0.001f, 48000.0f), 0.0448f, 1.0e-4f);
}

TEST (DspPrimitives, LevelToDb)
{
    const struct { float level, expected; } cases[] {
        { 1.0f, 0.0f },
        { 0.001f, -60.0f },
        { 10.0f, 20.0f },
        { 0.0f, -100.0f },
        { 1.0e-6f, -100.0f }, // -120 dB is below the floor
        { 1.0e-13f, -100.0f },
        { -0.5f, -100.0f },
        { std::numeric_limits<float>::quiet_NaN(), -100.0f },
    };

    for (const auto& c : cases)
        EXPECT_NEAR (dspu::levelToDb (c.level), c.expected, 1.0e-4f) << c.level;
}

TEST (DspPrimitives, SoftClip)
{
    const struct { float x, expected; } cases[] {
        { 0.0f, 0.0f }, { 0.5f, 0.6875f }, { -0.5f, -0.6875f }, { 1.0f, 1.0f }, { -1.0f, -1.0f },
        { 3.0f, 1.0f }, { -2.0f, -1.0f }, { 0.01f, 0.0149995f },
    };

    for (const auto& c : cases)
        EXPECT_FLOAT_EQ (dspu::softClip (c.x), c.expected) << c.x;
}
} // namespace
