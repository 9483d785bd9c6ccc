#include "KeyLock.h"

#include <tarn/processor/MidiNotes.h>

namespace notes = tarn::MidiNotes;

KeyLock::KeyLock()
{
    prepare (44100.0, tarn::MidiScratchBuffer::defaultEventCapacity);
}

void KeyLock::prepare (double sampleRate, int maxEventsPerBlock)
{
    juce::ignoreUnused (sampleRate);
    scratch.prepare (maxEventsPerBlock);
    movedAhead.assign ((size_t) juce::jmax (1, maxEventsPerBlock), false);
}

void KeyLock::reset() noexcept
{
    sent.forEach ([] (int, int, SentPitches& cell)
                  { cell.numRuns = 0; });

    numSounding = 0;
}

int KeyLock::remember (int channel, int note, int pitch) noexcept
{
    auto& cell = sent.at (channel, note);

    if (cell.numRuns > 0)
    {
        auto& last = cell.at (cell.numRuns - 1);

        // With every run taken (eight key changes while one note repeats), a new strike
        // stays on the latest pitch rather than going somewhere its note-off cannot follow.
        if ((last.pitch == pitch || cell.numRuns == maxRuns) && last.count < 255)
        {
            ++last.count;
            ++numSounding;
            return last.pitch;
        }

        if (cell.numRuns == maxRuns)
            return -1;
    }

    cell.at (cell.numRuns++) = { (juce::uint8) pitch, 1 };
    ++numSounding;
    return pitch;
}

int KeyLock::takeOldest (int channel, int note) noexcept
{
    auto& cell = sent.at (channel, note);
    auto& oldest = cell.at (0);
    const auto pitch = (int) oldest.pitch;

    if (--oldest.count == 0)
    {
        cell.first = (juce::uint8) ((cell.first + 1) % maxRuns);
        --cell.numRuns;
    }

    --numSounding;
    return pitch;
}

int KeyLock::newest (int channel, int note) const noexcept
{
    const auto& cell = sent.at (channel, note);
    return (int) cell.at (cell.numRuns - 1).pitch;
}

void KeyLock::emit (juce::MidiBuffer& out, const juce::MidiMessageMetadata& m) noexcept
{
    const auto isNote = notes::isNoteOnOrOff (m) || notes::isPolyAftertouch (m);

    if (! isNote)
    {
        out.addEvent (m.data, m.numBytes, m.samplePosition);
        return;
    }

    const auto channel = notes::channelIndexOf (m);
    const auto note = notes::noteOf (m);
    const auto locked = lockOn ? key.lockNote (note) : note;
    auto pitch = locked;

    if (notes::isNoteOn (m))
    {
        pitch = remember (channel, note, locked);

        if (pitch < 0)
            return; // 255 unanswered strikes on each of eight pitches: not one more
    }
    else if (notes::isNoteOff (m))
        pitch = isSounding (channel, note) ? takeOldest (channel, note) : locked;
    else
        pitch = isSounding (channel, note) ? newest (channel, note) : locked;

    notes::add (out, m.data[0], pitch, m.data[2], m.samplePosition);
}

void KeyLock::process (juce::MidiBuffer& events) noexcept
{
    // Even with the lock off, note-ons are remembered: the lock may come on before they end.
    if (events.isEmpty())
        return;

    auto& out = scratch.start();
    const auto end = events.cend();

    for (auto groupStart = events.cbegin(); groupStart != end;)
    {
        const auto time = (*groupStart).samplePosition;
        auto groupEnd = groupStart;

        while (groupEnd != end && (*groupEnd).samplePosition == time)
            ++groupEnd;

        if (lockOn)
        {
            size_t index = 0;

            for (auto it = groupStart; it != groupEnd; ++it, ++index)
            {
                const auto m = *it;
                const auto moves = index < movedAhead.size() && notes::isNoteOff (m)
                                   && isSounding (notes::channelIndexOf (m), notes::noteOf (m));

                if (moves)
                    emit (out, m);

                if (index < movedAhead.size())
                    movedAhead[index] = moves;
            }

            index = 0;

            for (auto it = groupStart; it != groupEnd; ++it, ++index)
                if (index >= movedAhead.size() || ! movedAhead[index])
                    emit (out, *it);
        }
        else
        {
            for (auto it = groupStart; it != groupEnd; ++it)
                emit (out, *it);
        }

        groupStart = groupEnd;
    }

    scratch.copyTo (events);
}
