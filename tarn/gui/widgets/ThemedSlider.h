#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{
/** The framework's slider drawn in the theme's colours: a knob with a value ring for the
    rotary styles, a track with a filled part for the horizontal ones (two handles for a
    range). Mouse handling is the framework's. [message thread] */
class ThemedSlider : public juce::Slider
{
public:
    explicit ThemedSlider (SliderStyle style);

    void paint (juce::Graphics& g) override;

private:
    void paintRotary (juce::Graphics& g);
    void paintHorizontal (juce::Graphics& g);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ThemedSlider)
};
} // namespace tarn
