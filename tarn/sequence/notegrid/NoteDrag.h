#pragma once

#include "NoteGridEdit.h"

namespace tarn
{

/** Moving or resizing the selected notes with the Cursor tool.

    Each step of the drag is worked out afresh from the notes as they were when it began,
    so a preview never drifts and the limits hold at every step. Moving and resizing leave
    overlaps as they are. [message thread]
*/
class NoteDrag
{
public:
    enum class Kind
    {
        move,
        resizeStart, // the left edge: each note's end stays
        resizeEnd // the right edge: each note's start stays
    };

    /** `draggedNote` is the position of the note the pointer took (it joins the selection
        when it is not in it); the drag began at `startTick` on `startRow`. */
    NoteDrag (const Sequence& base, const NoteSelection& selection, int draggedNote, Kind kind,
              double startTick, int startRow, const GridSize& grid, RowRange rows);

    /** The phrase with the drag applied for the pointer at (pointerTick, pointerRow). */
    SequenceEdit update (double pointerTick, int pointerRow, bool snapping) const;

    /** The time change the step applies to every selected note, after every limit. */
    int timeChange (double pointerTick, bool snapping) const noexcept;

    /** The row change of a move: 0 when any selected note would leave the row range. */
    int pitchChange (int pointerRow) const noexcept;

    Kind getKind() const noexcept { return kind; }
    const NoteSelection& getSelection() const noexcept { return selection; }

private:
    int moveChange (double rawChange, bool snapping) const noexcept;
    int resizeChange (double rawChange, bool snapping) const noexcept;

    Sequence base;
    NoteSelection selection;
    int draggedNote;
    Kind kind;
    double startTick;
    int startRow;
    GridSize grid;
    RowRange rows;

    int earliestStart = 0, latestEnd = 0, lowestRow = 0, highestRow = 0;
};

} // namespace tarn
