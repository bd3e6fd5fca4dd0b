#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

namespace kelvarn
{
/** Tells the host about a new latency without touching it from the audio thread.

    Reporting a latency goes through the processor's listeners, which take a lock and, in
    a plug-in wrapper, post a message to restart the component. The audio thread therefore
    only leaves the new value here; a timer on the message thread passes it on.
*/
class LatencyReporter : private juce::Timer
{
public:
    explicit LatencyReporter (juce::AudioProcessor& processorToReportFor)
        : processor (processorToReportFor)
    {
        startTimer (pollIntervalMs);
    }

    /** From the audio thread: lock-free, reported at the next timer tick. */
    void post (int latencySamples) noexcept { pending.store (latencySamples); }

    /** From the message thread: reports at once and drops anything still pending. */
    void reportNow (int latencySamples)
    {
        pending.store (nothingPending);
        processor.setLatencySamples (latencySamples);
    }

private:
    void timerCallback() override
    {
        if (const auto latencySamples = pending.exchange (nothingPending); latencySamples != nothingPending)
            processor.setLatencySamples (latencySamples);
    }

    static constexpr int nothingPending = -1;
    static constexpr int pollIntervalMs = 20;

    juce::AudioProcessor& processor;
    std::atomic<int> pending { nothingPending };
};
} // namespace kelvarn
