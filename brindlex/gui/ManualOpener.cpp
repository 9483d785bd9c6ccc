#include "ManualOpener.h"

#include <brindlex/UserFolders.h>

namespace brindlex
{

ManualOpener::ManualOpener (tarn::ToastManager& toastManager, juce::File folder, juce::String product,
                            juce::String versionText, juce::String website)
    : toasts (toastManager),
      productFolder (std::move (folder)),
      productName (std::move (product)),
      version (std::move (versionText)),
      websiteBase (std::move (website))
{
}

ManualOpener::~ManualOpener()
{
    stopTimer();
}

juce::File ManualOpener::getManualFile() const
{
    return productFolder.getChildFile (productName + " Manual " + version + ".pdf");
}

std::optional<juce::File> ManualOpener::findManual() const
{
    const auto own = getManualFile();

    if (own.existsAsFile())
        return own;

    for (const auto& installed : UserFolders::getInstalledDocuments (productName, own.getFileName()))
        if (installed.existsAsFile())
            return installed;

    return std::nullopt;
}

juce::String ManualOpener::getProductPageAddress() const
{
    return websiteBase + productName.toLowerCase().replaceCharacter (' ', '-') + "#plugindownloads";
}

juce::String ManualOpener::open()
{
    if (const auto manual = findManual())
        return startOpener (manual->getFullPathName()) ? manual->getFullPathName() : juce::String();

    toasts.addToast (missingManualMessage, tarn::Toast::error);
    const auto address = getProductPageAddress();
    return startOpener (address) ? address : juce::String();
}

bool ManualOpener::startOpener (const juce::String& target)
{
    auto process = std::make_unique<juce::ChildProcess>();

    // An argument list, not a command line: no shell sees the path.
    if (! process->start (juce::StringArray { openerProgram, target }, 0))
    {
        juce::Logger::writeToLog ("Unable to start " + openerProgram + " for " + target);
        return false;
    }

    openers.push_back (std::move (process));
    startTimer (500);
    return true;
}

int ManualOpener::getNumRunningOpeners()
{
    timerCallback();
    return (int) openers.size();
}

void ManualOpener::timerCallback()
{
    std::erase_if (openers, [] (const std::unique_ptr<juce::ChildProcess>& p)
                   { return ! p->isRunning(); });

    if (openers.empty())
        stopTimer();
}

} // namespace brindlex
