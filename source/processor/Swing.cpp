#include "Swing.h"

#include <tarn/processor/MidiNotes.h>

#include <cmath>

namespace notes = tarn::MidiNotes;

namespace
{
double positiveRemainder (double x, double divisor) noexcept
{
    const auto r = std::fmod (x, divisor);
    return r < 0.0 ? r + divisor : r;
}
} // namespace

Swing::Swing()
{
    prepare (sampleRate, tarn::MidiScratchBuffer::defaultEventCapacity);
}

void Swing::prepare (double newSampleRate, int maxPendingEvents)
{
    sampleRate = newSampleRate;
    pendingCapacity = (size_t) juce::jmax (1, maxPendingEvents);
    pending.reserve (pendingCapacity);
    scratch.prepare (maxPendingEvents);
}

double Swing::gridForChoice (int choice) noexcept
{
    return choice == 1 ? 0.25 : (choice == 2 ? 0.5 : 1.0);
}

int Swing::swungTime (int t, double ppq, double samplesPerBeat, double gridLength, double swingAmount) noexcept
{
    const auto phase0 = positiveRemainder (ppq, gridLength);
    const auto p = positiveRemainder (t / samplesPerBeat + phase0, gridLength);
    const auto s = 0.5 + swingAmount / 4.0;
    const auto swung = p <= 0.5 ? 2.0 * s * p : 2.0 * (p - 0.5) * (1.0 - s) + s;
    const auto delay = (swung - p) * gridLength * samplesPerBeat;

    // A hair of tolerance, so an exact off-beat does not round up a whole sample late.
    return t + juce::jmax (0, (int) std::ceil (delay - 1.0e-6));
}

void Swing::rememberNoteOn (const juce::MidiMessageMetadata& m, juce::int64 time) noexcept
{
    auto& onTime = noteOnTime.at (notes::channelIndexOf (m), notes::noteOf (m));
    onTime = juce::jmax (onTime, time);
}

void Swing::flushPending (juce::MidiBuffer& out) noexcept
{
    for (const auto& event : pending)
        out.addEvent (event.bytes, event.size, 0);

    pending.clear();
}

void Swing::process (juce::MidiBuffer& events) noexcept
{
    const auto active = amount > 0.0 && position.has_value() && position->bpm > 0.0 && std::isfinite (position->bpm)
                        && std::isfinite (position->ppq) && sampleRate > 0.0;

    if (! active && pending.empty())
    {
        for (const auto m : events)
            if (notes::isNoteOn (m))
                rememberNoteOn (m, blockStart + m.samplePosition);

        blockStart += numSamples;
        return;
    }

    auto& out = scratch.start();

    if (! active)
    {
        flushPending (out);

        for (const auto m : events)
        {
            if (notes::isNoteOn (m))
                rememberNoteOn (m, blockStart + m.samplePosition);

            out.addEvent (m.data, m.numBytes, m.samplePosition);
        }
    }
    else
    {
        const auto samplesPerBeat = sampleRate * 60.0 / position->bpm;

        for (const auto m : events)
        {
            if (m.numBytes > 3 || pending.size() >= pendingCapacity)
            {
                // Nothing longer than a channel message reaches swing; a full list plays late events on time.
                out.addEvent (m.data, m.numBytes, m.samplePosition);
                continue;
            }

            juce::int64 time = swungTime (m.samplePosition, position->ppq, samplesPerBeat, grid, amount);

            if (notes::isNoteOnOrOff (m))
            {
                auto& onTime = noteOnTime.at (notes::channelIndexOf (m), notes::noteOf (m));

                // The latest placed note-on of the pitch, not the last one read: on the
                // shorter grids a later note-on can land before an earlier one.
                if (notes::isNoteOn (m))
                    onTime = juce::jmax (onTime, blockStart + time);
                else
                    time = juce::jmax (time, onTime - blockStart);
            }

            PendingEvent event { time, {}, (juce::uint8) m.numBytes };
            std::copy (m.data, m.data + m.numBytes, event.bytes);
            pending.push_back (event);
        }

        size_t kept = 0;

        for (auto& event : pending)
        {
            if (event.time < numSamples)
            {
                out.addEvent (event.bytes, event.size, (int) juce::jmax ((juce::int64) 0, event.time));
            }
            else
            {
                event.time -= numSamples;
                pending[kept++] = event;
            }
        }

        pending.resize (kept);
    }

    blockStart += numSamples;
    scratch.copyTo (events);
}
