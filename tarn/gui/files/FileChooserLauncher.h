#pragma once

#include "FileChooserWindow.h"

#include <tarn/gui/overlays/PopupKind.h>

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** Opens one file or folder chooser at a time and hands back what the user chose.

    On a desktop with "zenity" or "kdialog" the desktop's own chooser opens; without
    either, a FileChooserWindow opens inside the given parent (the editor), as one of its
    dialogs, so it moves and scales with it and cannot get lost behind the host.
    Destroying the launcher closes a chooser that is still open, and its callback is
    never called. Neither kind is modal in the framework's sense: a host may close the
    window while one is open. [message thread] */
class FileChooserLauncher
{
public:
    enum class Kind
    {
        openFile,
        saveFile,
        chooseFolder
    };

    struct Request
    {
        PopupKind* popupKind = nullptr; // which chooser this is; required
        juce::String title;
        juce::File start; // a folder, or (for saving) the suggested file
        juce::String patterns; // "*.mid;*.midi"; ignored for folders
        Kind kind = Kind::openFile;
    };

    FileChooserLauncher();
    ~FileChooserLauncher();

    /** Opens the chooser; `onChosen` gets the chosen file or folder, and is not called when
        the user cancels. A chooser still open is closed first, without its callback. */
    void launch (const Request& request, juce::Component* parent, std::function<void (const juce::File&)> onChosen);

    bool isOpen() const noexcept;

    /** The request of the open chooser. */
    const Request& getOpenRequest() const noexcept { return openRequest; }

    /** The chooser drawn in the editor, while it is open (none while the desktop's is). */
    FileChooserWindow* getWindow() const noexcept;

    /** Closes an open chooser without a callback. */
    void close();

    /** Whether the desktop's choosers may be used when installed (tests switch them off, so
        the in-window chooser opens on every machine). Process-wide. */
    static void setDesktopChoosersAllowed (bool allowed);
    static bool areDesktopChoosersAllowed();

private:
    void launchDesktopChooser (const Request& request, const juce::File& start, std::function<void (const juce::File&)> onChosen);
    void launchWindow (const Request& request, const juce::File& start, juce::Component& parent,
                       std::function<void (const juce::File&)> onChosen);
    void retireWindow();

    std::unique_ptr<juce::FileChooser> desktopChooser;
    std::unique_ptr<FileChooserWindow> window, retired;
    Request openRequest;

    JUCE_DECLARE_WEAK_REFERENCEABLE (FileChooserLauncher)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FileChooserLauncher)
};

} // namespace tarn
