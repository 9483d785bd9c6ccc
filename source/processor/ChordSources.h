#pragma once

#include "CadenziumModifier.h"
#include "HeldNoteList.h"

#include <array>

/** A source note a row takes from the held chord: a pitch and the velocity (0..1) it was
    played with. */
struct SourceNote
{
    int pitch = 0;
    float velocity = 1.0f;
};

/** At most one source note per held note (an "All" row), so never more than 128. */
struct SourceNotes
{
    std::array<SourceNote, HeldNotes::capacity> notes {};
    int size = 0;

    void add (SourceNote n) noexcept
    {
        if (size < (int) notes.size())
            notes[(size_t) size++] = n;
    }
};

/** The held chord in the orders the row types pick from, built once per block.

    By pitch (with the fill extension above it), by velocity, and in press order; a row's
    source notes are then a lookup. No allocation. One thread per instance: the audio
    thread's own, or the editor's copy that shows what each row plays from the held chord.
*/
class ChordSources
{
public:
    /** Sorts the chord. [the instance's thread] */
    void build (const HeldNotes& held) noexcept;

    /** Adds the source notes row picks for one phrase note-on (a Random row draws from the
        random source). [the instance's thread] */
    void find (const CadenziumModifier& row, bool fill, SourceNotes& out) const noexcept;

    /** Held notes by pitch followed by the fill notes. */
    int getNumFilled() const noexcept { return numFilled; }
    const HeldNote& getFilled (int index) const noexcept { return filled[(size_t) index]; }

private:
    HeldNotes pressOrder;
    std::array<HeldNote, HeldNotes::capacity> byVelocity {};

    // Held notes by pitch, then the chord's pitch classes repeated upward while below 128.
    std::array<HeldNote, 2 * HeldNotes::capacity> filled {};
    int numFilled = 0;
};
