#pragma once

#include <juce_core/juce_core.h>

#include <vector>

namespace tarn
{

/** One kind of thing the window shows on top of itself: a menu, a callout, a dialog, a file
    chooser, an overlay, a tooltip, a drag. Each is defined once, where it is opened, and
    given to the helper that opens it (showMenu, Callout, ModalWindow, FileChooserLauncher...),
    which counts it. The kinds register themselves, so the close-the-window-with-it-open tests
    can check that none is missing from their table.

    Define kinds at namespace scope (they must live as long as the process). [message thread] */
class PopupKind
{
public:
    explicit PopupKind (const char* name);
    ~PopupKind();

    PopupKind (const PopupKind&) = delete;
    PopupKind& operator= (const PopupKind&) = delete;

    const char* getName() const noexcept { return name; }

    /** How often one was shown since the process started. */
    int getTimesShown() const noexcept { return timesShown; }

    /** Called by the helper that shows one. */
    void shown() noexcept { ++timesShown; }

    /** Every kind of the process, in no particular order. */
    static std::vector<const PopupKind*> all();

private:
    const char* name;
    int timesShown = 0;
};

} // namespace tarn
