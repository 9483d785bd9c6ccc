#pragma once

#include "NoteGridEdit.h"

#include <set>
#include <utility>

namespace tarn
{

/** Notes made by pointer tools. [message thread] */
namespace NoteCreation
{
    /** The velocity of notes the Pencil draws. */
    constexpr int pencilVelocity = 100;

    /** A Cursor double-click: a note of one grid step at the start of the cell under the
        pointer, with the default velocity; it becomes the selection. Unchanged when the
        row is outside the range or the cell starts at or after the phrase end. */
    SequenceEdit addNoteInCell (const Sequence&, double tick, int row, const GridSize&, int velocity, RowRange);
} // namespace NoteCreation

/** A Pencil stroke: a note started where the pointer went down, its length following the
    pointer until the button comes up. [message thread] */
class PencilStroke
{
public:
    /** Snapping starts the note at the start of the grid cell under the pointer; without it
        (Shift held) at the tick under it. */
    PencilStroke (const Sequence& base, double tick, int row, bool snapping, const GridSize&, RowRange);

    /** False when there is no room for a note there (outside the rows or the phrase). */
    bool isValid() const noexcept { return valid; }

    /** The phrase with the new note reaching to the pointer (its end snapped unless Shift is
        held), never shorter than 30 ticks nor past the phrase end. The new note is selected. */
    SequenceEdit update (double pointerTick, bool snapping) const;

    int getStart() const noexcept { return start; }

private:
    Sequence base;
    GridSize grid;
    int row = 0, start = 0;
    bool valid = false;
};

/** A Brush stroke: every empty grid cell the pointer passes gets a note of one grid step,
    cells between two pointer positions included, so fast drags leave no gaps. [message thread] */
class BrushStroke
{
public:
    struct Cell
    {
        int column = 0, row = 0;
        bool operator< (const Cell& other) const noexcept { return std::pair (column, row) < std::pair (other.column, other.row); }
        bool operator== (const Cell& other) const noexcept { return column == other.column && row == other.row; }
    };

    BrushStroke (const Sequence& base, const GridSize&, int velocity, RowRange);

    /** Paints the cell under the pointer and every cell on the line from the previous one.
        Returns the preview with the painted notes selected. */
    SequenceEdit paintTo (double tick, int row);

    /** The preview with overlaps settled, as the stroke is committed. */
    SequenceEdit finish() const;

    /** How many cells this stroke painted. */
    int getNumPainted() const noexcept { return (int) painted.size(); }

    /** The cells on the straight line between two cells, both included (Bresenham). */
    static std::vector<Cell> cellsAlongLine (Cell from, Cell to);

private:
    bool canPaint (Cell) const;

    NoteGridEdit edit;
    GridSize grid;
    int velocity;
    RowRange rows;
    std::set<Cell> painted;
    Cell last;
    bool hasLast = false;
};

} // namespace tarn
