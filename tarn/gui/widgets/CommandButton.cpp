#include "CommandButton.h"

#include <tarn/gui/Theme.h>

namespace tarn
{
CommandButton::CommandButton (const juce::String& buttonText, const juce::String& iconToShow)
    : juce::Button (buttonText), iconName (iconToShow)
{
    setWantsKeyboardFocus (false);
}

void CommandButton::setDestructive (bool isDestructive)
{
    destructive = isDestructive;
    repaint();
}

int CommandButton::getIdealWidth (int height) const
{
    const auto padding = themeMetric (*this, "comboTextPadding", 10.0f);
    auto width = themeFont (*this).getStringWidthFloat (getButtonText()) + 2.0f * padding;
    if (iconName.isNotEmpty())
        width += (float) height * 0.6f;
    return juce::roundToInt (std::ceil (width));
}

void CommandButton::paintButton (juce::Graphics& g, bool isHighlighted, bool isDown)
{
    auto area = getLocalBounds().toFloat().reduced (0.5f);
    const auto corner = themeMetric (*this, "cornerRadius", 2.5f);
    const auto padding = themeMetric (*this, "comboTextPadding", 10.0f);
    const auto on = getToggleState();
    const auto enabled = isEnabled();

    auto background = themeColour (*this, on ? "theme.primary" : "elements.element");
    if (! enabled)
        background = themeColour (*this, "elements.disabledelement");
    else if (isDown)
        background = background.darker (0.2f);
    else if (isHighlighted)
        background = background.brighter (0.15f);

    const auto warns = destructive && enabled;
    if (warns && (isDown || isHighlighted))
        background = themeColour (*this, "theme.warning").withAlpha (isDown ? 0.35f : 0.18f);

    g.setColour (themeColour (*this, "elements.element"));
    if (warns)
        g.fillRoundedRectangle (area, corner);
    g.setColour (background);
    g.fillRoundedRectangle (area, corner);
    g.setColour (themeColour (*this, warns ? "theme.warning" : enabled ? (on ? "theme.primary" : "elements.outline") : "elements.disabledelementborder"));
    g.drawRoundedRectangle (area, corner, 1.0f);

    const juce::String textColourPath = ! enabled ? "text.disabledtext" : warns ? "theme.warning" : (on ? "text.textOnTheme" : "text.text");
    const auto font = themeFont (*this);
    auto content = area.reduced (std::min (padding, area.getWidth() / 8.0f), 0.0f);

    if (iconName.isNotEmpty())
    {
        if (icon == nullptr || textColourPath != iconColourPath)
        {
            icon = themeIcon (*this, iconName, textColourPath);
            iconColourPath = textColourPath;
        }

        const auto textWidth = std::min (content.getWidth() - area.getHeight() * 0.6f, font.getStringWidthFloat (getButtonText()));
        const auto iconSize = area.getHeight() * 0.5f;
        auto group = content.withSizeKeepingCentre (textWidth + area.getHeight() * 0.6f, area.getHeight());

        if (icon != nullptr)
            icon->drawWithin (g, group.removeFromLeft (area.getHeight() * 0.6f).withSizeKeepingCentre (iconSize, iconSize),
                              juce::RectanglePlacement::centred, 1.0f);

        content = group;
    }

    g.setColour (themeColour (*this, textColourPath));
    g.setFont (font);
    g.drawFittedText (getButtonText(), content.toNearestInt(), juce::Justification::centred, 1, 0.7f);
}
} // namespace tarn
