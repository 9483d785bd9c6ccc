#include <tests/support/Phrases.h>

#include <tarn/sequence/notegrid/NoteCreation.h>

#include <gtest/gtest.h>

using namespace tarn;
using namespace cadenzium::test;

TEST (NoteCreation, aDoubleClickMakesOneStepAtTheCellStartInsideThePhraseAndTheRowRange)
{
    const auto phrase = makeSequence ({ makeNote (3, 0, 240) });

    // (tick, row, the start made or −1 for nothing)
    const std::tuple<double, int, int> cases[] = { { 250.0, 4, 240 }, { 239.9, 4, 0 }, { 3839.0, 4, 3600 }, { 3840.0, 4, -1 }, { -1.0, 4, -1 }, { 250.0, 8, -1 } };

    for (const auto& [tick, row, expectedStart] : cases)
    {
        SCOPED_TRACE ("tick " + std::to_string (tick) + ", row " + std::to_string (row));
        const auto made = NoteCreation::addNoteInCell (phrase, tick, row, GridSize(), 90, { 0, 7 });
        ASSERT_EQ (made.hasChanged(), expectedStart >= 0);

        if (expectedStart >= 0)
        {
            ASSERT_EQ (made.selection.size(), 1);
            const auto& note = made.sequence.notes[(size_t) made.selection.getPositions()[0]];
            EXPECT_EQ (std::tuple (note.timestamp, note.length, note.number, note.velocityMin, note.velocityMax, note.chance, note.repeatStyle),
                       std::tuple (expectedStart, 240, row, 90, 90, 100, 0));
        }
    }
}

TEST (NoteCreation, thePencilDrawsFromTheCellStartAndNeverBelowThirtyTicks)
{
    const auto phrase = makeSequence ({});

    // (press, pointer, snapping, start, length)
    const std::tuple<double, double, bool, int, int> cases[] = {
        { 250.0, 300.0, true, 240, 240 }, // still inside the first cell: one step
        { 250.0, 700.0, true, 240, 480 }, // the end snaps to 720
        { 250.0, 100.0, true, 240, 30 }, // dragged back before the start
        { 250.0, 262.0, false, 250, 30 }, // free: 12 ticks is too short
        { 250.0, 1000.0, false, 250, 750 },
        { 3700.0, 9000.0, true, 3600, 240 }, // never past the phrase end
    };

    for (const auto& [press, pointer, snapping, start, length] : cases)
    {
        const PencilStroke stroke (phrase, press, 2, snapping, GridSize(), {});
        const auto drawn = stroke.update (pointer, snapping);
        ASSERT_EQ (drawn.sequence.notes.size(), 1u);
        EXPECT_EQ (std::pair (drawn.sequence.notes[0].timestamp, drawn.sequence.notes[0].length), std::pair (start, length)) << pointer;
        EXPECT_EQ (drawn.selection, NoteSelection ({ 0 }));
    }

    EXPECT_FALSE (PencilStroke (phrase, 3840.0, 2, true, GridSize(), {}).isValid());
}

TEST (NoteCreation, theBrushFillsOnlyEmptyCellsInsideThePhraseAndEveryCellAlongAFastMove)
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
    ASSERT_EQ (result.sequence.notes.size(), 7u);

    // The painted notes are the selection; the note that was there is not.
    for (size_t i = 0; i < result.sequence.notes.size(); ++i)
    {
        EXPECT_EQ (result.selection.contains ((int) i), result.sequence.notes[i].timestamp != 500) << i;
        EXPECT_LE (result.sequence.notes[i].getEnd(), 8 * 240);
    }

    // A fast diagonal stroke, right to left and upwards, takes every cell along its line.
    BrushStroke diagonal (makeSequence ({}, 8 * 240), GridSize(), 100, { 0, 7 });
    diagonal.paintTo (7 * 240.0, 0);
    diagonal.paintTo (0.0, 7);
    std::vector<std::pair<int, int>> cells, expected;

    for (const auto& note : diagonal.finish().sequence.notes)
        cells.emplace_back (note.timestamp / 240, note.number);

    for (int column = 0; column < 8; ++column)
        expected.emplace_back (column, 7 - column);

    EXPECT_EQ (cells, expected);

    // A stroke that painted nothing commits nothing: a taken cell, a row outside the range.
    for (const auto row : { 5, 9 })
    {
        BrushStroke nothing (phrase, GridSize(), 100, { 0, 7 });
        nothing.paintTo (600.0, row);
        EXPECT_FALSE (nothing.finish().hasChanged()) << row;
    }
}
