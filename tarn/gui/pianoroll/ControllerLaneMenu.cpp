#include "ControllerLaneMenu.h"

#include <tarn/sequence/notegrid/CurveEditing.h>

#include <juce_audio_basics/juce_audio_basics.h>

namespace tarn::ControllerLaneMenu
{
namespace
{
    constexpr int channelBase = 1000; // + channel 1 … 16
    constexpr int controllerBase = 2000; // + controller number 0 … 127
    constexpr int pitchBendItem = 3000;
    constexpr int bankSelectItem = 3001;
    constexpr int deleteItem = 4001, renameItem = 4002, midiLearnItem = 4003;
    constexpr int copyToBase = 5000; // + lane index
    constexpr int bankSelectNumber = 0;
} // namespace

juce::String controllerItemText (int number)
{
    auto name = juce::String (juce::MidiMessage::getControllerName (number)).replace (" (coarse)", "");
    return "CC " + juce::String (number) + (name.isNotEmpty() ? " - " + name : juce::String());
}

juce::PopupMenu create (const std::vector<ControllerLane>& lanes, int laneIndex)
{
    juce::PopupMenu menu;

    if (laneIndex < 0 || laneIndex >= (int) lanes.size())
        return menu;

    const auto& lane = lanes[(size_t) laneIndex];
    const auto isControlChange = lane.type == ControllerLane::controlChange;

    juce::PopupMenu channels;

    for (int channel = 1; channel <= 16; ++channel)
        channels.addItem (channelBase + channel, juce::String (channel), true, lane.channel == channel);

    juce::PopupMenu setController;
    setController.addSubMenu ("Channel", channels);

    for (int first = 0; first < 128; first += 32)
    {
        juce::PopupMenu numbers;

        for (int number = first; number < first + 32; ++number)
            numbers.addItem (controllerBase + number, controllerItemText (number), true, isControlChange && lane.number == number);

        setController.addSubMenu (juce::String (first) + "-" + juce::String (first + 31), numbers, true, juce::Image(),
                                  isControlChange && lane.number >= first && lane.number < first + 32);
    }

    setController.addItem (pitchBendItem, "Pitch Bend", true, lane.type == ControllerLane::pitchBend);
    setController.addItem (bankSelectItem, "Bank Select", true, isControlChange && lane.number == bankSelectNumber);

    juce::PopupMenu copyTo;

    for (size_t i = 0; i < lanes.size(); ++i)
        if ((int) i != laneIndex)
            copyTo.addItem (copyToBase + (int) i, lanes[i].getDisplayName());

    menu.addSubMenu ("Set Controller", setController);
    menu.addItem (deleteItem, "Delete");
    menu.addItem (renameItem, "Rename");
    // A pitch-bend lane has no controller number to learn: sending one would be CC 127.
    menu.addItem (midiLearnItem, "Send MIDI Learn", isControlChange && lane.number >= 0);
    menu.addSubMenu ("Copy To", copyTo, copyTo.getNumItems() > 0);
    return menu;
}

Choice decode (int result, const std::vector<ControllerLane>& lanes, int laneIndex)
{
    if (laneIndex < 0 || laneIndex >= (int) lanes.size())
        return {};

    const auto& lane = lanes[(size_t) laneIndex];

    if (result > channelBase && result <= channelBase + 16)
        return SetController { lane.type, lane.number, result - channelBase };

    if (result >= controllerBase && result < controllerBase + 128)
        return SetController { ControllerLane::controlChange, result - controllerBase, lane.channel };

    if (result == pitchBendItem)
        return SetController { ControllerLane::pitchBend, -1, lane.channel };

    if (result == bankSelectItem)
        return SetController { ControllerLane::controlChange, bankSelectNumber, lane.channel };

    if (result == deleteItem)
        return Delete {};

    if (result == renameItem)
        return Rename {};

    if (result == midiLearnItem)
        return SendMidiLearn {};

    if (result >= copyToBase && result - copyToBase < (int) lanes.size() && result - copyToBase != laneIndex)
        return CopyTo { result - copyToBase };

    return {};
}

ControllerLane withPointsOf (const ControllerLane& target, const ControllerLane& source)
{
    auto result = target;
    result.points = source.points;

    const auto fromLow = CurveEditing::lowestValue (source), fromHigh = CurveEditing::highestValue (source);
    const auto toLow = CurveEditing::lowestValue (target), toHigh = CurveEditing::highestValue (target);

    for (auto& point : result.points)
    {
        const auto proportion = (double) (juce::jlimit (fromLow, fromHigh, point.value) - fromLow) / std::max (1, fromHigh - fromLow);
        point.value = juce::roundToInt (toLow + proportion * (toHigh - toLow));
    }

    return result;
}

} // namespace tarn::ControllerLaneMenu
