#include "Knob.h"

#include "ParameterText.h"

#include <tarn/gui/Theme.h>

namespace tarn::params
{
Knob::Knob (juce::RangedAudioParameter& p, const juce::String& labelText, const juce::String& tooltip)
    : parameter (p), label (labelText)
{
    setComponentID (p.getParameterID());
    setTooltip (tooltip);
    attachment = attachSlider (slider, p, labelText, tooltip);
    slider.onValueChange = [this]
    { repaint(); };
    addAndMakeVisible (slider);
}

Knob::~Knob() = default;

juce::String Knob::getValueText() const
{
    return textFor (parameter, (float) slider.getValue());
}

int Knob::getKnobDiameter() const
{
    return juce::roundToInt (themeMetric (*this, "sidebarWidth", 240.0f) / 5.0f);
}

int Knob::getPreferredHeight() const
{
    const auto labelHeight = themeMetric (*this, "knobLabelHeight", 15.0f);
    const auto gap = themeMetric (*this, "knobOffsetY", 3.0f);
    return getKnobDiameter() + juce::roundToInt (gap + 2.0f * labelHeight);
}

int Knob::getMinimumWidth() const
{
    // The label may be squeezed a little (see paint) before the knobs go one line fewer.
    const auto labelWidth = getLabelFont().getStringWidthFloat (label) * minimumTextScale;
    return std::max (getKnobDiameter() + getKnobDiameter() / 6, juce::roundToInt (std::ceil (labelWidth)));
}

juce::Font Knob::getLabelFont() const
{
    return themeFont (*this, 8.0f);
}

void Knob::resized()
{
    const auto diameter = getKnobDiameter();
    slider.setBounds (getLocalBounds().removeFromTop (diameter).withSizeKeepingCentre (std::min (diameter, getWidth()), diameter));
}

void Knob::paint (juce::Graphics& g)
{
    const auto labelHeight = juce::roundToInt (themeMetric (*this, "knobLabelHeight", 15.0f));
    auto area = getLocalBounds().withTrimmedTop (slider.getBottom() + juce::roundToInt (themeMetric (*this, "knobOffsetY", 3.0f)));

    g.setFont (getLabelFont());
    g.setColour (themeColour (*this, isEnabled() ? "text.text" : "text.disabledtext"));
    g.drawFittedText (label, area.removeFromTop (labelHeight), juce::Justification::centred, 1, minimumTextScale);

    g.setColour (themeColour (*this, "text.disabledtext"));
    g.drawFittedText (getValueText(), area.removeFromTop (labelHeight), juce::Justification::centred, 1, minimumTextScale);
}
} // namespace tarn::params
