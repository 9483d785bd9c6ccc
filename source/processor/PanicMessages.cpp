#include "PanicMessages.h"

#include <tarn/processor/MidiNotes.h>

void PanicMessages::addTo (juce::MidiBuffer& output, int sample) noexcept
{
    for (int channel = 0; channel < 16; ++channel)
    {
        for (int note = 0; note < 128; ++note)
            tarn::MidiNotes::addNoteOff (output, channel, note, sample);

        tarn::MidiNotes::add (output, 0xb0 | channel, 123, 0, sample);
    }
}
