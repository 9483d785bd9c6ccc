#pragma once

#include <tarn/sequence/GridSize.h>

namespace tarn
{

/** The horizontal axis of the piano roll: which ticks a strip of pixels shows.

    The grid, the value editor and the curve editor share one, so they scroll and zoom
    together. A plain value. [message thread]
*/
struct TimeAxis
{
    double firstTick = 0.0; // the tick at pixel 0
    double visibleTicks = 3840.0; // ticks across the whole width
    int width = 1; // pixels

    /** The tick under a horizontal position: position / width × visible ticks, from the
        first visible tick. */
    double tickAt (double x) const noexcept;

    /** The position of a tick. */
    double xOf (double tick) const noexcept;

    double pixelsPerTick() const noexcept;

    /** Shows `ticks` ticks across the width, keeping the tick under `anchorX` in place;
        the view stays inside 0 .. length (or starts at 0 when the phrase is shorter). */
    TimeAxis zoomedTo (double ticks, double anchorX, int length) const noexcept;

    /** Starts the view at `tick`, kept inside 0 .. length − visible ticks. */
    TimeAxis scrolledTo (double tick, int length) const noexcept;

    /** The shortest and longest views: a 1/128 step across roughly 30 pixels at most, and
        the whole phrase with a little room. */
    static double minimumVisibleTicks (int width) noexcept;
    static double maximumVisibleTicks (int length) noexcept;
};

/** The vertical axis of the note grid: one line per row, row 0 at the bottom (higher rows
    sound higher, as on a keyboard), scrolled when the rows outgrow the view. Fewer rows than
    the view holds stand at its foot, where row 0 always is, with empty lanes above them
    where new rows will appear. [message thread] */
struct RowAxis
{
    int numRows = 8;
    double rowHeight = 24.0;
    double scrollY = 0.0; // pixels of the full row stack hidden above the view
    double stackTop = 0.0; // where the top row's edge is while the rows do not fill the view

    /** The row under a vertical position; may lie outside 0 .. numRows − 1. */
    int rowAt (double y) const noexcept;

    /** The top edge of a row. */
    double yOf (int row) const noexcept;

    double totalHeight() const noexcept { return numRows * rowHeight; }

    /** The largest scroll that still fills a view of `viewHeight` pixels. */
    double maximumScroll (double viewHeight) const noexcept;

    /** Rows share the view's height, between `minimumHeight` (below it the view scrolls)
        and `maximumHeight` (above it empty lanes fill the rest). */
    static double fittedRowHeight (int numRows, double viewHeight, double minimumHeight, double maximumHeight) noexcept;

    /** Where the stack of rows starts in a view `viewHeight` pixels high: 0 when they fill
        it, else the height of the empty lanes above them. */
    double stackTopIn (double viewHeight) const noexcept;
};

/** Grid arithmetic on ticks. [any thread] */
namespace GridTicks
{
    /** The nearest grid line: (tick + step / 2) / step, whole part, × step, limited to
        0 .. length. */
    int snap (double tick, const GridSize& grid, int length) noexcept;

    /** The start of the grid cell that holds a tick (rounded down to a multiple of the step). */
    int cellStart (double tick, const GridSize& grid) noexcept;

    /** The cell (column) that holds a tick. */
    int cellIndex (double tick, const GridSize& grid) noexcept;

    /** The pointer's tick: snapped to the grid, or the whole tick under it with Shift held;
        either way limited to 0 .. length. */
    int pointerTick (double tick, bool snapping, const GridSize& grid, int length) noexcept;
} // namespace GridTicks

} // namespace tarn
