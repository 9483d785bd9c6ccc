#pragma once

#include "NoteSelection.h"
#include "Sequence.h"

#include <algorithm>

namespace tarn
{

/** What an editing operation did. */
enum class EditOutcome
{
    unchanged, // nothing to commit
    changed, // commit the result as one undoable phrase edit
    refused // nothing changed and the user should hear the look-and-feel's alert sound
};

/** The result of an editing operation: the new sequence, the selection naming the same
    notes in it, and what happened. */
struct SequenceEdit
{
    Sequence sequence;
    NoteSelection selection;
    EditOutcome outcome = EditOutcome::unchanged;

    bool hasChanged() const noexcept { return outcome == EditOutcome::changed; }
    bool shouldPlayAlert() const noexcept { return outcome == EditOutcome::refused; }
};

/** Copied notes waiting to be pasted. */
struct NoteClipboard
{
    std::vector<SequenceNote> notes;
    int earliestStart = 0;

    bool isEmpty() const noexcept { return notes.empty(); }
};

/** What the per-note value editor shows and edits. */
enum class ValueEditorMode
{
    velocity = 0,
    chance = 1,
    transpose = 2,
    octave = 3
};

/** The repeat that setRepeats gives notes: none, equal strikes over the note's length, or
    strikes at a grid rate. */
struct NoteRepeat
{
    int style = SequenceNote::noRepeats;
    int strikes = 0; // repeatCountTimes: 2 .. maxEqualStrikes
    GridSize rate; // repeatAtRate

    /** The most equal strikes a note keeps (a stored phrase reads back no more). */
    static constexpr int maxEqualStrikes = 16;

    static NoteRepeat none() noexcept { return {}; }

    /** 0 or 1 strike is no repeat; more than maxEqualStrikes is kept to it. */
    static NoteRepeat equalStrikes (int strikes) noexcept
    {
        if (strikes < 2)
            return none();

        return { SequenceNote::repeatCountTimes, std::min (strikes, maxEqualStrikes), {} };
    }

    static NoteRepeat atRate (const GridSize& rate) noexcept { return { SequenceNote::repeatAtRate, 0, rate }; }
};

/** The note grid's data operations. Each takes the edited sequence and the current
    selection by value and returns the new sequence with the selection that names the same
    notes in it (or the new selection the operation makes). Nothing is changed in place,
    so the caller commits the result as one undoable edit only when it has changed.

    Every function here is for the message thread (the editor), works on values only and
    never blocks; the work is bounded by the number of notes and Sequence::maxLength.
*/
namespace SequenceEditing
{
    /** Sorts notes by start exactly as normalisation does (stable), carrying one flag per
        note along, so a normalisation that follows leaves the order and the flags alone. */
    void sortByStart (std::vector<SequenceNote>& notes, std::vector<bool>& flags);

    /** Tick arithmetic that multiplies by a fraction: single precision, made whole to the
        nearest, halves to even. [any thread] */
    int scaleTicks (int ticks, float factor) noexcept;

    /** True when two sequences hold the same notes, loops, lanes, length and settings. [any thread] */
    bool hasSameContent (const Sequence& a, const Sequence& b);

    //==============================================================================
    /** Gives every selected note the same repeat. [message thread] */
    SequenceEdit setRepeats (const Sequence&, const NoteSelection&, const NoteRepeat& repeat);

    /** Removes the selected notes; the selection becomes empty. [message thread] */
    SequenceEdit deleteNotes (const Sequence&, const NoteSelection&);

    /** A copy of the selected notes and their earliest start. [message thread] */
    NoteClipboard copyNotes (const Sequence&, const NoteSelection&);

    /** Adds the clipboard's notes with their earliest start at pastePosition, whole, with all
        their settings; they become the selection. Refused (alert) when the clipboard is empty
        or the position is negative. Notes may lie past the phrase end (silent until it grows),
        but not past the longest phrase. [message thread] */
    SequenceEdit paste (const Sequence&, const NoteSelection&, const NoteClipboard&, int pastePosition);

    /** Every note. [message thread] */
    NoteSelection selectAll (const Sequence&);

    /** Mirrors the pitches of all notes between their lowest and highest. [message thread] */
    SequenceEdit invertAll (const Sequence&, const NoteSelection&);

    /** Mirrors the pitches of the selected notes (two or more), then resolves overlaps. [message thread] */
    SequenceEdit invertSelection (const Sequence&, const NoteSelection&);

    /** Mirrors all notes in time inside their own span (twice gives them back). [message thread] */
    SequenceEdit reverseAll (const Sequence&, const NoteSelection&);

    /** Mirrors the selected notes (two or more) in time inside their span, then resolves
        overlaps. [message thread] */
    SequenceEdit reverseSelection (const Sequence&, const NoteSelection&);

    /** Adds a copy of the selection right after it; the copies become the selection and
        overlaps are resolved. Copies are whole, even past the phrase end, but not past the
        longest phrase. [message thread] */
    SequenceEdit duplicateSelection (const Sequence&, const NoteSelection&);

    /** Whether "Flatten Repeats" applies to a note: a rate, or two or more equal strikes. [message thread] */
    bool canFlattenRepeats (const SequenceNote&) noexcept;

    /** Turns the repeats of the note at notePosition into separate notes, the strikes that
        playback would make. [message thread] */
    SequenceEdit flattenRepeats (const Sequence&, const NoteSelection&, int notePosition);

    /** Removes the loop region of one row (0..127; other rows are ignored). [message thread] */
    SequenceEdit resetLoopRegion (const Sequence&, const NoteSelection&, int row);

    /** Doubles every time, the length and the loops. Refused (alert) when the phrase would
        grow past Sequence::maxLength. [message thread] */
    SequenceEdit halfSpeed (const Sequence&, const NoteSelection&);

    /** Halves every time, the length and the loops; loops that shrink to nothing are removed.
        Refused (alert) when the phrase would become shorter than one tick. [message thread] */
    SequenceEdit doubleSpeed (const Sequence&, const NoteSelection&);

    /** Keeps one note per start time and lets each last until the next. [message thread] */
    SequenceEdit legato (const Sequence&, const NoteSelection&);

    /** Moves every note's start to the nearest line of the grid; a note inside the phrase
        stays inside it. [message thread] */
    SequenceEdit snapToGrid (const Sequence&, const NoteSelection&, const GridSize& grid);

    /** The value editor's "Reset all": velocity 100, chance 100, transpose 0 or octave 0
        for every note. [message thread] */
    SequenceEdit resetAllValues (const Sequence&, const NoteSelection&, ValueEditorMode);

    /** Whether the value editor offers a range mode for a mode (chance has none). [any thread] */
    bool modeHasRange (ValueEditorMode) noexcept;

    /** Switches the value editor's range mode from rangeModeIsOn to shouldBeOn. Switching it
        off collapses every note's range of that mode to its minimum. Asking for the state it
        already has (or for chance) changes nothing; the caller stores the new flag only when
        modeHasRange() and the state differs. [message thread] */
    SequenceEdit setRangeMode (const Sequence&, const NoteSelection&, ValueEditorMode, bool rangeModeIsOn, bool shouldBeOn);

    /** Settles the notes of the selection against the other notes of their rows: notes
        they cover are deleted, notes they cut into are shortened or start later. The editor
        calls it after a brush stroke; the selection operations above call it themselves. [message thread] */
    SequenceEdit resolveOverlaps (const Sequence&, const NoteSelection&);
} // namespace SequenceEditing

} // namespace tarn
