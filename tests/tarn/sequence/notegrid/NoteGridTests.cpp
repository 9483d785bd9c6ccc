#include <tarn/sequence/GridSize.h>
#include <tarn/sequence/notegrid/CurveBend.h>
#include <tarn/sequence/notegrid/CurveEditing.h>
#include <tarn/sequence/notegrid/GridGeometry.h>
#include <tarn/sequence/notegrid/NoteCreation.h>
#include <tarn/sequence/notegrid/NoteDrag.h>
#include <tarn/sequence/notegrid/PhraseDifference.h>
#include <tarn/sequence/notegrid/PhraseDocument.h>
#include <tarn/sequence/notegrid/PhraseLength.h>
#include <tarn/sequence/notegrid/RowLoopDrag.h>
#include <tarn/sequence/notegrid/ValueEditing.h>
#include <tests/support/Phrases.h>

#include <gtest/gtest.h>

#include <set>

using namespace tarn;
using namespace cadenzium::test;
using End = ValueEditing::End;

TEST (GridSize, identifiersNameTheTwentyFourSizesAndUnknownOnesGiveASixteenth)
{
    std::set<int> identifiers;

    for (const auto& size : GridSize::all())
        identifiers.insert (size.identifier);

    EXPECT_EQ (identifiers.size(), 24u);
    const std::tuple<int, const char*, int> known[] = { { 100, "1/1", 3840 }, { 110, "1/1d", 5760 }, { 127, "1/128t", 20 } };

    for (const auto& [identifier, name, ticks] : known)
    {
        EXPECT_EQ (GridSize::fromIdentifier (identifier).getName(), name);
        EXPECT_EQ (GridSize::fromIdentifier (identifier).ticks, ticks) << name;
    }

    for (int id : { 999, 0, -1, 108, 130, 99 })
    {
        EXPECT_FALSE (GridSize::isValidIdentifier (id)) << id;
        EXPECT_EQ (GridSize::fromIdentifier (id).ticks, 240) << id;
    }
}

TEST (GridGeometry, pointerPositionsBecomeTicksSnappedToTheNearestLineUnlessShiftIsHeld)
{
    // One bar of 4/4 across 960 pixels: four ticks per pixel.
    const TimeAxis axis { 0.0, 3840.0, 960 };
    const GridSize sixteenth;

    // (pointer x, snapping, tick)
    const std::tuple<double, bool, int> cases[] = {
        { 0.0, true, 0 },
        { 29.0, true, 0 }, // tick 116: below half a step
        { 30.0, true, 240 }, // tick 120: half a step rounds up
        { 62.5, true, 240 }, // tick 250
        { 959.0, true, 3840 }, // the last line is the phrase end
        { 2000.0, true, 3840 }, // past the end: limited to the length
        { -40.0, true, 0 }, // before the start: limited to 0
        { 62.5, false, 250 },
        { 62.6, false, 250 }, // the whole tick under the pointer
        { -1.0, false, 0 },
        { 5000.0, false, 3840 },
    };

    for (const auto& [x, snapping, expected] : cases)
        EXPECT_EQ (GridTicks::pointerTick (axis.tickAt (x), snapping, sixteenth, 3840), expected) << "x " << x << (snapping ? " snapped" : " free");

    // A scrolled and zoomed view shifts the ticks; the mapping goes both ways.
    const TimeAxis scrolled { 1920.0, 960.0, 480 };
    EXPECT_DOUBLE_EQ (scrolled.tickAt (240.0), 2400.0);
    EXPECT_DOUBLE_EQ (scrolled.xOf (2400.0), 240.0);

    // Triplet and dotted grids snap to their own lines; cells round down.
    EXPECT_EQ (GridTicks::snap (250.0, GridSize (16, GridSize::triplet), 3840), 320);
    EXPECT_EQ (GridTicks::snap (500.0, GridSize (16, GridSize::dotted), 3840), 360);
    EXPECT_EQ (GridTicks::cellStart (250.0, sixteenth), 240);
    EXPECT_EQ (GridTicks::cellStart (-1.0, sixteenth), -240);
}

