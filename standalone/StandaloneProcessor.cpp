#include "StandaloneProcessor.h"

StandaloneProcessor::StandaloneProcessor (const StandaloneOptions& options)
    : clock (options.tempo)
    , jack (juce::String (productName) + " MIDI", options.jackMidiSources, options.jackMidiDestinations)
{
    // The framework's player only puts in a play head of its own (one without tempo or
    // position) when the processor has none.
    setPlayHead (&clock);
}

StandaloneProcessor::~StandaloneProcessor()
{
    setPlayHead (nullptr);
}

void StandaloneProcessor::processBlockInternal (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi)
{
    jack.takeInput (midi, audio.getNumSamples());
    Cadenzium2AudioProcessor::processBlockInternal (audio, midi);
    jack.sendOutput (midi);
}
