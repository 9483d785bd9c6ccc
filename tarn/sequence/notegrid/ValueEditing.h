#pragma once

#include "NoteGridEdit.h"

#include <utility>
#include <vector>

namespace tarn
{

/** What the value editor under the grid edits on each note: velocity, chance, transpose or
    octave, as one value or (range mode) as a minimum and a maximum. [message thread] */
namespace ValueEditing
{
    struct Bounds
    {
        int lowest = 0, highest = 127;
    };

    /** Velocity 1 … 127, chance 0 … 100, transpose −24 … 24, octave −4 … 4. */
    Bounds boundsOf (ValueEditorMode) noexcept;

    /** The value at a height in a view of `height` pixels, the highest value at the top. */
    int valueAt (ValueEditorMode, double y, double height) noexcept;

    /** The height of a value. */
    double yOf (ValueEditorMode, int value, double height) noexcept;

    /** A note's range in a mode; chance is one value (minimum = maximum). */
    std::pair<int, int> rangeOf (const SequenceNote&, ValueEditorMode) noexcept;

    /** Which end of a range a drag moves. */
    enum class End
    {
        both, // outside range mode: the one value, minimum and maximum at once
        minimum,
        maximum
    };

    /** The end of the note's range nearer to `value`; `both` outside range mode or for chance. */
    End endNearest (const SequenceNote&, ValueEditorMode, bool rangeMode, int value) noexcept;

    /** Sets one end (or both) of a note's range in a mode, limited to the mode's bounds. The
        other end is pushed along when needed, so the minimum never exceeds the maximum. */
    void setValue (SequenceNote&, ValueEditorMode, End, int value) noexcept;

    /** The phrase with each listed note (position, value) set. The notes keep their places,
        so the selection stays as it is. */
    SequenceEdit withValues (const Sequence&, const NoteSelection&, ValueEditorMode, End, const std::vector<std::pair<int, int>>& values);
} // namespace ValueEditing

} // namespace tarn
