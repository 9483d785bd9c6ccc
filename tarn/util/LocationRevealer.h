#pragma once

#include <juce_events/juce_events.h>

#include <memory>
#include <vector>

namespace tarn
{

/** Shows a file's or folder's location in the desktop's file manager.

    The path is handed to the opener ("xdg-open") as one element of its argument list,
    so no shell ever sees it: folder names holding quotes, "$(...)" or backticks (a
    downloaded preset pack, a converted first-version folder) stay plain text.
    Finished openers are reaped in the background so none is left as a zombie.
*/
class LocationRevealer : private juce::Timer
{
public:
    /** `opener` is the program started with the folder as its only argument. */
    explicit LocationRevealer (juce::String opener = "xdg-open");
    ~LocationRevealer() override;

    /** Opens the folder, or the folder holding the file. Returns false when the opener
        could not be started or the location does not exist. [message thread] */
    bool reveal (const juce::File& fileOrFolder);

    /** Openers started and not yet finished. [message thread] */
    int getNumRunningOpeners();

private:
    void timerCallback() override;

    const juce::String openerCommand;
    std::vector<std::unique_ptr<juce::ChildProcess>> openers;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LocationRevealer)
};

} // namespace tarn
