// Installs the user manual where the editor's manual button looks for it, under the exact
// name it looks for, so the two can never disagree.
//
//     install_manual <manual.pdf>

#include <brindlex/UserFolders.h>
#include <brindlex/gui/ManualOpener.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/toasts/ToastManager.h>

#include <juce_events/juce_events.h>

#include <iostream>

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juceInitialiser;

    if (argc != 2)
    {
        std::cerr << "usage: install_manual <manual.pdf>" << std::endl;
        return 2;
    }

    const auto manual = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);

    if (! manual.existsAsFile())
    {
        std::cerr << "no manual at " << manual.getFullPathName() << std::endl;
        return 1;
    }

    tarn::ToastManager toasts;
    const brindlex::ManualOpener opener (toasts, brindlex::UserFolders::getProductFolder (Cadenzium2AudioProcessor::productName),
                                         Cadenzium2AudioProcessor::productName, Cadenzium2AudioProcessor::versionString, {});
    const auto target = opener.getManualFile();

    if (! target.getParentDirectory().createDirectory() || ! manual.copyFileTo (target))
    {
        std::cerr << "cannot install the manual as " << target.getFullPathName() << std::endl;
        return 1;
    }

    std::cout << target.getFullPathName() << std::endl;
    return 0;
}
