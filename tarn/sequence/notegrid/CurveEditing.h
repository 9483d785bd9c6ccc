#pragma once

#include <tarn/sequence/Sequence.h>

#include <map>

namespace tarn
{

/** Point edits of one controller lane, as the curve editor makes them. Plain value
    transformations; points stay in time order and inside the phrase. [message thread] */
namespace CurveEditing
{
    /** The values a lane takes: 0 … 127 for a control change, −8192 … 8191 for pitch bend. */
    int lowestValue (const ControllerLane&) noexcept;
    int highestValue (const ControllerLane&) noexcept;

    /** The lane with a straight point at (tick, value) (both limited to the phrase and the
        lane's range); a point already at that tick takes the value instead. `index` receives
        the position of the point. */
    ControllerLane withPoint (const ControllerLane&, int tick, int value, int length, int* index = nullptr);

    /** The lane with point `index` moved to (tick, value), its tick kept between its
        neighbours' so the points keep their order. */
    ControllerLane withPointMoved (const ControllerLane&, int index, int tick, int value, int length);

    ControllerLane withoutPoint (const ControllerLane&, int index);
    ControllerLane withoutPoints (const ControllerLane&);

    /** The point whose segment (from the point before it, or from tick 0) holds `tick`: the
        segment a bend changes. −1 when no point lies at or after the tick. */
    int segmentEndingAfter (const ControllerLane&, double tick) noexcept;

    /** Whether the segment that ends at point `index` rises. */
    bool segmentRises (const ControllerLane&, int index) noexcept;
} // namespace CurveEditing

/** A drawing stroke of the curve editor's Pencil or Steps tool: the points it adds replace
    the lane's points in the time it covers. [message thread] */
class CurveStroke
{
public:
    enum class Style
    {
        freehand, // one point per `spacing` ticks along the drag
        steps // a flat step per grid cell: a point where it starts and one just before it ends
    };

    CurveStroke (const ControllerLane& base, Style, int spacing, int length);

    /** Adds the pointer's position to the stroke and gives the lane as it would be. */
    ControllerLane addSample (double tick, int value);

    ControllerLane getLane() const;

private:
    ControllerLane base;
    Style style;
    int spacing, length;
    std::map<int, int> cells; // cell index → value, the latest sample wins
    int lastCell = -1;
    int lastValue = 0;
};

} // namespace tarn
