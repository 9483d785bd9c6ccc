#pragma once

#include "GenerationSettings.h"

#include <tarn/sequence/Sequence.h>

/** The note-writing half of a generation run: random walks over the phrase that place new
    notes on the unlocked rows, then, in the Response, Invert and Reverse modes, the second
    half made from the first. */
namespace NotePlacement
{
/** The rows a run may write to, in row-table order, with a fast membership test.
    A plain value: any thread that owns it may use it. */
class UnlockedRows
{
public:
    /** rowIsUnlocked[i] says whether row i takes part. */
    explicit UnlockedRows (const std::vector<bool>& rowIsUnlocked);

    bool contains (int row) const noexcept
    {
        return row >= 0 && row < (int) membership.size() && membership[(size_t) row];
    }

    int count() const noexcept { return (int) rows.size(); }
    bool isEmpty() const noexcept { return rows.empty(); }
    int operator[] (int index) const noexcept { return rows[(size_t) index]; }
    const std::vector<int>& all() const noexcept { return rows; }

private:
    std::vector<int> rows;
    std::vector<bool> membership;
};

/** Places new notes on the unlocked rows of a phrase that holds only the notes generation
    must keep, then adds the mirrored second half when the mode asks for one; the phrase is
    normalised. Bounded: at most 1001 passes, each walking at most the phrase length
    (itself at most Sequence::maxLength) in steps of at least 120 ticks. [message thread] */
void placeNotes (tarn::Sequence& phrase, const UnlockedRows& unlocked, const GenerationSettings& settings, juce::Random& random);
} // namespace NotePlacement
