#pragma once

#include <juce_events/juce_events.h>

#include <atomic>
#include <functional>

/** A ping of the hidden `internal` parameter asked for on the audio thread (a phrase
    switch) and made on the message thread: telling the host about a parameter change
    calls into the host and the parameter tree's listeners, which a block must never wait
    on. Several requests before the timer fires make one ping. */
class MessageThreadPing : private juce::Timer
{
public:
    /** [message thread] */
    MessageThreadPing (std::function<void()> pingToMake, int intervalMs = 50)
        : ping (std::move (pingToMake))
    {
        startTimer (intervalMs);
    }

    ~MessageThreadPing() override { stopTimer(); }

    /** [any thread; never blocks] */
    void request() noexcept { requested.store (true, std::memory_order_release); }

    /** Makes a requested ping now. [message thread] */
    void flush()
    {
        if (requested.exchange (false, std::memory_order_acq_rel))
            ping();
    }

    bool isPending() const noexcept { return requested.load (std::memory_order_acquire); }

private:
    void timerCallback() override { flush(); }

    std::function<void()> ping;
    std::atomic<bool> requested { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MessageThreadPing)
};
