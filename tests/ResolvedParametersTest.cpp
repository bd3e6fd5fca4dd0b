// The signal path's resolved parameter values read exactly what getFloat reads by ID.
#include "tests/SignalPathTestSupport.h"

#include <gtest/gtest.h>

namespace
{
using namespace kelvarn::testing;
using Resolved = kelvarn::ResolvedParameters;

const struct { const char* id; kelvarn::ParameterValue Resolved::*value; } table[] {
    { "global_drywet", &Resolved::globalDryWet }, { "global_output", &Resolved::globalOutput },
    { "global_safety", &Resolved::globalSafety }, { "global_os", &Resolved::globalOs },
    { "fet_enable", &Resolved::fetEnable }, { "fet_input", &Resolved::fetInput },
    { "fet_output", &Resolved::fetOutput }, { "fet_attack_us", &Resolved::fetAttackUs },
    { "fet_release_ms", &Resolved::fetReleaseMs }, { "fet_threshold", &Resolved::fetThreshold },
    { "fet_sat", &Resolved::fetSat }, { "opto_enable", &Resolved::optoEnable },
    { "opto_peak_reduction", &Resolved::optoPeakReduction }, { "opto_mode", &Resolved::optoMode },
    { "opto_makeup", &Resolved::optoMakeup }, { "opto_hf_emphasis", &Resolved::optoHfEmphasis },
    { "opto_sat", &Resolved::optoSat }, { "vca_enable", &Resolved::vcaEnable },
    { "vca_threshold", &Resolved::vcaThreshold }, { "vca_overeasy", &Resolved::vcaOverEasy },
    { "vca_makeup", &Resolved::vcaMakeup }, { "vca_sat", &Resolved::vcaSat },
    { "varimu_enable", &Resolved::varimuEnable }, { "varimu_threshold", &Resolved::varimuThreshold },
    { "varimu_attack", &Resolved::varimuAttack }, { "varimu_recovery", &Resolved::varimuRecovery },
    { "varimu_makeup", &Resolved::varimuMakeup }, { "varimu_sat", &Resolved::varimuSat },
    { "tube_enable", &Resolved::tubeEnable }, { "tube_threshold", &Resolved::tubeThreshold },
    { "tube_timeconstant", &Resolved::tubeTimeConstant }, { "tube_mode", &Resolved::tubeMode },
    { "tube_makeup", &Resolved::tubeMakeup }, { "tube_sat", &Resolved::tubeSat },
};

TEST (ResolvedParameters, ReadWhatGetFloatReadsForEveryParameter)
{
    Processor processor;
    const Resolved resolved { processor.apvts };
    juce::Random random (7);

    for (int round = 0; round < 3; ++round)
    {
        for (const auto& entry : table)
            processor.apvts.getParameter (entry.id)->setValueNotifyingHost (random.nextFloat());

        for (const auto& entry : table)
            EXPECT_EQ ((resolved.*entry.value).get(), processor.getFloat (entry.id)) << entry.id;
    }

    // Every parameter the processor has is one the signal path resolves.
    EXPECT_EQ (processor.getParameters().size(), (int) std::size (table));
}
} // namespace
