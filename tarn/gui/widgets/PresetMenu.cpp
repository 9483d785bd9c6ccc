#include "PresetMenu.h"

namespace tarn
{
namespace
{
    void addFolderContents (juce::PopupMenu& menu, const juce::ValueTree& folder, int currentIndex)
    {
        for (const auto& child : folder)
        {
            if (child.hasType ("preset"))
            {
                const int index = child.getProperty ("preset_index", -1);

                if (index >= 0)
                    menu.addItem (index + 1, child["name"].toString(), true, index == currentIndex);
            }
            else
            {
                juce::PopupMenu submenu;
                addFolderContents (submenu, child, currentIndex);

                if (submenu.getNumItems() > 0)
                    menu.addSubMenu (child["folder_name"].toString(), submenu);
            }
        }
    }
} // namespace

juce::PopupMenu PresetMenu::create (const juce::ValueTree& indexTree, int currentIndex)
{
    juce::PopupMenu menu;

    for (const auto& root : indexTree)
    {
        juce::PopupMenu section;
        addFolderContents (section, root, currentIndex);

        if (section.getNumItems() == 0)
            continue;

        menu.addSectionHeader (root["folder_name"].toString());

        for (juce::PopupMenu::MenuItemIterator items (section); items.next();)
            menu.addItem (items.getItem());
    }

    if (menu.getNumItems() == 0)
        menu.addItem (-1, "No presets found", false);

    return menu;
}

} // namespace tarn