TEST (GridGeometry, rowsCountUpwardsFromTheBottomAndFewRowsFillTheViewWhileManyScroll)
{
    RowAxis rows { 32, 20.0, 0.0 };
    EXPECT_EQ (rows.rowAt (0.0), 31);
    EXPECT_EQ (rows.rowAt (19.9), 31);
    EXPECT_EQ (rows.rowAt (20.0), 30);
    EXPECT_EQ (rows.rowAt (639.0), 0);
    EXPECT_EQ (rows.rowAt (640.0), -1);
    EXPECT_DOUBLE_EQ (rows.yOf (0), 620.0);

    EXPECT_DOUBLE_EQ (RowAxis::fittedRowHeight (8, 400.0, 16.0, 40.0), 40.0);
    EXPECT_DOUBLE_EQ (RowAxis::fittedRowHeight (16, 400.0, 16.0, 40.0), 25.0);
    EXPECT_DOUBLE_EQ (RowAxis::fittedRowHeight (128, 400.0, 16.0, 40.0), 16.0);
}

TEST (GridGeometry, zoomKeepsTheTickUnderThePointerAndStaysInsideThePhrase)
{
    const TimeAxis whole { 0.0, 3840.0 * 4, 800 };
    const auto zoomed = whole.zoomedTo (3840.0, 400.0, 3840 * 4);
    EXPECT_DOUBLE_EQ (zoomed.visibleTicks, 3840.0);
    EXPECT_NEAR (zoomed.tickAt (400.0), whole.tickAt (400.0), 1e-6);

    // Never closer than a 1/128 step over 40 pixels, never wider than the phrase.
    EXPECT_NEAR (whole.zoomedTo (1.0, 0.0, 15360).visibleTicks, 600.0, 1e-9);
    EXPECT_DOUBLE_EQ (whole.zoomedTo (1.0e9, 0.0, 15360).visibleTicks, 15360.0);

    // Scrolling stops at either end of the phrase.
    EXPECT_DOUBLE_EQ (zoomed.scrolledTo (-500.0, 15360).firstTick, 0.0);
    EXPECT_DOUBLE_EQ (zoomed.scrolledTo (1.0e9, 15360).firstTick, 15360.0 - 3840.0);
}

TEST (PhraseLength, barsBeatsAndSixteenthsBecomeTicksByTheLengthBoxFormula)
{
    // (length, time signature, ticks)
    const std::tuple<BarsBeatsSixteenths, int, int, int> cases[] = {
        { { 1, 0, 0 }, 4, 4, 3840 },          { { 2, 1, 2 }, 4, 4, 7680 + 960 + 480 }, { { 1, 0, 0 }, 6, 8, 2880 },
        { { 0, 3, 1 }, 6, 8, 1440 + 120 },    { { 1, 0, 0 }, 7, 16, 1680 },           { { 0, 0, 1 }, 1, 64, 15 },
        { { 0, 0, 0 }, 4, 4, 1 },             { { 999999, 0, 0 }, 4, 4, Sequence::maxLength },
        { { 1, 0, 0 }, 4, 0, 3840 }, // a time signature the program does not accept reads as 4/4
    };

    for (const auto& [length, numerator, denominator, expectedTicks] : cases)
    {
        EXPECT_EQ (length.toTicks (numerator, denominator), expectedTicks) << length.toString();

        if (expectedTicks > 1 && expectedTicks < Sequence::maxLength)
        {
            EXPECT_EQ (BarsBeatsSixteenths::fromTicks (expectedTicks, numerator, denominator).toTicks (numerator, denominator), expectedTicks);
        }
    }

    EXPECT_EQ (BarsBeatsSixteenths::fromTicks (3840 + 960 + 250, 4, 4), (BarsBeatsSixteenths { 1, 1, 1 }));
}

