#include <tests/support/Phrases.h>

#include <tarn/sequence/notegrid/CurveBend.h>
#include <tarn/sequence/notegrid/CurveEditing.h>

#include <gtest/gtest.h>

using namespace tarn;
using cadenzium::test::controlChange;

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
