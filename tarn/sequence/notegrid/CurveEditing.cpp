#include "CurveEditing.h"

#include <algorithm>
#include <cmath>

namespace tarn
{
namespace CurveEditing
{
    int lowestValue (const ControllerLane& lane) noexcept
    {
        return lane.type == ControllerLane::pitchBend ? ControllerLane::pitchBendMin : 0;
    }

    int highestValue (const ControllerLane& lane) noexcept
    {
        return lane.type == ControllerLane::pitchBend ? ControllerLane::pitchBendMax : 127;
    }

    namespace
    {
        int limitValue (const ControllerLane& lane, int value) noexcept
        {
            return std::clamp (value, lowestValue (lane), highestValue (lane));
        }

        void sortPoints (ControllerLane& lane)
        {
            std::stable_sort (lane.points.begin(), lane.points.end(), [] (const ControllerPoint& a, const ControllerPoint& b)
                              { return a.timestamp < b.timestamp; });
        }
    } // namespace

    ControllerLane withPoint (const ControllerLane& lane, int tick, int value, int length, int* index)
    {
        auto result = lane;
        ControllerPoint point;
        point.timestamp = std::clamp (tick, 0, std::max (0, length));
        point.value = limitValue (lane, value);

        const auto existing = std::find_if (result.points.begin(), result.points.end(), [&] (const ControllerPoint& p)
                                            { return p.timestamp == point.timestamp; });

        if (existing != result.points.end())
        {
            existing->value = point.value;
        }
        else
        {
            result.points.push_back (point);
            sortPoints (result);
        }

        if (index != nullptr)
        {
            const auto found = std::find_if (result.points.begin(), result.points.end(), [&] (const ControllerPoint& p)
                                             { return p.timestamp == point.timestamp; });
            *index = (int) std::distance (result.points.begin(), found);
        }

        return result;
    }

    ControllerLane withPointMoved (const ControllerLane& lane, int index, int tick, int value, int length)
    {
        if (index < 0 || index >= (int) lane.points.size())
            return lane;

        auto result = lane;
        const auto earliest = index > 0 ? lane.points[(size_t) index - 1].timestamp : 0;
        const auto latest = index + 1 < (int) lane.points.size() ? lane.points[(size_t) index + 1].timestamp : std::max (0, length);

        auto& point = result.points[(size_t) index];
        point.timestamp = std::clamp (tick, earliest, std::max (earliest, latest));
        point.value = limitValue (lane, value);
        return result;
    }

    ControllerLane withoutPoint (const ControllerLane& lane, int index)
    {
        auto result = lane;

        if (index >= 0 && index < (int) result.points.size())
            result.points.erase (result.points.begin() + index);

        return result;
    }

    ControllerLane withoutPoints (const ControllerLane& lane)
    {
        auto result = lane;
        result.points.clear();
        return result;
    }

    int segmentEndingAfter (const ControllerLane& lane, double tick) noexcept
    {
        for (size_t i = 0; i < lane.points.size(); ++i)
            if (lane.points[i].timestamp >= tick)
                return (int) i;

        return -1;
    }

    bool segmentRises (const ControllerLane& lane, int index) noexcept
    {
        if (index <= 0 || index >= (int) lane.points.size())
            return false; // the first segment is flat: it starts at the first point's value

        return lane.points[(size_t) index].value > lane.points[(size_t) index - 1].value;
    }
} // namespace CurveEditing

//==============================================================================
CurveStroke::CurveStroke (const ControllerLane& baseToUse, Style styleToUse, int spacingToUse, int lengthToUse)
    : base (baseToUse)
    , style (styleToUse)
    , spacing (std::max (1, spacingToUse))
    , length (std::max (1, lengthToUse))
{
}

ControllerLane CurveStroke::addSample (double tick, int value)
{
    const auto lastOfPhrase = (length - 1) / spacing;
    const auto cell = std::clamp ((int) std::floor (tick / spacing), 0, lastOfPhrase);
    value = std::clamp (value, CurveEditing::lowestValue (base), CurveEditing::highestValue (base));

    // A fast drag fills the cells it jumped over along a straight line.
    if (lastCell >= 0 && std::abs (cell - lastCell) > 1)
    {
        const auto step = cell > lastCell ? 1 : -1;

        for (auto c = lastCell + step; c != cell; c += step)
        {
            const auto t = (double) (c - lastCell) / (cell - lastCell);
            cells[c] = (int) std::lround (lastValue + t * (value - lastValue));
        }
    }

    cells[cell] = value;
    lastCell = cell;
    lastValue = value;
    return getLane();
}

ControllerLane CurveStroke::getLane() const
{
    if (cells.empty())
        return base;

    const auto from = cells.begin()->first * spacing;
    const auto to = std::min (length, (cells.rbegin()->first + 1) * spacing);

    auto lane = base;
    lane.points.erase (std::remove_if (lane.points.begin(), lane.points.end(), [&] (const ControllerPoint& p)
                                       { return p.timestamp >= from && p.timestamp < to; }),
                       lane.points.end());

    for (const auto& [cell, value] : cells)
    {
        ControllerPoint point;
        point.timestamp = cell * spacing;
        point.value = value;
        lane.points.push_back (point);

        if (style == Style::steps)
        {
            point.timestamp = std::min (length, (cell + 1) * spacing) - 1;

            if (point.timestamp > cell * spacing)
                lane.points.push_back (point);
        }
    }

    std::stable_sort (lane.points.begin(), lane.points.end(), [] (const ControllerPoint& a, const ControllerPoint& b)
                      { return a.timestamp < b.timestamp; });
    return lane;
}

} // namespace tarn