TEST (PhraseLength, typedLengthsAreReadAndCarried)
{
    EXPECT_EQ (BarsBeatsSixteenths::fromString ("2.1.3"), (BarsBeatsSixteenths { 2, 1, 3 }));
    EXPECT_EQ (BarsBeatsSixteenths::fromString (" 4 "), (BarsBeatsSixteenths { 4, 0, 0 }));
    EXPECT_EQ (BarsBeatsSixteenths::fromString ("1..2"), (BarsBeatsSixteenths { 1, 0, 2 }));
    EXPECT_EQ (BarsBeatsSixteenths::fromString ("99999999999999.0.0")->toTicks (4, 4), Sequence::maxLength);

    for (auto bad : { "", "a.1.0", "-1.0.0", "1.2.3.4", "1,5" })
        EXPECT_FALSE (BarsBeatsSixteenths::fromString (bad).has_value()) << bad;

    EXPECT_EQ ((BarsBeatsSixteenths { 0, 6, 5 }.normalised (4)), (BarsBeatsSixteenths { 1, 3, 1 }));
    EXPECT_EQ ((BarsBeatsSixteenths { 2, -1, 0 }.normalised (4)), (BarsBeatsSixteenths { 1, 3, 0 }));
    EXPECT_EQ ((BarsBeatsSixteenths { 0, 0, -3 }.normalised (3)), (BarsBeatsSixteenths { 0, 0, 0 }));
}

TEST (PhraseLength, aTimeSignatureChangeKeepsTheNumberOfBarsOfAWholeBarPhrase)
{
    // (length, from, to, expected)
    const std::tuple<int, std::pair<int, int>, std::pair<int, int>, int> cases[] = {
        { 3840, { 4, 4 }, { 3, 4 }, 2880 }, // one bar stays one bar
        { 4 * 3840, { 4, 4 }, { 7, 8 }, 4 * 3360 },
        { 2 * 2880, { 3, 4 }, { 4, 4 }, 2 * 3840 },
        { 3 * 1440, { 3, 8 }, { 15, 16 }, 3 * 3600 },
        { 3840 + 960, { 4, 4 }, { 3, 4 }, 3840 + 960 }, // a bar and a beat: not whole bars, kept
        { 250, { 4, 4 }, { 3, 4 }, 250 },
        { Sequence::maxLength, { 4, 4 }, { 12, 8 }, (Sequence::maxLength / 5760) * 5760 }, // as many as fit
        { 0, { 4, 4 }, { 3, 4 }, 0 },
    };

    for (const auto& [length, from, to, expected] : cases)
        EXPECT_EQ (lengthInTimeSignature (length, from.first, from.second, to.first, to.second), expected)
            << length << " " << from.first << "/" << from.second << " to " << to.first << "/" << to.second;
}

