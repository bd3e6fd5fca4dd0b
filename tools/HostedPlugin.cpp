#include "tools/HostedPlugin.h"

namespace kelvarn::hosting
{
namespace
{
/** The description of the first plug-in class in the bundle, or nullptr with a message. */
std::unique_ptr<juce::PluginDescription> describeBundle (const juce::String& bundlePath, juce::String& error)
{
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> types;
    format.findAllTypesForFile (types, bundlePath);

    if (types.isEmpty())
    {
        error = "no VST3 plug-in found in " + bundlePath;
        return nullptr;
    }

    return std::make_unique<juce::PluginDescription> (*types.getFirst());
}
} // namespace

std::unique_ptr<juce::AudioPluginInstance> loadBundle (const juce::String& bundlePath, double sampleRate,
                                                       int blockSize, juce::String& error)
{
    const auto description = describeBundle (bundlePath, error);

    if (description == nullptr)
        return nullptr;

    juce::VST3PluginFormat format;
    return format.createInstanceFromDescription (*description, sampleRate, blockSize, error);
}
} // namespace kelvarn::hosting
