#include "editor/KelvarnAudioProcessorEditor.h"

#include "editor/MeterScale.h"

namespace
{
/** A held value follows every rise at once and otherwise falls linearly, never below the
    current value and never below 0. */
float followWithDecay (float held, float current)
{
    const auto decayed = juce::jmax (0.0f, held - kelvarn::meterscale::holdDecayPerTick);
    return juce::jmax (decayed, current);
}
} // namespace

// Every change made by keys, mouse and presets also reaches the screen through this tick,
// so it repaints unconditionally.
void KelvarnAudioProcessorEditor::timerCallback()
{
    updatePeakHold();
    repaint();
}

void KelvarnAudioProcessorEditor::updatePeakHold()
{
    using kelvarn::meterscale::gainReductionFraction;

    const auto meters = processorRef.getMeterSnapshot();
    const std::array<float, numGainReductionMeters> gainReductionsDb {
        meters.grFet, meters.grOpto, meters.grVca, meters.grVariMu, meters.grTube
    };

    holdIn = followWithDecay (holdIn, meters.inputPeak);
    holdOut = followWithDecay (holdOut, meters.outputPeak);

    for (size_t i = 0; i < holdGr.size(); ++i)
        holdGr[i] = followWithDecay (holdGr[i], gainReductionFraction (gainReductionsDb[i]));
}
