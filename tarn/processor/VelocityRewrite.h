#pragma once

#include "MidiNotes.h"
#include "MidiScratchBuffer.h"

namespace tarn
{

/** Gives every note-on and note-off of a block a new velocity, newVelocity (oldVelocity),
    through `scratch`, and passes everything else. A note-on never leaves with velocity 0
    (that would be a note-off and lose the note), and a note-on with velocity 0 stays a
    note-off. [audio thread; no allocation while scratch has room] */
template <typename VelocityFunction>
void rewriteVelocities (juce::MidiBuffer& midi, MidiScratchBuffer& scratch, VelocityFunction&& newVelocity) noexcept
{
    auto& out = scratch.start();

    for (const auto m : midi)
    {
        if (MidiNotes::isNoteOn (m))
        {
            const auto v = juce::jlimit (1, 127, (int) newVelocity (MidiNotes::velocityOf (m)));
            MidiNotes::add (out, m.data[0], m.data[1], v, m.samplePosition);
        }
        else if (MidiNotes::statusOf (m) == 0x80 && m.numBytes >= 3)
        {
            const auto v = juce::jlimit (0, 127, (int) newVelocity (MidiNotes::velocityOf (m)));
            MidiNotes::add (out, m.data[0], m.data[1], v, m.samplePosition);
        }
        else
        {
            out.addEvent (m.data, m.numBytes, m.samplePosition);
        }
    }

    scratch.copyTo (midi);
}

} // namespace tarn
