#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

/** Loads a VST3 bundle the way a DAW does, through JUCE's VST3 hosting. */
namespace kelvarn::hosting
{
/** A new instance of the bundle's plug-in, prepared for the rate and block size,
    or nullptr with a message in error. */
std::unique_ptr<juce::AudioPluginInstance> loadBundle (const juce::String& bundlePath, double sampleRate,
                                                       int blockSize, juce::String& error);
} // namespace kelvarn::hosting
