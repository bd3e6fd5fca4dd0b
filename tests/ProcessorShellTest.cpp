#include "processor/KelvarnAudioProcessor.h"

#include <gtest/gtest.h>

namespace
{
using Set = juce::AudioChannelSet;

TEST (ProcessorShell, IdentityAndHostAnswers)
{
    KelvarnAudioProcessor processor;

    EXPECT_EQ (processor.getName(), "kelvarn by solvenari");
    EXPECT_TRUE (processor.hasEditor());
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_EQ (processor.getLatencySamples(), 0);
    EXPECT_FALSE (processor.supportsDoublePrecisionProcessing());

    ASSERT_EQ (processor.getBusCount (true), 1);
    ASSERT_EQ (processor.getBusCount (false), 1);
    EXPECT_EQ (processor.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (processor.getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (processor.getBus (true, 0)->getDefaultLayout(), Set::stereo());
    EXPECT_EQ (processor.getBus (false, 0)->getDefaultLayout(), Set::stereo());
    EXPECT_TRUE (processor.getBus (true, 0)->isEnabledByDefault());
    EXPECT_TRUE (processor.getBus (false, 0)->isEnabledByDefault());
}

TEST (ProcessorShell, OneProgramNamedDefault)
{
    KelvarnAudioProcessor processor;

    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (0), "Default");
    EXPECT_EQ (processor.getProgramName (5), "");
    EXPECT_EQ (processor.getProgramName (-1), "");

    processor.setCurrentProgram (5);
    processor.changeProgramName (0, "renamed");
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (0), "Default");
}

TEST (ProcessorShell, LayoutsAcceptedOnlyWhenOutputMatchesMonoOrStereoInput)
{
    const struct { Set in; Set out; bool accepted; } cases[] {
        { Set::mono(), Set::mono(), true },
        { Set::stereo(), Set::stereo(), true },
        { Set::mono(), Set::stereo(), false },
        { Set::stereo(), Set::mono(), false },
        { Set::create5point1(), Set::create5point1(), false },
        { Set::disabled(), Set::stereo(), false },
        { Set::disabled(), Set::disabled(), false },
        { Set::stereo(), Set::disabled(), false },
    };

    KelvarnAudioProcessor processor;

    for (const auto& c : cases)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (c.in);
        layout.outputBuses.add (c.out);
        EXPECT_EQ (processor.checkBusesLayoutSupported (layout), c.accepted)
            << c.in.getDescription() << " -> " << c.out.getDescription();
    }
}

TEST (ProcessorShell, GetFloatReadsPlainValues)
{
    KelvarnAudioProcessor processor;

    EXPECT_EQ (processor.getFloat ("global_safety"), 1.0f);
    EXPECT_EQ (processor.getFloat ("fet_attack_us"), 120.0f);
    EXPECT_EQ (processor.getFloat (""), 0.0f);

    auto& os = *processor.apvts.getParameter ("global_os");
    for (int index = 0; index < 4; ++index)
    {
        os.setValueNotifyingHost (os.convertTo0to1 ((float) index));
        EXPECT_EQ (processor.getFloat ("global_os"), (float) index);
    }
}

TEST (ProcessorShell, CreatesTheEditorAtItsFixedSize)
{
    KelvarnAudioProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());

    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getWidth(), 1120);
    EXPECT_EQ (editor->getHeight(), 720);
}
} // namespace
