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

    double readFraction (const juce::ValueTree& child, const juce::Identifier& id, double fallback)
    {
        const auto value = (double) child.getProperty (id, fallback);
        return std::isfinite (value) ? juce::jlimit (0.0, 1.0, value) : fallback;
    }

    /** Whether a child names this lane, as far as it names any. */
    bool namesLane (const juce::ValueTree& child, const tarn::ControllerLane& lane)
    {
        if (child.hasProperty (Ids::type) && (int) child[Ids::type] != lane.type)
            return false;

        if (child.hasProperty (Ids::channel) && (int) child[Ids::channel] != lane.channel)
            return false;

        return lane.type != tarn::ControllerLane::controlChange || ! child.hasProperty (Ids::number)
               || (int) child[Ids::number] == lane.number;
    }

    bool namesItsLane (const juce::ValueTree& child)
    {
        return child.hasProperty (Ids::channel);
    }
} // namespace

LaneSettings LaneSettings::fromTree (const juce::ValueTree& child)
{
    LaneSettings settings;
    settings.enabled = (bool) child.getProperty (Ids::enable, false);

    const auto density = (double) child.getProperty (Ids::density, 0.0);
    settings.density = std::isfinite (density) ? (int) juce::jlimit (0.0, 100.0, density) : 0;

    settings.rangeMin = readFraction (child, Ids::rangeMin, 0.0);
    settings.rangeMax = readFraction (child, Ids::rangeMax, 1.0);
    return settings;
}

juce::ValueTree findLaneSettings (const juce::ValueTree& generationNode, const tarn::ControllerLane& lane, int laneIndex)
{
    const auto child = generationNode.getChild (laneIndex);

    if (! child.hasType (Ids::ccGenerator) || ! namesLane (child, lane))
        return {};

    return child;
}

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

juce::ValueTree rebuildForLanes (const juce::ValueTree& oldNode, const std::vector<tarn::ControllerLane>& lanes)
{
    juce::ValueTree node (Ids::generation);

    for (size_t i = 0; i < lanes.size(); ++i)
    {
        const auto& lane = lanes[i];
        juce::ValueTree previous;

        for (const auto& child : oldNode)
        {
            if (child.hasType (Ids::ccGenerator) && namesItsLane (child) && namesLane (child, lane))
            {
                previous = child;
                break;
            }
        }

        if (! previous.isValid())
        {
            const auto atPosition = oldNode.getChild ((int) i);

            if (atPosition.hasType (Ids::ccGenerator) && ! namesItsLane (atPosition) && namesLane (atPosition, lane))
                previous = atPosition;
        }

        auto child = previous.isValid() ? previous.createCopy() : juce::ValueTree (Ids::ccGenerator);
        child.setProperty (Ids::name, lane.getDisplayName(), nullptr);
        child.setProperty (Ids::type, lane.type, nullptr);
        child.setProperty (Ids::channel, lane.channel, nullptr);
        child.setProperty (Ids::number, lane.number, nullptr);
        node.appendChild (child, nullptr);
    }

    return node;
}
} // namespace ControllerGeneration
