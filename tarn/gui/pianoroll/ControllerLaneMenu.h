#pragma once

#include <tarn/sequence/Sequence.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include <variant>

namespace tarn
{

/** The menu of a controller lane's button: "Set Controller" (a channel choice, the controller
    numbers in "0-31", "32-63", "64-95", "96-127", "Pitch Bend" and "Bank Select"), "Delete",
    "Rename", "Send MIDI Learn" and "Copy To" (another lane of the phrase). [message thread] */
namespace ControllerLaneMenu
{
    /** Choosing a controller type, number or channel: the lane's new key. */
    struct SetController
    {
        int type = ControllerLane::controlChange;
        int number = -1;
        int channel = 1;
    };

    struct Delete
    {
    };

    struct Rename
    {
    };

    struct SendMidiLearn
    {
    };

    /** Copy the lane's curve onto the lane at this index. */
    struct CopyTo
    {
        int lane = -1;
    };

    using Choice = std::variant<std::monostate, SetController, Delete, Rename, SendMidiLearn, CopyTo>;

    juce::PopupMenu create (const std::vector<ControllerLane>& lanes, int laneIndex);

    /** What a menu result means for the lane at laneIndex. */
    Choice decode (int result, const std::vector<ControllerLane>& lanes, int laneIndex);

    /** "CC 1 - Modulation Wheel", "CC 20". */
    juce::String controllerItemText (int number);

    /** The lane with `source`'s points, their values carried into the target's range
        (control change 0 … 127, pitch bend −8192 … 8191). */
    ControllerLane withPointsOf (const ControllerLane& target, const ControllerLane& source);
} // namespace ControllerLaneMenu

} // namespace tarn