TEST (RowLoopDrag, edgesAndRegionStayWithinTheirLimits)
{
    const GridSize sixteenth;
    constexpr int length = 3840;

    struct Case
    {
        RowLoopDrag::Part part;
        RowLoop loop;
        double tick;
        bool snapping;
        RowLoop expected;
        const char* why;
    };

    using P = RowLoopDrag::Part;
    const Case cases[] = {
        { P::endEdge, { 960, 1920 }, 2500.0, true, { 960, 2400 }, "end snaps to the nearest line" },
        { P::endEdge, { 960, 1920 }, 2500.0, false, { 960, 2500 }, "end follows the pointer with Shift" },
        { P::endEdge, { 960, 1920 }, 9000.0, true, { 960, 3840 }, "end stops at the phrase end" },
        { P::endEdge, { 960, 1920 }, 0.0, true, { 960, 1200 }, "end stays one step after the start" },
        { P::endEdge, { 960, 1920 }, 0.0, false, { 960, 961 }, "one tick after it with Shift" },
        { P::startEdge, { 960, 1920 }, 250.0, true, { 240, 1920 }, "start snaps" },
        { P::startEdge, { 960, 1920 }, -900.0, true, { 0, 1920 }, "start stops at 0" },
        { P::startEdge, { 960, 1920 }, 3000.0, true, { 1680, 1920 }, "start stays one step before the end" },
        { P::startEdge, { 960, 1920 }, 3000.0, false, { 1919, 1920 }, "one tick before it with Shift" },
        { P::region, { 960, 1920 }, 1300.0, true, { 1200, 2160 }, "the region keeps its length" },
        { P::region, { 960, 1920 }, -500.0, true, { 0, 960 }, "not before 0" },
        { P::region, { 960, 1920 }, 3500.0, true, { 2880, 3840 }, "not past the end" },
        { P::newRegion, { 0, 3840 }, 1000.0, true, { 480, 960 }, "drawn from the press at 480" },
        { P::newRegion, { 0, 3840 }, 500.0, true, { 480, 720 }, "at least one step" },
    };

    for (const auto& c : cases)
    {
        RowLoop result;

        switch (c.part)
        {
            case P::endEdge: result = RowLoopDrag::withEndAt (c.loop, c.tick, c.snapping, sixteenth, length); break;
            case P::startEdge: result = RowLoopDrag::withStartAt (c.loop, c.tick, c.snapping, sixteenth, length); break;
            case P::region: result = RowLoopDrag::movedTo (c.loop, c.tick, c.snapping, sixteenth, length); break;
            case P::newRegion: result = RowLoopDrag::drawn (480.0, c.tick, c.snapping, sixteenth, length); break;
        }

        EXPECT_EQ (result, c.expected) << c.why << ": got " << result.start << ".." << result.end;
    }
}

TEST (RowLoopDrag, aPressTakesAnEdgeWithinTheToleranceElseTheRegionOrANewOne)
{
    using P = RowLoopDrag::Part;
    const std::tuple<RowLoop, double, P> cases[] = {
        { { 960, 1920 }, 1000.0, P::startEdge }, { { 960, 1920 }, 1870.0, P::endEdge }, { { 960, 1920 }, 1400.0, P::region },
        { { 960, 1920 }, 3000.0, P::newRegion }, { { 0, 3840 }, 1400.0, P::newRegion },
        // The whole-phrase loop of a row without one has no edges to take.
        { { 0, 3840 }, 10.0, P::newRegion }, { { 0, 3840 }, 3830.0, P::newRegion },
        { { 0, 1920 }, 10.0, P::startEdge }, { { 1920, 3840 }, 3830.0, P::endEdge },
    };

    for (const auto& [loop, tick, expected] : cases)
        EXPECT_EQ (RowLoopDrag::partAt (loop, 3840, tick, 60.0), expected) << tick;
}

TEST (RowLoopDrag, aPhraseShorterThanOneStepStillGivesALoopInsideIt)
{
    // 100 ticks with a 1/16 grid: the limits must not cross over.
    for (auto tick : { -50.0, 0.0, 60.0, 500.0 })
    {
        const auto end = RowLoopDrag::withEndAt ({ 0, 100 }, tick, true, GridSize(), 100);
        const auto start = RowLoopDrag::withStartAt ({ 0, 100 }, tick, true, GridSize(), 100);
        const auto drawn = RowLoopDrag::drawn (10.0, tick, true, GridSize(), 100);

        for (const auto& loop : { end, start, drawn })
        {
            EXPECT_GE (loop.start, 0) << tick;
            EXPECT_LE (loop.end, 100) << tick;
            EXPECT_LT (loop.start, loop.end) << tick;
        }
    }
}

