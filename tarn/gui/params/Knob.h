#pragma once

#include <tarn/gui/panels/ControlLayout.h>
#include <tarn/gui/widgets/ThemedSlider.h>

#include <juce_audio_processors/juce_audio_processors.h>

namespace tarn::params
{
/** A rotary knob bound to a parameter, with its label and the parameter's value text
    below it. Dragging is one host gesture; a double click returns to the default. The
    component ID is the parameter's identifier. [message thread] */
class Knob : public juce::Component
    , public juce::SettableTooltipClient
    , public ControlLayout
{
public:
    Knob (juce::RangedAudioParameter& parameter, const juce::String& label, const juce::String& tooltip);
    ~Knob() override;

    juce::Slider& getSlider() noexcept { return slider; }
    const juce::String& getLabel() const noexcept { return label; }
    juce::String getValueText() const;

    int getPreferredHeight() const override;
    int getMinimumWidth() const override;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    static constexpr float minimumTextScale = 0.7f;

    int getKnobDiameter() const;
    juce::Font getLabelFont() const;

    juce::RangedAudioParameter& parameter;
    juce::String label;
    ThemedSlider slider { juce::Slider::RotaryHorizontalVerticalDrag };
    std::unique_ptr<juce::SliderParameterAttachment> attachment;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Knob)
};
} // namespace tarn::params
