#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace tarn
{

/** The in-house processor base: owns the parameter tree and listens to every parameter. */
class AudioProcessor : public juce::AudioProcessor
    , public juce::AudioProcessorValueTreeState::Listener
{
public:
    AudioProcessor (const BusesProperties& buses,
                    const juce::Identifier& stateType,
                    juce::AudioProcessorValueTreeState::ParameterLayout layout);
    ~AudioProcessor() override;

    juce::AudioProcessorValueTreeState& getParameterState() noexcept { return parameters; }
    const juce::AudioProcessorValueTreeState& getParameterState() const noexcept { return parameters; }

    /** The parameter's raw (unnormalised) value, or 0 for an unknown identifier. [any thread] */
    float getRawParameterValue (const juce::String& id) const noexcept;

    /** The raw value rounded to the nearest integer, for parameters used as whole numbers. [any thread] */
    int getIntParameterValue (const juce::String& id) const noexcept;

    /** Sets a parameter from its raw value, telling the host. [message thread] */
    void setRawParameterValueNotifyingHost (const juce::String& id, float rawValue);

protected:
    juce::AudioProcessorValueTreeState parameters;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AudioProcessor)
};

} // namespace tarn
