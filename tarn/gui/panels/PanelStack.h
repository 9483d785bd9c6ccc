#pragma once

#include "Panel.h"

#include <functional>
#include <vector>

namespace tarn
{
/** Panels stacked top to bottom in a scrollable column, each as tall as it needs: a panel
    that collapses or opens moves the ones below it. The collapse states read and write as
    one string, a character per panel in stacking order, "1" collapsed and "0" open.

    All members: [message thread].
*/
class PanelStack : public juce::Component
{
public:
    PanelStack();
    ~PanelStack() override;

    /** Adds a panel at the bottom; the stack does not own it. */
    void addPanel (Panel& panel);

    int getNumPanels() const noexcept { return (int) panels.size(); }
    Panel& getPanel (int index) const { return *panels.at ((size_t) index); }

    /** "0100": one character per panel. */
    juce::String getCollapseStates() const;

    /** Collapses panel i when character i is "1" and opens it otherwise (a short string
        opens the rest). Does not call onCollapseStatesChanged. */
    void setCollapseStates (const juce::String& states);

    /** Called with the new string after a panel was opened or collapsed. */
    std::function<void (const juce::String&)> onCollapseStatesChanged;

    /** Lays the panels out again, e.g. after one changed what it holds. */
    void updateLayout();

    juce::Viewport& getViewport() noexcept { return viewport; }

    void resized() override;

private:
    juce::Viewport viewport;
    juce::Component column;
    std::vector<Panel*> panels;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PanelStack)
};
} // namespace tarn
