#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** Gives the keyboard back to the host after a click in the plug-in's window.

    On Linux the framework moves the X keyboard focus into the plug-in's window on every
    mouse press, so a host's shortcuts (space for play, its menus' keys) stop working as
    soon as the user touches a knob. After a click that did not put a text field in focus,
    this hands the X focus to the window the editor is embedded in, the host's. Elsewhere
    it does nothing.

    The editors of a process share one X connection of their own, open while any of them
    is. [message thread] */
class HostKeyboardFocus
{
public:
    HostKeyboardFocus();
    ~HostKeyboardFocus();

    /** Returns the focus to the window holding `editor`'s native window, when the focus is
        in that native window now. Returns true when it did. */
    bool giveBackToHost (juce::Component& editor);

    /** Whether the X keyboard focus is in the editor's native window. */
    bool isInWindowOf (juce::Component& editor);

private:
    class Connection;
    std::unique_ptr<juce::SharedResourcePointer<Connection>> connection;

    JUCE_DECLARE_NON_COPYABLE (HostKeyboardFocus)
};

} // namespace tarn
