// Block processing: oversampling around the branch network, factor changes while
// playing, preparation, and the blocks a host may send.
#include "tests/SignalPathTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace
{
using namespace kelvarn::testing;
using Oversampler = juce::dsp::Oversampling<float>;

constexpr double hostRate = 48000.0;
constexpr int blockSize = 256;

std::unique_ptr<Oversampler> makeReferenceOversampler (int index, int numChannels, int blockLength)
{
    auto oversampler = std::make_unique<Oversampler> ((size_t) numChannels, (size_t) index,
                                                      Oversampler::filterHalfBandPolyphaseIIR, true, false);
    oversampler->initProcessing ((size_t) blockLength);
    return oversampler;
}

int roundedLatency (int index)
{
    return index == 0 ? 0 : juce::roundToInt (makeReferenceOversampler (index, 2, blockSize)->getLatencyInSamples());
}

/** What processBlock must do at a factor: up-sample, run the network on the whole
    up-sampled block at the raised rate, down-sample. */
void processLikeTheHost (Processor& network, Oversampler* oversampler, int index, juce::AudioBuffer<float>& buffer)
{
    if (oversampler == nullptr)
    {
        network.processInternalBlock (buffer, (float) hostRate);
        return;
    }

    juce::dsp::AudioBlock<float> block (buffer);
    auto up = oversampler->processSamplesUp (block);
    ASSERT_EQ (up.getNumSamples(), (size_t) buffer.getNumSamples() << index);

    float* channels[] { up.getChannelPointer (0), up.getChannelPointer (1) };
    juce::AudioBuffer<float> upBuffer (channels, 2, (int) up.getNumSamples());
    network.processInternalBlock (upBuffer, (float) (hostRate * (1 << index)));
    oversampler->processSamplesDown (block);
}

void copyBranchStatesAndMeters (const Processor& from, Processor& to)
{
    to.fetState = from.fetState;
    to.optoState = from.optoState;
    to.vcaState = from.vcaState;
    to.varimuState = from.varimuState;
    to.tubeState = from.tubeState;
    to.tubeMidState = from.tubeMidState;
    to.tubeSideState = from.tubeSideState;

    const auto meters = from.getMeterSnapshot();
    to.meters.inputPeak = meters.inputPeak;
    to.meters.outputPeak = meters.outputPeak;
    to.meters.grFet = meters.grFet;
    to.meters.grOpto = meters.grOpto;
    to.meters.grVca = meters.grVca;
    to.meters.grVariMu = meters.grVariMu;
    to.meters.grTube = meters.grTube;
}

bool sameBranchStates (const Processor& a, const Processor& b)
{
    const auto same = [] (const BranchState& x, const BranchState& y) { return std::memcmp (&x, &y, sizeof (BranchState)) == 0; };
    return same (a.fetState, b.fetState) && same (a.optoState, b.optoState) && same (a.vcaState, b.vcaState)
           && same (a.varimuState, b.varimuState) && same (a.tubeState, b.tubeState)
           && same (a.tubeMidState, b.tubeMidState) && same (a.tubeSideState, b.tubeSideState);
}

void processBlock (Processor& processor, juce::AudioBuffer<float>& buffer)
{
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
}

//==============================================================================
class EachFactor : public ::testing::TestWithParam<int>
{
};

TEST_P (EachFactor, NetworkRunsOnTheUpsampledBlockAtTheRaisedRate)
{
    const auto index = GetParam();
    auto processor = std::make_unique<Processor>();
    setPlain (*processor, "global_os", (float) index);
    enableAllModels (*processor);
    processor->setRateAndBufferSizeDetails (hostRate, blockSize);
    processor->prepareToPlay (hostRate, blockSize);

    Processor reference;
    enableAllModels (reference);
    auto referenceOversampler = index > 0 ? makeReferenceOversampler (index, 2, blockSize) : nullptr;

    EXPECT_EQ (processor->getLatencySamples(), roundedLatency (index));
    EXPECT_EQ (processor->oversampler == nullptr, index == 0);

    for (int block = 0; block < 4; ++block)
    {
        auto buffer = makeMusicLikeBuffer (2, blockSize, hostRate, block * blockSize);
        auto expected = buffer;
        processBlock (*processor, buffer);
        processLikeTheHost (reference, referenceOversampler.get(), index, expected);

        ASSERT_TRUE (sameSamples (buffer, expected)) << "block " << block;
    }

    EXPECT_TRUE (sameBranchStates (*processor, reference));
    EXPECT_EQ (processor->getMeterSnapshot().grFet, reference.getMeterSnapshot().grFet);
}

INSTANTIATE_TEST_SUITE_P (BlockProcessing, EachFactor, ::testing::Values (0, 1, 2, 3));

//==============================================================================
TEST (BlockProcessing, FactorChangesWhilePlayingCarryStatesAndMetersOn)
{
    auto processor = makePreparedProcessor (hostRate, blockSize);
    enableAllModels (*processor);
    setPlain (*processor, "tube_mode", 1.0f);
    int position = 0;

    for (const auto index : { 1, 2, 0, 1, 3, 1, 0 })
    {
        for (int block = 0; block < 3; ++block, position += blockSize)
        {
            const auto switching = block == 0;
            Processor reference;
            enableAllModels (reference);
            setPlain (reference, "tube_mode", 1.0f);
            copyBranchStatesAndMeters (*processor, reference);

            if (switching)
                setPlain (*processor, "global_os", (float) index);

            auto buffer = makeMusicLikeBuffer (2, blockSize, hostRate, position);
            auto expected = buffer;
            processBlock (*processor, buffer);

            EXPECT_EQ (processor->currentOsIndex, index);
            EXPECT_EQ (latencyOnceDelivered (*processor, roundedLatency (index)), roundedLatency (index));
            ASSERT_EQ (processor->oversampler == nullptr, index == 0);

            if (! switching)
                continue;

            // The oversampler switched to starts from clean filter memory; nothing else restarts.
            EXPECT_EQ (processor->oversampler == nullptr ? 1 : (int) processor->oversampler->getOversamplingFactor(), 1 << index);
            auto fresh = index > 0 ? makeReferenceOversampler (index, 2, blockSize) : nullptr;
            processLikeTheHost (reference, fresh.get(), index, expected);
            ASSERT_TRUE (sameSamples (buffer, expected)) << "switch to index " << index;
            ASSERT_TRUE (sameBranchStates (*processor, reference)) << "switch to index " << index;
            EXPECT_EQ (processor->getMeterSnapshot().grVca, reference.getMeterSnapshot().grVca);
            EXPECT_GT (processor->getMeterSnapshot().grVca, 0.0f);
        }
    }
}

TEST (BlockProcessing, PreparingAgainKeepsTheOversamplerAndResetsTheBranches)
{
    auto processor = makePreparedProcessor (hostRate, blockSize);
    setPlain (*processor, "global_os", 1.0f);
    enableAllModels (*processor);
    setPlain (*processor, "tube_mode", 1.0f);
    processor->prepareToPlay (hostRate, blockSize);
    auto* const built = processor->oversampler.get();
    ASSERT_NE (built, nullptr);

    for (int round = 0; round < 2; ++round)
    {
        for (int block = 0; block < 4; ++block)
        {
            auto buffer = makeMusicLikeBuffer (2, blockSize, hostRate, block * blockSize);
            processBlock (*processor, buffer);
        }

        ASSERT_LT (processor->fetState.gainDb, 0.0f);
        const auto meters = processor->getMeterSnapshot();

        processor->prepareToPlay (hostRate, blockSize);

        EXPECT_EQ (processor->oversampler.get(), built);
        EXPECT_EQ (processor->getLatencySamples(), roundedLatency (1));
        const Processor resetReference;
        EXPECT_TRUE (sameBranchStates (*processor, resetReference));
        EXPECT_EQ (processor->getMeterSnapshot().inputPeak, meters.inputPeak);
        EXPECT_EQ (processor->getMeterSnapshot().grFet, meters.grFet);
    }
}

TEST (BlockProcessing, OversamplerHasTheInstancesChannelCount)
{
    for (const auto numChannels : { 1, 2 })
    {
        auto processor = std::make_unique<Processor>();
        setPlain (*processor, "global_os", 2.0f);
        juce::AudioProcessor::BusesLayout layout;
        const auto set = numChannels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
        layout.inputBuses.add (set);
        layout.outputBuses.add (set);
        ASSERT_TRUE (processor->setBusesLayout (layout));
        processor->setRateAndBufferSizeDetails (hostRate, blockSize);
        processor->prepareToPlay (hostRate, blockSize);

        ASSERT_NE (processor->oversampler, nullptr);
        EXPECT_EQ (processor->oversampler->numChannels, (size_t) numChannels);

        auto buffer = makeMusicLikeBuffer (numChannels, blockSize, hostRate);
        processBlock (*processor, buffer);
        EXPECT_TRUE (allFinite (buffer));
    }
}

TEST (BlockProcessing, BuffersTheHostMaySend)
{
    const struct
    {
        const char* name;
        int osIndex;
        int numChannels;
        int numSamples;
    } cases[] {
        { "four channels at 1x", 0, 4, blockSize },
        { "four channels at 2x", 1, 4, blockSize },
        { "empty block at 1x", 0, 2, 0 },
        { "empty block at 8x", 3, 2, 0 },
        { "long block at 1x", 0, 2, 4 * blockSize + 17 },
        { "long block at 8x", 3, 2, 4 * blockSize + 17 },
    };

    for (const auto& c : cases)
    {
        auto processor = makePreparedProcessor (hostRate, blockSize);
        setPlain (*processor, "global_os", (float) c.osIndex);
        enableAllModels (*processor);

        auto warmUp = makeMusicLikeBuffer (2, blockSize, hostRate);
        processBlock (*processor, warmUp);
        const auto metersBefore = processor->getMeterSnapshot();

        auto buffer = makeMusicLikeBuffer (c.numChannels, c.numSamples, hostRate);
        processBlock (*processor, buffer);

        EXPECT_TRUE (allFinite (buffer)) << c.name;

        for (int channel = 2; channel < c.numChannels; ++channel)
            EXPECT_EQ (buffer.getMagnitude (channel, 0, c.numSamples), 0.0f) << c.name;

        if (c.numSamples == 0)
        {
            EXPECT_FLOAT_EQ (processor->getMeterSnapshot().inputPeak, 0.8f * metersBefore.inputPeak) << c.name;
        }
        else
        {
            EXPECT_GT (buffer.getMagnitude (0, 0, c.numSamples), 0.0f) << c.name;
        }
    }
}

TEST (BlockProcessing, LongBlocksMatchPreparedLengthPieces)
{
    constexpr int longBlock = 4 * blockSize + 17;
    auto whole = makePreparedProcessor (hostRate, blockSize);
    auto pieces = makePreparedProcessor (hostRate, blockSize);

    for (auto* processor : { whole.get(), pieces.get() })
    {
        setPlain (*processor, "global_os", 2.0f);
        enableAllModels (*processor);
    }

    auto buffer = makeMusicLikeBuffer (2, longBlock, hostRate);
    auto expected = buffer;
    processBlock (*whole, buffer);

    for (int start = 0; start < longBlock; start += blockSize)
    {
        const auto length = std::min (blockSize, longBlock - start);
        juce::AudioBuffer<float> piece (expected.getArrayOfWritePointers(), 2, start, length);
        processBlock (*pieces, piece);
    }

    EXPECT_TRUE (sameSamples (buffer, expected));
    EXPECT_EQ (whole->getMeterSnapshot().outputPeak, pieces->getMeterSnapshot().outputPeak);
}

TEST (BlockProcessing, NonFiniteHostSamplesCountAsSilence)
{
    for (const auto index : { 0, 1, 3 })
    {
        auto poisoned = makePreparedProcessor (hostRate, blockSize);
        auto silenced = makePreparedProcessor (hostRate, blockSize);

        for (auto* processor : { poisoned.get(), silenced.get() })
        {
            setPlain (*processor, "global_os", (float) index);
            enableAllModels (*processor);
        }

        for (int block = 0; block < 4; ++block)
        {
            auto a = makeMusicLikeBuffer (2, blockSize, hostRate, block * blockSize);
            auto b = a;

            if (block == 1)
            {
                a.setSample (0, 3, std::numeric_limits<float>::quiet_NaN());
                a.setSample (1, 9, std::numeric_limits<float>::infinity());
                a.setSample (0, 200, -std::numeric_limits<float>::infinity());
                b.setSample (0, 3, 0.0f);
                b.setSample (1, 9, 0.0f);
                b.setSample (0, 200, 0.0f);
            }

            processBlock (*poisoned, a);
            processBlock (*silenced, b);
            ASSERT_TRUE (allFinite (a)) << index;
            ASSERT_TRUE (sameSamples (a, b)) << index;
        }

        EXPECT_TRUE (sameBranchStates (*poisoned, *silenced));
    }
}

TEST (BlockProcessing, UnpreparedInstanceReportsNoLatencyAndStillProcesses)
{
    Processor processor;
    EXPECT_EQ (processor.getLatencySamples(), 0);
    EXPECT_EQ (processor.currentOsIndex, -1);

    setPlain (processor, "global_os", 2.0f);
    auto buffer = makeMusicLikeBuffer (2, blockSize, hostRate);
    processBlock (processor, buffer);

    EXPECT_TRUE (allFinite (buffer));
    EXPECT_EQ (processor.getLatencySamples(), 0);
}
} // namespace
