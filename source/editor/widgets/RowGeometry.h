#pragma once

/** Where the rows stand on screen, shared by the rows column and the piano roll's grid so
    the two line up: each row is rowHeight tall, the first one's edge is at gridTop minus
    what is scrolled away, and row 0 is the top line or the bottom one. A plain value with
    no drawing in it, so the drag and hit maths is tested without a window. [any thread] */
struct RowGeometry
{
    int numRows = 0;
    float rowHeight = 24.0f;
    float gridTop = 0.0f; // where the grid's first line starts, in the rows column
    float scrollY = 0.0f; // grid pixels scrolled away above the view
    bool firstRowAtBottom = false;

    /** The line a row takes, counted from the top of the grid. */
    int lineOf (int row) const noexcept { return firstRowAtBottom ? numRows - 1 - row : row; }

    float topOf (int row) const noexcept { return gridTop - scrollY + (float) lineOf (row) * rowHeight; }

    /** The row under a point, or -1 above or below the rows. */
    int rowAt (float y) const noexcept
    {
        if (numRows <= 0 || rowHeight <= 0.0f)
            return -1;

        const auto offset = y - (gridTop - scrollY);
        if (offset < 0.0f)
            return -1;

        const auto line = (int) (offset / rowHeight);
        if (line >= numRows)
            return -1;

        return firstRowAtBottom ? numRows - 1 - line : line;
    }

    /** The place a dragged row lands when let go at y: the row under the pointer, the
        first or last row beyond the ends. */
    int dropTargetAt (float y) const noexcept
    {
        if (numRows <= 0)
            return -1;

        if (const auto row = rowAt (y); row >= 0)
            return row;

        const auto aboveGrid = y < gridTop - scrollY;
        return aboveGrid != firstRowAtBottom ? 0 : numRows - 1;
    }

    bool operator== (const RowGeometry& other) const noexcept
    {
        return numRows == other.numRows && rowHeight == other.rowHeight && gridTop == other.gridTop
            && scrollY == other.scrollY && firstRowAtBottom == other.firstRowAtBottom;
    }
    bool operator!= (const RowGeometry& other) const noexcept { return ! operator== (other); }
};
