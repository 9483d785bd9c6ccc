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

int HorizontalSlider::getPreferredHeight() const
{
    return juce::roundToInt (themeMetric (*this, "defaultButtonHeight", 25.0f));
}

juce::Rectangle<int> HorizontalSlider::getLabelArea() const
{
    // The label and value take their theme widths, but never more than 70% of a narrow row.
    const auto nameWidth = themeMetric (*this, "sliderNameLabelWidth", 100.0f);
    const auto valueWidth = themeMetric (*this, "sliderValueLabelWidth", 50.0f);
    const auto share = std::min (1.0f, 0.7f * (float) getWidth() / (nameWidth + valueWidth));
    return getLocalBounds().withWidth (juce::roundToInt (nameWidth * share));
}

juce::Rectangle<int> HorizontalSlider::getValueArea() const
{
    const auto nameWidth = themeMetric (*this, "sliderNameLabelWidth", 100.0f);
    const auto valueWidth = themeMetric (*this, "sliderValueLabelWidth", 50.0f);
    const auto share = std::min (1.0f, 0.7f * (float) getWidth() / (nameWidth + valueWidth));
    return getLocalBounds().removeFromRight (juce::roundToInt (valueWidth * share));
}

void HorizontalSlider::resized()
{
    slider.setBounds (getLocalBounds().withLeft (getLabelArea().getRight()).withRight (getValueArea().getX()));
}

void HorizontalSlider::paint (juce::Graphics& g)
{
    g.setFont (themeFont (*this));
    g.setColour (themeColour (*this, isEnabled() ? "text.text" : "text.disabledtext"));
    g.drawFittedText (label, getLabelArea(), juce::Justification::centredLeft, 1, 0.75f);
    g.drawFittedText (getValueText(), getValueArea(), juce::Justification::centredRight, 1, 0.75f);
}
} // namespace tarn::params
