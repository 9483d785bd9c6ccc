#include "NoteCreation.h"

#include "GridGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tarn
{

SequenceEdit NoteCreation::addNoteInCell (const Sequence& sequence, double tick, int row, const GridSize& grid, int velocity, RowRange rows)
{
    const auto start = GridTicks::cellStart (tick, grid);
    NoteGridEdit edit (sequence, {});

    if (! rows.contains (row) || start < 0 || start >= sequence.getLength())
        return edit.finish (false);

    const auto length = std::min (std::max (1, grid.ticks), sequence.getLength() - start);
    edit.selected.assign (edit.selected.size(), false);
    edit.addNote (makeGridNote (row, start, length, juce::jlimit (1, 127, velocity)), true);
    return edit.finish (true);
}

//==============================================================================
PencilStroke::PencilStroke (const Sequence& baseToUse, double tick, int rowToUse, bool snapping, const GridSize& gridToUse, RowRange rows)
    : base (baseToUse)
    , grid (gridToUse)
    , row (rowToUse)
{
    start = snapping ? GridTicks::cellStart (tick, grid) : (int) std::floor (tick);
    valid = rows.contains (row) && start >= 0 && start < base.getLength();
}

SequenceEdit PencilStroke::update (double pointerTick, bool snapping) const
{
    NoteGridEdit edit (base, {});

    if (! valid)
        return edit.finish (false);

    const auto room = base.getLength() - start;
    auto length = std::max (1, grid.ticks);

    // With snapping the note keeps its grid step until the pointer leaves the first cell.
    if (! snapping || pointerTick >= start + grid.ticks || pointerTick < start)
    {
        const auto end = GridTicks::pointerTick (pointerTick, snapping, grid, base.getLength());
        length = std::max (shortestFreeNote, end - start);
    }

    edit.addNote (makeGridNote (row, start, std::min (length, room), NoteCreation::pencilVelocity), true);
    return edit.finish (true);
}

//==============================================================================
BrushStroke::BrushStroke (const Sequence& base, const GridSize& gridToUse, int velocityToUse, RowRange rowsToUse)
    : edit (base, {})
    , grid (gridToUse)
    , velocity (juce::jlimit (1, 127, velocityToUse))
    , rows (rowsToUse)
{
}

std::vector<BrushStroke::Cell> BrushStroke::cellsAlongLine (Cell from, Cell to)
{
    std::vector<Cell> cells;
    const auto dx = std::abs (to.column - from.column), dy = -std::abs (to.row - from.row);
    const auto stepX = from.column < to.column ? 1 : -1, stepY = from.row < to.row ? 1 : -1;
    auto error = dx + dy;
    auto cell = from;

    for (;;)
    {
        cells.push_back (cell);

        if (cell == to)
            return cells;

        const auto doubled = 2 * error;

        if (doubled >= dy)
        {
            error += dy;
            cell.column += stepX;
        }

        if (doubled <= dx)
        {
            error += dx;
            cell.row += stepY;
        }
    }
}

bool BrushStroke::canPaint (Cell cell) const
{
    const auto step = std::max (1, grid.ticks);
    const auto start = cell.column * step, end = start + step;

    if (cell.column < 0 || ! rows.contains (cell.row) || end > edit.sequence.getLength())
        return false;

    if (painted.count (cell) > 0)
        return false;

    return std::none_of (edit.sequence.notes.begin(), edit.sequence.notes.end(), [&] (const SequenceNote& note)
                         { return note.number == cell.row && note.timestamp < end && note.getEnd() > start; });
}

SequenceEdit BrushStroke::paintTo (double tick, int row)
{
    // A pointer far outside the grid still gives a line of bounded length.
    const auto lastColumn = edit.sequence.getLength() / std::max (1, grid.ticks) + 1;
    const Cell here { juce::jlimit (-1, lastColumn, GridTicks::cellIndex (tick, grid)),
                      juce::jlimit (rows.lowest - 1, rows.highest + 1, row) };
    const auto cells = hasLast ? cellsAlongLine (last, here) : std::vector<Cell> { here };
    last = here;
    hasLast = true;

    for (const auto& cell : cells)
    {
        if (! canPaint (cell))
            continue;

        edit.addNote (makeGridNote (cell.row, cell.column * grid.ticks, grid.ticks, velocity), true);
        painted.insert (cell);
    }

    return edit.finish (! painted.empty());
}

SequenceEdit BrushStroke::finish() const
{
    auto preview = edit.finish (! painted.empty());

    if (painted.empty())
        return preview;

    auto settled = SequenceEditing::resolveOverlaps (preview.sequence, preview.selection);
    settled.outcome = EditOutcome::changed;
    return settled;
}

} // namespace tarn
