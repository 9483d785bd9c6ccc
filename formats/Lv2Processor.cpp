#include "Lv2Processor.h"

void Lv2Processor::processBlockInternal (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi)
{
    // The wrapper gives the processor its play head once, after making it: from the first
    // block on, the processor reads the host's through ours.
    if (auto* given = getPlayHead(); given != &transport)
    {
        transport.setSource (given);
        setPlayHead (&transport);
    }

    transport.advance (audio.getNumSamples(), getSampleRate());
    Cadenzium2AudioProcessor::processBlockInternal (audio, midi);
}
