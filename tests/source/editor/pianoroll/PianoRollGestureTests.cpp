#include "PianoRollHarness.h"

using namespace cadenzium::test;
using juce::ModifierKeys;

// Every gesture is one "Edit phrase" step in the processor's history, committed when the
// button comes up; the phrase the processor holds is what the gesture drew.

TEST (PianoRollGestures, theCursorPencilAndBrushDrawNotesEachStrokeOneStep)
{
    PianoRollHarness h;

    // A double click makes a note at the cell's start.
    h.window->doubleClick (h.grid(), h.at (250.0, 3));

    ASSERT_EQ (h.phrase().notes.size(), 1u);
    const auto note = h.phrase().notes[0];
    EXPECT_EQ (std::tuple (note.number, note.timestamp, note.length, note.velocityMin, note.velocityMax), std::tuple (3, 240, 240, 100, 100));
    EXPECT_EQ (h.undoTooltip(), "Undo: Edit phrase");
    EXPECT_EQ (h.numUndoSteps(), 1);
    EXPECT_TRUE (h.pianoRoll().getDocument().getSelection().contains (0));
    h.window->saveScreenshot ("created");

    // The pencil draws one note whose length follows the pointer.
    h.startWith (makeSequence ({}));
    h.pianoRoll().setTool (tarn::NoteTool::pencil);

    h.drag (h.grid(), h.at (500.0, 2), h.at (1400.0, 2));

    ASSERT_EQ (h.phrase().notes.size(), 1u);
    EXPECT_EQ (h.phrase().notes[0].timestamp, 480);
    EXPECT_EQ (h.phrase().notes[0].length, 960); // the end snapped to 1440
    EXPECT_EQ (h.phrase().notes[0].velocityMax, 100);
    EXPECT_EQ (h.numUndoSteps(), 1);

    // With Shift the end follows the pointer freely, never below 30 ticks.
    h.drag (h.grid(), h.at (2000.0, 5), h.at (2010.0, 5), ModifierKeys::shiftModifier);
    ASSERT_EQ (h.phrase().notes.size(), 2u);
    EXPECT_NEAR (h.phrase().notes[1].timestamp, 2000, 5) << "where the pointer was, to the pixel";
    EXPECT_EQ (h.phrase().notes[1].length, 30);
    EXPECT_EQ (h.numUndoSteps(), 2);

    // A brush stroke fills the empty cells along its path.
    h.startWith (makeSequence ({ makeNote (1, 480, 240, 60) })); // takes the cell (2, 1)
    h.pianoRoll().setTool (tarn::NoteTool::brush);

    // One fast move from the cell (column 0, row 0) to (column 4, row 2).
    h.drag (h.grid(), h.at (10.0, 0), h.at (4 * 240 + 10.0, 2), {}, 1);

    EXPECT_EQ (h.numUndoSteps(), 1);
    ASSERT_EQ (h.phrase().notes.size(), 5u) << "the line's five cells, one of them taken, and the note there";
    EXPECT_EQ (h.phrase().notes[0].number, 0);
    EXPECT_EQ (h.phrase().notes.back().number, 2);
    EXPECT_EQ (h.phrase().notes.back().timestamp, 960);

    for (const auto& n : h.phrase().notes)
        EXPECT_EQ (n.length, 240);

    h.window->saveScreenshot ("painted");
}

