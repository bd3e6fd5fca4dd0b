#include "processor/ResolvedParameters.h"

namespace kelvarn
{
ParameterValue::ParameterValue (const juce::AudioProcessorValueTreeState& tree, const char* parameterId)
    : value (tree.getRawParameterValue (parameterId))
{
    jassert (value != nullptr);
}

ResolvedParameters::ResolvedParameters (const juce::AudioProcessorValueTreeState& tree)
    : globalDryWet (tree, "global_drywet"),
      globalOutput (tree, "global_output"),
      globalSafety (tree, "global_safety"),
      globalOs (tree, "global_os"),
      fetEnable (tree, "fet_enable"),
      fetInput (tree, "fet_input"),
      fetOutput (tree, "fet_output"),
      fetAttackUs (tree, "fet_attack_us"),
      fetReleaseMs (tree, "fet_release_ms"),
      fetThreshold (tree, "fet_threshold"),
      fetSat (tree, "fet_sat"),
      optoEnable (tree, "opto_enable"),
      optoPeakReduction (tree, "opto_peak_reduction"),
      optoMode (tree, "opto_mode"),
      optoMakeup (tree, "opto_makeup"),
      optoHfEmphasis (tree, "opto_hf_emphasis"),
      optoSat (tree, "opto_sat"),
      vcaEnable (tree, "vca_enable"),
      vcaThreshold (tree, "vca_threshold"),
      vcaOverEasy (tree, "vca_overeasy"),
      vcaMakeup (tree, "vca_makeup"),
      vcaSat (tree, "vca_sat"),
      varimuEnable (tree, "varimu_enable"),
      varimuThreshold (tree, "varimu_threshold"),
      varimuAttack (tree, "varimu_attack"),
      varimuRecovery (tree, "varimu_recovery"),
      varimuMakeup (tree, "varimu_makeup"),
      varimuSat (tree, "varimu_sat"),
      tubeEnable (tree, "tube_enable"),
      tubeThreshold (tree, "tube_threshold"),
      tubeTimeConstant (tree, "tube_timeconstant"),
      tubeMode (tree, "tube_mode"),
      tubeMakeup (tree, "tube_makeup"),
      tubeSat (tree, "tube_sat")
{
}
} // namespace kelvarn
