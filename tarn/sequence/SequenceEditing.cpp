#include "SequenceEditing.h"

#include <limits>
#include <numeric>
#include <unordered_map>

namespace tarn::SequenceEditing
{
namespace
{
    /** A note's end without overflow, whatever a stored note holds. */
    juce::int64 endOf (const SequenceNote& note) noexcept
    {
        return (juce::int64) note.timestamp + note.length;
    }

    /** Copies may lie past the phrase end, kept whole for when it grows; past the longest
        phrase a stored phrase could not hold them where they are. */
    bool fitsAPhrase (juce::int64 start) noexcept
    {
        return start >= 0 && start <= Sequence::maxLength;
    }

    int clampToInt (juce::int64 value) noexcept
    {
        return (int) juce::jlimit ((juce::int64) std::numeric_limits<int>::min(),
                                   (juce::int64) std::numeric_limits<int>::max(),
                                   value);
    }

    /** The sequence being edited with one selection flag per note, kept side by side so the
        selection follows its notes through removals, additions and re-sorting. */
    struct Working
    {
        Working (const Sequence& source, const NoteSelection& selection)
            : sequence (source)
            , selected (selection.toFlags ((int) source.notes.size()))
        {
        }

        Sequence sequence;
        std::vector<bool> selected;

        int numNotes() const noexcept { return (int) sequence.notes.size(); }

        std::vector<int> selectedPositions() const
        {
            std::vector<int> positions;

            for (size_t i = 0; i < selected.size(); ++i)
                if (selected[i])
                    positions.push_back ((int) i);

            return positions;
        }

        void addNote (const SequenceNote& note, bool isSelected)
        {
            sequence.notes.push_back (note);
            selected.push_back (isSelected);
        }

        void removeMarked (const std::vector<bool>& marked)
        {
            size_t kept = 0;

            for (size_t i = 0; i < sequence.notes.size(); ++i)
            {
                if (marked[i])
                    continue;

                sequence.notes[kept] = sequence.notes[i];
                selected[kept] = selected[i];
                ++kept;
            }

            sequence.notes.resize (kept);
            selected.resize (kept);
        }

        void sortByStart() { SequenceEditing::sortByStart (sequence.notes, selected); }
    };

    SequenceEdit finish (const Sequence& original, Working&& working)
    {
        working.sortByStart();
        working.sequence.normalise();

        SequenceEdit edit;
        edit.outcome = hasSameContent (original, working.sequence) ? EditOutcome::unchanged : EditOutcome::changed;
        edit.selection = NoteSelection::fromFlags (working.selected);
        edit.sequence = std::move (working.sequence);
        return edit;
    }

    SequenceEdit leaveAsItIs (const Sequence& sequence, const NoteSelection& selection, EditOutcome outcome)
    {
        const auto flags = selection.toFlags ((int) sequence.notes.size());
        return { sequence, NoteSelection::fromFlags (flags), outcome };
    }

    /** Halving rounds halves to even, which can carry the end of a note that ended inside the
        phrase one tick past the new end: it is cut back there. */
    void cutAtPhraseEnd (SequenceNote& note, int phraseLength) noexcept
    {
        if (note.timestamp >= 0 && note.timestamp < phraseLength && endOf (note) > phraseLength)
            note.length = phraseLength - note.timestamp;
    }

    void clearRepeats (SequenceNote& note) noexcept
    {
        note.repeatStyle = SequenceNote::noRepeats;
        note.repeatCount = 0;
        note.repeatRate = {};
    }

    /** The overlap rules, applied in place. A note already marked for deletion neither acts
        on others nor is acted on, so two identical selected notes do not delete each other. */
    void resolveOverlapsIn (Working& working)
    {
        auto& notes = working.sequence.notes;
        std::vector<bool> doomed (notes.size(), false);

        // Only notes of the same row meet, so each selected note looks at its own row only.
        std::unordered_map<int, std::vector<size_t>> notesOnRow;

        for (size_t i = 0; i < notes.size(); ++i)
            notesOnRow[notes[i].number].push_back (i);

        for (auto s : working.selectedPositions())
        {
            if (doomed[(size_t) s])
                continue;

            const auto sStart = (juce::int64) notes[(size_t) s].timestamp;
            const auto sEnd = sStart + notes[(size_t) s].length;

            for (auto n : notesOnRow[notes[(size_t) s].number])
            {
                auto& other = notes[n];

                if ((int) n == s || doomed[n])
                    continue;

                const auto nStart = (juce::int64) other.timestamp;
                const auto nEnd = nStart + other.length;

                if (sStart <= nStart && nEnd <= sEnd) // the same extent, or inside S
                    doomed[n] = true;
                else if (nStart < sStart && nEnd > sStart) // over S, or ending inside it
                    other.length = (int) (sStart - nStart);
                else if (sStart <= nStart && nStart < sEnd && sEnd < nEnd) // starting inside S
                {
                    other.timestamp = (int) sEnd;
                    other.length = (int) (nEnd - sEnd);
                }
            }
        }

        working.removeMarked (doomed);
    }

