#include "CurveBend.h"

#include <tarn/sequence/Sequence.h>

#include <algorithm>
#include <cmath>

namespace tarn
{

CurveBend::CurveBend (float curveAtStartToUse, bool segmentRisesToUse) noexcept
    : curveAtStart (std::clamp (curveAtStartToUse, 0.0f, 1.0f))
    , segmentRises (segmentRisesToUse)
{
}

std::optional<CurveBend::Bend> CurveBend::update (double dx, double dy) noexcept
{
    if (! shape.has_value())
    {
        if (std::hypot (dx, dy) <= decisionDistance)
            return std::nullopt;

        shape = std::abs (dy) > std::abs (dx) ? ControllerPoint::quadratic : ControllerPoint::sCurve;
    }

    // A curve of 0 puts the control point at the segment's end value early on: a rising
    // segment bulges upwards, a falling one downwards. So dragging up lowers the curve of a
    // rising segment and raises that of a falling one.
    const auto distance = *shape == ControllerPoint::quadratic ? dy : dx;
    const auto sign = segmentRises ? 1.0 : -1.0;
    const auto curve = std::clamp ((double) curveAtStart + sign * distance / pixelsPerFullBend, 0.0, 1.0);
    return Bend { *shape, (float) curve };
}

} // namespace tarn
