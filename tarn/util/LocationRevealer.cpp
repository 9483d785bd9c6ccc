#include "LocationRevealer.h"

namespace tarn
{

LocationRevealer::LocationRevealer (juce::String opener)
    : openerCommand (std::move (opener))
{
}

LocationRevealer::~LocationRevealer()
{
    stopTimer();
}

bool LocationRevealer::reveal (const juce::File& fileOrFolder)
{
    const auto folder = fileOrFolder.isDirectory() ? fileOrFolder : fileOrFolder.getParentDirectory();

    if (! folder.isDirectory())
        return false;

    auto opener = std::make_unique<juce::ChildProcess>();

    // An argument list is passed to execvp as it is; output goes to /dev/null.
    if (! opener->start (juce::StringArray { openerCommand, folder.getFullPathName() }, 0))
    {
        juce::Logger::writeToLog ("Unable to start " + openerCommand + " for " + folder.getFullPathName());
        return false;
    }

    openers.push_back (std::move (opener));
    startTimer (500);
    return true;
}

int LocationRevealer::getNumRunningOpeners()
{
    // Asking a finished child whether it runs collects its exit status.
    openers.erase (std::remove_if (openers.begin(), openers.end(), [] (const auto& p)
                                   { return ! p->isRunning(); }),
                   openers.end());
    return (int) openers.size();
}

void LocationRevealer::timerCallback()
{
    if (getNumRunningOpeners() == 0)
        stopTimer();
}

} // namespace tarn