    /** Pitch mirror between the lowest and highest of the given notes. */
    void invertPitches (Working& working, const std::vector<int>& positions)
    {
        if (positions.empty())
            return;

        auto& notes = working.sequence.notes;
        auto lo = notes[(size_t) positions.front()].number;
        auto hi = lo;

        for (auto p : positions)
        {
            lo = std::min (lo, notes[(size_t) p].number);
            hi = std::max (hi, notes[(size_t) p].number);
        }

        for (auto p : positions)
            notes[(size_t) p].number = clampToInt ((juce::int64) hi + lo - notes[(size_t) p].number);
    }

    /** Time mirror of the given notes inside their own span. */
    void reverseTimes (Working& working, const std::vector<int>& positions)
    {
        if (positions.empty())
            return;

        auto& notes = working.sequence.notes;
        auto start = (juce::int64) notes[(size_t) positions.front()].timestamp;
        auto end = start + notes[(size_t) positions.front()].length;

        for (auto p : positions)
        {
            start = std::min (start, (juce::int64) notes[(size_t) p].timestamp);
            end = std::max (end, endOf (notes[(size_t) p]));
        }

        for (auto p : positions)
        {
            auto& note = notes[(size_t) p];
            note.timestamp = clampToInt (end + start - note.timestamp - note.length);
        }
    }

    std::vector<int> allPositions (const Working& working)
    {
        std::vector<int> positions ((size_t) working.numNotes());
        std::iota (positions.begin(), positions.end(), 0);
        return positions;
    }

    /** A time at half speed (twice as long) or at double speed (half as long). */
    juce::int64 rescaled (int ticks, bool slower) noexcept
    {
        return slower ? (juce::int64) ticks * 2 : (juce::int64) scaleTicks (ticks, 0.5f);
    }

    /** Rescales every time of the phrase. False when a result does not fit a tick count. */
    bool rescaleAllTimes (Sequence& sequence, bool slower)
    {
        const auto rescale = [slower] (int& ticks)
        {
            const auto result = rescaled (ticks, slower);

            if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
                return false;

            ticks = (int) result;
            return true;
        };

        const auto oldLength = sequence.getLength();
        const auto newLength = (int) rescaled (oldLength, slower);

        for (auto& note : sequence.notes)
        {
            const auto wasInside = note.timestamp < oldLength;
            const auto endedInside = endOf (note) <= oldLength;

            if (! rescale (note.timestamp) || ! rescale (note.length))
                return false;

            // Halving rounds halves to even, which can carry a note from the last tick onto
            // the new end, where it would never sound again, or a note's end one tick past it.
            if (wasInside && note.timestamp >= newLength && newLength > 0)
                note.timestamp = newLength - 1;

            if (endedInside)
                cutAtPhraseEnd (note, newLength);
        }

        for (auto& lane : sequence.lanes)
            for (auto& point : lane.points)
                if (! rescale (point.timestamp))
                    return false;

        for (auto& loop : sequence.loops)
        {
            if ((loop.start > 0 && ! rescale (loop.start)) || (loop.end > 0 && ! rescale (loop.end)))
                return false;

            if (loop.end < loop.start)
                loop.end = loop.start;

            // A region that rounds away to nothing would never advance during playback.
            if (! loop.isSet())
                loop.clear();
        }

        auto newPlaybackStart = sequence.playbackStart;

        if (! rescale (newPlaybackStart))
            newPlaybackStart = 0;

        sequence.setLength (newLength);
        sequence.playbackStart = sequence.getLength() > 0 ? juce::jlimit (0, sequence.getLength() - 1, newPlaybackStart) : 0;
        return true;
    }

