#pragma once

#include <tarn/gui/panels/ControlLayout.h>

#include <juce_audio_processors/juce_audio_processors.h>

namespace tarn::params
{
/** A menu of a stepped parameter's values, one item per whole value of its range with the
    parameter's own text ("C0 : B0", "Note On"), its label on the left. Each choice is one
    host gesture. The component ID is the parameter's identifier. [message thread] */
class Combo : public juce::Component
    , public juce::SettableTooltipClient
    , public ControlLayout
{
public:
    Combo (juce::RangedAudioParameter& parameter, const juce::String& label, const juce::String& tooltip);
    ~Combo() override;

    juce::ComboBox& getComboBox() noexcept { return box; }
    const juce::String& getLabel() const noexcept { return label; }

    int getPreferredHeight() const override;
    int getMinimumWidth() const override;
    int getNaturalLabelWidth() const override;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    juce::String label;
    juce::ComboBox box;
    std::unique_ptr<juce::ComboBoxParameterAttachment> attachment;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Combo)
};
} // namespace tarn::params
