#pragma once

#include <juce_events/juce_events.h>

#include <atomic>
#include <functional>

/** What the audio thread leaves for the message thread, done there on a timer: the upkeep
    (freeing the row list it let go of, passing on the slot changes and loop ends it left
    notice of), then a ping of the hidden `internal` parameter if one was asked for.

    Telling the host about a parameter change calls into the host and the parameter tree's
    listeners, which a block must never wait on. Several requests before the timer fires
    make one ping.
*/
class MessageThreadFollowUp : private juce::Timer
{
public:
    /** [message thread] */
    MessageThreadFollowUp (std::function<void()> pingToMake, std::function<void()> upkeepToDo, int intervalMs = 50)
        : ping (std::move (pingToMake))
        , upkeep (std::move (upkeepToDo))
    {
        startTimer (intervalMs);
    }

    ~MessageThreadFollowUp() override { stopTimer(); }

    /** [any thread; never blocks or allocates] */
    void requestPing() noexcept { pingRequested.store (true, std::memory_order_release); }

    bool isPingPending() const noexcept { return pingRequested.load (std::memory_order_acquire); } // [any thread]

    /** Does now what the timer would do. [message thread] */
    void flush()
    {
        upkeep();

        if (pingRequested.exchange (false, std::memory_order_acq_rel))
            ping();
    }

private:
    void timerCallback() override { flush(); }

    std::function<void()> ping, upkeep;
    std::atomic<bool> pingRequested { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MessageThreadFollowUp)
};
