#pragma once

#include "Sequence.h"

#include <juce_core/juce_core.h>

#include <vector>

namespace tarn
{

/** One strike of a note within a pass, before its random choices are made. */
struct NoteEvent
{
    const SequenceNote* note = nullptr;
    juce::int64 time = 0;
    juce::int64 length = 0;
};

/** The notes one pitch row plays in a pass: its notes as written, cut at the end of the
    row's span, and the repetitions its row loop adds up to the phrase end.

    The repetitions are counted and visited by range of time without listing them all, since
    a short loop in a long phrase repeats up to a million times per note. Events that cannot
    sound (no length left after the cut) are left out. [any thread]
*/
class RowEvents
{
public:
    using Tick = juce::int64;

    /** `notes` are the row's notes in timestamp order. */
    RowEvents (const std::vector<const SequenceNote*>& notes, const RowLoop& loop, Tick phraseLength);

    /** The notes as written, in timestamp order. */
    const std::vector<NoteEvent>& getWrittenNotes() const noexcept { return written; }

    /** How many loop repetitions start before `time`. */
    juce::int64 countRepetitionsBefore (Tick time) const noexcept;

    /** Calls `visit (const NoteEvent&)` for every loop repetition starting in [from, to), in
        time order. */
    template <typename Visitor>
    void forEachRepetition (Tick from, Tick to, Visitor&& visit) const
    {
        if (body.empty())
            return;

        to = std::min (to, length);

        // Repetition k begins at loopEnd + (k - 1) * period, and its notes lie within one
        // period of that.
        auto k = std::max ((Tick) 1, (from - loopEnd) / period + 1);

        for (auto start = loopEnd + (k - 1) * period; start < to; start += period)
        {
            for (const auto& note : body)
            {
                const auto time = start + note.time;

                if (time >= to)
                    break;

                if (time >= from)
                    visit (NoteEvent { note.note, time, std::min (note.length, length - time) });
            }
        }
    }

private:
    std::vector<NoteEvent> written;
    std::vector<NoteEvent> body; // the looped notes, timed from the loop start
    Tick loopEnd = 0, period = 1, length = 0;
};

/** The turn of a pass to its playback start: tick p of the phrase is played first. */
struct PassRotation
{
    juce::int64 start = 0, length = 0;

    juce::int64 apply (juce::int64 time) const noexcept { return time >= start ? time - start : time + length - start; }

    /** The phrase times, as up to two ranges [from, to), that are played before `playedTime`:
        calls `visit (from, to)` in time order. */
    template <typename Visitor>
    void forEachRangePlayedBefore (juce::int64 playedTime, Visitor&& visit) const
    {
        playedTime = juce::jlimit ((juce::int64) 0, length, playedTime);

        if (start + playedTime > length)
            visit ((juce::int64) 0, start + playedTime - length);

        visit (start, std::min (length, start + playedTime));
    }
};

} // namespace tarn
