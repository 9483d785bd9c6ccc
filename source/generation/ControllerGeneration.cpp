#include "ControllerGeneration.h"

#include "RandomDraws.h"

namespace ControllerGeneration
{
namespace
{
    struct ValueBounds
    {
        int lowest, highest;
        int span() const noexcept { return highest - lowest; }
    };

    ValueBounds boundsOf (const tarn::ControllerLane& lane) noexcept
    {
        if (lane.type == tarn::ControllerLane::controlChange)
            return { 0, 127 };

        return { tarn::ControllerLane::pitchBendMin, tarn::ControllerLane::pitchBendMax };
    }
} // namespace

void fillLane (tarn::ControllerLane& lane, const LaneSettings& settings, int phraseLength, juce::Random& random)
{
    lane.points.clear();

    const auto bounds = boundsOf (lane);
    const auto span = (float) bounds.span();
    const auto lo = bounds.lowest + juce::roundToInt ((float) settings.rangeMin * span);
    const auto hi = std::max (lo, bounds.highest - juce::roundToInt ((1.0f - (float) settings.rangeMax) * span) + 1);

    const auto end = std::min (phraseLength, tarn::Sequence::maxLength);

    for (int t = 0; t < end; t += tarn::Ticks::perSixteenth)
    {
        if (generation::roll (random) >= settings.density)
            continue;

        tarn::ControllerPoint point;
        point.timestamp = t;
        point.shape = random.nextInt (3);
        point.curve = random.nextFloat();
        point.value = lo + generation::drawBelow (random, hi - lo);
        lane.points.push_back (point);
    }
}

void fillLanes (tarn::Sequence& phrase, const juce::ValueTree& generationNode, juce::Random& random)
{
    for (size_t i = 0; i < phrase.lanes.size(); ++i)
    {
        auto& lane = phrase.lanes[i];
        const auto child = findLaneSettings (generationNode, lane, (int) i);

        if (! child.isValid())
            continue;

        const auto settings = LaneSettings::fromTree (child);

        if (settings.enabled)
            fillLane (lane, settings, phrase.getLength(), random);
    }

    phrase.normalise();
}
} // namespace ControllerGeneration
