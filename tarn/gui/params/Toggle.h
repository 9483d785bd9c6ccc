#pragma once

#include <tarn/gui/panels/ControlLayout.h>
#include <tarn/gui/widgets/ThemedToggle.h>

#include <juce_audio_processors/juce_audio_processors.h>

namespace tarn::params
{
/** An on/off switch bound to a switch parameter (0 off, 1 on), its label on the left. Each
    click is one host gesture. The component ID is the parameter's identifier. [message thread] */
class Toggle : public juce::Component
    , public juce::SettableTooltipClient
    , public ControlLayout
{
public:
    Toggle (juce::RangedAudioParameter& parameter, const juce::String& label, const juce::String& tooltip);
    ~Toggle() override;

    juce::Button& getButton() noexcept { return button; }
    const juce::String& getLabel() const noexcept { return label; }

    int getPreferredHeight() const override;
    int getMinimumWidth() const override;

    void resized() override;

private:
    juce::String label;
    ThemedToggle button;
    std::unique_ptr<juce::ButtonParameterAttachment> attachment;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Toggle)
};
} // namespace tarn::params
