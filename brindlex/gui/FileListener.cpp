#include "FileListener.h"

namespace brindlex
{

FileListener::FileListener (juce::File fileToWatch)
    : file (std::move (fileToWatch)),
      lastSeen (readModificationTime (file))
{
    startTimer (intervalMs);
}

FileListener::~FileListener()
{
    stopTimer();
}

juce::int64 FileListener::readModificationTime (const juce::File& watched)
{
    if (! watched.existsAsFile())
        return 0;

    // To the millisecond: two saves within one second (two instances) are both seen.
    return watched.getLastModificationTime().toMilliseconds();
}

bool FileListener::checkNow()
{
    const auto time = readModificationTime (file);

    if (time == lastSeen)
        return false;

    lastSeen = time;
    sendSynchronousChangeMessage();
    return true;
}

} // namespace brindlex
