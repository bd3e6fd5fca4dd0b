// Loads an installed kelvarn bundle through JUCE's VST3 hosting and prints what a DAW sees.
#include "tools/HostedPlugin.h"

#include <iostream>

int main (int argc, char* argv[])
{
    if (argc != 2)
    {
        std::cerr << "usage: kelvarn_host_check <path to kelvarn.vst3>\n";
        return 2;
    }

    juce::ScopedJuceInitialiser_GUI juce;
    juce::String error;
    auto plugin = kelvarn::hosting::loadBundle (argv[1], 48000.0, 512, error);

    if (plugin == nullptr)
    {
        std::cerr << "could not load " << argv[1] << ": " << error << "\n";
        return 1;
    }

    const auto description = plugin->getPluginDescription();
    std::cout << "name:       " << description.name << "\n"
              << "vendor:     " << description.manufacturerName << "\n"
              << "version:    " << description.version << "\n"
              << "parameters: " << plugin->getParameters().size() << "\n"
              << "latency:    " << plugin->getLatencySamples() << " samples\n";
    return 0;
}
