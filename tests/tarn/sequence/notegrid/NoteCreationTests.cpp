#include <tests/support/Phrases.h>

#include <tarn/sequence/notegrid/NoteCreation.h>

#include <gtest/gtest.h>

using namespace tarn;
using cadenzium::test::makeNote;
using cadenzium::test::makeSequence;

TEST (NoteCreation, aDoubleClickMakesOneStepAtTheCellStartWithTheDefaultVelocity)
{
    const auto phrase = makeSequence ({ makeNote (3, 0, 240) });

    struct Case
    {
        double tick;
        int row;
        int expectedStart; // −1: nothing is made
    };

    const Case cases[] = { { 250.0, 4, 240 }, { 239.9, 4, 0 }, { 3839.0, 4, 3600 }, { 3840.0, 4, -1 }, { -1.0, 4, -1 }, { 250.0, 8, -1 } };

    for (const auto& c : cases)
    {
        const auto made = NoteCreation::addNoteInCell (phrase, c.tick, c.row, GridSize(), 90, { 0, 7 });

        if (c.expectedStart < 0)
        {
            EXPECT_FALSE (made.hasChanged()) << c.tick;
            continue;
        }

        ASSERT_EQ (made.sequence.notes.size(), 2u);
        ASSERT_EQ (made.selection.size(), 1);
        const auto& note = made.sequence.notes[(size_t) made.selection.getPositions()[0]];
        EXPECT_EQ (note.timestamp, c.expectedStart);
        EXPECT_EQ (note.length, 240);
        EXPECT_EQ (note.number, c.row);
        EXPECT_EQ (std::tuple (note.velocityMin, note.velocityMax, note.chance, note.channel, note.repeatStyle), std::tuple (90, 90, 100, 1, 0));
    }
}

TEST (NoteCreation, thePencilDrawsFromTheCellStartAndNeverBelowThirtyTicks)
{
    const auto phrase = makeSequence ({});

    struct Case
    {
        double pressTick, pointerTick;
        bool snapping;
        int expectedStart, expectedLength;
    };

    const Case cases[] = {
        { 250.0, 300.0, true, 240, 240 }, // still inside the first cell: one step
        { 250.0, 700.0, true, 240, 480 }, // the end snaps to 720
        { 250.0, 100.0, true, 240, 30 }, // dragged back before the start
        { 250.0, 262.0, false, 250, 30 }, // free: 12 ticks is too short
        { 250.0, 1000.0, false, 250, 750 },
        { 3700.0, 9000.0, true, 3600, 240 }, // never past the phrase end
    };

    for (const auto& c : cases)
    {
        const PencilStroke stroke (phrase, c.pressTick, 2, c.snapping, GridSize(), {});
        ASSERT_TRUE (stroke.isValid());
        const auto drawn = stroke.update (c.pointerTick, c.snapping);
        ASSERT_EQ (drawn.sequence.notes.size(), 1u);
        EXPECT_EQ (drawn.sequence.notes[0].timestamp, c.expectedStart) << c.pointerTick;
        EXPECT_EQ (drawn.sequence.notes[0].length, c.expectedLength) << c.pointerTick;
        EXPECT_EQ (drawn.sequence.notes[0].velocityMin, 100);
        EXPECT_EQ (drawn.selection, NoteSelection ({ 0 }));
    }

    EXPECT_FALSE (PencilStroke (phrase, 3840.0, 2, true, GridSize(), {}).isValid());
}

TEST (NoteCreation, aFastBrushStrokePaintsEveryCellAlongTheLine)
{
    using Cell = BrushStroke::Cell;

    // The example stroke: from (column 0, row 60) to (column 4, row 62) in one move.
    const auto line = BrushStroke::cellsAlongLine ({ 0, 60 }, { 4, 62 });
    ASSERT_EQ (line.size(), 5u);
    EXPECT_EQ (line.front(), (Cell { 0, 60 }));
    EXPECT_EQ (line.back(), (Cell { 4, 62 }));

    for (size_t i = 1; i < line.size(); ++i)
    {
        EXPECT_EQ (line[i].column, line[i - 1].column + 1);
        EXPECT_GE (line[i].row, line[i - 1].row);
        EXPECT_LE (line[i].row, line[i - 1].row + 1);
    }

    // Steep, backwards and single-cell lines.
    EXPECT_EQ (BrushStroke::cellsAlongLine ({ 2, 0 }, { 2, 5 }).size(), 6u);
    EXPECT_EQ (BrushStroke::cellsAlongLine ({ 4, 62 }, { 0, 60 }).size(), 5u);
    EXPECT_EQ (BrushStroke::cellsAlongLine ({ 1, 1 }, { 1, 1 }).size(), 1u);

    BrushStroke stroke (makeSequence ({}, 3840 * 2), GridSize(), 80, {});
    stroke.paintTo (10.0, 60);
    const auto painted = stroke.paintTo (4 * 240 + 10.0, 62);
    EXPECT_EQ (stroke.getNumPainted(), 5);
    EXPECT_EQ (painted.sequence.notes.size(), 5u);
    EXPECT_EQ (painted.selection.size(), 5);

    for (const auto& note : painted.sequence.notes)
        EXPECT_EQ (std::tuple (note.timestamp % 240, note.length, note.velocityMin), std::tuple (0, 240, 80));
}

TEST (NoteCreation, theBrushFillsOnlyEmptyCellsInsideThePhrase)
{
    // A long note on row 5 covers cells 2 and 3; the phrase holds 8 cells.
    const auto phrase = makeSequence ({ makeNote (5, 500, 400) }, 8 * 240);
    BrushStroke stroke (phrase, GridSize(), 100, { 0, 7 });

    stroke.paintTo (0.0, 5);
    stroke.paintTo (9 * 240.0, 5); // past the end
    stroke.paintTo (0.0, 5); // back over painted cells

    // Cells 0, 1 and 4 to 7 are painted once; 2 and 3 were taken.
    EXPECT_EQ (stroke.getNumPainted(), 6);
    const auto result = stroke.finish();
    ASSERT_TRUE (result.hasChanged());
    EXPECT_EQ (result.sequence.notes.size(), 7u);

    // The painted notes are the selection; the note that was there is not.
    for (size_t i = 0; i < result.sequence.notes.size(); ++i)
        EXPECT_EQ (result.selection.contains ((int) i), result.sequence.notes[i].timestamp != 500) << i;

    for (const auto& note : result.sequence.notes)
        EXPECT_LE (note.getEnd(), 8 * 240);

    // A stroke that painted nothing commits nothing: a taken cell, a row outside the range.
    BrushStroke taken (phrase, GridSize(), 100, { 0, 7 });
    taken.paintTo (600.0, 5);
    EXPECT_FALSE (taken.finish().hasChanged());

    BrushStroke outside (phrase, GridSize(), 100, { 0, 7 });
    outside.paintTo (600.0, 9);
    EXPECT_FALSE (outside.finish().hasChanged());
}
