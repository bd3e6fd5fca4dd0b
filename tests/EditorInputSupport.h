#pragma once

#include "EditorTestSupport.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

/** What the host sees of the editor's parameter writes: gestures and values, in order. */
class GestureLog final : public juce::AudioProcessorListener
{
public:
    explicit GestureLog (juce::AudioProcessor& processorToWatch) : processor (processorToWatch)
    {
        processor.addListener (this);
    }

    ~GestureLog() override { processor.removeListener (this); }

    /** Entries read "begin <id>", "set <id>" and "end <id>". */
    std::vector<std::string> entries;

    int count (const std::string& kind) const
    {
        return static_cast<int> (std::count_if (entries.begin(), entries.end(), [&kind] (const std::string& entry)
                                                { return entry.rfind (kind + " ", 0) == 0; }));
    }

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float) override { add ("set", index); }
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override { add ("begin", index); }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override { add ("end", index); }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

private:
    void add (const char* kind, int index)
    {
        const auto* parameter = dynamic_cast<juce::AudioProcessorParameterWithID*> (processor.getParameters()[index]);
        entries.push_back (std::string (kind) + " " + (parameter != nullptr ? parameter->paramID.toStdString() : "?"));
    }

    juce::AudioProcessor& processor;
};

/** A begin, set, end triple for each ID: the shape of one complete write. */
inline std::vector<std::string> singleWrites (std::initializer_list<const char*> ids)
{
    std::vector<std::string> expected;

    for (const auto* id : ids)
        for (const auto* kind : { "begin ", "set ", "end " })
            expected.push_back (kind + std::string (id));

    return expected;
}

/** A mouse event at a point of the editor, as the framework would deliver it. */
inline juce::MouseEvent mouseAt (juce::Component& editor, juce::Point<int> position, int numberOfClicks = 1)
{
    const auto now = juce::Time::getCurrentTime();
    return { juce::Desktop::getInstance().getMainMouseSource(),
             position.toFloat(),
             {},
             juce::MouseInputSource::defaultPressure,
             juce::MouseInputSource::defaultOrientation,
             juce::MouseInputSource::defaultRotation,
             juce::MouseInputSource::defaultTiltX,
             juce::MouseInputSource::defaultTiltY,
             &editor,
             &editor,
             now,
             position.toFloat(),
             now,
             numberOfClicks,
             false };
}

inline juce::MouseWheelDetails wheelNotch (float deltaY)
{
    return { 0.0f, deltaY, false, false, false };
}

/** The fixture with helpers to click and drag painted regions. */
class EditorInputFixture : public EditorFixture
{
protected:
    float normalised (const juce::String& id) const { return processor.apvts.getParameter (id)->getValue(); }

    float plain (const juce::String& id) const { return processor.getFloat (id); }

    /** The centre of the first region of this kind (and index, for rows and toggles) of the last paint. */
    juce::Point<int> centreOf (HitRegion::Kind kind, int index = -1) const
    {
        for (const auto& region : editor.hitRegions)
            if (region.kind == kind && region.index == index)
                return region.bounds.getCentre();

        ADD_FAILURE() << "no region of kind " << static_cast<int> (kind) << " index " << index;
        return {};
    }

    void click (juce::Point<int> position, int numberOfClicks = 1)
    {
        editor.mouseDown (mouseAt (editor, position, numberOfClicks));
        editor.mouseUp (mouseAt (editor, position, numberOfClicks));
    }

    void drag (juce::Point<int> from, std::initializer_list<juce::Point<int>> path)
    {
        editor.mouseDown (mouseAt (editor, from));

        for (const auto& position : path)
            editor.mouseDrag (mouseAt (editor, position));

        editor.mouseUp (mouseAt (editor, path.size() > 0 ? *(path.end() - 1) : from));
    }
};
