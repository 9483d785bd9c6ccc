#include "PanelStack.h"

#include <tarn/gui/Theme.h>

namespace tarn
{
PanelStack::PanelStack()
{
    viewport.setViewedComponent (&column, false);
    viewport.setScrollBarsShown (true, false, true, false);
    viewport.setScrollBarThickness (8);
    addAndMakeVisible (viewport);
}

PanelStack::~PanelStack() = default;

void PanelStack::addPanel (Panel& panel)
{
    panels.push_back (&panel);
    column.addAndMakeVisible (panel);

    panel.onCollapsedChange = [this]
    {
        updateLayout();
        if (onCollapseStatesChanged != nullptr)
            onCollapseStatesChanged (getCollapseStates());
    };

    updateLayout();
}

juce::String PanelStack::getCollapseStates() const
{
    juce::String states;
    for (auto* panel : panels)
        states << (panel->isCollapsed() ? "1" : "0");
    return states;
}

void PanelStack::setCollapseStates (const juce::String& states)
{
    for (size_t i = 0; i < panels.size(); ++i)
        panels[i]->setCollapsed (states[(int) i] == '1', juce::dontSendNotification);

    updateLayout();
}

void PanelStack::resized()
{
    viewport.setBounds (getLocalBounds());
    updateLayout();
}

void PanelStack::updateLayout()
{
    const auto gap = juce::roundToInt (themeMetric (*this, "panelPadding", 20.0f) / 4.0f);
    auto layoutAt = [this, gap] (int width)
    {
        int y = gap;
        for (auto* panel : panels)
        {
            const auto height = panel->getPreferredHeight (width - 2 * gap);
            panel->setBounds (gap, y, width - 2 * gap, height);
            y += height + gap;
        }
        return y;
    };

    const auto fullWidth = viewport.getWidth();
    auto height = layoutAt (fullWidth);

    // Leave room for the scroll bar only when the column does not fit.
    if (height > viewport.getHeight())
    {
        const auto narrower = fullWidth - viewport.getScrollBarThickness();
        height = layoutAt (narrower);
        column.setSize (narrower, height);
    }
    else
    {
        column.setSize (fullWidth, height);
    }
}
} // namespace tarn
