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
    getIcon (look).drawWithin (g, bounds.reduced (padding), juce::RectanglePlacement::centred, 1.0f);
}

} // namespace tarn
