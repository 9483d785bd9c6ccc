#include "Combo.h"

#include "ParameterText.h"

#include <tarn/gui/Theme.h>

namespace tarn::params
{
Combo::Combo (juce::RangedAudioParameter& parameter, const juce::String& labelText, const juce::String& tooltip)
    : label (labelText)
{
    setComponentID (parameter.getParameterID());
    setTooltip (tooltip);
    box.setTooltip (tooltip);
    box.setName (labelText);
    box.setWantsKeyboardFocus (false);

    const auto range = parameter.getNormalisableRange();
    int id = 1;
    for (auto value = range.start; value <= range.end + 0.5f; value += 1.0f)
        box.addItem (textFor (parameter, value), id++);

    attachment = std::make_unique<juce::ComboBoxParameterAttachment> (parameter, box);
    addAndMakeVisible (box);
}

Combo::~Combo() = default;

int Combo::getNaturalLabelWidth() const
{
    if (label.isEmpty())
        return 0;

    return juce::roundToInt (std::ceil (themeFont (*this).getStringWidthFloat (label)))
         + juce::roundToInt (themeMetric (*this, "comboLabelGap", 10.0f));
}

int Combo::getPreferredHeight() const
{
    return juce::roundToInt (themeMetric (*this, "defaultButtonHeight", 25.0f));
}

int Combo::getMinimumWidth() const
{
    return getNaturalLabelWidth() + juce::roundToInt (themeMetric (*this, "sliderNameLabelWidth", 100.0f));
}

void Combo::resized()
{
    const auto height = juce::roundToInt (themeMetric (*this, "comboHeight", 20.0f));
    const auto labelWidth = labelWidthInColumn();
    box.setBounds (getLocalBounds().withTrimmedLeft (labelWidth).withSizeKeepingCentre (getWidth() - labelWidth, std::min (height, getHeight())));
}

void Combo::paint (juce::Graphics& g)
{
    g.setFont (themeFont (*this));
    g.setColour (themeColour (*this, isEnabled() ? "text.text" : "text.disabledtext"));
    g.drawFittedText (label, getLocalBounds().withWidth (labelWidthInColumn()), juce::Justification::centredLeft, 1, 0.75f);
}
} // namespace tarn::params
