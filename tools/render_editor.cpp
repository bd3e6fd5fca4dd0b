// Paints kelvarn's editor into PNG files: the text view's overview in the three colour
// schemes, one focus view and the hybrid view, with a short test signal run through the
// processor first so that the meters show something.
//
// usage: kelvarn_render_editor [output folder, default docs/images]
#include "editor/KelvarnAudioProcessorEditor.h"

#include <cmath>
#include <iostream>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;
constexpr int blocksOfSignal = 60; // about 0.6 s, long enough for every detector to settle

void enable (KelvarnAudioProcessor& processor, std::initializer_list<const char*> ids)
{
    for (const auto* id : ids)
        processor.apvts.getParameter (id)->setValueNotifyingHost (1.0f);
}

/** A loud 220 Hz tone with a slow swell, well above the default thresholds. */
void runTestSignal (KelvarnAudioProcessor& processor)
{
    processor.prepareToPlay (sampleRate, blockSize);

    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;
    auto phase = 0.0;
    const auto increment = juce::MathConstants<double>::twoPi * 220.0 / sampleRate;

    for (int block = 0; block < blocksOfSignal; ++block)
    {
        const auto amplitude = 0.5f + 0.3f * static_cast<float> (block) / blocksOfSignal;

        for (int i = 0; i < blockSize; ++i, phase += increment)
        {
            const auto sample = amplitude * static_cast<float> (std::sin (phase));
            buffer.setSample (0, i, sample);
            buffer.setSample (1, i, sample);
        }

        processor.processBlock (buffer, midi);
    }
}

bool savePng (KelvarnAudioProcessorEditor& editor, const juce::File& file)
{
    juce::Image image (juce::Image::ARGB, editor.getWidth(), editor.getHeight(), true);
    {
        juce::Graphics g (image);
        editor.paint (g);
    }

    file.deleteFile();
    juce::FileOutputStream stream (file);
    juce::PNGImageFormat png;

    if (! stream.openedOk() || ! png.writeImageToStream (image, stream))
    {
        std::cerr << "could not write " << file.getFullPathName() << "\n";
        return false;
    }

    std::cout << file.getFullPathName() << "\n";
    return true;
}

bool renderViews (KelvarnAudioProcessorEditor& editor, const juce::File& folder)
{
    const std::pair<int, const char*> overviews[] { { 0, "tui-overview-green.png" },
                                                    { 1, "tui-overview-amber.png" },
                                                    { 2, "tui-overview-scanlines.png" } };
    auto ok = true;

    for (const auto& [scheme, name] : overviews)
    {
        editor.colourScheme = scheme;
        ok = savePng (editor, folder.getChildFile (name)) && ok;
    }

    editor.colourScheme = 0;
    editor.focusModule = 1;
    ok = savePng (editor, folder.getChildFile ("tui-focus-fet76.png")) && ok;

    // DRUM SMASH uses the three models that the test signal ran through, so the meters
    // still match; the knobs then show the preset's macro values.
    editor.focusModule = -1;
    editor.presetIndex = 2;
    editor.applyMacroPreset();
    editor.viewMode = 1;
    ok = savePng (editor, folder.getChildFile ("hybrid.png")) && ok;
    return ok;
}
} // namespace

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juce;

    const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (argc > 1 ? argv[1] : "docs/images");

    if (! folder.createDirectory())
    {
        std::cerr << "could not create " << folder.getFullPathName() << "\n";
        return 1;
    }

    KelvarnAudioProcessor processor;
    enable (processor, { "fet_enable", "vca_enable", "tube_enable" });
    runTestSignal (processor);

    auto editor = std::make_unique<KelvarnAudioProcessorEditor> (processor);
    editor->stopTimer();
    editor->timerCallback(); // the first tick takes the meters over into the held values
    editor->selectedRow = 11;  // the cursor on FET76 THRESHOLD, as after a few key presses

    const auto ok = renderViews (*editor, folder);
    editor.reset();
    processor.releaseResources();
    return ok ? 0 : 1;
}
