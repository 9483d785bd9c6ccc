#include "SidebarTabs.h"

#include <tarn/gui/Theme.h>

SidebarTabs::SidebarTabs()
{
    setComponentID ("sidebar_tabs");
    playback.setComponentID ("sidebar_playback");
    playback.setTooltip ("Playback: Show the playback controls");
    generation.setComponentID ("sidebar_generation");
    generation.setTooltip ("Generate: Show the generation and mutation controls");
    playback.setWantsKeyboardFocus (false);
    generation.setWantsKeyboardFocus (false);

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

void SidebarTabs::paint (juce::Graphics& g)
{
    // The base line the tabs stand on; the shown tab covers it, opening into its sidebar.
    g.setColour (tarn::themeColour (*this, "elements.elementborder"));
    g.fillRect (0, getHeight() - 1, getWidth(), 1);
}

void SidebarTabs::resized()
{
    // The tabs stand on the strip's foot, next to the sidebar they open.
    const auto gap = juce::roundToInt (tarn::themeMetric (*this, "panelPadding", 20.0f) / 4.0f);
    const auto height = std::min (getHeight() - gap, juce::roundToInt (tarn::themeMetric (*this, "topBarButtonHeight", 30.0f)));
    auto area = getLocalBounds().reduced (gap, 0).removeFromBottom (height);
    const auto half = area.getWidth() / 2;
    playback.setBounds (area.removeFromLeft (half));
    generation.setBounds (area);
}

void SidebarTabs::Tab::paintButton (juce::Graphics& g, bool isHighlighted, bool isDown)
{
    const auto shown = getToggleState();
    const auto area = getLocalBounds().toFloat();
    const auto corner = tarn::themeMetric (*this, "cornerRadius", 2.5f) * 1.5f;

    if (shown)
    {
        juce::Path tab;
        tab.addRoundedRectangle (area.getX(), area.getY(), area.getWidth(), area.getHeight() + corner, corner, corner, true, true, false, false);
        g.setColour (tarn::themeColour (*this, "background.panel"));
        g.fillPath (tab);
        g.setColour (tarn::themeColour (*this, "elements.elementborder"));
        g.strokePath (tab, juce::PathStrokeType (1.0f));
        g.setColour (tarn::themeColour (*this, "background.panel"));
        g.fillRect (area.withTop (area.getBottom() - 1.0f).reduced (1.0f, 0.0f));
        g.setColour (tarn::themeColour (*this, "theme.primary"));
        g.fillRoundedRectangle (area.withHeight (3.0f).reduced (corner * 0.5f, 0.0f), 1.5f);
    }
    else if (isHighlighted || isDown)
    {
        g.setColour (tarn::themeColour (*this, "background.panel").withAlpha (isDown ? 0.8f : 0.5f));
        g.fillRoundedRectangle (area.reduced (2.0f, 3.0f), corner);
    }

    g.setColour (tarn::themeColour (*this, "text.text").withMultipliedAlpha (shown || isHighlighted ? 1.0f : 0.8f));
    g.setFont (shown ? tarn::themeFont (*this).boldened() : tarn::themeFont (*this));
    g.drawFittedText (getButtonText(), getLocalBounds().reduced (4, 0), juce::Justification::centred, 1, 0.8f);
}
