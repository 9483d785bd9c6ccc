#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** Opens one file or folder chooser at a time and hands back what the user chose.

    On a desktop with "zenity" or "kdialog" the desktop's own chooser opens; without
    either, the framework's chooser opens inside the given parent (the editor), as a
    modal panel that moves and scales with it and cannot get lost behind the host.
    Destroying the launcher closes a chooser that is still open, and its callback is
    never called. [message thread] */
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

    bool isOpen() const noexcept { return chooser != nullptr; }

    /** The request of the open chooser. */
    const Request& getOpenRequest() const noexcept { return openRequest; }

    /** Closes an open chooser without a callback. */
    void close();

    /** Whether the desktop's choosers may be used when installed (tests switch them off, so
        the framework's own chooser opens on every machine). Process-wide. */
    static void setDesktopChoosersAllowed (bool allowed);
    static bool areDesktopChoosersAllowed();

private:
    std::unique_ptr<juce::FileChooser> chooser;
    Request openRequest;

    JUCE_DECLARE_WEAK_REFERENCEABLE (FileChooserLauncher)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FileChooserLauncher)
};

} // namespace tarn
