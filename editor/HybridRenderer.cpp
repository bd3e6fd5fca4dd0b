#include "editor/KelvarnAudioProcessorEditor.h"

#include "editor/TerminalFont.h"
#include "editor/TerminalPalette.h"

#include <array>

namespace palette = kelvarn::palette;
using Editor = KelvarnAudioProcessorEditor;

namespace
{
constexpr float hybridFontHeight = 13.0f;
constexpr int meterBarWidth = 28;

// The hybrid view has its own fixed colours; only the knob arcs and texts follow the scheme.
constexpr juce::uint32 hybridBackground = 0xFF0E1212;
constexpr juce::uint32 hybridTitle = 0xFF66F7B4;
constexpr juce::uint32 knobRing = 0xFF506E56;
constexpr juce::uint32 activeKnobText = 0xFFFFD662;
constexpr juce::uint32 moduleOn = 0xFF53FF76;
constexpr juce::uint32 moduleOff = 0xFF464646;
constexpr juce::uint32 hybridHelp = 0xFF84A094;

constexpr int knobTop = 60;
constexpr int knobHeight = 260;
constexpr float knobCentreY = 190.0f;
constexpr float knobRadiusFactor = 0.36f;

// The arc starts at about seven o'clock and sweeps at most 288 degrees clockwise.
constexpr float arcStartAngle = 1.2f * juce::MathConstants<float>::pi;
constexpr float arcSweepAngle = 1.6f * juce::MathConstants<float>::pi;

constexpr int toggleTop = 438;
constexpr int toggleHeight = 42;
constexpr int toggleGap = 5;

const juce::Justification left { juce::Justification::left };
const juce::Justification centred { juce::Justification::centred };

struct ModuleToggle
{
    const char* name;
    const char* enableId;
};

const std::array<ModuleToggle, 5> moduleToggles { { { "FET76", "fet_enable" },
                                                     { "OPTO2A", "opto_enable" },
                                                     { "VCA160", "vca_enable" },
                                                     { "VARIMU", "varimu_enable" },
                                                     { "TUBE670", "tube_enable" } } };

bool isModuleOn (const KelvarnAudioProcessor& processor, const char* enableId)
{
    const auto* parameter = processor.apvts.getParameter (enableId);
    return parameter != nullptr && parameter->getValue() > 0.5f;
}

juce::Path valueArc (float centreX, float radius, float value)
{
    juce::Path arc;
    arc.addCentredArc (centreX, knobCentreY, radius, radius, 0.0f, arcStartAngle,
                       arcStartAngle + value * arcSweepAngle, true);
    return arc;
}

void drawKnobs (Editor& editor, juce::Graphics& g)
{
    const auto knobWidth = (editor.getWidth() - 80) / 3;
    const juce::Rectangle<int> drive { 40, knobTop, knobWidth, knobHeight };
    const auto comp = drive.translated (knobWidth, 0);
    const auto mix = comp.translated (knobWidth, 0);

    editor.drawKnob (g, drive, "DRIVE", editor.macroDrive, editor.activeKnob == 1);
    editor.drawKnob (g, comp, "COMP", editor.macroComp, editor.activeKnob == 2);
    editor.drawKnob (g, mix, "MIX", editor.macroMix, editor.activeKnob == 3);

    editor.hitRegions.push_back ({ Editor::HitRegion::driveKnob, drive, -1 });
    editor.hitRegions.push_back ({ Editor::HitRegion::compKnob, comp, -1 });
    editor.hitRegions.push_back ({ Editor::HitRegion::mixKnob, mix, -1 });
}

void drawLevelMeters (Editor& editor, juce::Graphics& g)
{
    const auto boxWidth = editor.getWidth() - 160;

    g.setColour (juce::Colour (palette::frame));
    g.drawRect (juce::Rectangle<int> { 80, 340, boxWidth, 56 }, 1);

    // The editor's row table always holds both meter rows.
    const auto drawMeterRow = [&] (const char* meterId, juce::Rectangle<int> bounds)
    {
        const auto& row = editor.rows[static_cast<size_t> (editor.findRowById (meterId))];
        auto colour = palette::schemeText (editor.colourScheme);
        const auto text = editor.rowToString (row, meterBarWidth, colour);
        g.setColour (colour);
        g.drawFittedText (text, bounds, left, 1);
    };

    drawMeterRow ("meter_input", { 80, 340, boxWidth, 26 });
    drawMeterRow ("meter_output", { 80, 366, boxWidth, 30 });
}

void drawModuleToggles (Editor& editor, juce::Graphics& g)
{
    g.setColour (juce::Colour (hybridHelp));
    g.drawFittedText ("MODULES", { 80, 420, editor.getWidth() - 160, 18 }, left, 1);

    const auto toggleWidth = (editor.getWidth() - 180) / 5;
    auto x = 80;

    for (size_t module = 0; module < moduleToggles.size(); ++module)
    {
        const auto on = isModuleOn (editor.processorRef, moduleToggles[module].enableId);
        const juce::Rectangle<int> bounds { x, toggleTop, toggleWidth, toggleHeight };

        g.setColour (juce::Colour (on ? moduleOn : moduleOff));
        g.drawRect (bounds.toFloat(), 2.0f);
        g.drawFittedText (juce::String (moduleToggles[module].name) + (on ? " ON" : " OFF"), bounds, centred, 1);
        editor.hitRegions.push_back ({ Editor::HitRegion::moduleToggle, bounds, static_cast<int> (module) });

        x += toggleWidth + toggleGap;
    }
}
} // namespace

