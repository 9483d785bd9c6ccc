#include "PianoRollToolButton.h"

#include "PianoRollTheme.h"

namespace tarn
{

PianoRollToolButton::PianoRollToolButton (const juce::String& buttonText, const juce::String& iconNameToUse, const juce::String& helpText, const juce::String& componentId)
    : juce::Button (buttonText)
    , iconName (iconNameToUse)
{
    setComponentID (componentId);
    setTooltip (helpText);
    setClickingTogglesState (false);
    icon = themeIcon (*this, iconName);
}

void PianoRollToolButton::lookAndFeelChanged()
{
    icon = themeIcon (*this, iconName);
    repaint();
}

void PianoRollToolButton::paintButton (juce::Graphics& g, bool isHighlighted, bool isDown)
{
    const auto bounds = getLocalBounds().toFloat().reduced (1.0f);
    const auto corner = themeMetric (*this, "cornerRadius");
    const auto on = getToggleState();

    g.setColour (on ? themeColour (*this, "theme.primary") : themeColour (*this, "elements.element"));
    g.fillRoundedRectangle (bounds, corner);
    g.setColour (themeColour (*this, "elements.elementborder").brighter (isHighlighted ? 0.4f : 0.0f));
    g.drawRoundedRectangle (bounds, corner, 1.0f);

    const auto foreground = themeColour (*this, on ? "text.textOnTheme" : "text.text").withMultipliedAlpha (isDown ? 0.7f : 1.0f);

    if (icon != nullptr)
    {
        auto coloured = icon->createCopy();
        coloured->replaceColour (juce::Colours::black, foreground);
        coloured->drawWithin (g, bounds.reduced (bounds.getHeight() * 0.22f), juce::RectanglePlacement::centred, 1.0f);
        return;
    }

    g.setColour (foreground);
    g.setFont (themeFont (*this, 12.0f));
    g.drawText (getButtonText(), bounds, juce::Justification::centred);
}

} // namespace tarn