TEST (PianoRollGestures, aMarqueeSelectsADragMovesEdgesResizeAndTheLoopToolDrawsRegionsEachOneStep)
{
    PianoRollHarness h;
    h.startWith (makeSequence ({ makeNote (1, 0, 240), makeNote (2, 480, 240), makeNote (6, 2880, 240) }));

    // A box around the first two notes only.
    h.drag (h.grid(), h.at (1200.0, 3), h.at (10.0, 0));
    EXPECT_EQ (h.pianoRoll().getDocument().getSelection(), tarn::NoteSelection ({ 0, 1 }));
    EXPECT_EQ (h.numUndoSteps(), 0) << "selecting is not an edit";
    h.window->saveScreenshot ("selected");

    // Drag the second note a little more than two cells right and one row up.
    h.drag (h.grid(), h.at (600.0, 2), h.at (600.0 + 500.0, 3));

    EXPECT_EQ (h.numUndoSteps(), 1);
    EXPECT_EQ (h.undoTooltip(), "Undo: Edit phrase");
    auto notes = h.phrase().notes;
    ASSERT_EQ (notes.size(), 3u);
    EXPECT_EQ (std::tuple (notes[0].number, notes[0].timestamp), std::tuple (2, 480));
    EXPECT_EQ (std::tuple (notes[1].number, notes[1].timestamp), std::tuple (3, 960));
    EXPECT_EQ (std::tuple (notes[2].number, notes[2].timestamp), std::tuple (6, 2880)) << "unselected";
    h.window->saveScreenshot ("moved");

    // Back to the phrase start, then further left: a selection holding a note at 0 stays, and
    // a drag that changes nothing leaves no step.
    h.drag (h.grid(), h.at (540.0, 2), h.at (-3000.0, 2));
    EXPECT_EQ (h.phrase().notes[0].timestamp, 0);
    EXPECT_EQ (h.numUndoSteps(), 2);
    h.drag (h.grid(), h.at (60.0, 2), h.at (-3000.0, 2));
    EXPECT_EQ (h.phrase().notes[0].timestamp, 0);
    EXPECT_EQ (h.numUndoSteps(), 2);

    // Resizing by either edge stops at one grid step, or at thirty ticks with Shift.
    h.startWith (makeSequence ({ makeNote (4, 960, 960) }));

    const auto rightEdge = h.at (1918.0, 4);
    h.drag (h.grid(), rightEdge, h.at (2650.0, 4));
    EXPECT_EQ (h.phrase().notes[0].length, 1680); // the end snapped to 2640

    h.drag (h.grid(), h.at (2638.0, 4), h.at (0.0, 4));
    EXPECT_EQ (h.phrase().notes[0].length, 240);

    h.drag (h.grid(), h.at (1198.0, 4), h.at (0.0, 4), ModifierKeys::shiftModifier);
    EXPECT_EQ (h.phrase().notes[0].length, 30);

    // The left edge keeps the end where it is.
    h.drag (h.grid(), h.at (961.0, 4), h.at (250.0, 4));
    EXPECT_EQ (std::tuple (h.phrase().notes[0].timestamp, h.phrase().notes[0].getEnd()), std::tuple (240, 990));
    EXPECT_EQ (h.numUndoSteps(), 4);

    // The loop tool draws the region dragged over, even from a row's ends; a region that
    // covers the phrase disappears.
    h.startWith (makeSequence ({}));
    h.pianoRoll().setTool (tarn::NoteTool::loop);

    // A row without a loop: a drag from its very start over three sixteenths is that region.
    h.drag (h.grid(), h.at (5.0, 5), h.at (720.0, 5));
    EXPECT_EQ (h.phrase().loops[5], (tarn::RowLoop { 0, 720 }));
    EXPECT_EQ (h.undoTooltip(), "Undo: Edit phrase");
    EXPECT_EQ (h.grid().getLoopRow(), 5);
    h.window->saveScreenshot ("loop");

    // The same from its very end, leftwards.
    h.drag (h.grid(), h.at (3835.0, 6), h.at (2880.0, 6));
    EXPECT_EQ (h.phrase().loops[6], (tarn::RowLoop { 2880, 3840 }));

    // A region moves as a whole, its edges move alone.
    h.drag (h.grid(), h.at (360.0, 5), h.at (1320.0, 5));
    EXPECT_EQ (h.phrase().loops[5], (tarn::RowLoop { 960, 1680 }));
    h.drag (h.grid(), h.at (1678.0, 5), h.at (5000.0, 5));
    EXPECT_EQ (h.phrase().loops[5], (tarn::RowLoop { 960, 3840 }));

    h.drag (h.grid(), h.at (962.0, 5), h.at (-50.0, 5));
    EXPECT_FALSE (h.phrase().loops[5].isSet()) << "covering the phrase, the region goes";
    EXPECT_EQ (h.numUndoSteps(), 5);
}
