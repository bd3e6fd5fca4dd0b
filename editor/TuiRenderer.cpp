#include "editor/KelvarnAudioProcessorEditor.h"

#include "editor/MeterScale.h"
#include "editor/TerminalFont.h"
#include "editor/TerminalPalette.h"

#include <algorithm>

namespace palette = kelvarn::palette;

namespace
{
constexpr float tuiFontHeight = 12.8f;
constexpr int tuiBarWidth = 11;
constexpr int rowHeight = 16;
constexpr int scanLineSpacing = 3;

// Justification flags: left edge at the top of the rectangle, or centred both ways.
const juce::Justification left { juce::Justification::left };
const juce::Justification centred { juce::Justification::centred };

const juce::String tuiTitle { "KELVARN BY SOLVENARI  //  TUI" };
const juce::String helpLine { "Q/W module  A/S param  Z/X value  SPACE bypass  ENTER focus  ESC exit  U mode" };

const std::vector<juce::String> meterBoxRowIds { "meter_input",   "meter_output",    "meter_fet_gr", "meter_opto_gr",
                                                 "meter_vca_gr", "meter_varimu_gr", "meter_tube_gr" };

// The focus view keeps only the controls that shape the dynamics, and the meter.
const juce::StringArray focusKeywords { "enable", "threshold", "attack", "release", "recovery", "meter_" };

void drawScanLines (juce::Graphics& g, int width, int height)
{
    g.setColour (juce::Colour (palette::scanLine));

    for (int y = 0; y < height; y += scanLineSpacing)
        g.fillRect (juce::Rectangle<float> (0.0f, static_cast<float> (y), static_cast<float> (width), 1.0f));
}

void drawMeterSummary (juce::Graphics& g, const KelvarnAudioProcessor::MeterSnapshot& meters, int width)
{
    using kelvarn::meterscale::levelToDisplayDb;

    const auto dbText = [] (float level) { return juce::String (static_cast<double> (levelToDisplayDb (level)), 1); };

    g.setColour (juce::Colour (palette::status));
    g.drawFittedText ("IN " + dbText (meters.inputPeak) + " dBFS  OUT " + dbText (meters.outputPeak) + " dBFS",
                      { 16, 26, width - 32, 18 }, left, 1);
}

/** The empty slot beside TUBE670, waiting for a sixth model. It is not clickable. */
void drawPlaceholderBox (juce::Graphics& g, juce::Rectangle<int> bounds)
{
    const juce::Graphics::ScopedSaveState savedState (g);
    const auto boxWidth = bounds.getWidth();

    g.setColour (juce::Colour (palette::frame));
    g.drawRect (bounds, 1);
    g.drawFittedText ("[ COMING SOON ]", { bounds.getX() + 6, bounds.getY() + 1, boxWidth - 12, 16 }, left, 1);

    g.setColour (juce::Colour (palette::status));
    g.drawFittedText ("new module slot\ncoming soon",
                      { bounds.getX() + 12, bounds.getY() + 24, juce::jmax (0, boxWidth - 24), 82 }, centred, 2);
}

std::vector<juce::String> focusRowIds (const std::vector<juce::String>& rowIds)
{
    std::vector<juce::String> kept;

    for (const auto& id : rowIds)
        if (std::any_of (focusKeywords.begin(), focusKeywords.end(),
                         [&id] (const juce::String& keyword) { return id.contains (keyword); }))
            kept.push_back (id);

    return kept;
}
/** GLOBAL and METERS on top, the five models below in two columns, and the empty slot. */
void drawOverviewLayout (KelvarnAudioProcessorEditor& editor, juce::Graphics& g)
{
    const auto& modules = editor.modules;
    const auto boxWidth = (editor.getWidth() - 38) / 2;
    const auto rightX = boxWidth + 24;
    const auto isSelected = [&editor] (int module) { return editor.selectedModule == module; };

    const auto drawModuleBox = [&] (int module, juce::Rectangle<int> bounds)
    {
        const auto& definition = modules[static_cast<size_t> (module)];
        editor.drawBox (g, bounds, definition.name, definition.rowIds, isSelected (module));
    };

    drawModuleBox (0, { 14, 52, boxWidth, 132 });
    editor.drawBox (g, { rightX, 52, boxWidth, 132 }, "METERS", meterBoxRowIds, false);
    drawModuleBox (1, { 14, 194, boxWidth, 150 });
    drawModuleBox (2, { rightX, 194, boxWidth, 150 });
    drawModuleBox (3, { 14, 354, boxWidth, 150 });
    drawModuleBox (4, { rightX, 354, boxWidth, 150 });
    drawModuleBox (5, { 14, 514, boxWidth, 130 });
    drawPlaceholderBox (g, { rightX, 514, boxWidth, 130 });
}

/** One module alone in a large box, with only its main controls. */
void drawFocusLayout (KelvarnAudioProcessorEditor& editor, juce::Graphics& g)
{
    const auto focus = static_cast<size_t> (editor.focusModule);

    if (focus >= editor.modules.size())
        return;

    const auto& module = editor.modules[focus];
    editor.drawBox (g, { 20, 54, editor.getWidth() - 40, editor.getHeight() - 86 }, "FOCUS: " + module.name,
                    focusRowIds (module.rowIds), true);
}
} // namespace

