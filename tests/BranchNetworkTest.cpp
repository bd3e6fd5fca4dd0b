// The parallel branch network: mixing, safety stage, TUBE670 modes and meters.
#include "tests/SignalPathTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
using namespace kelvarn::testing;

constexpr float rate = 48000.0f;
constexpr int blockSize = 512;

juce::AudioBuffer<float> constantBuffer (int numChannels, int numSamples, float value)
{
    juce::AudioBuffer<float> buffer (numChannels, numSamples);

    for (int channel = 0; channel < numChannels; ++channel)
        juce::FloatVectorOperations::fill (buffer.getWritePointer (channel), value, numSamples);

    return buffer;
}

/** A processor with the safety stage off, so the mix can be checked sample by sample. */
std::unique_ptr<Processor> makeNetwork (float dryWet, float outputDb)
{
    auto processor = std::make_unique<Processor>();
    setPlain (*processor, "global_drywet", dryWet);
    setPlain (*processor, "global_output", outputDb);
    setPlain (*processor, "global_safety", 0.0f);
    return processor;
}

/** One branch's output pair for every sample of the input, from a processor of its own. */
std::vector<std::array<float, 2>> referenceBranch (BranchType type, const juce::AudioBuffer<float>& input)
{
    Processor reference;
    BranchState state;
    std::vector<std::array<float, 2>> outputs;

    for (int i = 0; i < input.getNumSamples(); ++i)
    {
        const auto run = runBranch (reference, type, state, input.getSample (0, i), input.getSample (1, i), 1);
        outputs.push_back ({ run.outL, run.outR });
    }

    return outputs;
}

TEST (BranchNetwork, MixesEnabledBranchesWithTheDrySignal)
{
    const auto input = makeMusicLikeBuffer (2, blockSize, rate);
    const auto fet = referenceBranch (BranchType::Fet, input);
    const auto vca = referenceBranch (BranchType::Vca, input);
    const auto gain6dB = std::pow (10.0f, 6.0f / 20.0f);

    const struct
    {
        const char* name;
        std::vector<const char*> enabled;
        float dryWet, outputDb;
        std::function<float (int channel, int i)> expected;
    } cases[] {
        { "no branch, half wet", {}, 0.5f, 0.0f, [&] (int c, int i) { return input.getSample (c, i) * 0.5f; } },
        { "one branch, all wet", { "fet_enable" }, 1.0f, 0.0f, [&] (int c, int i) { return fet[(size_t) i][(size_t) c]; } },
        { "two branches, all wet", { "fet_enable", "vca_enable" }, 1.0f, 0.0f,
          [&] (int c, int i) { return 0.5f * (fet[(size_t) i][(size_t) c] + vca[(size_t) i][(size_t) c]); } },
        { "all dry, +6 dB", { "fet_enable", "vca_enable" }, 0.0f, 6.0f,
          [&] (int c, int i) { return input.getSample (c, i) * gain6dB; } },
    };

    for (const auto& c : cases)
    {
        auto network = makeNetwork (c.dryWet, c.outputDb);

        for (auto* id : c.enabled)
            setPlain (*network, id, 1.0f);

        auto buffer = input;
        network->processInternalBlock (buffer, rate);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < blockSize; ++i)
                ASSERT_FLOAT_EQ (buffer.getSample (channel, i), c.expected (channel, i)) << c.name << " at " << i;

        // Enabled branches run and meter even when nothing of them is heard.
        EXPECT_EQ (network->getMeterSnapshot().grFet > 0.0f, ! c.enabled.empty()) << c.name;
        EXPECT_EQ (network->getMeterSnapshot().grOpto, 0.0f) << c.name;
    }
}

TEST (BranchNetwork, SafetyStageBoundsTheOutput)
{
    const struct { float input; float expected; float tolerance; } cases[] {
        { 1.0f, 0.6034f, 1.0e-4f },
        { 0.001f, 0.001f, 1.0e-6f },
        { 1.0e6f, 2.0f / 3.0f, 0.0f },
        { -1.0e30f, -2.0f / 3.0f, 0.0f },
    };

    for (const auto& c : cases)
    {
        Processor processor;
        setPlain (processor, "global_drywet", 0.0f);
        auto buffer = constantBuffer (2, 64, c.input);
        processor.processInternalBlock (buffer, rate);

        EXPECT_NEAR (buffer.getSample (0, 63), c.expected, c.tolerance) << c.input;
        // tanh saturates at exactly 1 in single precision: the float nearest 2/3 is the bound
        EXPECT_LE (std::abs (buffer.getSample (1, 63)), 2.0f / 3.0f) << c.input;
    }
}

TEST (BranchNetwork, MetersMoveAFifthOfTheWayPerBlock)
{
    auto processor = makeNetwork (0.0f, 0.0f);
    const float expectedInput[] { 0.1f, 0.18f, 0.144f };

    for (int block = 0; block < 3; ++block)
    {
        // two blocks of constant 0.5, then an empty block pulling every meter towards 0
        auto buffer = constantBuffer (2, block < 2 ? blockSize : 0, 0.5f);
        processor->processInternalBlock (buffer, rate);
        const auto meters = processor->getMeterSnapshot();

        EXPECT_FLOAT_EQ (meters.inputPeak, expectedInput[block]) << block;
        EXPECT_FLOAT_EQ (meters.outputPeak, expectedInput[block]) << block;
    }
}

