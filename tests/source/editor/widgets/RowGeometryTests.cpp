#include <source/editor/widgets/RowGeometry.h>

#include <gtest/gtest.h>

namespace
{
RowGeometry fourRows (bool firstRowAtBottom)
{
    RowGeometry geometry;
    geometry.numRows = 4;
    geometry.rowHeight = 20.0f;
    geometry.gridTop = 30.0f;
    geometry.scrollY = 10.0f; // the grid's first line starts at 20
    geometry.firstRowAtBottom = firstRowAtBottom;
    return geometry;
}
} // namespace

TEST (RowGeometry, thePointerFindsTheRowOnItsLineInEitherOrder)
{
    struct Case
    {
        bool firstRowAtBottom;
        float y;
        int row, dropTarget;
    };

    const Case cases[] {
        // Row 0 on the top line: lines start at 20, 40, 60, 80 and end at 100.
        { false, 19.9f, -1, 0 }, // above the grid: drops on the top line's row
        { false, 20.0f, 0, 0 },
        { false, 39.9f, 0, 0 },
        { false, 40.0f, 1, 1 },
        { false, 99.9f, 3, 3 },
        { false, 100.0f, -1, 3 }, // below: the bottom line's row
        // Row 0 on the bottom line.
        { true, 19.9f, -1, 3 },
        { true, 20.0f, 3, 3 },
        { true, 85.0f, 0, 0 },
        { true, 130.0f, -1, 0 },
    };

    for (const auto& c : cases)
    {
        const auto geometry = fourRows (c.firstRowAtBottom);
        EXPECT_EQ (geometry.rowAt (c.y), c.row) << "y " << c.y << (c.firstRowAtBottom ? " bottom first" : " top first");
        EXPECT_EQ (geometry.dropTargetAt (c.y), c.dropTarget) << "y " << c.y << (c.firstRowAtBottom ? " bottom first" : " top first");
    }

    // A row's top is where the pointer finds it, and no rows answer nothing.
    for (const auto bottomFirst : { false, true })
    {
        const auto geometry = fourRows (bottomFirst);
        for (int row = 0; row < geometry.numRows; ++row)
            EXPECT_EQ (geometry.rowAt (geometry.topOf (row) + 1.0f), row);
    }

    EXPECT_EQ (RowGeometry().rowAt (10.0f), -1);
    EXPECT_EQ (RowGeometry().dropTargetAt (10.0f), -1);
}