void KelvarnAudioProcessorEditor::drawTui (juce::Graphics& g)
{
    const auto width = getWidth();
    const auto height = getHeight();

    hitRegions.clear();
    g.fillAll (palette::tuiBackground (colourScheme));

    if (colourScheme == palette::scanLineScheme)
        drawScanLines (g, width, height);

    g.setFont (kelvarn::terminalFont (tuiFontHeight));

    g.setColour (palette::schemeText (colourScheme));
    g.drawFittedText (tuiTitle, { 16, 8, width - 140, 20 }, left, 1);

    drawViewToggleButton (g);
    drawMeterSummary (g, processorRef.getMeterSnapshot(), width);

    if (focusModule > 0)
        drawFocusLayout (*this, g);
    else
        drawOverviewLayout (*this, g);

    g.setColour (juce::Colour (palette::status));
    g.drawFittedText (helpLine, { 16, height - 22, width - 32, 16 }, left, 1);
}

void KelvarnAudioProcessorEditor::drawViewToggleButton (juce::Graphics& g)
{
    const juce::Rectangle<int> button { getWidth() - 90, 8, 72, 20 };

    g.setColour (juce::Colour (palette::frame));
    g.drawRect (button, 1);
    g.drawFittedText ("UI", button, centred, 1);
    hitRegions.push_back ({ HitRegion::viewToggle, button, -1 });
}

void KelvarnAudioProcessorEditor::drawBox (juce::Graphics& g, juce::Rectangle<int> bounds, const juce::String& title,
                                           const std::vector<juce::String>& rowIds, bool selected)
{
    const juce::Graphics::ScopedSaveState savedState (g);
    const auto x = bounds.getX();
    const auto y = bounds.getY();
    const auto w = bounds.getWidth();
    const auto h = bounds.getHeight();

    g.setColour (juce::Colour (selected ? palette::selectedFrame : palette::frame));
    g.drawRect (bounds.toFloat(), selected ? 2.0f : 1.0f);
    // The title sits over the top edge of the frame, so it is drawn before the clip narrows.
    g.drawFittedText ("[ " + title + " ]", { x + 6, y + 1, w - 12, 16 }, left, 1);

    g.reduceClipRegion (x + 2, y + 2, juce::jmax (0, w - 4), juce::jmax (0, h - 4));

    const auto inner = w - 12;
    const auto rowWidth = juce::roundToInt (static_cast<float> (inner) * 0.8f);
    const auto rowX = x + 6 + (inner - rowWidth) / 2;
    auto rowY = y + 18;

    // Rows past the bottom are clipped away but stay clickable: GLOBAL's output meter row
    // is such a row.
    for (const auto& id : rowIds)
    {
        const auto rowIndex = findRowById (id);

        if (rowIndex < 0)
            continue;

        const juce::Rectangle<int> rowBounds { rowX, rowY, rowWidth, rowHeight };
        hitRegions.push_back ({ HitRegion::row, rowBounds, rowIndex });

        if (rowIndex == selectedRow)
        {
            g.setColour (juce::Colour (palette::rowHighlight));
            g.fillRect (rowBounds);
        }

        auto colour = palette::schemeText (colourScheme);
        const auto text = rowToString (rows[static_cast<size_t> (rowIndex)], tuiBarWidth, colour);
        g.setColour (colour);
        g.drawFittedText (text, rowBounds, left, 1);

        rowY += rowHeight;
    }
}