void KelvarnAudioProcessorEditor::drawHybrid (juce::Graphics& g)
{
    const auto width = getWidth();
    const auto height = getHeight();

    hitRegions.clear();
    g.fillAll (juce::Colour (hybridBackground));
    g.setFont (kelvarn::terminalFont (hybridFontHeight));

    g.setColour (juce::Colour (hybridTitle));
    g.drawFittedText ("KELVARN // HYBRID", { 16, 8, width - 120, 20 }, left, 1);
    drawViewToggleButton (g);

    drawKnobs (*this, g);
    drawLevelMeters (*this, g);
    drawModuleToggles (*this, g);

    g.setColour (juce::Colour (hybridHelp));
    g.drawFittedText ("Drag knobs vertically | Click module toggles | Press U to return TUI",
                      { 80, height - 24, width - 160, 16 }, left, 1);
}

void KelvarnAudioProcessorEditor::drawKnob (juce::Graphics& g, juce::Rectangle<int> bounds, const juce::String& label,
                                            float value, bool active)
{
    const auto x = static_cast<float> (bounds.getX());
    const auto w = static_cast<float> (bounds.getWidth());
    const auto centreX = x + w * 0.5f;
    const auto radius = juce::jmin (w, static_cast<float> (knobHeight)) * knobRadiusFactor;
    const auto schemeText = palette::schemeText (colourScheme);

    g.setColour (juce::Colour (knobRing));
    g.drawEllipse ({ centreX - radius, knobCentreY - radius, 2.0f * radius, 2.0f * radius }, 2.0f);

    if (radius - 3.0f > 0.0f)
    {
        g.setColour (schemeText);
        g.strokePath (valueArc (centreX, radius - 3.0f, value),
                      juce::PathStrokeType (3.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));
    }

    // The value is shown unclamped: it is the knob's own state, not a parameter.
    g.setColour (active ? juce::Colour (activeKnobText) : schemeText);
    g.drawFittedText (label, { bounds.getX(), knobTop, bounds.getWidth(), 18 }, centred, 1);
    g.drawFittedText (juce::String (value, 2), { bounds.getX(), 302, bounds.getWidth(), 18 }, centred, 1);
}
