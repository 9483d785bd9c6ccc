#pragma once

#include <tarn/gui/panels/ControlLayout.h>
#include <tarn/gui/widgets/ThemedSlider.h>

#include <juce_audio_processors/juce_audio_processors.h>

namespace tarn::params
{
/** A horizontal slider bound to a parameter: its label and the parameter's value text on a
    line, the track below them across the whole width. Dragging is one host gesture; a double click returns
    to the default. The component ID is the parameter's identifier. [message thread] */
class HorizontalSlider : public juce::Component
    , public juce::SettableTooltipClient
    , public ControlLayout
{
public:
    HorizontalSlider (juce::RangedAudioParameter& parameter, const juce::String& label, const juce::String& tooltip);
    ~HorizontalSlider() override;

    juce::Slider& getSlider() noexcept { return slider; }
    const juce::String& getLabel() const noexcept { return label; }
    juce::String getValueText() const;

    int getPreferredHeight() const override;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    juce::Rectangle<int> getTextLine() const;
    juce::Rectangle<int> getValueArea() const;

    juce::RangedAudioParameter& parameter;
    juce::String label;
    ThemedSlider slider { juce::Slider::LinearHorizontal };
    std::unique_ptr<juce::SliderParameterAttachment> attachment;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HorizontalSlider)
};
} // namespace tarn::params