TEST (ValueEditing, heightsMapOntoEachModesValues)
{
    // (mode, y in a 100-pixel editor, value)
    const std::tuple<ValueEditorMode, double, int> cases[] = {
        { ValueEditorMode::velocity, 0.0, 127 },   { ValueEditorMode::velocity, 100.0, 1 },   { ValueEditorMode::velocity, 50.0, 64 },
        { ValueEditorMode::velocity, -30.0, 127 }, { ValueEditorMode::velocity, 300.0, 1 },   { ValueEditorMode::chance, 25.0, 75 },
        { ValueEditorMode::transpose, 50.0, 0 },   { ValueEditorMode::transpose, 0.0, 24 },   { ValueEditorMode::octave, 100.0, -4 },
    };

    for (const auto& [mode, y, expected] : cases)
    {
        const auto value = ValueEditing::valueAt (mode, y, 100.0);
        EXPECT_EQ (value, expected) << "mode " << (int) mode << " y " << y;
        EXPECT_EQ (ValueEditing::valueAt (mode, ValueEditing::yOf (mode, value, 100.0), 100.0), value) << "round trip";
    }
}

TEST (ValueEditing, rangeModeMovesTheNearerEndAndKeepsTheMinimumBelowTheMaximum)
{
    auto note = makeNote (0, 0, 240, 40, 80);

    // (range mode, mode, value, the end it moves)
    const std::tuple<bool, ValueEditorMode, int, End> cases[] = {
        { false, ValueEditorMode::velocity, 100, End::both },   { true, ValueEditorMode::velocity, 100, End::maximum },
        { true, ValueEditorMode::velocity, 60, End::maximum },  { true, ValueEditorMode::velocity, 59, End::minimum },
        { true, ValueEditorMode::chance, 10, End::both },       { true, ValueEditorMode::transpose, -3, End::minimum },
    };

    for (const auto& [rangeMode, mode, value, expectedEnd] : cases)
        EXPECT_EQ (ValueEditing::endNearest (note, mode, rangeMode, value), expectedEnd) << value;

    ValueEditing::setValue (note, ValueEditorMode::velocity, End::minimum, 100);
    EXPECT_EQ (std::pair (note.velocityMin, note.velocityMax), std::pair (100, 100));
    ValueEditing::setValue (note, ValueEditorMode::velocity, End::maximum, 0);
    EXPECT_EQ (std::pair (note.velocityMin, note.velocityMax), std::pair (1, 1));
    ValueEditing::setValue (note, ValueEditorMode::octave, End::both, 9);
    EXPECT_EQ (std::pair (note.octaveMin, note.octaveMax), std::pair (4, 4));
    ValueEditing::setValue (note, ValueEditorMode::chance, End::both, 130);
    EXPECT_EQ (note.chance, 100);

    // Setting a list of notes keeps their order and reports a change only when there is one.
    const auto phrase = makeSequence ({ makeNote (0, 0, 240, 50), makeNote (1, 240, 240, 60) });
    const auto edit = ValueEditing::withValues (phrase, { 1 }, ValueEditorMode::velocity, End::both, { { 0, 70 }, { 1, 60 }, { 9, 1 } });
    EXPECT_TRUE (edit.hasChanged());
    EXPECT_EQ (edit.sequence.notes[0].velocityMax, 70);
    EXPECT_EQ (edit.selection, NoteSelection ({ 1 }));
    EXPECT_FALSE (ValueEditing::withValues (phrase, {}, ValueEditorMode::velocity, End::both, { { 1, 60 } }).hasChanged());
}

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

