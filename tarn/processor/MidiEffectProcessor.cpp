#include "MidiEffectProcessor.h"

namespace tarn
{

MidiEffectProcessor::MidiEffectProcessor (const juce::String& effectName)
    : BaseEffectProcessor (effectName)
{
    scratch.prepare (maxEventsPerBlock);
}

MidiEffectProcessor::~MidiEffectProcessor() = default;

void MidiEffectProcessor::prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock)
{
    BaseEffectProcessor::prepareToPlay (sampleRate, maximumExpectedSamplesPerBlock);
    scratch.prepare (maxEventsPerBlock);
}

void MidiEffectProcessor::setMaxEventsPerBlock (int numEvents)
{
    maxEventsPerBlock = juce::jmax (1, numEvents);
    scratch.prepare (maxEventsPerBlock);
}

} // namespace tarn
