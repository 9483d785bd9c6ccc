#pragma once

#include "MutationSettings.h"

#include <source/processor/CadenziumModifier.h>
#include <tarn/sequence/Sequence.h>

/** Where a note of one row may lie after a mutation: [lo, hi) in ticks, from the row's loop
    region. */
struct RowWindow
{
    int lo = 0;
    int hi = 0;

    /** Whether a note of that start and length stays inside. [any thread] */
    bool holds (juce::int64 start, juce::int64 length) const noexcept
    {
        return lo <= start && start < hi && length >= 1 && length <= hi - start;
    }

    /** The window a note starting at t on that row must stay in: before a loop region it stays
        before it, inside it, inside it; a row without a region uses the whole phrase. [any thread] */
    static RowWindow forRow (const tarn::Sequence& phrase, int row, int t) noexcept;

    bool operator== (const RowWindow& other) const noexcept { return lo == other.lo && hi == other.hi; }
};

/** What one mutation run made. */
struct MutationResult
{
    tarn::Sequence sequence;
    bool changed = false; // commit under "Mutate phrase" only when true
};

/** The Mutate buttons: a variation of the edited phrase that nudges the start, row, length
    and velocity of a share of its notes, keeping every note inside its row's loop window,
    never letting two notes of a row collide, and leaving rows whose generation lock is on
    alone (also as targets of a move).

    The editor owns one for as long as it lives: its generator is seeded once and keeps
    running from one click to the next.
*/
class PhraseMutator
{
public:
    /** Seeded once from tarn::RandomSource. [message thread] */
    PhraseMutator();

    /** Seeded with a known seed, for tests and tools. [message thread] */
    explicit PhraseMutator (juce::int64 seed);

    /** One run on a copy of the phrase. rows is the row table (type, value and
        generationLock matter); grid is the editor's current grid, whose ticks are one timing
        step. [message thread] */
    MutationResult mutate (const tarn::Sequence& phrase, const RowList& rows, const MutationSettings& settings, const tarn::GridSize& grid);

private:
    juce::Random random;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PhraseMutator)
};
