#include "FileListener.h"

#include <filesystem>

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
    // The file system's own precision (the framework's is whole seconds): two saves within
    // one second, by two instances, are both seen.
    std::error_code error;
    const auto time = std::filesystem::last_write_time (watched.getFullPathName().toStdString(), error);
    return error ? 0 : (juce::int64) time.time_since_epoch().count();
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
