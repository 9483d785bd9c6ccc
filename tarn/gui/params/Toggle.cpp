#include "Toggle.h"

#include <tarn/gui/Theme.h>

namespace tarn::params
{
Toggle::Toggle (juce::RangedAudioParameter& parameter, const juce::String& labelText, const juce::String& tooltip)
    : label (labelText), button (labelText)
{
    setComponentID (parameter.getParameterID());
    setTooltip (tooltip);
    button.setTooltip (tooltip);
    attachment = std::make_unique<juce::ButtonParameterAttachment> (parameter, button);
    addAndMakeVisible (button);
}

Toggle::~Toggle() = default;

int Toggle::getPreferredHeight() const
{
    return juce::roundToInt (themeMetric (*this, "defaultButtonHeight", 25.0f));
}

int Toggle::getMinimumWidth() const
{
    return juce::roundToInt (themeFont (*this).getStringWidthFloat (label)) + button.getSwitchWidth()
         + juce::roundToInt (themeMetric (*this, "comboLabelGap", 10.0f));
}

void Toggle::resized()
{
    button.setBounds (getLocalBounds());
}
} // namespace tarn::params
