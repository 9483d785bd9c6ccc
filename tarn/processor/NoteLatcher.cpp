#include "NoteLatcher.h"

#include "MidiNotes.h"

namespace tarn
{

void NoteLatcher::setLatchActive (bool shouldBeActive) noexcept
{
    if (! shouldBeActive)
    {
        releaseRequested = true;
        pressed.fill (false);
        numPressed = 0;
    }

    latchActive = shouldBeActive;
}

void NoteLatcher::prepare (double sampleRate, int maxEventsPerBlock)
{
    juce::ignoreUnused (sampleRate);
    scratch.prepare (maxEventsPerBlock);
}

void NoteLatcher::reset() noexcept
{
    pressed.fill (false);
    latched.fill (0);
    numPressed = 0;
    numLatched = 0;
    releaseRequested = false;
}

void NoteLatcher::releaseLatched (juce::MidiBuffer& out, int sample) noexcept
{
    if (numLatched == 0)
        return;

    latched.forEach ([&out, sample] (int channel, int note, juce::uint8& count)
                     {
                         for (; count > 0; --count)
                             MidiNotes::addNoteOff (out, channel, note, sample); });

    numLatched = 0;
}

void NoteLatcher::process (juce::MidiBuffer& midi) noexcept
{
    if (! latchActive && ! releaseRequested)
        return;

    auto& out = scratch.start();

    if (releaseRequested)
    {
        releaseLatched (out, 0);
        releaseRequested = false;
    }

    for (const auto m : midi)
    {
        if (latchActive && MidiNotes::isNoteOnOrOff (m))
        {
            const auto channel = MidiNotes::channelIndexOf (m);
            const auto note = MidiNotes::noteOf (m);

            if (MidiNotes::isNoteOn (m))
            {
                if (numPressed == 0)
                    releaseLatched (out, m.samplePosition);

                if (! pressed.at (channel, note))
                {
                    pressed.at (channel, note) = true;
                    ++numPressed;
                }
            }
            else
            {
                if (pressed.at (channel, note))
                {
                    pressed.at (channel, note) = false;
                    --numPressed;
                }

                auto& count = latched.at (channel, note);

                if (count < 255)
                {
                    ++count;
                    ++numLatched;
                }

                continue;
            }
        }

        out.addEvent (m.data, m.numBytes, m.samplePosition);
    }

    scratch.copyTo (midi);
}

} // namespace tarn
