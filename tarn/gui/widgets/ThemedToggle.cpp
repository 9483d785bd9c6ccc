#include "ThemedToggle.h"

#include <tarn/gui/Theme.h>

namespace tarn
{
ThemedToggle::ThemedToggle (const juce::String& label) : juce::ToggleButton (label)
{
    setWantsKeyboardFocus (false);
}

int ThemedToggle::getSwitchWidth() const
{
    return juce::roundToInt (themeMetric (*this, "defaultButtonWidth", 25.0f) * 1.5f);
}

void ThemedToggle::paintButton (juce::Graphics& g, bool isHighlighted, bool)
{
    auto area = getLocalBounds().toFloat();
    const auto on = getToggleState();
    const auto enabled = isEnabled();

    const auto switchHeight = std::min (area.getHeight(), themeMetric (*this, "comboHeight", 20.0f) * 0.8f);
    auto switchArea = area.removeFromRight ((float) getSwitchWidth()).withSizeKeepingCentre ((float) getSwitchWidth(), switchHeight);

    g.setColour (themeColour (*this, enabled ? "text.text" : "text.disabledtext"));
    g.setFont (themeFont (*this));
    g.drawFittedText (getButtonText(), area.toNearestInt(), juce::Justification::centredLeft, 1, 0.8f);

    const auto radius = switchArea.getHeight() / 2.0f;
    auto fill = on ? themeColour (*this, "theme.primary") : themeColour (*this, "elements.element");
    if (! enabled)
        fill = themeColour (*this, "elements.disabledelement");
    else if (isHighlighted)
        fill = fill.brighter (0.1f);

    g.setColour (fill);
    g.fillRoundedRectangle (switchArea, radius);
    g.setColour (themeColour (*this, on ? "theme.primary" : "elements.outline"));
    g.drawRoundedRectangle (switchArea.reduced (0.5f), radius, 1.0f);

    const auto dotArea = (on ? switchArea.removeFromRight (switchArea.getHeight()) : switchArea.removeFromLeft (switchArea.getHeight())).reduced (3.0f);
    g.setColour (themeColour (*this, on ? "text.textOnTheme" : "text.text"));
    g.fillEllipse (dotArea);
}
} // namespace tarn
