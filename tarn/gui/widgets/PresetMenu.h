#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** The menu of a preset library's index tree: each root folder ("Factory", "User") as a
    headed section, its presets as items and its subfolders as submenus, in index order.
    An item's ID is its preset's index + 1; the current preset is ticked. */
namespace PresetMenu
{
    juce::PopupMenu create (const juce::ValueTree& indexTree, int currentIndex);

    /** The preset index an item ID stands for, or -1 for none (menu dismissed). */
    constexpr int toPresetIndex (int itemId) noexcept { return itemId > 0 ? itemId - 1 : -1; }
} // namespace PresetMenu

} // namespace tarn
