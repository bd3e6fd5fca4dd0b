#include "editor/KelvarnAudioProcessorEditor.h"

#include "editor/MeterScale.h"
#include "editor/TerminalPalette.h"

#include <cmath>
#include <iterator>

// Columns line up only because the font is monospace: every field is padded with blanks
// to a fixed character count and never cut, so an over-long label shifts its own line.

namespace
{
constexpr int labelWidth = 10;
constexpr int valueWidth = 10;
constexpr int meterLabelWidth = 8;
constexpr int meterNumberWidth = 6;
constexpr int saturationWordWidth = 7;

/** Rounds half-way cases to the even neighbour (0.5 x 11 = 5.5 gives 6). */
int roundHalfToEven (float x)
{
    return static_cast<int> (std::nearbyint (x));
}

/** Clamps to 0..1; anything not a number counts as 0. */
float unitClamp (float x)
{
    if (! (x > 0.0f))
        return 0.0f;

    return x < 1.0f ? x : 1.0f;
}

juce::String saturationWord (float normalised)
{
    if (normalised < 0.3f) return "CLEAN";
    if (normalised < 0.6f) return "WARM";
    if (normalised < 0.8f) return "GRIT";
    return "DESTROY";
}

juce::String selectorLine (const juce::String& word, const juce::StringArray& names, int index)
{
    return word.paddedRight (' ', labelWidth) + "<" + names[index] + ">";
}

struct GainReductionMeter
{
    const char* id;
    const char* label;
    float KelvarnAudioProcessor::MeterSnapshot::*reductionDb;
};

constexpr GainReductionMeter gainReductionMeters[] {
    { "meter_fet_gr", "GR FET", &KelvarnAudioProcessor::MeterSnapshot::grFet },
    { "meter_opto_gr", "GR OPTO", &KelvarnAudioProcessor::MeterSnapshot::grOpto },
    { "meter_vca_gr", "GR VCA", &KelvarnAudioProcessor::MeterSnapshot::grVca },
    { "meter_varimu_gr", "GR VMU", &KelvarnAudioProcessor::MeterSnapshot::grVariMu },
    { "meter_tube_gr", "GR 670", &KelvarnAudioProcessor::MeterSnapshot::grTube },
};

juce::Colour levelColour (float db, juce::Colour schemeText)
{
    if (db > -3.0f) return juce::Colour (kelvarn::palette::meterHot);
    if (db > -12.0f) return juce::Colour (kelvarn::palette::meterWarm);
    return schemeText;
}

juce::String meterNumber (float value, const juce::String& unit)
{
    return juce::String (static_cast<double> (value), 1).paddedLeft (' ', meterNumberWidth) + unit;
}

juce::String valueText (const KelvarnAudioProcessorEditor::Row& row, juce::RangedAudioParameter& parameter)
{
    using Row = KelvarnAudioProcessorEditor::Row;

    const auto normalised = parameter.getValue();

    switch (row.kind)
    {
        case Row::continuous:
        {
            const auto plain = static_cast<double> (parameter.convertFrom0to1 (normalised));

            if (row.paramId == "global_drywet")
                return juce::String (plain, 2);

            if (row.paramId.contains ("attack") || row.paramId.contains ("release")
                || row.paramId.contains ("timeconstant"))
                return juce::String (plain, 0); // general format: 120, not 120.0

            return juce::String (plain, 1);
        }

        case Row::toggle:
            return normalised > 0.5f ? "[ON ]" : "[OFF]";

        case Row::choice:
            if (auto* choice = dynamic_cast<juce::AudioParameterChoice*> (&parameter))
                return "<" + choice->getCurrentChoiceName() + ">";

            return parameter.getCurrentValueAsText();

        case Row::meter:
        case Row::preset:
        case Row::tweak:
            break;
    }

    return parameter.getCurrentValueAsText();
}
} // namespace

juce::String KelvarnAudioProcessorEditor::makeBar (float value, float marker, int width, bool reversed) const
{
    const auto filled = roundHalfToEven (unitClamp (value) * static_cast<float> (width));

    auto markerCell = 0;

    if (marker > 1.0f)
        markerCell = width; // beyond the last cell: no marker
    else if (marker >= 0.0f)
        markerCell = roundHalfToEven (marker * static_cast<float> (width));

    juce::String bar;
    bar.preallocateBytes (static_cast<size_t> (juce::jmax (0, width)) + 1);

    for (int n = 0; n < width; ++n)
    {
        const auto cell = reversed ? width - 1 - n : n;
        bar << (cell < filled ? '#' : cell == markerCell ? '|' : '.');
    }

    return bar;
}

juce::String KelvarnAudioProcessorEditor::rowToString (const Row& row, int barWidth, juce::Colour& colour) const
{
    const auto schemeText = kelvarn::palette::schemeText (colourScheme);
    colour = schemeText;

    if (row.kind == Row::preset)
        return selectorLine ("PRESET", presetNames(), presetIndex);

    if (row.kind == Row::tweak)
        return selectorLine ("TWEAK", tweakNames(), tweakIndex);

    if (row.kind == Row::meter)
    {
        const auto meters = processorRef.getMeterSnapshot();
        const auto isInput = row.paramId == "meter_input";

        if (isInput || row.paramId == "meter_output")
        {
            const auto level = isInput ? meters.inputPeak : meters.outputPeak;
            const auto hold = isInput ? holdIn : holdOut;
            const auto db = kelvarn::meterscale::levelToDisplayDb (level);
            const auto overload = ! isInput && db > -3.0f;

            colour = levelColour (db, schemeText);

            return row.label.paddedRight (' ', meterLabelWidth) + " [" + makeBar (level, hold, barWidth, false)
                   + "] " + meterNumber (db, " dBFS") + (overload ? " !" : "");
        }

        for (size_t i = 0; i < std::size (gainReductionMeters); ++i)
        {
            const auto& meter = gainReductionMeters[i];

            if (row.paramId == meter.id)
            {
                const auto fraction = kelvarn::meterscale::gainReductionFraction (meters.*meter.reductionDb);
                const auto shownDb = fraction * kelvarn::meterscale::gainReductionFullScaleDb;

                return juce::String (meter.label).paddedRight (' ', meterLabelWidth) + " "
                       + meterNumber (shownDb, " dB") + " [" + makeBar (fraction, holdGr[i], barWidth, true) + "]";
            }
        }

        // A meter this editor does not know: an empty gauge under its own label.
        return row.label.paddedRight (' ', meterLabelWidth) + " "
               + meterNumber (0.0f, row.paramId.contains ("gr") ? " dB" : " dBFS") + " ["
               + makeBar (0.0f, holdGr[0], barWidth, true) + "]";
    }

    auto* parameter = processorRef.apvts.getParameter (row.paramId);

    if (parameter == nullptr)
        return row.label + " (missing)";

    const auto normalised = parameter->getValue();
    const auto gauge = " [" + makeBar (normalised, normalised, barWidth, false) + "]";
    const auto label = row.label.paddedRight (' ', labelWidth) + " ";

    if (row.paramId.endsWith ("_sat"))
        return label + saturationWord (normalised).paddedRight (' ', saturationWordWidth) + gauge;

    return label + valueText (row, *parameter).paddedLeft (' ', valueWidth) + gauge;
}
