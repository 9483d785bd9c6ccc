#include <tarn/sequence/notegrid/RowLoopDrag.h>

#include <gtest/gtest.h>

using namespace tarn;

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
