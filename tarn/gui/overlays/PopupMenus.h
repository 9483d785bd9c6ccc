#pragma once

#include "PopupKind.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** Shows a menu for `owner`: inside the owner's editor (so it scales with it), drawn by the
    owner's look-and-feel, at the owner unless the options name another target or area.
    `chosen` gets the item picked; it is not called when nothing was picked, nor once the
    owner is gone (the host may close the window while the menu is open). [message thread] */
void showMenu (PopupKind& kind, juce::Component& owner, const juce::PopupMenu& menu,
               juce::PopupMenu::Options options, std::function<void (int itemId)> chosen);

/** The same, at a point on the screen (a right click). */
void showMenuAt (PopupKind& kind, juce::Component& owner, const juce::PopupMenu& menu,
                 juce::Point<int> screenPosition, std::function<void (int itemId)> chosen);

} // namespace tarn
