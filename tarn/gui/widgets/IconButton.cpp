#include "IconButton.h"

#include <tarn/gui/Theme.h>

namespace tarn
{

IconButton::IconButton (const juce::String& icon, const juce::String& componentId, const juce::String& tooltip)
    : juce::Button (componentId),
      iconName (icon)
{
    setComponentID (componentId);
    setTooltip (tooltip);
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

IconButton::~IconButton() = default;

void IconButton::setIcon (const juce::String& icon)
{
    iconName = icon;
    lookAndFeelChanged();
}

void IconButton::setCaption (const juce::String& newCaption)
{
    caption = newCaption;
    repaint();
}

int IconButton::getIdealWidth (int height) const
{
    const auto iconWidth = iconName.isEmpty() ? 0 : height;

    if (caption.isEmpty())
        return iconWidth;

    const auto padding = juce::roundToInt (themeMetric (*this, "panelPadding", 20.0f) / 4.0f);
    const auto textWidth = (int) std::ceil (themeFont (*this).getStringWidthFloat (caption));
    return iconWidth + textWidth + padding * (iconName.isEmpty() ? 2 : 1);
}

void IconButton::setIconPadding (std::optional<float> padding)
{
    iconPadding = padding;
    repaint();
}

void IconButton::lookAndFeelChanged()
{
    for (auto& icon : icons)
        icon.reset();

    repaint();
}

void IconButton::enablementChanged()
{
    repaint();
}

juce::Drawable& IconButton::getIcon (Look look)
{
    auto& icon = icons[(size_t) look];

    if (icon == nullptr)
    {
        const char* colourPath = look == Look::on            ? "theme.primary"
                               : look == Look::highlighted ? "text.highlightedtext"
                               : look == Look::disabled    ? "text.disabledtext"
                                                           : "text.text";
        icon = themeIcon (*this, iconName, colourPath);

        if (icon == nullptr)
            icon = std::make_unique<juce::DrawableRectangle>();
    }

    return *icon;
}

void IconButton::paintButton (juce::Graphics& g, bool highlighted, bool down)
{
    const auto bounds = getLocalBounds().toFloat();
    const auto corner = themeMetric (*this, "cornerRadius", 2.5f);

    if (isEnabled() && (highlighted || down))
    {
        g.setColour (themeColour (*this, "elements.element").brighter (down ? 0.25f : 0.12f));
        g.fillRoundedRectangle (bounds, corner);
    }

    const auto look = ! isEnabled()     ? Look::disabled
                    : getToggleState() ? Look::on
                    : highlighted      ? Look::highlighted
                                       : Look::normal;
    const auto padding = iconPadding.value_or ((float) themeLibraryMetrics (*this).iconButtonPadding);
    auto iconArea = bounds;

    if (caption.isNotEmpty())
    {
        const auto textPadding = themeMetric (*this, "panelPadding", 20.0f) / 4.0f;
        iconArea = iconName.isEmpty() ? juce::Rectangle<float>() : bounds.withWidth (bounds.getHeight());
        const auto textArea = bounds.withTrimmedLeft (iconName.isEmpty() ? textPadding : iconArea.getWidth()).withTrimmedRight (textPadding);
        const char* textColour = look == Look::on            ? "theme.primary"
                               : look == Look::highlighted ? "text.highlightedtext"
                               : look == Look::disabled    ? "text.disabledtext"
                                                           : "text.text";
        g.setColour (themeColour (*this, textColour));
        g.setFont (themeFont (*this));
        g.drawFittedText (caption, textArea.toNearestInt(), iconName.isEmpty() ? juce::Justification::centred : juce::Justification::centredLeft, 1, 0.8f);
    }

    if (iconName.isNotEmpty())
        getIcon (look).drawWithin (g, iconArea.reduced (padding), juce::RectanglePlacement::centred, 1.0f);
}

} // namespace tarn
