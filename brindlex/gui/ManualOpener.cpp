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

juce::String ManualOpener::cannotOpenManualMessage (const juce::File& manual)
{
    return "Could not open the manual: no program to show PDF files was found. It is at " + manual.getFullPathName();
}

juce::String ManualOpener::cannotOpenPageMessage (const juce::String& address)
{
    return "Could not open the web page: no web browser was found. Its address is " + address;
}

juce::String ManualOpener::open()
{
    if (const auto manual = findManual())
        return startOpener (manual->getFullPathName(), cannotOpenManualMessage (*manual)) ? manual->getFullPathName() : juce::String();

    toasts.addToast (missingManualMessage, tarn::Toast::error);
    const auto address = getProductPageAddress();
    return startOpener (address, cannotOpenPageMessage (address)) ? address : juce::String();
}

bool ManualOpener::startOpener (const juce::String& target, const juce::String& failureMessage)
{
    auto process = std::make_unique<juce::ChildProcess>();

    // An argument list, not a command line: no shell sees the path.
    if (! process->start (juce::StringArray { openerProgram, target }, 0))
    {
        juce::Logger::writeToLog ("Unable to start " + openerProgram + " for " + target);
        toasts.addToast (failureMessage, tarn::Toast::error);
        return false;
    }

    openers.push_back ({ std::move (process), failureMessage });
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
    // xdg-open ends with a failure when it finds nothing to show the file with; started
    // viewers run on after it, so a success is all it tells.
    std::erase_if (openers, [this] (const Opener& opener)
                   {
                       if (opener.process->isRunning())
                           return false;

                       if (const auto code = opener.process->getExitCode(); code != 0)
                       {
                           juce::Logger::writeToLog (openerProgram + " ended with " + juce::String (code));
                           toasts.addToast (opener.failureMessage, tarn::Toast::error);
                       }

                       return true;
                   });

    if (openers.empty())
        stopTimer();
}

} // namespace brindlex
