#include "editor/KelvarnAudioProcessorEditor.h"

#include <array>
#include <vector>

namespace
{
/** How a recipe value follows the tweak's intensity k. */
enum class Scaling
{
    fixed,     // written as it stands
    timesK,    // stronger with a harder tweak
    dividedByK // a time that gets shorter with a harder tweak
};

struct PresetWrite
{
    const char* paramId;
    float value;
    Scaling scaling;
};

struct Tweak
{
    float intensity;
    float dryWet; // 0.55 x intensity, kept as the exact constants the presets were voiced with
};

const std::array<Tweak, 3> tweaks { { { 0.7f, 0.385f }, { 1.0f, 0.55f }, { 1.3f, 0.715f } } };

const std::array<const char*, 5> enableIds { "fet_enable", "opto_enable", "vca_enable", "varimu_enable",
                                             "tube_enable" };

using Recipe = std::vector<PresetWrite>;

const Recipe& recipe (int presetIndex)
{
    static const std::array<Recipe, 4> recipes {
        Recipe { // VOICE RADIO
                 { "opto_enable", 1.0f, Scaling::fixed },
                 { "vca_enable", 1.0f, Scaling::fixed },
                 { "opto_peak_reduction", 55.0f, Scaling::timesK },
                 { "vca_threshold", -22.0f, Scaling::timesK },
                 { "opto_sat", 0.12f, Scaling::timesK },
                 { "vca_sat", 0.08f, Scaling::timesK } },
        Recipe { // LOFI CRUSH
                 { "fet_enable", 1.0f, Scaling::fixed },
                 { "tube_enable", 1.0f, Scaling::fixed },
                 { "fet_threshold", -30.0f, Scaling::timesK },
                 { "tube_threshold", -26.0f, Scaling::timesK },
                 { "fet_sat", 0.65f, Scaling::timesK },
                 { "tube_sat", 0.75f, Scaling::timesK } },
        Recipe { // DRUM SMASH
                 { "fet_enable", 1.0f, Scaling::fixed },
                 { "vca_enable", 1.0f, Scaling::fixed },
                 { "tube_enable", 1.0f, Scaling::fixed },
                 { "fet_attack_us", 80.0f, Scaling::fixed },
                 { "fet_release_ms", 110.0f, Scaling::fixed },
                 { "vca_threshold", -26.0f, Scaling::timesK },
                 { "tube_threshold", -20.0f, Scaling::timesK },
                 { "fet_sat", 0.25f, Scaling::timesK },
                 { "tube_sat", 0.2f, Scaling::timesK } },
        Recipe { // WARM TAPE
                 { "varimu_enable", 1.0f, Scaling::fixed },
                 { "tube_enable", 1.0f, Scaling::fixed },
                 { "varimu_threshold", -20.0f, Scaling::timesK },
                 { "varimu_attack", 60.0f, Scaling::dividedByK },
                 { "tube_threshold", -18.0f, Scaling::timesK },
                 { "varimu_sat", 0.18f, Scaling::timesK },
                 { "tube_sat", 0.22f, Scaling::timesK } },
    };

    // Out-of-range indices fall to the last entry, as the stepping clamps there anyway.
    return recipes[static_cast<size_t> (presetIndex >= 0 && presetIndex <= 2 ? presetIndex : 3)];
}

const Tweak& tweak (int tweakIndex)
{
    return tweaks[static_cast<size_t> (tweakIndex == 0 || tweakIndex == 1 ? tweakIndex : 2)];
}

float scaled (const PresetWrite& write, float k)
{
    switch (write.scaling)
    {
        case Scaling::timesK: return write.value * k;
        case Scaling::dividedByK: return write.value / k;
        case Scaling::fixed: break;
    }

    return write.value;
}
} // namespace

const juce::StringArray& KelvarnAudioProcessorEditor::presetNames()
{
    static const juce::StringArray names { "VOICE RADIO", "LOFI CRUSH", "DRUM SMASH", "WARM TAPE" };
    return names;
}

const juce::StringArray& KelvarnAudioProcessorEditor::tweakNames()
{
    static const juce::StringArray names { "SOFT", "HARD", "AGGRESSIVE" };
    return names;
}

// A preset starts from all models off, so that only the ones it uses are heard; everything
// it does not name keeps the user's setting.
void KelvarnAudioProcessorEditor::applyMacroPreset()
{
    const auto& chosenTweak = tweak (tweakIndex);

    setParamValue ("global_drywet", chosenTweak.dryWet);

    for (const auto* id : enableIds)
        setParamValue (id, 0.0f);

    for (const auto& write : recipe (presetIndex))
        setParamValue (write.paramId, scaled (write, chosenTweak.intensity));

    updateHybridFromParams();
}
