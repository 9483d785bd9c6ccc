#pragma once

#include <juce_events/juce_events.h>

namespace brindlex
{

/** Watches a file for changes made by anyone (another plug-in instance, the user's text
    editor): every second it reads the file's modification time and broadcasts a change
    when it differs from the last one seen. A missing file counts as time 0. [message thread] */
class FileListener : public juce::ChangeBroadcaster
    , private juce::Timer
{
public:
    static constexpr int intervalMs = 1000;

    explicit FileListener (juce::File file);
    ~FileListener() override;

    /** Looks now, as the timer does. Returns true when it broadcast a change. */
    bool checkNow();

    /** The modification time last seen, in the file system's clock (0: no file). */
    juce::int64 getLastSeenTime() const noexcept { return lastSeen; }

    /** The file's modification time in the file system's clock, or 0 when it is missing. */
    static juce::int64 readModificationTime (const juce::File& file);

private:
    void timerCallback() override { checkNow(); }

    const juce::File file;
    juce::int64 lastSeen = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FileListener)
};

} // namespace brindlex
