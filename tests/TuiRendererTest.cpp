#include "EditorTestSupport.h"

#include "editor/TerminalFont.h"

namespace
{
using TuiRenderer = EditorFixture;

std::string describe (const KelvarnAudioProcessorEditor::HitRegion& region)
{
    return juce::String::formatted ("kind %d at %d,%d %dx%d index %d", static_cast<int> (region.kind),
                                    region.bounds.getX(), region.bounds.getY(), region.bounds.getWidth(),
                                    region.bounds.getHeight(), region.index)
        .toStdString();
}

std::vector<std::string> describe (const std::vector<KelvarnAudioProcessorEditor::HitRegion>& regions)
{
    std::vector<std::string> descriptions;

    for (const auto& region : regions)
        descriptions.push_back (describe (region));

    return descriptions;
}

/** The view toggle, then one region per listed row, boxes top to bottom and left to right. */
std::vector<std::string> expectedRegions (const std::vector<std::pair<juce::Point<int>, std::vector<int>>>& boxes,
                                          int rowWidth)
{
    std::vector<std::string> expected { describe ({ KelvarnAudioProcessorEditor::HitRegion::viewToggle, { 1030, 8, 72, 20 }, -1 }) };

    for (const auto& [firstRow, rowIndices] : boxes)
        for (size_t i = 0; i < rowIndices.size(); ++i)
            expected.push_back (describe ({ KelvarnAudioProcessorEditor::HitRegion::row,
                                            { firstRow.x, firstRow.y + 16 * static_cast<int> (i), rowWidth, 16 },
                                            rowIndices[i] }));

    return expected;
}

TEST_F (TuiRenderer, OverviewRecordsTheToggleThenEveryListedRowInDrawingOrder)
{
    paintEditor();

    const auto expected = expectedRegions ({ { { 73, 70 }, { 0, 1, 2, 3, 4, 5, 41, 42 } },
                                             { { 624, 70 }, { 41, 42, 13, 20, 26, 33, 40 } },
                                             { { 73, 212 }, { 6, 7, 8, 9, 10, 11, 12, 13 } },
                                             { { 624, 212 }, { 14, 15, 16, 17, 18, 19, 20 } },
                                             { { 73, 372 }, { 21, 22, 23, 24, 25, 26 } },
                                             { { 624, 372 }, { 27, 28, 29, 30, 31, 32, 33 } },
                                             { { 73, 532 }, { 34, 35, 36, 37, 38, 39, 40 } } },
                                           423);
    EXPECT_EQ (describe (editor.hitRegions), expected);

    // GLOBAL's output meter row lies below its box's clip, yet stays clickable.
    ASSERT_GE (editor.hitRegions.size(), 9u);
    EXPECT_EQ (editor.hitRegions[8].bounds, juce::Rectangle<int> (73, 182, 423, 16));
}

TEST_F (TuiRenderer, EveryPaintReplacesTheRegions)
{
    paintEditor();
    const auto first = describe (editor.hitRegions);
    paintEditor();
    EXPECT_EQ (describe (editor.hitRegions), first);
}

TEST_F (TuiRenderer, FocusLayoutListsOnlyTheModulesMainControls)
{
    const std::pair<int, std::vector<int>> cases[] {
        { 1, { 6, 9, 10, 11, 13 } }, // FET76: enable, attack, release, threshold, meter
        { 2, { 14, 20 } },           // OPTO2A: enable, meter
        { 3, { 21, 22, 26 } },
        { 4, { 27, 28, 29, 30, 33 } },
        { 5, { 34, 35, 40 } },
    };

    for (const auto& [module, rowIndices] : cases)
    {
        editor.focusModule = module;
        paintEditor();
        EXPECT_EQ (describe (editor.hitRegions), expectedRegions ({ { { 133, 72 }, rowIndices } }, 854)) << module;
    }
}

TEST_F (TuiRenderer, NoFocusOrGlobalFocusDrawsTheOverview)
{
    for (const auto focus : { -1, 0 })
    {
        editor.focusModule = focus;
        paintEditor();
        EXPECT_EQ (editor.hitRegions.size(), 51u) << focus;
    }
}

//==============================================================================
juce::Colour backgroundOf (int scheme)
{
    return juce::Colour (scheme == 1 ? 0xFF110C05 : 0xFF0A0F0C);
}

bool near (juce::Colour actual, juce::Colour expected, int tolerance = 1)
{
    return std::abs (actual.getRed() - expected.getRed()) <= tolerance
           && std::abs (actual.getGreen() - expected.getGreen()) <= tolerance
           && std::abs (actual.getBlue() - expected.getBlue()) <= tolerance
           && actual.getAlpha() == expected.getAlpha();
}

TEST_F (TuiRenderer, EachSchemeFillsItsBackgroundAndOnlySchemeTwoDrawsScanLines)
{
    const auto scanLine = juce::Colour (0x0A78FFAA);

    for (const auto scheme : { 0, 1, 2 })
    {
        editor.colourScheme = scheme;
        const auto image = paintEditor();
        const auto background = backgroundOf (scheme);

        // The column at x = 5 lies left of every box and text.
        for (int y = 0; y < image.getHeight(); ++y)
        {
            const auto expected = scheme == 2 && y % 3 == 0 ? background.overlaidWith (scanLine) : background;
            ASSERT_TRUE (near (image.getPixelAt (5, y), expected))
                << "scheme " << scheme << " y " << y << ": " << image.getPixelAt (5, y).toDisplayString (true);
        }
    }

    EXPECT_NE (backgroundOf (2).overlaidWith (scanLine), backgroundOf (2));
}

TEST_F (TuiRenderer, SelectedRowIsHighlightedInGreenInEveryScheme)
{
    const auto highlight = juce::Colour (0x2353FF76);

    for (const auto scheme : { 0, 1, 2 })
    {
        editor.colourScheme = scheme;
        const auto image = paintEditor();

        // Right of the row's text: FET76 ENABLE (row 6, selected) above FET76 INPUT (row 7).
        EXPECT_TRUE (near (image.getPixelAt (480, 220), backgroundOf (scheme).overlaidWith (highlight)))
            << scheme << ": " << image.getPixelAt (480, 220).toDisplayString (true);
        EXPECT_TRUE (near (image.getPixelAt (480, 236), backgroundOf (scheme))) << scheme;
    }
}

TEST_F (TuiRenderer, SelectedBoxHasAThickerBrighterFrame)
{
    const auto selectedFrame = juce::Colour (0xFFFFD662);
    const auto frame = juce::Colour (0xFFFFCE71);
    const auto background = backgroundOf (0);

    auto image = paintEditor(); // FET76 selected, OPTO2A not
    EXPECT_TRUE (near (image.getPixelAt (14, 260), selectedFrame));
    EXPECT_TRUE (near (image.getPixelAt (15, 260), selectedFrame));
    EXPECT_TRUE (near (image.getPixelAt (16, 260), background));
    EXPECT_TRUE (near (image.getPixelAt (565, 260), frame));
    EXPECT_TRUE (near (image.getPixelAt (566, 260), background));
    EXPECT_TRUE (near (image.getPixelAt (1105, 260), frame)); // right edge of OPTO2A
    EXPECT_TRUE (near (image.getPixelAt (565, 643), frame));  // the placeholder's bottom edge

    editor.selectModule (2);
    image = paintEditor();
    EXPECT_TRUE (near (image.getPixelAt (14, 260), frame));
    EXPECT_TRUE (near (image.getPixelAt (15, 260), background));
    EXPECT_TRUE (near (image.getPixelAt (565, 260), selectedFrame));
}

TEST_F (TuiRenderer, TextIsDrawnInAMonospaceTypeface)
{
    const juce::Font font (kelvarn::terminalFont (12.8f));
    const auto widthOf = [&font] (const juce::String& text) { return juce::GlyphArrangement::getStringWidth (font, text); };

    EXPECT_GT (widthOf ("iiiiiiiiii"), 0.0f);
    EXPECT_FLOAT_EQ (widthOf ("iiiiiiiiii"), widthOf ("WWWWWWWWWW"));
    EXPECT_FLOAT_EQ (widthOf ("#|. [ ]"), widthOf ("ABCDEFG"));
    EXPECT_FLOAT_EQ (font.getHeight(), 12.8f);

    if (! juce::Font::findAllTypefaceNames().contains ("Consolas"))
    {
        EXPECT_EQ (font.getTypefacePtr()->getName(), "DejaVu Sans Mono");
    }
}

TEST_F (TuiRenderer, TitleAndSummaryAreDrawnInTheirColours)
{
    processor.meters.inputPeak.store (0.25f);
    const auto image = paintEditor();

    const auto hasPixelOf = [&image] (juce::Rectangle<int> area, juce::Colour colour)
    {
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (image.getPixelAt (x, y) == colour)
                    return true;

        return false;
    };

    EXPECT_TRUE (hasPixelOf ({ 16, 8, 200, 20 }, juce::Colour (0xFF53FF76)));   // title
    EXPECT_TRUE (hasPixelOf ({ 1030, 8, 72, 20 }, juce::Colour (0xFFFFCE71)));  // UI button
    EXPECT_TRUE (hasPixelOf ({ 16, 26, 300, 18 }, juce::Colour (0xFFBAC7B4)));  // meter summary
    EXPECT_TRUE (hasPixelOf ({ 16, 698, 600, 16 }, juce::Colour (0xFFBAC7B4))); // help line
}
} // namespace
