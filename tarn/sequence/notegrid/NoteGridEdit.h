#pragma once

#include <tarn/sequence/SequenceEditing.h>

#include <vector>

namespace tarn
{

/** A phrase being changed by a gesture, with one selection flag per note, so the selection
    keeps naming the same notes when the notes are re-sorted. [message thread] */
struct NoteGridEdit
{
    NoteGridEdit (const Sequence& source, const NoteSelection& selection);

    Sequence sequence;
    std::vector<bool> selected;

    void addNote (const SequenceNote& note, bool isSelected);

    /** Sorts the notes by start (stable, as normalisation does), normalises, and hands back
        the result with the selection that names the same notes. The edit itself stays as it
        is (a Sequence copy would sort its notes away from their flags, so it is never copied
        whole while notes are out of order). */
    SequenceEdit finish (bool changed) const;
};

/** The lowest and highest pitch row notes may occupy. */
struct RowRange
{
    int lowest = 0;
    int highest = Sequence::numRows - 1;

    bool contains (int row) const noexcept { return row >= lowest && row <= highest; }
};

/** The note made by a double-click or a brush cell: one grid step at `start` on `row`,
    velocity range = `velocity`, chance 100, channel 1, no transposition, octave or repeat. */
SequenceNote makeGridNote (int row, int start, int length, int velocity) noexcept;

/** The shortest note a drag without snapping makes or leaves. */
constexpr int shortestFreeNote = 30;

} // namespace tarn