TEST (CurveBend, theFirstMoveBeyondTwoPixelsDecidesTheShapeAndThreeHundredPixelsBendFully)
{
    struct Case
    {
        float curveAtStart;
        bool rises;
        std::vector<std::pair<double, double>> moves;
        int expectedShape; // −1: not decided
        float expectedCurve;
        const char* why;
    };

    const Case cases[] = {
        { 0.5f, true, { { 1.0, 1.0 } }, -1, 0.5f, "1.4 pixels decide nothing" },
        { 0.5f, true, { { 0.0, 2.0 } }, -1, 0.5f, "exactly 2 pixels decide nothing" },
        { 0.5f, true, { { 0.0, 3.0 } }, ControllerPoint::quadratic, 0.51f, "mainly vertical: quadratic" },
        { 0.5f, true, { { 3.0, 1.0 } }, ControllerPoint::sCurve, 0.51f, "mainly horizontal: S-curve" },
        { 0.5f, true, { { 0.0, -3.0 }, { 200.0, -150.0 } }, ControllerPoint::quadratic, 0.0f, "the first move keeps deciding; up bends a rise up" },
        { 0.5f, false, { { 0.0, -150.0 } }, ControllerPoint::quadratic, 1.0f, "up bends a fall up" },
        { 0.2f, true, { { 0.0, 60.0 } }, ControllerPoint::quadratic, 0.4f, "from the curve at the start" },
        { 0.5f, true, { { 5.0, 0.0 }, { 3000.0, 0.0 } }, ControllerPoint::sCurve, 1.0f, "limited to 1" },
        { 0.5f, false, { { 5.0, 0.0 }, { 3000.0, 0.0 } }, ControllerPoint::sCurve, 0.0f, "limited to 0" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.why);
        CurveBend bend (c.curveAtStart, c.rises);
        std::optional<CurveBend::Bend> last;

        for (const auto& [dx, dy] : c.moves)
            last = bend.update (dx, dy);

        ASSERT_EQ (last.has_value(), c.expectedShape >= 0);

        if (last.has_value())
        {
            EXPECT_EQ (last->shape, c.expectedShape);
            EXPECT_NEAR (last->curve, c.expectedCurve, 1.0e-5f);
        }
    }
}

TEST (CurveEditing, pointsStayInOrderInsideThePhraseAndTheLanesRange)
{
    const auto cc = controlChange (1, {});
    int index = -1;
    auto lane = CurveEditing::withPoint (cc, 960, 200, 3840);
    lane = CurveEditing::withPoint (lane, 480, 10, 3840, &index);
    lane = CurveEditing::withPoint (lane, 9999, 64, 3840);
    EXPECT_EQ (index, 0);
    ASSERT_EQ (lane.points.size(), 3u);
    EXPECT_EQ (std::pair (lane.points[1].value, lane.points[2].timestamp), std::pair (127, 3840));

    // A point at an existing tick takes the value instead of doubling the point.
    lane = CurveEditing::withPoint (lane, 480, 20, 3840);
    EXPECT_EQ (lane.points.size(), 3u);
    EXPECT_EQ (lane.points[0].value, 20);

    // Dragging stops at the neighbours.
    lane = CurveEditing::withPointMoved (lane, 1, 100, -5, 3840);
    EXPECT_EQ (lane.points[1].timestamp, 480);
    EXPECT_EQ (lane.points[1].value, 0);
    EXPECT_EQ (CurveEditing::withPointMoved (lane, 1, 5000, 5, 3840).points[1].timestamp, 3840);

    // The segment a bend takes ends at the first point at or after the pointer.
    EXPECT_EQ (CurveEditing::segmentEndingAfter (lane, 100.0), 0);
    EXPECT_EQ (CurveEditing::segmentEndingAfter (lane, 500.0), 2);
    EXPECT_EQ (CurveEditing::segmentEndingAfter (lane, 3841.0), -1);
    EXPECT_TRUE (CurveEditing::segmentRises (lane, 2));
    EXPECT_FALSE (CurveEditing::segmentRises (lane, 0));
    EXPECT_EQ (CurveEditing::withoutPoint (lane, 7).points.size(), 3u);

    ControllerLane bend;
    EXPECT_EQ (CurveEditing::withPoint (bend, 0, -9000, 3840).points[0].value, -8192);
}

