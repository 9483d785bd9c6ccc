#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <optional>

namespace tarn
{

/** How the piano roll's parts open their menus: asynchronously, the callback getting the
    chosen item's id (0 when dismissed) while the calling component still exists.
    [message thread] */
namespace PianoRollMenus
{
    using Presenter = std::function<void (const juce::PopupMenu&, std::function<void (int)>)>;

    /** Opens the menu, by the presenter set below or as a pop-up at a point on the screen
        (where the click was), or under the owner (a button). */
    void show (juce::Component& owner, const juce::PopupMenu&, std::optional<juce::Point<int>> screenPosition, std::function<void (int)> chosen);

    /** Replaces how menus are opened (tests pick items without a pop-up window); an empty
        presenter restores the pop-ups. */
    void setPresenter (Presenter);
} // namespace PianoRollMenus

} // namespace tarn
