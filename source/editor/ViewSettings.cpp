#include "ViewSettings.h"

#include <source/processor/state/SettingsTree.h>

ViewSettings ViewSettings::read (const juce::ValueTree& node)
{
    const auto usable = SettingsTree::withUsableWindowSize (node);

    ViewSettings settings;
    settings.width = usable.getProperty (SettingsTree::windowWidthId, defaultWidth);
    settings.height = usable.getProperty (SettingsTree::windowHeightId, defaultHeight);
    settings.showKeyboard = usable.getProperty (showKeyboardId, true);
    settings.showSidebar = usable.getProperty (showSidebarId, true);
    settings.sidebarView = usable.getProperty (sidebarViewId, playbackView).toString() == generationView ? generationView : playbackView;
    settings.playbackCollapseStates = usable.getProperty (playbackCollapseId, allOpen).toString();
    settings.generationCollapseStates = usable.getProperty (generationCollapseId, allOpen).toString();
    return settings;
}
