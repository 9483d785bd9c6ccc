#include <tests/support/Phrases.h>

#include <tarn/sequence/notegrid/NoteDrag.h>

#include <gtest/gtest.h>

using namespace tarn;
using namespace cadenzium::test;

TEST (NoteDrag, moveSnapsTheDraggedNoteAndKeepsTheSelectionInsideThePhraseAndTheRowRange)
{
    // Rows 3 and 7 at 0 and 960 of a one-bar phrase are selected; the note at 960 is dragged.
    const auto phrase = makeSequence ({ makeNote (3, 0, 240), makeNote (7, 960, 480), makeNote (1, 1920, 240) });

    struct Case
    {
        double pointerChange;
        int pointerRow;
        bool snapping;
        int expectedTimeChange, expectedPitchChange;
        const char* why;
    };

    const Case cases[] = {
        { 250.0, 7, true, 240, 0, "snapped to the nearest line" },
        { 100.0, 7, true, 0, 0, "less than half a step stays" },
        { 130.0, 7, true, 240, 0, "more than half a step moves" },
        { 250.0, 7, false, 250, 0, "free with Shift" },
        { -500.0, 7, true, 0, 0, "the note at 0 stops the whole selection" },
        { 5000.0, 7, true, 2400, 0, "the latest end stops at the phrase end" },
        { 5000.0, 7, false, 2400, 0, "the same without snapping" },
        { 0.0, 6, true, 0, -1, "down a row" },
        { 0.0, 4, true, 0, -3, "down to the lowest row" },
        { 0.0, 8, true, 0, 0, "row 7 would leave the range" },
        { 0.0, -1, true, 0, 0, "a pointer below the rows" },
        { 0.0, 12, true, 0, 0, "a pointer above them" },
    };

    for (const auto& c : cases)
    {
        const NoteDrag drag (phrase, { 0, 1 }, 1, NoteDrag::Kind::move, 1000.0, 7, GridSize(), { 0, 7 });
        const auto step = drag.update (1000.0 + c.pointerChange, c.pointerRow, c.snapping);
        const auto* first = findNote (step.sequence, 3 + c.expectedPitchChange, c.expectedTimeChange);
        const auto* second = findNote (step.sequence, 7 + c.expectedPitchChange, 960 + c.expectedTimeChange);
        EXPECT_TRUE (first != nullptr && second != nullptr) << c.why;
        EXPECT_NE (findNote (step.sequence, 1, 1920), nullptr) << "unselected notes stay";
        EXPECT_EQ (step.selection.size(), 2);
    }
}

TEST (NoteDrag, resizingStopsAtOneGridStepOrThirtyTicksAndAtThePhraseEnd)
{
    const auto phrase = makeSequence ({ makeNote (0, 480, 480), makeNote (1, 2880, 720) });

    struct Case
    {
        NoteDrag::Kind kind;
        double pointerChange;
        bool snapping;
        std::vector<std::tuple<int, int, int>> expected;
        const char* why;
    };

    using K = NoteDrag::Kind;
    const Case cases[] = {
        { K::resizeEnd, 250.0, true, { { 0, 480, 720 }, { 1, 2880, 960 } }, "the end snaps, both grow alike" },
        { K::resizeEnd, -1000.0, true, { { 0, 480, 240 }, { 1, 2880, 240 } }, "never shorter than a step" },
        { K::resizeEnd, -1000.0, false, { { 0, 480, 30 }, { 1, 2880, 30 } }, "never shorter than 30 ticks with Shift" },
        { K::resizeEnd, 5000.0, true, { { 0, 480, 3360 }, { 1, 2880, 960 } }, "never past the phrase end" },
        { K::resizeStart, -250.0, true, { { 0, 240, 720 }, { 1, 2640, 960 } }, "the start snaps, the end stays" },
        { K::resizeStart, -5000.0, true, { { 0, 0, 960 }, { 1, 2400, 1200 } }, "never before 0" },
        { K::resizeStart, 5000.0, true, { { 0, 720, 240 }, { 1, 3360, 240 } }, "end − one step at most" },
        { K::resizeStart, 5000.0, false, { { 0, 930, 30 }, { 1, 3570, 30 } }, "end − 30 ticks with Shift" },
    };

    for (const auto& c : cases)
    {
        const NoteDrag drag (phrase, { 0, 1 }, 0, c.kind, 700.0, 0, GridSize(), {});
        EXPECT_EQ (notesOf (drag.update (700.0 + c.pointerChange, 0, c.snapping).sequence), c.expected) << c.why;
    }

    // A note already shorter than a step grows to one when its end is dragged.
    const NoteDrag drag (makeSequence ({ makeNote (0, 0, 100) }), {}, 0, K::resizeEnd, 100.0, 0, GridSize(), {});
    EXPECT_EQ (drag.update (90.0, 0, true).sequence.notes[0].length, 240);
}

TEST (NoteDrag, aMoveThatReordersNotesKeepsNamingTheDraggedOnes)
{
    const auto phrase = makeSequence ({ makeNote (0, 0, 240), makeNote (1, 960, 240), makeNote (2, 1920, 240) });
    const NoteDrag drag (phrase, { 0 }, 0, NoteDrag::Kind::move, 0.0, 0, GridSize(), {});
    const auto step = drag.update (2400.0, 0, true);

    EXPECT_EQ (step.selection, NoteSelection ({ 2 }));
    EXPECT_EQ (std::pair (step.sequence.notes[2].timestamp, step.sequence.notes[2].number), std::pair (2400, 0));
    EXPECT_FALSE (drag.update (10.0, 0, true).hasChanged()) << "back where it began: nothing to commit";
}
