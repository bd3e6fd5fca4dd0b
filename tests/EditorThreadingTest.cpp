#include "editor/KelvarnAudioProcessorEditor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{
void fillWithTestSignal (juce::AudioBuffer<float>& buffer, juce::Random& random)
{
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample (channel, i, random.nextFloat() * 1.6f - 0.8f);
}

// A host may open and close the window at any moment while its audio thread keeps
// processing: the editor must only ever touch what the audio thread shares lock-free.
TEST (EditorThreading, OpeningAndClosingEditorsWhileAudioRuns)
{
    KelvarnAudioProcessor processor;
    processor.prepareToPlay (48000.0, 256);

    for (const auto* id : { "fet_enable", "vca_enable", "tube_enable" })
        processor.apvts.getParameter (id)->setValueNotifyingHost (1.0f);

    std::atomic<bool> keepProcessing { true };
    std::atomic<int> blocksProcessed { 0 };

    std::thread audioThread ([&]
    {
        juce::AudioBuffer<float> buffer (2, 256);
        juce::MidiBuffer midi;
        juce::Random random (7);

        while (keepProcessing.load())
        {
            fillWithTestSignal (buffer, random);
            processor.processBlock (buffer, midi);
            ++blocksProcessed;
        }
    });

    while (blocksProcessed.load() == 0)
        std::this_thread::yield();

    juce::Image image (juce::Image::ARGB, 1120, 720, true);

    for (int opening = 0; opening < 40; ++opening)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
        ASSERT_NE (editor, nullptr);
        auto& kelvarnEditor = dynamic_cast<KelvarnAudioProcessorEditor&> (*editor);

        for (int tick = 0; tick < 3; ++tick)
        {
            kelvarnEditor.colourScheme = (opening + tick) % 3;
            kelvarnEditor.focusModule = tick == 1 ? 1 + opening % 5 : -1;
            kelvarnEditor.timerCallback();
            juce::Graphics g (image);
            kelvarnEditor.paint (g);
        }

        EXPECT_GE (kelvarnEditor.holdIn, 0.0f);
        editor.reset();
        EXPECT_EQ (processor.getActiveEditor(), nullptr);
    }

    keepProcessing.store (false);
    audioThread.join();
    processor.releaseResources();
}
} // namespace
