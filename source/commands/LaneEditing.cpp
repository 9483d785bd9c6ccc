#include "LaneEditing.h"

#include <algorithm>

namespace LaneEditing
{
namespace
{
    bool laneHasKey (const tarn::ControllerLane& lane, const ControllerType& type)
    {
        return ControllerType::fromLane (lane).hasSameKeyAs (type);
    }
} // namespace

tarn::Sequence withLaneAdded (const tarn::Sequence& phrase, const ControllerType& type)
{
    auto result = phrase;

    if (std::none_of (result.lanes.begin(), result.lanes.end(), [&] (const auto& lane)
                      { return laneHasKey (lane, type); }))
        result.lanes.push_back (type.toLane());

    return result;
}

tarn::Sequence withoutLane (const tarn::Sequence& phrase, const ControllerType& type)
{
    auto result = phrase;
    auto& lanes = result.lanes;
    lanes.erase (std::remove_if (lanes.begin(), lanes.end(), [&] (const auto& lane)
                                 { return laneHasKey (lane, type); }),
                 lanes.end());
    result.normalise();
    return result;
}

tarn::Sequence withLaneChanged (const tarn::Sequence& phrase, const ControllerType& oldType, const ControllerType& newType)
{
    auto result = phrase;

    for (auto& lane : result.lanes)
    {
        if (! laneHasKey (lane, oldType))
            continue;

        lane.type = newType.type;
        lane.number = newType.number;
        lane.channel = newType.channel;
        lane.name = newType.name;

        const auto isControlChange = lane.type == tarn::ControllerLane::controlChange;
        const auto lowest = isControlChange ? 0 : tarn::ControllerLane::pitchBendMin;
        const auto highest = isControlChange ? 127 : tarn::ControllerLane::pitchBendMax;

        for (auto& point : lane.points)
            point.value = juce::jlimit (lowest, highest, point.value);

        break;
    }

    return result;
}
} // namespace LaneEditing