TEST (BranchNetwork, MonoBufferUsesChannelZeroForBoth)
{
    auto processor = makeNetwork (1.0f, 0.0f);
    setPlain (*processor, "fet_enable", 1.0f);
    auto mono = makeMusicLikeBuffer (1, blockSize, rate);
    auto stereoCopy = juce::AudioBuffer<float> (2, blockSize);
    stereoCopy.copyFrom (0, 0, mono, 0, 0, blockSize);
    stereoCopy.copyFrom (1, 0, mono, 0, 0, blockSize);
    const auto fet = referenceBranch (BranchType::Fet, stereoCopy);

    processor->processInternalBlock (mono, rate);

    auto peak = 0.0f;

    for (int i = 0; i < blockSize; ++i)
    {
        ASSERT_EQ (mono.getSample (0, i), fet[(size_t) i][0]) << i;
        peak = std::max (peak, std::abs (mono.getSample (0, i)));
    }

    EXPECT_FLOAT_EQ (processor->getMeterSnapshot().outputPeak, 0.2f * peak);
}

TEST (BranchNetwork, TubeMidSideWithIdenticalChannels)
{
    auto processor = makeNetwork (1.0f, 0.0f);
    setPlain (*processor, "tube_enable", 1.0f);
    setPlain (*processor, "tube_mode", 1.0f);
    auto buffer = makeMusicLikeBuffer (1, blockSize, rate);
    buffer.setSize (2, blockSize, true);
    buffer.copyFrom (1, 0, buffer, 0, 0, blockSize);

    // The same samples through a mid branch alone: the side branch only ever sees zeros.
    Processor reference;
    BranchState mid;
    auto gainReductionSum = 0.0f;

    for (int i = 0; i < blockSize; ++i)
    {
        const auto sample = buffer.getSample (0, i);
        const auto run = runBranch (reference, BranchType::Tube, mid, sample, sample, 1);
        gainReductionSum += (run.grDb + 0.0f) * 0.5f;
    }

    processor->processInternalBlock (buffer, rate);

    EXPECT_EQ (std::memcmp (&processor->tubeMidState, &mid, sizeof (BranchState)), 0);
    EXPECT_EQ (processor->tubeSideState.gainDb, 0.0f);
    EXPECT_EQ (processor->tubeSideState.env, 0.0f);
    EXPECT_EQ (processor->tubeState.lastGain, 1.0f); // the left/right state stands still
    EXPECT_FLOAT_EQ (processor->getMeterSnapshot().grTube, 0.2f * (gainReductionSum / blockSize));
}

TEST (BranchNetwork, TubeModeRoundsToLeftRightOrMidSide)
{
    const struct { float rawMode; bool midSide; } cases[] { { 0.0f, false }, { 0.4f, false }, { 0.5f, false },
                                                          { 0.6f, true }, { 1.0f, true } };

    for (const auto& c : cases)
    {
        Processor processor;
        setPlain (processor, "tube_enable", 1.0f);
        forceRawValue (processor, "tube_mode", c.rawMode);
        auto buffer = makeMusicLikeBuffer (2, blockSize, rate);
        processor.processInternalBlock (buffer, rate);

        EXPECT_EQ (processor.tubeState.gainDb < 0.0f, ! c.midSide) << c.rawMode;
        EXPECT_EQ (processor.tubeMidState.gainDb < 0.0f, c.midSide) << c.rawMode;
    }
}

TEST (BranchNetwork, DisabledBranchesKeepTheirState)
{
    auto processor = makeNetwork (1.0f, 0.0f);
    setPlain (*processor, "varimu_enable", 1.0f);
    auto buffer = makeMusicLikeBuffer (2, blockSize, rate);
    processor->processInternalBlock (buffer, rate);
    const auto held = processor->varimuState;
    ASSERT_LT (held.gainDb, 0.0f);

    setPlain (*processor, "varimu_enable", 0.0f);
    buffer = makeMusicLikeBuffer (2, blockSize, rate);
    processor->processInternalBlock (buffer, rate);
    EXPECT_EQ (std::memcmp (&processor->varimuState, &held, sizeof (BranchState)), 0);
}

TEST (BranchNetwork, ExtraChannelsAreLeftAlone)
{
    auto processor = makeNetwork (0.5f, 0.0f);
    auto buffer = constantBuffer (3, blockSize, 0.25f);
    processor->processInternalBlock (buffer, rate);

    EXPECT_EQ (buffer.getSample (0, 10), 0.125f);
    EXPECT_EQ (buffer.getSample (1, 10), 0.125f);
    EXPECT_EQ (buffer.getSample (2, 10), 0.25f);
}

TEST (BranchNetwork, NonFiniteInputCountsAsSilence)
{
    const auto makeInput = [] (float poison)
    {
        auto buffer = makeMusicLikeBuffer (2, blockSize, rate);

        for (int i = 100; i < 140; ++i)
            buffer.setSample (i % 2, i, poison);

        return buffer;
    };

    const float poisons[] { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity() };

    for (const auto poison : poisons)
    {
        auto poisoned = makeNetwork (0.7f, 0.0f);
        auto silenced = makeNetwork (0.7f, 0.0f);
        enableAllModels (*poisoned);
        enableAllModels (*silenced);

        for (int block = 0; block < 3; ++block)
        {
            auto a = makeInput (poison);
            auto b = makeInput (0.0f);
            poisoned->processInternalBlock (a, rate);
            silenced->processInternalBlock (b, rate);
            ASSERT_TRUE (allFinite (a)) << poison;
            ASSERT_TRUE (sameSamples (a, b)) << poison;
        }

        EXPECT_EQ (poisoned->getMeterSnapshot().inputPeak, silenced->getMeterSnapshot().inputPeak);
    }
}
} // namespace
