#include "FileChooserLauncher.h"

#include <atomic>

namespace tarn
{
namespace
{
    std::atomic<bool> desktopChoosersAllowed { true };

    int flagsFor (FileChooserLauncher::Kind kind)
    {
        using Browser = juce::FileBrowserComponent;

        switch (kind)
        {
            case FileChooserLauncher::Kind::saveFile:
                return Browser::saveMode | Browser::canSelectFiles | Browser::warnAboutOverwriting;
            case FileChooserLauncher::Kind::chooseFolder:
                return Browser::openMode | Browser::canSelectDirectories;
            case FileChooserLauncher::Kind::openFile:
            default:
                return Browser::openMode | Browser::canSelectFiles;
        }
    }
} // namespace

FileChooserLauncher::FileChooserLauncher() = default;

FileChooserLauncher::~FileChooserLauncher()
{
    close();
}

void FileChooserLauncher::setDesktopChoosersAllowed (bool allowed)
{
    desktopChoosersAllowed = allowed;
}

bool FileChooserLauncher::areDesktopChoosersAllowed()
{
    return desktopChoosersAllowed;
}

void FileChooserLauncher::close()
{
    // The framework's chooser leaves its modal state as it goes, without a result.
    chooser.reset();
    openRequest = {};
}

void FileChooserLauncher::launch (const Request& request, juce::Component* parent, std::function<void (const juce::File&)> onChosen)
{
    close();

    // A start that does not exist (a moved documents folder) would leave the chooser
    // wherever the process happens to be; its nearest existing folder is the next best.
    auto start = request.start;

    if (request.kind != Kind::saveFile || ! start.getParentDirectory().isDirectory())
        while (start != juce::File() && ! start.exists() && start.getParentDirectory() != start)
            start = start.getParentDirectory();

    openRequest = request;
    chooser = std::make_unique<juce::FileChooser> (request.title,
                                                   start,
                                                   request.kind == Kind::chooseFolder ? juce::String() : request.patterns,
                                                   desktopChoosersAllowed.load(),
                                                   false,
                                                   parent);

    const juce::WeakReference<FileChooserLauncher> weakThis (this);

    chooser->launchAsync (flagsFor (request.kind), [weakThis, onChosen] (const juce::FileChooser& finished)
                          {
                              const auto chosen = finished.getResult();

                              // Forget the chooser first: the callback may open the next one. The
                              // framework still holds it while this runs, so it is freed later.
                              if (weakThis != nullptr)
                              {
                                  juce::MessageManager::callAsync ([released = weakThis->chooser.release()]
                                                                   { delete released; });
                                  weakThis->openRequest = {};
                              }

                              if (chosen != juce::File() && onChosen != nullptr)
                                  onChosen (chosen);
                          });
}

} // namespace tarn
