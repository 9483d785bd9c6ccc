#pragma once

#include <juce_events/juce_events.h>

#include <array>
#include <atomic>

namespace tarn
{

/** Development traces from the audio thread, written to the log from the message thread.

    The log appends to a file under a process-wide mutex; the audio thread must do neither.
    It pushes short texts into a fixed ring instead, and a timer on the message thread
    drains them into juce::Logger::writeToLog. A full ring drops the text and counts it.
*/
class RealtimeLogQueue : private juce::Timer
{
public:
    static constexpr int capacity = 128;
    static constexpr int maxTextLength = 119;

    /** Starts draining every drainIntervalMs (0: only by calling drain()). [message thread] */
    explicit RealtimeLogQueue (int drainIntervalMs = 250);

    /** Drains what is left. [message thread] */
    ~RealtimeLogQueue() override;

    /** Queues text, cut to maxTextLength bytes. One producer thread at a time: the audio
        thread. Never allocates or blocks. [audio thread] */
    bool push (const char* text) noexcept;

    /** Queues text followed by a number, "Pinging internal parameter: 0.004". [audio thread] */
    bool push (const char* text, double value) noexcept;

    /** Writes every queued text to the current logger, then a note of how many were
        dropped, if any. [message thread] */
    void drain();

    int getNumQueued() const noexcept { return fifo.getNumReady(); }

private:
    using Text = std::array<char, maxTextLength + 1>;

    juce::AbstractFifo fifo { capacity };
    std::array<Text, capacity> texts {};
    std::atomic<int> dropped { 0 };

    bool pushText (const char* text, const char* suffix, int suffixLength) noexcept;
    void timerCallback() override { drain(); }

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RealtimeLogQueue)
};

} // namespace tarn
