#include "NoteLatcher.h"

namespace tarn
{

NoteLatcher::NoteLatcher()
    : MidiEffectProcessor ("Note Latcher")
{
}

NoteLatcher::~NoteLatcher() = default;

void NoteLatcher::setLatchActive (bool shouldBeActive) noexcept
{
    if (! shouldBeActive)
    {
        releaseRequested = true;

        for (auto& channel : pressed)
            channel.reset();

        numPressed = 0;
    }

    latchActive = shouldBeActive;
}

void NoteLatcher::reset() noexcept
{
    for (auto& channel : pressed)
        channel.reset();

    for (auto& channel : latched)
        channel.fill (0);

    numPressed = 0;
    numLatched = 0;
    releaseRequested = false;
}

void NoteLatcher::releaseLatched (juce::MidiBuffer& out, int sample) noexcept
{
    if (numLatched == 0)
        return;

    for (int channel = 0; channel < 16; ++channel)
    {
        for (int note = 0; note < 128; ++note)
        {
            auto& count = latched[(size_t) channel][(size_t) note];

            for (; count > 0; --count)
                MidiNotes::addNoteOff (out, channel, note, sample);
        }
    }

    numLatched = 0;
}

void NoteLatcher::processBlock (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi)
{
    juce::ignoreUnused (audio);

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
            const auto channel = (size_t) MidiNotes::channelIndexOf (m);
            const auto note = (size_t) MidiNotes::noteOf (m);

            if (MidiNotes::isNoteOn (m))
            {
                if (numPressed == 0)
                    releaseLatched (out, m.samplePosition);

                if (! pressed[channel][note])
                {
                    pressed[channel].set (note);
                    ++numPressed;
                }
            }
            else
            {
                if (pressed[channel][note])
                {
                    pressed[channel].reset (note);
                    --numPressed;
                }

                auto& count = latched[channel][note];

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
