#pragma once

#include "Sequence.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_graphics/juce_graphics.h>

#include <vector>

namespace tarn
{

/** A controller message at a tick of one pass. */
struct TimedMessage
{
    juce::int64 tick = 0;
    juce::MidiMessage message;
};

/** Samples a controller lane tick by tick through its curve, for one pass of a phrase of
    `length` ticks: a message wherever the value changes, none where it stays.

    The curve runs straight, quadratic or S-shaped between the points and is flattened into
    straight pieces once; the sampler then walks those pieces alongside the ticks, so a pass
    costs one step per tick whatever the number of points. A lane without points, a control
    change lane without a valid controller number, or a lane of an unknown type emits
    nothing.

    With a playback start p > 0 the pass begins at p: the value in force at p opens the pass
    at tick 0 and the rest moves round by p.

    With a step above 1 the lane is sampled only every `step` ticks and at its points, which
    bounds both the work and the messages when a pass would otherwise be too dense: about
    countLaneSamples() / step + the number of points.
    [any thread]
*/
std::vector<TimedMessage> renderControllerLane (const ControllerLane& lane, int length, int playbackStart, int step = 1);

/** How many ticks renderControllerLane() samples for this lane at step 1: from its first
    point to its last within the pass, and one tick on either side. 0 for a lane that emits
    nothing. Costs one pass over the points. [any thread] */
juce::int64 countLaneSamples (const ControllerLane& lane, int length) noexcept;

/** The curve through a lane's points (in time order) in (tick, value) space, from tick 0 at
    the first point's value to the last point, exactly as playback samples it; the curve
    editor draws the same path. Empty for no points. [any thread] */
juce::Path buildControllerCurve (const std::vector<ControllerPoint>& points);

} // namespace tarn
