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
    /** Opens the menu in the owner's look-and-feel at a point on the screen (where the
        click was), or under the owner (a button). */
    void show (juce::Component& owner, const juce::PopupMenu&, std::optional<juce::Point<int>> screenPosition, std::function<void (int)> chosen);
} // namespace PianoRollMenus

} // namespace tarn
