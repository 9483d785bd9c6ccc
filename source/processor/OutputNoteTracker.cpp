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
    auto& count = counts.at (channelIndex, note);

    // More than 255 unanswered strikes of one note is a stuck pattern; 255 note-offs end it.
    if (count < 255)
    {
        ++count;
        ++numSounding;
        sounding[(size_t) (channelIndex & 15)].set ((size_t) (note & 127));
    }
}

void OutputNoteTracker::noteOff (int channelIndex, int note) noexcept
{
    auto& count = counts.at (channelIndex, note);

    if (count > 0)
    {
        --count;
        --numSounding;

        if (count == 0)
            sounding[(size_t) (channelIndex & 15)].reset ((size_t) (note & 127));
    }
}

void OutputNoteTracker::endAll (juce::MidiBuffer& output, int sample) noexcept
{
    if (numSounding == 0)
        return;

    counts.forEach ([&output, sample] (int channel, int note, juce::uint8& count)
                    {
                        for (; count > 0; --count)
                            notes::addNoteOff (output, channel, note, sample); });

    numSounding = 0;
    sounding = {};
}

void OutputNoteTracker::clear() noexcept
{
    counts.fill (0);
    numSounding = 0;
    sounding = {};
}
