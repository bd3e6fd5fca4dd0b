#pragma once

#include "editor/KelvarnAudioProcessorEditor.h"

#include <gtest/gtest.h>

/** A processor with a freshly opened editor, as a host has it right after opening the window. */
class EditorFixture : public ::testing::Test
{
protected:
    using Editor = KelvarnAudioProcessorEditor;
    using Row = Editor::Row;
    using HitRegion = Editor::HitRegion;

    void setNormalised (const juce::String& id, float normalised)
    {
        auto* parameter = processor.apvts.getParameter (id);
        ASSERT_NE (parameter, nullptr) << id;
        parameter->setValueNotifyingHost (normalised);
    }

    const Row& rowFor (const juce::String& id) const
    {
        const auto index = editor.findRowById (id);
        EXPECT_GE (index, 0) << id;
        return editor.rows.at (static_cast<size_t> (juce::jmax (0, index)));
    }

    /** Paints the editor the way the host's window would, but into an image. */
    juce::Image paintEditor()
    {
        juce::Image image (juce::Image::ARGB, editor.getWidth(), editor.getHeight(), true);
        juce::Graphics g (image);
        editor.paint (g);
        return image;
    }

    KelvarnAudioProcessor processor;
    Editor editor { processor };
};
