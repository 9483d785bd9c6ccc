#include "PianoRollTabButton.h"

#include "PianoRollTheme.h"

namespace tarn
{

PianoRollTabButton::PianoRollTabButton (const juce::String& buttonText, const juce::String& helpText, const juce::String& componentId)
    : juce::Button (buttonText),
      textSize (PianoRollText::small)
{
    setComponentID (componentId);
    setTooltip (helpText);
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

void PianoRollTabButton::setTextSize (float size)
{
    textSize = size;
    repaint();
}

void PianoRollTabButton::paintButton (juce::Graphics& g, bool isHighlighted, bool isDown)
{
    const auto bounds = getLocalBounds().toFloat().reduced (1.0f);
    const auto corner = themeMetric (*this, "cornerRadius", 2.5f);
    const auto on = getToggleState();

    g.setColour (on ? themeColour (*this, "theme.primary") : themeColour (*this, "elements.element").brighter (isHighlighted ? 0.12f : 0.0f));
    g.fillRoundedRectangle (bounds, corner);
    g.setColour (themeColour (*this, "elements.outline"));
    g.drawRoundedRectangle (bounds, corner, 1.0f);

    g.setColour (themeColour (*this, on ? "text.textOnTheme" : "text.text").withMultipliedAlpha (isDown ? 0.7f : 1.0f));
    g.setFont (themeFont (*this, textSize));
    g.drawFittedText (getButtonText(), getLocalBounds().reduced (4, 0), juce::Justification::centred, 1);
}

} // namespace tarn
