#include "TarnAudioProcessor.h"

namespace tarn
{

AudioProcessor::AudioProcessor (const BusesProperties& buses,
                                const juce::Identifier& stateType,
                                juce::AudioProcessorValueTreeState::ParameterLayout layout)
    : juce::AudioProcessor (buses)
    , parameters (*this, nullptr, stateType, std::move (layout))
{
    for (auto* parameter : getParameters())
        if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter))
            parameters.addParameterListener (withId->getParameterID(), this);
}

AudioProcessor::~AudioProcessor()
{
    for (auto* parameter : getParameters())
        if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter))
            parameters.removeParameterListener (withId->getParameterID(), this);
}

float AudioProcessor::getRawParameterValue (const juce::String& id) const noexcept
{
    if (auto* value = parameters.getRawParameterValue (id))
        return value->load (std::memory_order_relaxed);

    return 0.0f;
}

int AudioProcessor::getIntParameterValue (const juce::String& id) const noexcept
{
    return juce::roundToInt (getRawParameterValue (id));
}

void AudioProcessor::setRawParameterValueNotifyingHost (const juce::String& id, float rawValue)
{
    if (auto* parameter = parameters.getParameter (id))
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (rawValue));
}

} // namespace tarn
