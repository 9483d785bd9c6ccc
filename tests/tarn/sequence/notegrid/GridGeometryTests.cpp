#include <tarn/sequence/notegrid/GridGeometry.h>

#include <gtest/gtest.h>

using namespace tarn;

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
