#pragma once

#include <source/processor/state/GenerationTree.h>

/** Random breakpoints for a phrase's controller lanes, from the per-lane settings kept in
    the "generation" node of the plug-in state (see GenerationTree.h). */
namespace ControllerGeneration
{
/** Replaces the points of one lane with random ones, one chance per sixteenth: per point the
    roll, then shape, curve and value. An enabled lane with density 0 ends up empty. The work
    is bounded by the phrase length (at most Sequence::maxLength / 240 points). [message thread] */
void fillLane (tarn::ControllerLane& lane, const LaneSettings& settings, int phraseLength, juce::Random& random);

/** Fills every enabled lane of the phrase, in lane order, then normalises it. Lanes without
    settings, or disabled, keep their points. [message thread] */
void fillLanes (tarn::Sequence& phrase, const juce::ValueTree& generationNode, juce::Random& random);
} // namespace ControllerGeneration
