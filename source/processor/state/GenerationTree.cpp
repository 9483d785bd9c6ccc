#include "GenerationTree.h"

namespace ControllerGeneration
{
namespace
{
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
