#include "OutputNoteTracker.h"

#include <tarn/processor/MidiNotes.h>

namespace notes = tarn::MidiNotes;

void OutputNoteTracker::record (const juce::MidiBuffer& output) noexcept
{
    for (const auto m : output)
    {
        if (notes::isNoteOn (m))
            noteOn (notes::channelIndexOf (m), notes::noteOf (m));
        else if (notes::isNoteOff (m))
            noteOff (notes::channelIndexOf (m), notes::noteOf (m));
    }
}

void OutputNoteTracker::noteOn (int channelIndex, int note) noexcept
{
    auto& count = counts[(size_t) (channelIndex & 15)][(size_t) (note & 127)];

    // More than 255 unanswered strikes of one note is a stuck pattern; 255 note-offs end it.
    if (count < 255)
    {
        ++count;
        ++numSounding;
    }
}

void OutputNoteTracker::noteOff (int channelIndex, int note) noexcept
{
    auto& count = counts[(size_t) (channelIndex & 15)][(size_t) (note & 127)];

    if (count > 0)
    {
        --count;
        --numSounding;
    }
}

void OutputNoteTracker::endAll (juce::MidiBuffer& output, int sample) noexcept
{
    if (numSounding == 0)
        return;

    for (int channel = 0; channel < 16; ++channel)
        for (int note = 0; note < 128; ++note)
            for (auto& count = counts[(size_t) channel][(size_t) note]; count > 0; --count)
                notes::addNoteOff (output, channel, note, sample);

    numSounding = 0;
}

void OutputNoteTracker::clear() noexcept
{
    for (auto& channel : counts)
        channel.fill (0);

    numSounding = 0;
}
