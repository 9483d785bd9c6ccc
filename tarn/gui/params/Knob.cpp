#include "Knob.h"

#include "ParameterText.h"

#include <tarn/gui/widgets/TemporaryThemeStub.h>

namespace tarn::params
{
Knob::Knob (juce::RangedAudioParameter& p, const juce::String& labelText, const juce::String& tooltip)
    : parameter (p), label (labelText)
{
    setComponentID (p.getParameterID());
    setTooltip (tooltip);
    slider.setTooltip (tooltip);
    slider.setName (labelText);
    attachment = std::make_unique<juce::SliderParameterAttachment> (p, slider);
    slider.setDoubleClickReturnValue (true, defaultValueOf (p));
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
    const auto font = themeFont (*this);
    const auto widest = std::max (font.getStringWidthFloat (label), font.getStringWidthFloat ("-88 steps"));
    return std::max (getKnobDiameter(), juce::roundToInt (std::ceil (widest)) + 4);
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

    g.setFont (themeFont (*this));
    g.setColour (themeColour (*this, isEnabled() ? "text.text" : "text.disabledtext"));
    g.drawFittedText (label, area.removeFromTop (labelHeight), juce::Justification::centred, 1, 0.75f);

    g.setColour (themeColour (*this, "text.disabledtext"));
    g.drawFittedText (getValueText(), area.removeFromTop (labelHeight), juce::Justification::centred, 1, 0.75f);
}
} // namespace tarn::params
