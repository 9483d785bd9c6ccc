#include "FilterOptionsToggle.h"

#include <tarn/gui/Theme.h>

namespace tarn
{

FilterOptionsToggle::Segment::Segment (FilterOptionsToggle& ownerToUse, int optionIndex, const Option& spec)
    : juce::Button (spec.text),
      owner (ownerToUse),
      option (optionIndex)
{
    setComponentID (spec.componentId);
    setTooltip (spec.tooltip);
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
    onClick = [this]
    { owner.choose (option); };
}

void FilterOptionsToggle::Segment::paintButton (juce::Graphics& g, bool highlighted, bool down)
{
    const auto on = owner.getChosen() == option;
    auto bounds = getLocalBounds().toFloat().reduced (1.5f);

    if (on || highlighted || down)
    {
        auto fill = on ? themeColour (*this, "theme.primary") : themeColour (*this, "elements.element").brighter (0.12f);

        if (! on && down)
            fill = fill.brighter (0.1f);

        g.setColour (fill);
        g.fillRoundedRectangle (bounds, themeMetric (*this, "cornerRadius", 2.5f));
    }

    g.setColour (on ? themeColour (*this, "text.textOnTheme") : themeColour (*this, "text.text"));
    g.setFont (themeFont (*this, 8.0f));
    g.drawText (getButtonText(), getLocalBounds(), juce::Justification::centred, false);
}

//==============================================================================
FilterOptionsToggle::FilterOptionsToggle (Option first, Option second)
{
    segments[0] = std::make_unique<Segment> (*this, 0, first);
    segments[1] = std::make_unique<Segment> (*this, 1, second);

    for (auto& segment : segments)
        addAndMakeVisible (*segment);

    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

FilterOptionsToggle::~FilterOptionsToggle() = default;

void FilterOptionsToggle::setChosen (int option)
{
    chosen = juce::jlimit (0, 1, option);
    repaint();

    for (auto& segment : segments)
        segment->repaint();
}

void FilterOptionsToggle::choose (int option)
{
    if (option == chosen)
        return;

    setChosen (option);

    if (onChange != nullptr)
        onChange (chosen);
}

int FilterOptionsToggle::getIdealWidth() const
{
    const auto font = themeFont (*this, 8.0f);
    float widest = 0.0f;

    for (auto& segment : segments)
        widest = std::max (widest, font.getStringWidthFloat (segment->getButtonText()));

    return 2 * (juce::roundToInt (std::ceil (widest)) + 20);
}

void FilterOptionsToggle::paint (juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat().reduced (0.5f);
    const auto corner = themeMetric (*this, "cornerRadius", 2.5f);
    g.setColour (themeColour (*this, "elements.element"));
    g.fillRoundedRectangle (bounds, corner);
    g.setColour (themeColour (*this, "elements.elementborder"));
    g.drawRoundedRectangle (bounds, corner, 1.0f);
}

void FilterOptionsToggle::resized()
{
    auto area = getLocalBounds();
    segments[0]->setBounds (area.removeFromLeft (area.getWidth() / 2));
    segments[1]->setBounds (area);
}

} // namespace tarn
