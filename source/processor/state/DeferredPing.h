#pragma once

#include <juce_events/juce_events.h>

#include <functional>

/** The ping of the hidden `internal` parameter after a change of non-parameter state, made
    later on the message thread instead of where the change happened. Edits, preset loads and
    host restores hold the state lock, and a restore may run on a host's thread; telling the
    host calls into it, and a host thread that waits for our state lock while holding a lock of
    its own would then never get it. Several requests before the ping is made make one ping.
*/
class DeferredPing : private juce::AsyncUpdater
{
public:
    explicit DeferredPing (std::function<void()> pingToMake)
        : ping (std::move (pingToMake))
    {
    }

    ~DeferredPing() override { cancelPendingUpdate(); }

    void request() { triggerAsyncUpdate(); } // [any thread]

    /** Makes a requested ping now. [message thread] */
    void flush() { handleUpdateNowIfNeeded(); }

private:
    void handleAsyncUpdate() override { ping(); }

    std::function<void()> ping;

    JUCE_DECLARE_NON_COPYABLE (DeferredPing)
};
