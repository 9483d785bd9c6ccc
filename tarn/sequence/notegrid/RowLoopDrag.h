#pragma once

#include "NoteGridEdit.h"

namespace tarn
{

/** Editing one row's loop region with the Loop tool.

    A row without a loop plays as a loop over the whole phrase, but that loop has no edges to
    take: any drag on such a row draws a new region. The drag is worked out
    afresh at each step from the phrase as it was when it began; a loop that ends up covering
    the whole phrase is removed by normalisation. [message thread]
*/
class RowLoopDrag
{
public:
    enum class Part
    {
        startEdge,
        endEdge,
        region, // the whole region moves, keeping its length
        newRegion // a new region drawn from the press to the pointer
    };

    /** `tick` is where the pointer went down on `row`; `edgeTolerance` is how many ticks from
        an edge still take that edge. */
    RowLoopDrag (const Sequence& base, int row, double tick, double edgeTolerance, bool snapping, const GridSize& grid);

    /** The phrase with the row's loop following the pointer. */
    SequenceEdit update (double pointerTick, bool snapping) const;

    Part getPart() const noexcept { return part; }
    int getRow() const noexcept { return row; }

    //==============================================================================
    /** The loop a row plays: its own, or 0 .. length when it has none. */
    static RowLoop effectiveLoop (const Sequence&, int row);

    /** Which part of the row's loop a press at `tick` takes; always a new region on a row
        whose loop is the whole phrase. */
    static Part partAt (RowLoop effective, int length, double tick, double edgeTolerance) noexcept;

    /** The shortest loop: one grid step when snapping (no longer than the phrase), else 1 tick. */
    static int shortestLoop (bool snapping, const GridSize&, int length) noexcept;

    /** The right edge at the pointer: snapped unless Shift is held, limited to
        start + the shortest loop … length. */
    static RowLoop withEndAt (RowLoop, double tick, bool snapping, const GridSize&, int length) noexcept;

    /** The left edge at the pointer, limited to 0 … end − the shortest loop. */
    static RowLoop withStartAt (RowLoop, double tick, bool snapping, const GridSize&, int length) noexcept;

    /** The region moved to start at `startTick` (snapped likewise), keeping its length,
        limited to 0 … length − loop length. */
    static RowLoop movedTo (RowLoop, double startTick, bool snapping, const GridSize&, int length) noexcept;

    /** A region between two pointer ticks, at least the shortest loop long. */
    static RowLoop drawn (double fromTick, double toTick, bool snapping, const GridSize&, int length) noexcept;

private:
    Sequence base;
    int row;
    Part part;
    double pressTick;
    RowLoop atPress;
    GridSize grid;
    int pressedAt = 0; // the snapped tick of the press, where a new region is anchored
};

} // namespace tarn
