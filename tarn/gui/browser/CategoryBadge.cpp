#include "CategoryBadge.h"

#include <tarn/gui/Theme.h>

namespace tarn
{

CategoryBadge::CategoryBadge (const juce::String& categoryName)
    : juce::Button (categoryName),
      category (categoryName)
{
    setComponentID ("category_badge_" + category);
    setTooltip (tooltipFor (category));
    setClickingTogglesState (true);
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

CategoryBadge::~CategoryBadge() = default;

juce::String CategoryBadge::tooltipFor (const juce::String& category)
{
    return "Category Filter: Show only presets with a category of '" + category
           + "'. Multiple filters can be selected. Right click to clear filters.";
}

int CategoryBadge::getIdealWidth (int height) const
{
    const auto font = themeFont (*this, 8.0f);
    return juce::roundToInt (std::ceil (font.getStringWidthFloat (category))) + height;
}

void CategoryBadge::mouseDown (const juce::MouseEvent& e)
{
    // A right click is not a toggle: it clears the whole filter.
    if (e.mods.isPopupMenu())
        return;

    juce::Button::mouseDown (e);
}

void CategoryBadge::mouseUp (const juce::MouseEvent& e)
{
    if (e.mods.isPopupMenu())
    {
        if (e.mouseWasClicked() && onClearAll != nullptr)
            onClearAll();

        return;
    }

    juce::Button::mouseUp (e);
}

void CategoryBadge::paintButton (juce::Graphics& g, bool highlighted, bool down)
{
    const auto bounds = getLocalBounds().toFloat().reduced (0.5f);
    const auto corner = bounds.getHeight() / 2.0f;
    const auto on = getToggleState();

    auto fill = on ? themeColour (*this, "theme.primary") : themeColour (*this, "elements.element");

    if (highlighted || down)
        fill = fill.brighter (down ? 0.2f : 0.1f);

    g.setColour (fill);
    g.fillRoundedRectangle (bounds, corner);
    g.setColour (on ? fill.brighter (0.2f) : themeColour (*this, "elements.elementborder").brighter (0.1f));
    g.drawRoundedRectangle (bounds, corner, 1.0f);

    g.setColour (on ? themeColour (*this, "text.textOnTheme") : themeColour (*this, "text.text"));
    g.setFont (themeFont (*this, 8.0f));
    g.drawText (category, getLocalBounds().reduced (getHeight() / 2, 0), juce::Justification::centred, true);
}

} // namespace tarn
