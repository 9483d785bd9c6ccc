#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace tarn
{

/** How the piano roll's parts open their menus: asynchronously, the callback getting the
    chosen item's id (0 when dismissed) while the calling component still exists.
    [message thread] */
namespace PianoRollMenus
{
    using Presenter = std::function<void (const juce::PopupMenu&, std::function<void (int)>)>;

    /** Opens the menu, by the presenter set below or as a pop-up at the pointer (or under
        the owner, for a button). */
    void show (juce::Component& owner, const juce::PopupMenu&, bool atPointer, std::function<void (int)> chosen);

    /** Replaces how menus are opened (tests pick items without a pop-up window); an empty
        presenter restores the pop-ups. */
    void setPresenter (Presenter);
} // namespace PianoRollMenus

} // namespace tarn
