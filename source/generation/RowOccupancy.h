#pragma once

#include <tarn/sequence/Sequence.h>

#include <limits>
#include <set>

namespace generation
{
/** The notes of each row of the table ordered by start, so that a collision check looks only
    at the notes near the span in question, however many notes the phrase holds.

    Made and used by one mutation run, on the message thread; the phrase must outlive it and
    every change of a note's row, start or length must be reported to it. */
class RowOccupancy
{
public:
    RowOccupancy (const tarn::Sequence& phraseToWatch, int numRows)
        : phrase (phraseToWatch)
        , startsOnRow ((size_t) numRows)
        , longestOnRow ((size_t) numRows, 0)
    {
        for (size_t i = 0; i < phrase.notes.size(); ++i)
            if (const auto& note = phrase.notes[i]; note.number >= 0 && note.number < numRows)
                add (i, note.number, note.timestamp, note.length);
    }

    /** Whether a note of that row, other than the excluded ones, overlaps [start, start + length).
        [message thread] */
    template <typename IsExcluded>
    bool isTaken (int row, juce::int64 start, juce::int64 length, IsExcluded&& isExcluded) const
    {
        const auto& starts = startsOnRow[(size_t) row];

        // A note that starts this far back or further has ended by the start.
        const auto from = start - longestOnRow[(size_t) row];
        auto it = from < std::numeric_limits<int>::min() ? starts.begin()
                                                         : starts.upper_bound ({ (int) std::min (from, (juce::int64) std::numeric_limits<int>::max()), std::numeric_limits<size_t>::max() });

        for (; it != starts.end() && it->first < start + length; ++it)
        {
            const auto& other = phrase.notes[it->second];

            if (! isExcluded (it->second) && start < (juce::int64) other.timestamp + other.length)
                return true;
        }

        return false;
    }

    /** Call before the note's row or start changes. [message thread] */
    void remove (size_t note)
    {
        const auto& n = phrase.notes[note];
        startsOnRow[(size_t) n.number].erase ({ n.timestamp, note });
    }

    /** Call after the note's row or start changed. [message thread] */
    void add (size_t note)
    {
        const auto& n = phrase.notes[note];
        add (note, n.number, n.timestamp, n.length);
    }

    /** Call after the note's length changed. [message thread] */
    void lengthChanged (size_t note)
    {
        const auto& n = phrase.notes[note];
        longestOnRow[(size_t) n.number] = std::max (longestOnRow[(size_t) n.number], (juce::int64) n.length);
    }

private:
    const tarn::Sequence& phrase;
    std::vector<std::set<std::pair<int, size_t>>> startsOnRow;
    std::vector<juce::int64> longestOnRow; // never shrinks: an upper bound is all a check needs

    void add (size_t note, int row, int start, int length)
    {
        startsOnRow[(size_t) row].insert ({ start, note });
        longestOnRow[(size_t) row] = std::max (longestOnRow[(size_t) row], (juce::int64) length);
    }
};
} // namespace generation
