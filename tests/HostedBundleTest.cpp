// Loads the built VST3 bundle through JUCE's VST3 hosting and checks what a DAW sees.
#include "tools/HostedPlugin.h"

#include <gtest/gtest.h>

namespace
{
using Set = juce::AudioChannelSet;

const std::vector<const char*> expectedParameterNames {
    "Global Dry/Wet", "Global Output", "Safety", "Oversampling",
    "FET Enable", "FET Input", "FET Output", "FET Attack", "FET Release", "FET Threshold", "FET Saturation",
    "Opto Enable", "Opto Peak Reduction", "Opto Mode", "Opto Makeup", "Opto HF Emphasis", "Opto Saturation",
    "VCA Enable", "VCA Threshold", "VCA OverEasy", "VCA Makeup", "VCA Saturation",
    "VariMu Enable", "VariMu Threshold", "VariMu Attack", "VariMu Recovery", "VariMu Makeup", "VariMu Saturation",
    "Tube670 Enable", "Tube670 Threshold", "Tube670 Time Constant", "Tube670 Mode", "Tube670 Makeup",
    "Tube670 Saturation",
};

class HostedBundle : public ::testing::Test
{
protected:
    static std::unique_ptr<juce::AudioPluginInstance> load()
    {
        juce::String error;
        auto plugin = kelvarn::hosting::loadBundle (KELVARN_VST3_BUNDLE, 48000.0, 512, error);
        EXPECT_NE (plugin, nullptr) << error;
        return plugin;
    }

    std::unique_ptr<juce::AudioPluginInstance> plugin = load();
};

TEST_F (HostedBundle, Identity)
{
    ASSERT_NE (plugin, nullptr);
    const auto description = plugin->getPluginDescription();

    EXPECT_EQ (description.name, "kelvarn by solvenari");
    EXPECT_EQ (description.manufacturerName, "solvenari");
    EXPECT_EQ (description.version, "0.1.0");
    EXPECT_EQ (description.category, "Fx");
    EXPECT_EQ (description.pluginFormatName, "VST3");
    EXPECT_FALSE (description.isInstrument);
    EXPECT_FALSE (plugin->acceptsMidi());
    EXPECT_FALSE (plugin->producesMidi());
    EXPECT_TRUE (plugin->hasEditor());
    EXPECT_EQ (plugin->getLatencySamples(), 0);
    EXPECT_EQ (plugin->getTailLengthSeconds(), 0.0);
}

TEST_F (HostedBundle, ParametersInOrderWithBypassLast)
{
    ASSERT_NE (plugin, nullptr);
    const auto& params = plugin->getParameters();
    ASSERT_EQ (params.size(), 35);

    for (size_t i = 0; i < expectedParameterNames.size(); ++i)
        EXPECT_EQ (params[(int) i]->getName (100), expectedParameterNames[i]) << i;

    EXPECT_EQ (plugin->getBypassParameter(), params[34]);
}

TEST_F (HostedBundle, BusLayouts)
{
    ASSERT_NE (plugin, nullptr);
    const struct { Set in; Set out; bool accepted; } cases[] {
        { Set::mono(), Set::mono(), true },
        { Set::stereo(), Set::stereo(), true },
        { Set::mono(), Set::stereo(), false },
        { Set::stereo(), Set::mono(), false },
        { Set::create5point1(), Set::create5point1(), false },
    };

    for (const auto& c : cases)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (c.in);
        layout.outputBuses.add (c.out);
        EXPECT_EQ (plugin->checkBusesLayoutSupported (layout), c.accepted)
            << c.in.getDescription() << " -> " << c.out.getDescription();
    }
}

TEST_F (HostedBundle, StateRestoresIntoASecondInstance)
{
    ASSERT_NE (plugin, nullptr);
    const auto& params = plugin->getParameters();
    juce::Random rng (7);
    for (int i = 0; i < 34; ++i)
        params[i]->setValueNotifyingHost (rng.nextFloat());

    juce::MemoryBlock state;
    plugin->getStateInformation (state);

    auto second = load();
    ASSERT_NE (second, nullptr);
    second->setStateInformation (state.getData(), (int) state.getSize());

    // The first instance's host-side values are unsnapped; the text shows the value the plug-in holds.
    for (int i = 0; i < 34; ++i)
        EXPECT_EQ (second->getParameters()[i]->getCurrentValueAsText(), params[i]->getCurrentValueAsText())
            << params[i]->getName (100);
}

TEST_F (HostedBundle, ProcessesAStereoBlock)
{
    ASSERT_NE (plugin, nullptr);
    plugin->prepareToPlay (48000.0, 512);

    juce::AudioBuffer<float> buffer (2, 512);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample (channel, i, 0.5f * std::sin (0.05f * (float) i));

    juce::MidiBuffer midi;
    plugin->processBlock (buffer, midi);

    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            ASSERT_TRUE (std::isfinite (buffer.getSample (channel, i)));

    EXPECT_GT (buffer.getMagnitude (0, buffer.getNumSamples()), 0.0f);
    plugin->releaseResources();
}
} // namespace
