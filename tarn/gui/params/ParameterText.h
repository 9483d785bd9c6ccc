#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace tarn::params
{
/** The parameter's own text for a value in its range ("25%", "C3", "Enabled"). */
inline juce::String textFor (const juce::RangedAudioParameter& parameter, float value)
{
    return parameter.getText (parameter.convertTo0to1 (value), 0);
}

/** The parameter's current value in its range. */
inline float currentValueOf (const juce::RangedAudioParameter& parameter)
{
    return parameter.convertFrom0to1 (parameter.getValue());
}

/** Its default value in its range. */
inline float defaultValueOf (const juce::RangedAudioParameter& parameter)
{
    return parameter.convertFrom0to1 (parameter.getDefaultValue());
}

/** Binds a slider to its parameter as every parameter-bound slider does: tooltip, name,
    attachment, and a double-click back to the default. */
inline std::unique_ptr<juce::SliderParameterAttachment> attachSlider (juce::Slider& slider, juce::RangedAudioParameter& parameter,
                                                                      const juce::String& labelText, const juce::String& tooltip)
{
    slider.setTooltip (tooltip);
    slider.setName (labelText);
    auto attachment = std::make_unique<juce::SliderParameterAttachment> (parameter, slider);
    slider.setDoubleClickReturnValue (true, (double) defaultValueOf (parameter));
    return attachment;
}
} // namespace tarn::params
