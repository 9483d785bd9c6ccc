#pragma once

#include <tarn/gui/panels/ControlLayout.h>
#include <tarn/gui/widgets/ThemedSlider.h>

#include <juce_audio_processors/juce_audio_processors.h>

namespace tarn::params
{
/** A range of two parameters, a low and a high bound, on one two-handled slider with the
    label and the two value texts above it. Dragging a handle is one host gesture on that
    handle's parameter. The component ID is the low parameter's identifier.

    The parameters may hold a low bound above the high one (the host can automate them
    apart); the slider then shows both handles at the low value, and the texts say what
    the parameters hold. [message thread] */
class RangeSlider : public juce::Component
    , public juce::SettableTooltipClient
    , public ControlLayout
{
public:
    RangeSlider (juce::RangedAudioParameter& low, juce::RangedAudioParameter& high,
                 const juce::String& label, const juce::String& tooltip);
    ~RangeSlider() override;

    juce::Slider& getSlider() noexcept { return slider; }
    const juce::String& getLabel() const noexcept { return label; }

    /** "80 - 100", from the parameters' own texts. */
    juce::String getValueText() const;

    int getPreferredHeight() const override;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void showParameterValues();
    void sliderMoved();
    juce::ParameterAttachment& attachmentFor (int thumb);

    juce::RangedAudioParameter& low;
    juce::RangedAudioParameter& high;
    juce::String label;
    ThemedSlider slider { juce::Slider::TwoValueHorizontal };
    std::unique_ptr<juce::ParameterAttachment> lowAttachment, highAttachment;
    int draggedThumb = 0;
    bool updatingFromParameters = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RangeSlider)
};
} // namespace tarn::params
