#include "EditorInputSupport.h"

#include "editor/TerminalFont.h"

#include <cmath>
#include <set>
#include <tuple>

namespace
{
constexpr juce::uint32 background = 0xFF0E1212;
constexpr juce::uint32 knobRing = 0xFF506E56;
constexpr juce::uint32 amber = 0xFFFFC26E;
constexpr juce::uint32 green = 0xFF53FF76;
constexpr juce::uint32 moduleOff = 0xFF464646;
constexpr juce::uint32 activeKnobText = 0xFFFFD662;

constexpr float knobCentreY = 190.0f;
constexpr float ringRadius = 93.6f; // 346 x 0.36
constexpr float arcRadius = ringRadius - 3.0f;

const juce::Rectangle<int> driveBounds { 40, 60, 346, 260 };
const juce::Rectangle<int> mixBounds { 732, 60, 346, 260 };

class HybridRenderer : public EditorInputFixture
{
protected:
    void SetUp() override { editor.viewMode = 1; }

    /** The pixel under a point at a clockwise angle from twelve o'clock, in turns of pi. */
    static juce::uint32 pixelAt (const juce::Image& image, juce::Rectangle<int> knob, float radius, float anglePi)
    {
        const auto angle = anglePi * juce::MathConstants<float>::pi;
        const auto x = static_cast<float> (knob.getCentreX()) + radius * std::sin (angle);
        const auto y = knobCentreY - radius * std::cos (angle);
        return image.getPixelAt (juce::roundToInt (x - 0.5f), juce::roundToInt (y - 0.5f)).getARGB();
    }

    /** Whether the area shows exactly this text and nothing else, drawn as the view draws its texts. */
    static void expectText (const juce::Image& image, juce::Rectangle<int> area, const juce::String& text,
                            juce::uint32 colour)
    {
        juce::Image expected (juce::Image::ARGB, image.getWidth(), image.getHeight(), true);
        {
            juce::Graphics g (expected);
            g.fillAll (juce::Colour (background));
            g.setFont (kelvarn::terminalFont (13.0f));
            g.setColour (juce::Colour (colour));
            g.drawFittedText (text, area, juce::Justification::centred, 1);
        }

        auto differing = 0;

        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                differing += image.getPixelAt (x, y) != expected.getPixelAt (x, y) ? 1 : 0;

        EXPECT_EQ (differing, 0) << "\"" << text << "\" in " << area.toString();
    }
};

TEST_F (HybridRenderer, RecordsTheButtonTheKnobsAndTheFiveTogglesInOrder)
{
    paintEditor();

    const std::vector<std::tuple<HitRegion::Kind, juce::Rectangle<int>, int>> expected {
        { HitRegion::viewToggle, { 1030, 8, 72, 20 }, -1 },
        { HitRegion::driveKnob, driveBounds, -1 },
        { HitRegion::compKnob, { 386, 60, 346, 260 }, -1 },
        { HitRegion::mixKnob, mixBounds, -1 },
        { HitRegion::moduleToggle, { 80, 438, 188, 42 }, 0 },
        { HitRegion::moduleToggle, { 273, 438, 188, 42 }, 1 },
        { HitRegion::moduleToggle, { 466, 438, 188, 42 }, 2 },
        { HitRegion::moduleToggle, { 659, 438, 188, 42 }, 3 },
        { HitRegion::moduleToggle, { 852, 438, 188, 42 }, 4 },
    };

    std::vector<std::tuple<HitRegion::Kind, juce::Rectangle<int>, int>> recorded;

    for (const auto& region : editor.hitRegions)
        recorded.emplace_back (region.kind, region.bounds, region.index);

    EXPECT_EQ (recorded, expected);
}

TEST_F (HybridRenderer, TogglesShowEachModulesState)
{
    setNormalised ("vca_enable", 1.0f);
    const auto image = paintEditor();

    const std::tuple<int, const char*, juce::uint32> toggles[] {
        { 80, "FET76 OFF", moduleOff },   { 273, "OPTO2A OFF", moduleOff }, { 466, "VCA160 ON", green },
        { 659, "VARIMU OFF", moduleOff }, { 852, "TUBE670 OFF", moduleOff },
    };

    for (const auto& [x, text, colour] : toggles)
    {
        EXPECT_EQ (image.getPixelAt (x + 1, 459).getARGB(), colour) << text;
        expectText (image, juce::Rectangle<int> (x, 438, 188, 42).reduced (2), text, colour);
    }
}

TEST_F (HybridRenderer, KnobArcsAndTextsFollowTheAmberScheme)
{
    editor.colourScheme = 1;
    editor.macroDrive = 0.5f;
    editor.macroMix = 1.0f;
    editor.activeKnob = 3;
    const auto image = paintEditor();

    // DRIVE at 0.5: from seven o'clock up to twelve o'clock.
    EXPECT_EQ (pixelAt (image, driveBounds, ringRadius, 0.5f), knobRing);
    EXPECT_EQ (pixelAt (image, driveBounds, arcRadius, 1.3f), amber);
    EXPECT_EQ (pixelAt (image, driveBounds, arcRadius, 1.9f), amber);
    EXPECT_EQ (pixelAt (image, driveBounds, arcRadius, 0.1f), background);

    // MIX at 1: the whole 288 degrees, leaving only the gap at the bottom.
    EXPECT_EQ (pixelAt (image, mixBounds, arcRadius, 0.7f), amber);
    EXPECT_EQ (pixelAt (image, mixBounds, arcRadius, 1.0f), background);

    expectText (image, { 40, 60, 346, 18 }, "DRIVE", amber);
    expectText (image, { 40, 302, 346, 18 }, "0.50", amber);
    expectText (image, { 732, 60, 346, 18 }, "MIX", activeKnobText);
    expectText (image, { 732, 302, 346, 18 }, "1.00", activeKnobText);

    // The fixed colours stay as they are.
    EXPECT_EQ (image.getPixelAt (2, 200).getARGB(), background);
    EXPECT_EQ (image.getPixelAt (81, 459).getARGB(), moduleOff);
}

TEST_F (HybridRenderer, AKnobAtZeroDrawsOnlyItsRing)
{
    editor.macroDrive = 0.0f;
    const auto image = paintEditor();

    EXPECT_EQ (pixelAt (image, driveBounds, arcRadius, 1.25f), background);
    EXPECT_EQ (pixelAt (image, driveBounds, ringRadius, 1.5f), knobRing);
}

TEST_F (HybridRenderer, SwitchingViewsLeavesOnlyTheLastViewsRegions)
{
    const auto kindsAfterPaint = [this]
    {
        paintEditor();
        std::set<int> kinds;

        for (const auto& region : editor.hitRegions)
            kinds.insert (region.kind);

        return kinds;
    };

    EXPECT_EQ (kindsAfterPaint(), (std::set<int> { 1, 2, 3, 4, 5 }));

    EXPECT_TRUE (editor.keyPressed ({ 'U', {}, 'u' }));
    EXPECT_EQ (kindsAfterPaint(), (std::set<int> { 0, 1 }));

    EXPECT_TRUE (editor.keyPressed ({ 'U', {}, 'u' }));
    EXPECT_EQ (kindsAfterPaint(), (std::set<int> { 1, 2, 3, 4, 5 }));
}
} // namespace
