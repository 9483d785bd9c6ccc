#pragma once

#include <tarn/util/ListenerSet.h>

#include <juce_events/juce_events.h>

#include <mutex>
#include <vector>

namespace tarn
{

/** One short message for the user, shown over the editor until it times out. */
struct Toast
{
    enum Kind
    {
        error = 0,
        information = 1
    };

    juce::uint32 id = 0; // unique within its manager, for removing exactly this toast
    juce::String text; // as displayed: errors carry the "ERROR: " prefix
    int kind = information;
    int count = 1; // how many times the same message came while it was shown

    bool isError() const noexcept { return kind == error; }
};

/** The toasts waiting to be shown, held by the processor so code without an editor
    (preset loading, host program calls) can report to the user.

    Toasts are kept in the order added; the same message again (same text and kind) while
    it is still held replaces it as the newest, counting the repeats. An error is prefixed with "ERROR: " and written
    to the log at once, so it is recorded even when no editor ever shows it. Adding is
    safe from any thread except the audio thread (it allocates and logs); listeners
    hear about changes later, on the message thread.
*/
class ToastManager : private juce::AsyncUpdater
{
public:
    /** With no editor open nobody takes the toasts: beyond this many, the oldest go. */
    static constexpr int maxHeldToasts = 32;

    static constexpr const char* errorPrefix = "ERROR: ";

    ToastManager() = default;
    ~ToastManager() override;

    /** Adds a toast of kind Toast::error or Toast::information and returns its id.
        [any thread but the audio thread] */
    juce::uint32 addToast (const juce::String& message, int kind);

    /** A copy of the toasts held now, oldest first. [any thread] */
    std::vector<Toast> getToasts() const;

    /** Hands every held toast to the caller (the editor that shows them), oldest
        first, and forgets them. [any thread] */
    std::vector<Toast> takeToasts();

    /** Forgets one toast, when it has finished showing. Returns false for an unknown id.
        [any thread] */
    bool removeToast (juce::uint32 id);

    int getNumToasts() const;

    class Listener
    {
    public:
        virtual ~Listener() = default;

        /** Toasts were added or removed. [message thread] */
        virtual void toastsChanged (ToastManager& manager) = 0;
    };

    void addListener (Listener* listener); // [message thread]
    void removeListener (Listener* listener); // [message thread]

private:
    void handleAsyncUpdate() override;

    mutable std::mutex lock;
    std::vector<Toast> toasts;
    juce::uint32 nextId = 1;
    ListenerSet<Listener> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ToastManager)
};

} // namespace tarn
