#include <tests/support/Phrases.h>

#include <tarn/sequence/notegrid/NoteDrag.h>

#include <gtest/gtest.h>

using namespace tarn;
using cadenzium::test::makeNote;
using cadenzium::test::makeSequence;

namespace
{
struct Start
{
    int timestamp, length;
};

std::vector<Start> startsOf (const Sequence& s)
{
    std::vector<Start> result;

    for (const auto& n : s.notes)
        result.push_back ({ n.timestamp, n.length });

    return result;
}
} // namespace

TEST (NoteDrag, moveSnapsTheDraggedNoteAndKeepsTheSelectionInsideThePhrase)
{
    // Notes at 0 and 960 on rows 2 and 5 of a one-bar phrase; the note at 960 is dragged.
    const auto phrase = makeSequence ({ makeNote (2, 0, 240), makeNote (5, 960, 480) });

    struct Case
    {
        double pointerChange;
        bool snapping;
        int expectedChange;
        const char* why;
    };

    const Case cases[] = {
        { 250.0, true, 240, "snapped to the nearest line" },
        { 100.0, true, 0, "less than half a step stays" },
        { 130.0, true, 240, "more than half a step moves" },
        { 250.0, false, 250, "free with Shift" },
        { -500.0, true, 0, "the note at 0 stops the whole selection" },
        { 5000.0, true, 2400, "the latest end stops at the phrase end" },
        { 5000.0, false, 2400, "the same without snapping" },
    };

    for (const auto& c : cases)
    {
        const NoteDrag drag (phrase, { 0, 1 }, 1, NoteDrag::Kind::move, 1000.0, 5, GridSize(), {});
        EXPECT_EQ (drag.timeChange (1000.0 + c.pointerChange, c.snapping), c.expectedChange) << c.why;

        const auto step = drag.update (1000.0 + c.pointerChange, 5, c.snapping);
        EXPECT_EQ (step.sequence.notes[0].timestamp, c.expectedChange) << c.why;
        EXPECT_EQ (step.sequence.notes[1].timestamp, 960 + c.expectedChange) << c.why;
        EXPECT_EQ (step.selection, NoteSelection ({ 0, 1 }));
    }
}

TEST (NoteDrag, moveChangesPitchOnlyWhenEveryNoteStaysInsideTheRowRange)
{
    const auto phrase = makeSequence ({ makeNote (3, 0, 240), makeNote (7, 480, 240), makeNote (1, 960, 240) });
    const RowRange rows { 0, 7 };

    struct Case
    {
        int pointerRow;
        int expectedChange;
    };

    // The drag starts on row 3; the selection spans rows 3 and 7, the unselected note sits on 1.
    const Case cases[] = { { 3, 0 }, { 4, 0 }, { 2, -1 }, { 0, -3 }, { -1, 0 }, { 10, 0 } };

    for (const auto& c : cases)
    {
        const NoteDrag drag (phrase, { 0, 1 }, 0, NoteDrag::Kind::move, 100.0, 3, GridSize(), rows);
        EXPECT_EQ (drag.pitchChange (c.pointerRow), c.expectedChange) << "pointer on row " << c.pointerRow;

        const auto step = drag.update (100.0, c.pointerRow, true);
        EXPECT_EQ (step.sequence.notes[0].number, 3 + c.expectedChange);
        EXPECT_EQ (step.sequence.notes[1].number, 7 + c.expectedChange);
        EXPECT_EQ (step.sequence.notes[2].number, 1) << "unselected notes stay";
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
        std::vector<Start> expected;
        const char* why;
    };

    using K = NoteDrag::Kind;
    const Case cases[] = {
        { K::resizeEnd, 250.0, true, { { 480, 720 }, { 2880, 960 } }, "the end snaps, both grow alike" },
        { K::resizeEnd, -1000.0, true, { { 480, 240 }, { 2880, 240 } }, "never shorter than a step" },
        { K::resizeEnd, -1000.0, false, { { 480, 30 }, { 2880, 30 } }, "never shorter than 30 ticks with Shift" },
        { K::resizeEnd, 5000.0, true, { { 480, 3360 }, { 2880, 960 } }, "never past the phrase end" },
        { K::resizeStart, -250.0, true, { { 240, 720 }, { 2640, 960 } }, "the start snaps, the end stays" },
        { K::resizeStart, -5000.0, true, { { 0, 960 }, { 2400, 1200 } }, "never before 0" },
        { K::resizeStart, 5000.0, true, { { 720, 240 }, { 3360, 240 } }, "end − one step at most" },
        { K::resizeStart, 5000.0, false, { { 930, 30 }, { 3570, 30 } }, "end − 30 ticks with Shift" },
    };

    for (const auto& c : cases)
    {
        const NoteDrag drag (phrase, { 0, 1 }, 0, c.kind, 700.0, 0, GridSize(), {});
        const auto starts = startsOf (drag.update (700.0 + c.pointerChange, 0, c.snapping).sequence);
        ASSERT_EQ (starts.size(), 2u);

        for (size_t i = 0; i < 2; ++i)
        {
            EXPECT_EQ (starts[i].timestamp, c.expected[i].timestamp) << c.why;
            EXPECT_EQ (starts[i].length, c.expected[i].length) << c.why;
        }
    }

    // A note already shorter than a step grows to one when its end is dragged.
    const auto shortNote = makeSequence ({ makeNote (0, 0, 100) });
    const NoteDrag drag (shortNote, {}, 0, K::resizeEnd, 100.0, 0, GridSize(), {});
    EXPECT_EQ (drag.update (90.0, 0, true).sequence.notes[0].length, 240);
}

TEST (NoteDrag, aMoveThatReordersNotesKeepsNamingTheDraggedOnes)
{
    const auto phrase = makeSequence ({ makeNote (0, 0, 240), makeNote (1, 960, 240), makeNote (2, 1920, 240) });
    const NoteDrag drag (phrase, { 0 }, 0, NoteDrag::Kind::move, 0.0, 0, GridSize(), {});
    const auto step = drag.update (2400.0, 0, true);

    ASSERT_TRUE (step.hasChanged());
    EXPECT_EQ (step.selection, NoteSelection ({ 2 }));
    EXPECT_EQ (step.sequence.notes[2].timestamp, 2400);
    EXPECT_EQ (step.sequence.notes[2].number, 0);

    // Back where it began: nothing to commit.
    EXPECT_FALSE (drag.update (10.0, 0, true).hasChanged());
}
