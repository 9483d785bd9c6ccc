#pragma once

#include <tarn/sequence/Sequence.h>

#include <juce_data_structures/juce_data_structures.h>

/** The "generation" node of the plug-in state: the per-lane settings that controller
    generation reads.

    The node has one "cc_generator" child per lane, in lane order. A child also names the
    lane it was made for ("type", and "channel" and "number" where present); a child that
    names a different lane than the one at its position is not used, so a lane never takes
    another lane's settings while the node is out of step with the lanes.
*/
namespace ControllerGeneration
{
namespace Ids
{
    inline const juce::Identifier generation { "generation" };
    inline const juce::Identifier ccGenerator { "cc_generator" };
    inline const juce::Identifier enable { "enable" };
    inline const juce::Identifier density { "density" };
    inline const juce::Identifier rangeMin { "range_min" };
    inline const juce::Identifier rangeMax { "range_max" };
    inline const juce::Identifier name { "name" };
    inline const juce::Identifier type { "type" };
    inline const juce::Identifier channel { "channel" };
    inline const juce::Identifier number { "number" };
} // namespace Ids

/** One lane's settings, read from its child with the defaults for missing values. */
struct LaneSettings
{
    bool enabled = false;
    int density = 0; // percent chance of a point on each sixteenth
    double rangeMin = 0.0; // fractions of the lane's value span, 0 .. 1
    double rangeMax = 1.0;

    /** [message thread] */
    static LaneSettings fromTree (const juce::ValueTree& child);
};

/** The child that holds the settings of the lane at laneIndex, or an invalid tree when
    there is none or it was made for another lane. [message thread] */
juce::ValueTree findLaneSettings (const juce::ValueTree& generationNode, const tarn::ControllerLane& lane, int laneIndex);

/** A new "generation" node with one child per lane, in lane order. Each lane keeps the
    settings of the old child made for the same lane (same type and channel, and number for a
    control change), wherever that child was, so deleting or moving a lane never hands its
    settings to a neighbour; a child from an older state that names no channel is matched by
    its position and type. New lanes start with the defaults. [message thread] */
juce::ValueTree rebuildForLanes (const juce::ValueTree& oldNode, const std::vector<tarn::ControllerLane>& lanes);
} // namespace ControllerGeneration
