#include "SidebarTabs.h"

#include <tarn/gui/Theme.h>

SidebarTabs::SidebarTabs()
{
    setComponentID ("sidebar_tabs");
    playback.setComponentID ("sidebar_playback");
    playback.setTooltip ("Playback: Show the playback controls");
    generation.setComponentID ("sidebar_generation");
    generation.setTooltip ("Generate: Show the generation and mutation controls");

    playback.onClick = [this]
    {
        if (onViewPicked != nullptr)
            onViewPicked (playbackView);
    };
    generation.onClick = [this]
    {
        if (onViewPicked != nullptr)
            onViewPicked (generationView);
    };

    addAndMakeVisible (playback);
    addAndMakeVisible (generation);
    showView (playbackView);
}

void SidebarTabs::showView (const juce::String& view)
{
    const auto isGeneration = view == generationView;
    playback.setToggleState (! isGeneration, juce::dontSendNotification);
    generation.setToggleState (isGeneration, juce::dontSendNotification);
}

void SidebarTabs::resized()
{
    const auto gap = juce::roundToInt (tarn::themeMetric (*this, "panelPadding", 20.0f) / 4.0f);
    const auto height = std::min (getHeight(), juce::roundToInt (tarn::themeMetric (*this, "topBarButtonHeight", 30.0f)));
    auto area = getLocalBounds().reduced (gap, 0).withSizeKeepingCentre (getWidth() - 2 * gap, height);
    const auto half = (area.getWidth() - gap) / 2;
    playback.setBounds (area.removeFromLeft (half));
    area.removeFromLeft (gap);
    generation.setBounds (area);
}
