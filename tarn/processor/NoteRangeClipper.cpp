#include "NoteRangeClipper.h"

#include "MidiNotes.h"

namespace tarn
{

void NoteRangeClipper::setRange (int newLow, int newHigh) noexcept
{
    low = juce::jlimit (0, 127, newLow);
    high = juce::jmax (low, juce::jlimit (0, 127, newHigh));
}

void NoteRangeClipper::prepare (double sampleRate, int maxEventsPerBlock)
{
    juce::ignoreUnused (sampleRate);
    scratch.prepare (maxEventsPerBlock);
}

void NoteRangeClipper::process (juce::MidiBuffer& midi) noexcept
{
    auto& out = scratch.start();

    for (const auto m : midi)
    {
        if (MidiNotes::isNoteOnOrOff (m))
        {
            const auto note = MidiNotes::noteOf (m);
            auto& count = passed.at (MidiNotes::channelIndexOf (m), note);
            const auto inRange = low <= note && note < high;

            if (MidiNotes::isNoteOn (m))
            {
                if (! inRange)
                    continue;

                if (count < std::numeric_limits<juce::uint16>::max())
                    ++count;
            }
            else if (count > 0)
            {
                --count;
            }
            else
            {
                // Its note-on was not let through (or was ended with everything else).
                continue;
            }
        }

        out.addEvent (m.data, m.numBytes, m.samplePosition);
    }

    scratch.copyTo (midi);
}

} // namespace tarn