    SequenceEdit changeSpeed (const Sequence& sequence, const NoteSelection& selection, bool slower)
    {
        const auto newLength = rescaled (sequence.getLength(), slower);

        // Refused rather than clamped: clamping would silently cut notes off, and a phrase
        // without any time cannot play.
        if (newLength > Sequence::maxLength || (! slower && newLength < 1))
            return leaveAsItIs (sequence, selection, EditOutcome::refused);

        Working working (sequence, selection);

        if (! rescaleAllTimes (working.sequence, slower))
            return leaveAsItIs (sequence, selection, EditOutcome::refused);

        return finish (sequence, std::move (working));
    }
} // namespace

void sortByStart (std::vector<SequenceNote>& notes, std::vector<bool>& flags)
{
    std::vector<size_t> order (notes.size());
    std::iota (order.begin(), order.end(), size_t { 0 });
    std::stable_sort (order.begin(), order.end(), [&notes] (size_t a, size_t b)
                      { return notes[a].timestamp < notes[b].timestamp; });

    std::vector<SequenceNote> sortedNotes;
    std::vector<bool> sortedFlags;
    sortedNotes.reserve (order.size());
    sortedFlags.reserve (order.size());

    for (auto i : order)
    {
        sortedNotes.push_back (notes[i]);
        sortedFlags.push_back (flags[i]);
    }

    notes = std::move (sortedNotes);
    flags = std::move (sortedFlags);
}

//==============================================================================
int scaleTicks (int ticks, float factor) noexcept
{
    return juce::roundToInt ((float) ticks * factor);
}

bool hasSameContent (const Sequence& a, const Sequence& b)
{
    return a.getLength() == b.getLength() && a.playbackStart == b.playbackStart
           && a.timeSignatureNumerator == b.timeSignatureNumerator
           && a.timeSignatureDenominator == b.timeSignatureDenominator && a.loopCount == b.loopCount
           && a.name == b.name && a.notes == b.notes && a.loops == b.loops && a.lanes == b.lanes;
}

//==============================================================================
SequenceEdit setRepeats (const Sequence& sequence, const NoteSelection& selection, const NoteRepeat& repeat)
{
    Working working (sequence, selection);

    for (auto p : working.selectedPositions())
    {
        auto& note = working.sequence.notes[(size_t) p];
        clearRepeats (note);

        if (repeat.style == SequenceNote::repeatAtRate)
        {
            note.repeatStyle = SequenceNote::repeatAtRate;
            note.repeatCount = repeat.rate.identifier;
            note.repeatRate = repeat.rate;
        }
        else if (repeat.style == SequenceNote::repeatCountTimes && repeat.strikes >= 2)
        {
            // Counts a stored phrase would not read back are kept to what it does.
            note.repeatStyle = SequenceNote::repeatCountTimes;
            note.repeatCount = std::min (repeat.strikes, NoteRepeat::maxEqualStrikes);
        }
    }

    return finish (sequence, std::move (working));
}

SequenceEdit deleteNotes (const Sequence& sequence, const NoteSelection& selection)
{
    Working working (sequence, selection);
    const auto doomed = working.selected;
    working.removeMarked (doomed);
    return finish (sequence, std::move (working));
}

NoteClipboard copyNotes (const Sequence& sequence, const NoteSelection& selection)
{
    NoteClipboard clipboard;

    for (auto p : selection.getPositions())
    {
        if (p < 0 || p >= (int) sequence.notes.size())
            continue;

        const auto& note = sequence.notes[(size_t) p];
        clipboard.earliestStart = clipboard.notes.empty() ? note.timestamp : std::min (clipboard.earliestStart, note.timestamp);
        clipboard.notes.push_back (note);
    }

    return clipboard;
}

SequenceEdit paste (const Sequence& sequence, const NoteSelection& selection, const NoteClipboard& clipboard, int pastePosition)
{
    if (clipboard.isEmpty() || pastePosition < 0)
        return leaveAsItIs (sequence, selection, EditOutcome::refused);

    Working working (sequence, {});

    for (const auto& copied : clipboard.notes)
    {
        const auto start = (juce::int64) copied.timestamp - clipboard.earliestStart + pastePosition;

        if (! fitsAPhrase (start))
            continue;

        auto note = copied;
        note.timestamp = (int) start;
        working.addNote (note, true);
    }

    return finish (sequence, std::move (working));
}

NoteSelection selectAll (const Sequence& sequence)
{
    return NoteSelection::allOf ((int) sequence.notes.size());
}

SequenceEdit invertAll (const Sequence& sequence, const NoteSelection& selection)
{
    Working working (sequence, selection);
    invertPitches (working, allPositions (working));
    return finish (sequence, std::move (working));
}

SequenceEdit invertSelection (const Sequence& sequence, const NoteSelection& selection)
{
    Working working (sequence, selection);
    const auto positions = working.selectedPositions();

    if (positions.size() < 2)
        return leaveAsItIs (sequence, selection, EditOutcome::unchanged);

    invertPitches (working, positions);
    resolveOverlapsIn (working);
    return finish (sequence, std::move (working));
}

SequenceEdit reverseAll (const Sequence& sequence, const NoteSelection& selection)
{
    Working working (sequence, selection);
    reverseTimes (working, allPositions (working));
    return finish (sequence, std::move (working));
}

SequenceEdit reverseSelection (const Sequence& sequence, const NoteSelection& selection)
{
    Working working (sequence, selection);
    const auto positions = working.selectedPositions();

    if (positions.size() < 2)
        return leaveAsItIs (sequence, selection, EditOutcome::unchanged);

    reverseTimes (working, positions);
    resolveOverlapsIn (working);
    return finish (sequence, std::move (working));
}

SequenceEdit duplicateSelection (const Sequence& sequence, const NoteSelection& selection)
{
    Working working (sequence, selection);
    const auto positions = working.selectedPositions();

    if (positions.empty())
        return leaveAsItIs (sequence, selection, EditOutcome::unchanged);

    auto start = (juce::int64) working.sequence.notes[(size_t) positions.front()].timestamp;
    auto end = start;

    for (auto p : positions)
    {
        const auto& note = working.sequence.notes[(size_t) p];
        start = std::min (start, (juce::int64) note.timestamp);
        end = std::max (end, endOf (note));
    }

    const auto span = end - start;

    if (span <= 0)
        return leaveAsItIs (sequence, selection, EditOutcome::unchanged);

    std::fill (working.selected.begin(), working.selected.end(), false);

    for (auto p : positions)
    {
        auto copy = working.sequence.notes[(size_t) p];
        const auto copyStart = copy.timestamp + span;

        if (! fitsAPhrase (copyStart))
            continue;

        copy.timestamp = (int) copyStart;
        working.addNote (copy, true);
    }

    if (working.numNotes() == (int) sequence.notes.size())
        return leaveAsItIs (sequence, selection, EditOutcome::unchanged);

    resolveOverlapsIn (working);
    return finish (sequence, std::move (working));
}

bool canFlattenRepeats (const SequenceNote& note) noexcept
{
    if (note.repeatStyle == SequenceNote::repeatAtRate)
        return note.repeatRate.ticks > 0;

    return note.repeatStyle == SequenceNote::repeatCountTimes && note.repeatCount >= 2;
}

SequenceEdit flattenRepeats (const Sequence& sequence, const NoteSelection& selection, int notePosition)
{
    if (notePosition < 0 || notePosition >= (int) sequence.notes.size()
        || ! canFlattenRepeats (sequence.notes[(size_t) notePosition]))
        return leaveAsItIs (sequence, selection, EditOutcome::unchanged);

    Working working (sequence, selection);
    const auto original = working.sequence.notes[(size_t) notePosition];
    const auto phraseEnd = (juce::int64) working.sequence.getLength();
    const auto noteStart = (juce::int64) original.timestamp;
    const auto noteEnd = noteStart + original.length;

    auto strike = original;
    clearRepeats (strike);

    // Strikes stop where playback stops them: at the note's end and at the phrase end.
    if (original.repeatStyle == SequenceNote::repeatCountTimes)
    {
        const auto strikes = original.repeatCount;
        const auto step = (float) original.length / (float) strikes;
        strike.length = juce::roundToInt (step);
        working.sequence.notes[(size_t) notePosition] = strike;

        int previousOffset = 0;

        for (int i = 1; i < strikes; ++i)
        {
            const auto offset = juce::roundToInt ((float) i * step);

            if (offset <= previousOffset || offset >= original.length || noteStart + offset >= phraseEnd)
                break;

            previousOffset = offset;
            auto copy = strike;
            copy.timestamp = (int) (noteStart + offset);
            working.addNote (copy, false);
        }
    }
    else
    {
        const auto rate = (juce::int64) original.repeatRate.ticks;
        strike.length = (int) std::min (rate, (juce::int64) original.length);
        working.sequence.notes[(size_t) notePosition] = strike;

        for (auto t = noteStart + rate; t < noteEnd && t < phraseEnd; t += rate)
        {
            auto copy = strike;
            copy.timestamp = (int) t;
            copy.length = (int) std::min (rate, noteEnd - t);
            working.addNote (copy, false);
        }
    }

    return finish (sequence, std::move (working));
}

SequenceEdit resetLoopRegion (const Sequence& sequence, const NoteSelection& selection, int row)
{
    if (row < 0 || row >= Sequence::numRows)
        return leaveAsItIs (sequence, selection, EditOutcome::unchanged);

    Working working (sequence, selection);
    working.sequence.loops[(size_t) row].clear();
    return finish (sequence, std::move (working));
}

SequenceEdit halfSpeed (const Sequence& sequence, const NoteSelection& selection)
{
    return changeSpeed (sequence, selection, true);
}

SequenceEdit doubleSpeed (const Sequence& sequence, const NoteSelection& selection)
{
    return changeSpeed (sequence, selection, false);
}

SequenceEdit legato (const Sequence& sequence, const NoteSelection& selection)
{
    Working working (sequence, selection);
    working.sortByStart();

    auto& notes = working.sequence.notes;
    std::vector<bool> doomed (notes.size(), false);

    for (size_t i = 1; i < notes.size(); ++i)
        doomed[i] = notes[i].timestamp == notes[i - 1].timestamp;

    working.removeMarked (doomed);

    for (size_t i = 0; i + 1 < notes.size(); ++i)
        notes[i].length = clampToInt ((juce::int64) notes[i + 1].timestamp - notes[i].timestamp);

    return finish (sequence, std::move (working));
}

SequenceEdit snapToGrid (const Sequence& sequence, const NoteSelection& selection, const GridSize& grid)
{
    const auto ticks = juce::jmax (1, grid.ticks);
    const auto length = sequence.getLength();
    Working working (sequence, selection);

    for (auto& note : working.sequence.notes)
    {
        auto snapped = (juce::int64) juce::roundToInt ((float) note.timestamp / (float) ticks) * ticks;

        // The nearest line can be the phrase end, where a note never sounds: a note that
        // sounded starts on the last line inside the phrase instead.
        if (note.timestamp < length && snapped >= length)
            snapped = (juce::int64) ((length - 1) / ticks) * ticks;

        note.timestamp = clampToInt (snapped);
    }

    return finish (sequence, std::move (working));
}

SequenceEdit resetAllValues (const Sequence& sequence, const NoteSelection& selection, ValueEditorMode mode)
{
    Working working (sequence, selection);

    for (auto& note : working.sequence.notes)
    {
        switch (mode)
        {
            case ValueEditorMode::velocity:
                note.velocityMin = note.velocityMax = 100;
                break;
            case ValueEditorMode::chance:
                note.chance = 100;
                break;
            case ValueEditorMode::transpose:
                note.transposeMin = note.transposeMax = 0;
                break;
            case ValueEditorMode::octave:
                note.octaveMin = note.octaveMax = 0;
                break;
        }
    }

    return finish (sequence, std::move (working));
}

bool modeHasRange (ValueEditorMode mode) noexcept
{
    return mode != ValueEditorMode::chance;
}

SequenceEdit setRangeMode (const Sequence& sequence, const NoteSelection& selection, ValueEditorMode mode, bool rangeModeIsOn, bool shouldBeOn)
{
    if (! modeHasRange (mode) || rangeModeIsOn == shouldBeOn)
    {
        if (rangeModeIsOn == shouldBeOn)
            juce::Logger::writeToLog ("VelocityEditor::setSliderRangeMode - ignoring as no change");

        return leaveAsItIs (sequence, selection, EditOutcome::unchanged);
    }

    if (shouldBeOn)
        return leaveAsItIs (sequence, selection, EditOutcome::unchanged);

    Working working (sequence, selection);

    for (auto& note : working.sequence.notes)
    {
        if (mode == ValueEditorMode::velocity)
            note.velocityMax = note.velocityMin;
        else if (mode == ValueEditorMode::transpose)
            note.transposeMax = note.transposeMin;
        else
            note.octaveMax = note.octaveMin;
    }

    return finish (sequence, std::move (working));
}

SequenceEdit resolveOverlaps (const Sequence& sequence, const NoteSelection& selection)
{
    Working working (sequence, selection);
    resolveOverlapsIn (working);
    return finish (sequence, std::move (working));
}

} // namespace tarn::SequenceEditing