TEST (CurveEditing, strokesReplaceThePointsTheyCrossAndFillFastMoves)
{
    const auto lane = controlChange (7, { { 0, 10, 0.5f, 0 }, { 500, 20, 0.5f, 0 }, { 3000, 30, 0.5f, 0 } });

    // Freehand, one point per 240 ticks: from cell 1 straight to cell 4.
    CurveStroke pencil (lane, CurveStroke::Style::freehand, 240, 3840);
    pencil.addSample (300.0, 40);
    const auto drawn = pencil.addSample (1000.0, 100);

    std::vector<std::pair<int, int>> points;

    for (const auto& p : drawn.points)
        points.emplace_back (p.timestamp, p.value);

    const std::vector<std::pair<int, int>> expected { { 0, 10 }, { 240, 40 }, { 480, 60 }, { 720, 80 }, { 960, 100 }, { 3000, 30 } };
    EXPECT_EQ (points, expected);

    // Steps: a point where each cell starts and one where it ends.
    CurveStroke steps (lane, CurveStroke::Style::steps, 960, 3840);
    const auto stepped = steps.addSample (3500.0, 90);
    ASSERT_EQ (stepped.points.size(), 4u);
    EXPECT_EQ (stepped.points[2].timestamp, 2880);
    EXPECT_EQ (stepped.points[3].timestamp, 3839);
    EXPECT_EQ (stepped.points[3].value, 90);
}

namespace
{
struct Replacements : PhraseDocument::Listener
{
    void phraseReplaced() override { ++count; }
    int count = 0;
};
} // namespace

TEST (PhraseDocument, aGesturePreviewsOnACopyAndCommitsOnce)
{
    PhraseDocument document;
    Replacements replacements;
    document.addListener (&replacements);
    std::vector<Sequence> committed;
    document.onCommit = [&committed] (const Sequence& s)
    { committed.push_back (s); };

    const auto original = makeSequence ({ makeNote (0, 0, 240) });
    document.setPhrase (original);
    document.showPreview (makeSequence ({ makeNote (0, 10, 240) }), { 0 });
    EXPECT_EQ (document.getPhrase().notes[0].timestamp, 10);
    EXPECT_EQ (document.getCommittedPhrase().notes[0].timestamp, 0);
    EXPECT_TRUE (committed.empty());

    EXPECT_TRUE (document.commit (makeSequence ({ makeNote (0, 50, 240) }), { 0 }));
    EXPECT_FALSE (document.isPreviewing());
    EXPECT_FALSE (document.commit (document.getPhrase(), { 0 })) << "what is there already hands nothing on";
    ASSERT_EQ (committed.size(), 1u);

    // The owner echoing the committed phrase keeps the selection; another phrase drops it
    // and ends whatever gesture was under way.
    const auto replacedBefore = replacements.count;
    document.setPhrase (committed[0]);
    EXPECT_EQ (document.getSelection(), NoteSelection ({ 0 }));
    EXPECT_EQ (replacements.count, replacedBefore);
    document.setPhrase (original);
    EXPECT_TRUE (document.getSelection().isEmpty());
    EXPECT_EQ (replacements.count, replacedBefore + 1);

    // A cancelled gesture shows the committed phrase again.
    document.showPreview (makeSequence ({}), {});
    document.cancelPreview();
    EXPECT_EQ (document.getPhrase().notes.size(), 1u);
    document.removeListener (&replacements);
}

TEST (PhraseDifference, namesOnlyTheNotesLoopsAndLanesThatChanged)
{
    std::vector<SequenceNote> notes;

    for (int i = 0; i < 2000; ++i)
        notes.push_back (makeNote (i % 32, (i / 32) * 60, 60));

    const auto before = makeSequence (notes, 3840 * 16);
    auto after = before;
    after.notes[5].timestamp += 3000; // moves past hundreds of others in time order
    after.normalise();
    after.loops[4] = { 0, 960 };

    const auto difference = PhraseDifference::between (before, after);
    ASSERT_EQ (difference.notes.size(), 2u);
    EXPECT_EQ (difference.notes[0].row, before.notes[5].number);
    EXPECT_EQ (difference.loopRows, std::vector<int> { 4 });
    EXPECT_FALSE (difference.lanesChanged);
    EXPECT_FALSE (difference.timingChanged);
    EXPECT_TRUE (PhraseDifference::between (before, before).isEmpty());
}
