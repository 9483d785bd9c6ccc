#include "FileChooserLauncher.h"

#include <atomic>

namespace tarn
{
namespace
{
    std::atomic<bool> desktopChoosersAllowed { true };

    int desktopFlagsFor (FileChooserLauncher::Kind kind)
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

    FileChooserWindow::Mode windowModeFor (FileChooserLauncher::Kind kind)
    {
        switch (kind)
        {
            case FileChooserLauncher::Kind::saveFile:
                return FileChooserWindow::Mode::saveFile;
            case FileChooserLauncher::Kind::chooseFolder:
                return FileChooserWindow::Mode::chooseFolder;
            case FileChooserLauncher::Kind::openFile:
            default:
                return FileChooserWindow::Mode::openFile;
        }
    }
} // namespace

FileChooserLauncher::FileChooserLauncher() = default;

FileChooserLauncher::~FileChooserLauncher()
{
    close();
    retired.reset();
}

void FileChooserLauncher::setDesktopChoosersAllowed (bool allowed)
{
    desktopChoosersAllowed = allowed;
}

bool FileChooserLauncher::areDesktopChoosersAllowed()
{
    return desktopChoosersAllowed;
}

bool FileChooserLauncher::isOpen() const noexcept
{
    return desktopChooser != nullptr || (window != nullptr && window->isShowing());
}

FileChooserWindow* FileChooserLauncher::getWindow() const noexcept
{
    return window != nullptr && window->isShowing() ? window.get() : nullptr;
}

void FileChooserLauncher::close()
{
    // The desktop's chooser is killed without a result; the window simply goes.
    desktopChooser.reset();
    window.reset();
    openRequest = {};
}

void FileChooserLauncher::retireWindow()
{
    // Called from the window's own button or key handler: it is deleted once that is over.
    retired = std::move (window);
    const juce::WeakReference<FileChooserLauncher> weakThis (this);
    juce::MessageManager::callAsync ([weakThis]
                                     {
                                         if (weakThis != nullptr)
                                             weakThis->retired.reset();
                                     });
}

void FileChooserLauncher::launch (const Request& request, juce::Component* parent, std::function<void (const juce::File&)> onChosen)
{
    close();

    // Every chooser is a kind of its own, which the window's tests open and close.
    jassert (request.popupKind != nullptr);

    if (request.popupKind == nullptr)
        return;

    // A start that does not exist (a moved documents folder) would leave the chooser
    // wherever the process happens to be; its nearest existing folder is the next best.
    auto start = request.start;

    if (request.kind != Kind::saveFile || ! start.getParentDirectory().isDirectory())
        while (start != juce::File() && ! start.exists() && start.getParentDirectory() != start)
            start = start.getParentDirectory();

    openRequest = request;

    if ((desktopChoosersAllowed.load() && juce::FileChooser::isPlatformDialogAvailable()) || parent == nullptr)
        launchDesktopChooser (request, start, std::move (onChosen));
    else
        launchWindow (request, start, *parent, std::move (onChosen));
}

void FileChooserLauncher::launchDesktopChooser (const Request& request, const juce::File& start,
                                                std::function<void (const juce::File&)> onChosen)
{
    request.popupKind->shown();
    desktopChooser = std::make_unique<juce::FileChooser> (request.title,
                                                          start,
                                                          request.kind == Kind::chooseFolder ? juce::String() : request.patterns,
                                                          true);

    const juce::WeakReference<FileChooserLauncher> weakThis (this);
    desktopChooser->launchAsync (desktopFlagsFor (request.kind), [weakThis, onChosen] (const juce::FileChooser& finished)
                                 {
                                     const auto chosen = finished.getResult();

                                     // Forget the chooser first: the callback may open the next one. The
                                     // framework still holds it while this runs, so it is freed later.
                                     if (weakThis != nullptr)
                                     {
                                         juce::MessageManager::callAsync ([released = weakThis->desktopChooser.release()]
                                                                          { delete released; });
                                         weakThis->openRequest = {};
                                     }

                                     if (chosen != juce::File() && onChosen != nullptr)
                                         onChosen (chosen);
                                 });
}

void FileChooserLauncher::launchWindow (const Request& request, const juce::File& start, juce::Component& parent,
                                        std::function<void (const juce::File&)> onChosen)
{
    window = std::make_unique<FileChooserWindow> (*request.popupKind, request.title, windowModeFor (request.kind), start, request.patterns);

    const juce::WeakReference<FileChooserLauncher> weakThis (this);
    window->onClose = [weakThis]
    {
        if (weakThis != nullptr && weakThis->window != nullptr)
        {
            weakThis->openRequest = {};
            weakThis->retireWindow();
        }
    };
    window->onChosen = [onChosen] (const juce::File& chosen)
    {
        if (onChosen != nullptr)
            onChosen (chosen);
    };

    parent.addChildComponent (*window);
    window->sendLookAndFeelChange();
    window->show();
}

} // namespace tarn
