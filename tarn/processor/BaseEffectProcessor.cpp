#include "BaseEffectProcessor.h"

namespace tarn
{

BaseEffectProcessor::BaseEffectProcessor (const juce::String& effectName)
    : juce::AudioProcessor (BusesProperties())
    , name (effectName)
{
}

BaseEffectProcessor::~BaseEffectProcessor() = default;

void BaseEffectProcessor::prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock)
{
    setRateAndBufferSizeDetails (sampleRate, maximumExpectedSamplesPerBlock);
}

const juce::String BaseEffectProcessor::getProgramName (int index)
{
    juce::ignoreUnused (index);
    return {};
}

} // namespace tarn
