#include "HorizontalSlider.h"

#include "ParameterText.h"

#include <tarn/gui/Theme.h>

namespace tarn::params
{
HorizontalSlider::HorizontalSlider (juce::RangedAudioParameter& p, const juce::String& labelText, const juce::String& tooltip)
    : parameter (p), label (labelText)
{
    setComponentID (p.getParameterID());
    setTooltip (tooltip);
    attachment = attachSlider (slider, p, labelText, tooltip);
    slider.onValueChange = [this]
    { repaint (getValueArea()); };
    addAndMakeVisible (slider);
}

HorizontalSlider::~HorizontalSlider() = default;

juce::String HorizontalSlider::getValueText() const
{
    return textFor (parameter, (float) slider.getValue());
}

// Laid out as the range slider is (label and value on a line, the track the full width below
// them), so a panel's sliders of either kind read as one family and no track is a stub.
int HorizontalSlider::getPreferredHeight() const
{
    return juce::roundToInt (themeMetric (*this, "knobLabelHeight", 15.0f) + themeMetric (*this, "comboHeight", 20.0f));
}

juce::Rectangle<int> HorizontalSlider::getTextLine() const
{
    return getLocalBounds().withHeight (juce::roundToInt (themeMetric (*this, "knobLabelHeight", 15.0f)));
}

juce::Rectangle<int> HorizontalSlider::getValueArea() const
{
    return getTextLine().withTrimmedLeft (getWidth() / 2);
}

void HorizontalSlider::resized()
{
    slider.setBounds (getLocalBounds().withTrimmedTop (getTextLine().getHeight()));
}

void HorizontalSlider::paint (juce::Graphics& g)
{
    g.setFont (themeFont (*this));
    g.setColour (themeColour (*this, isEnabled() ? "text.text" : "text.disabledtext"));
    g.drawFittedText (label, getTextLine(), juce::Justification::centredLeft, 1, 0.75f);
    g.setColour (themeColour (*this, "text.disabledtext"));
    g.drawFittedText (getValueText(), getValueArea(), juce::Justification::centredRight, 1, 0.75f);
}
} // namespace tarn::params
