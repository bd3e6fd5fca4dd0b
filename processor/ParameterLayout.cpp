#include "processor/KelvarnAudioProcessor.h"

namespace
{
using Parameters = std::vector<std::unique_ptr<juce::RangedAudioParameter>>;

// 0.1 as the nearest single-precision value: the step of every dB parameter.
constexpr float tenthStep = 0.1f;

void addFloat (Parameters& params, const char* id, const char* name,
               float start, float end, float interval, float defaultValue)
{
    params.push_back (std::make_unique<juce::AudioParameterFloat> (
        juce::ParameterID { id, 0 }, name,
        juce::NormalisableRange<float> (start, end, interval, 1.0f), defaultValue));
}

void addBool (Parameters& params, const char* id, const char* name, bool defaultValue)
{
    params.push_back (std::make_unique<juce::AudioParameterBool> (
        juce::ParameterID { id, 0 }, name, defaultValue));
}

void addChoice (Parameters& params, const char* id, const char* name,
                const juce::StringArray& choices, int defaultIndex)
{
    params.push_back (std::make_unique<juce::AudioParameterChoice> (
        juce::ParameterID { id, 0 }, name, choices, defaultIndex));
}

void addGlobal (Parameters& p)
{
    addFloat (p, "global_drywet", "Global Dry/Wet", 0.0f, 1.0f, 0.0f, 0.5f);
    addFloat (p, "global_output", "Global Output", -24.0f, 24.0f, tenthStep, 0.0f);
    addBool (p, "global_safety", "Safety", true);
    addChoice (p, "global_os", "Oversampling", { "1x", "2x", "4x", "8x" }, 0);
}

void addFet (Parameters& p)
{
    addBool (p, "fet_enable", "FET Enable", false);
    addFloat (p, "fet_input", "FET Input", -24.0f, 24.0f, tenthStep, 0.0f);
    addFloat (p, "fet_output", "FET Output", -24.0f, 24.0f, tenthStep, 0.0f);
    addFloat (p, "fet_attack_us", "FET Attack", 20.0f, 800.0f, 1.0f, 120.0f);
    addFloat (p, "fet_release_ms", "FET Release", 50.0f, 1100.0f, 1.0f, 220.0f);
    addFloat (p, "fet_threshold", "FET Threshold", -60.0f, 0.0f, tenthStep, -24.0f);
    addFloat (p, "fet_sat", "FET Saturation", 0.0f, 1.0f, 0.0f, 0.0f);
}

void addOpto (Parameters& p)
{
    addBool (p, "opto_enable", "Opto Enable", false);
    addFloat (p, "opto_peak_reduction", "Opto Peak Reduction", 0.0f, 100.0f, tenthStep, 42.0f);
    addChoice (p, "opto_mode", "Opto Mode", { "COMP", "LIMIT" }, 0);
    addFloat (p, "opto_makeup", "Opto Makeup", -24.0f, 24.0f, tenthStep, 0.0f);
    addFloat (p, "opto_hf_emphasis", "Opto HF Emphasis", 0.0f, 1.0f, 0.0f, 0.0f);
    addFloat (p, "opto_sat", "Opto Saturation", 0.0f, 1.0f, 0.0f, 0.0f);
}

void addVca (Parameters& p)
{
    addBool (p, "vca_enable", "VCA Enable", false);
    addFloat (p, "vca_threshold", "VCA Threshold", -60.0f, 0.0f, tenthStep, -20.0f);
    addBool (p, "vca_overeasy", "VCA OverEasy", true);
    addFloat (p, "vca_makeup", "VCA Makeup", -24.0f, 24.0f, tenthStep, 0.0f);
    addFloat (p, "vca_sat", "VCA Saturation", 0.0f, 1.0f, 0.0f, 0.0f);
}

void addVariMu (Parameters& p)
{
    addBool (p, "varimu_enable", "VariMu Enable", false);
    addFloat (p, "varimu_threshold", "VariMu Threshold", -60.0f, 0.0f, tenthStep, -22.0f);
    addFloat (p, "varimu_attack", "VariMu Attack", 15.0f, 90.0f, 1.0f, 45.0f);
    addChoice (p, "varimu_recovery", "VariMu Recovery", { "0.2s", "0.4s", "0.6s", "4s", "8s" }, 1);
    addFloat (p, "varimu_makeup", "VariMu Makeup", -24.0f, 24.0f, tenthStep, 0.0f);
    addFloat (p, "varimu_sat", "VariMu Saturation", 0.0f, 1.0f, 0.0f, 0.0f);
}

void addTube (Parameters& p)
{
    addBool (p, "tube_enable", "Tube670 Enable", false);
    addFloat (p, "tube_threshold", "Tube670 Threshold", -60.0f, 0.0f, tenthStep, -18.0f);
    addChoice (p, "tube_timeconstant", "Tube670 Time Constant", { "1", "2", "3", "4", "5", "6" }, 1);
    addChoice (p, "tube_mode", "Tube670 Mode", { "LR", "MS" }, 0);
    addFloat (p, "tube_makeup", "Tube670 Makeup", -24.0f, 24.0f, tenthStep, 0.0f);
    addFloat (p, "tube_sat", "Tube670 Saturation", 0.0f, 1.0f, 0.0f, 0.0f);
}
} // namespace

juce::AudioProcessorValueTreeState::ParameterLayout KelvarnAudioProcessor::createParameterLayout()
{
    Parameters params;
    addGlobal (params);
    addFet (params);
    addOpto (params);
    addVca (params);
    addVariMu (params);
    addTube (params);
    return { params.begin(), params.end() };
}
