#include "IconButton.h"

#include "TemporaryThemeStub.h"

namespace tarn
{
IconButton::IconButton (const juce::String& iconToShow, const juce::String& componentId, const juce::String& tooltip)
    : juce::Button (componentId), iconName (iconToShow)
{
    setComponentID (componentId);
    setTooltip (tooltip);
    setWantsKeyboardFocus (false);
}

void IconButton::setIcon (const juce::String& newIconName)
{
    if (newIconName == iconName)
        return;

    iconName = newIconName;
    icon.reset();
    repaint();
}

void IconButton::paintButton (juce::Graphics& g, bool isHighlighted, bool isDown)
{
    const auto area = getLocalBounds().toFloat().reduced (0.5f);
    const auto corner = themeMetric (*this, "cornerRadius", 2.5f);
    const auto on = getToggleState();
    const auto enabled = isEnabled();

    auto background = themeColour (*this, on ? "theme.primary" : "elements.element");
    if (! enabled)
        background = themeColour (*this, "elements.disabledelement");
    else if (isDown)
        background = background.darker (0.2f);
    else if (isHighlighted)
        background = background.brighter (0.15f);

    g.setColour (background);
    g.fillRoundedRectangle (area, corner);
    g.setColour (themeColour (*this, enabled ? "elements.elementborder" : "elements.disabledelementborder"));
    g.drawRoundedRectangle (area, corner, 1.0f);

    // The drawable is made again only when the colour it is drawn in changes.
    const juce::String colourPath = ! enabled ? "text.disabledtext" : (on ? "text.textOnTheme" : "text.text");
    if (icon == nullptr || colourPath != iconColourPath)
    {
        icon = themeIcon (*this, iconName, colourPath);
        iconColourPath = colourPath;
    }

    if (icon != nullptr)
    {
        const auto padding = themeMetric (*this, "iconButtonPadding", 6.0f);
        icon->drawWithin (g, area.reduced (padding), juce::RectanglePlacement::centred, 1.0f);
    }
}
} // namespace tarn
