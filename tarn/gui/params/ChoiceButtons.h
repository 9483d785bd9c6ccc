#pragma once

#include <tarn/gui/panels/ControlLayout.h>
#include <tarn/gui/widgets/CommandButton.h>

#include <juce_audio_processors/juce_audio_processors.h>

namespace tarn::params
{
/** A stepped parameter's values as a row of buttons, one lit: a click picks that value, as
    one host gesture. The buttons show the parameter's own texts ("Mono", "Poly", "Chords").
    The component ID is the parameter's identifier. [message thread] */
class ChoiceButtons : public juce::Component
    , public juce::SettableTooltipClient
    , public ControlLayout
{
public:
    ChoiceButtons (juce::RangedAudioParameter& parameter, const juce::String& label, const juce::String& tooltip);
    ~ChoiceButtons() override;

    int getNumChoices() const noexcept { return buttons.size(); }
    juce::Button& getButton (int index) { return *buttons[index]; }

    /** The lit button, or -1. */
    int getSelectedIndex() const;
    const juce::String& getLabel() const noexcept { return label; }

    int getPreferredHeight() const override;
    int getMinimumWidth() const override;

    void resized() override;

private:
    void showValue (float value);

    juce::RangedAudioParameter& parameter;
    juce::String label;
    juce::OwnedArray<CommandButton> buttons;
    std::unique_ptr<juce::ParameterAttachment> attachment;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChoiceButtons)
};
} // namespace tarn::params
