#pragma once

#include <tarn/sequence/Sequence.h>

#include <juce_data_structures/juce_data_structures.h>

#include <vector>

/** One controller lane that every phrase carries: its type (0 control change, 1 pitch bend),
    controller number (control changes only; -1 for pitch bend), channel 1..16 and the
    user's name for it. A plain value. [any thread] */
struct ControllerType
{
    int type = tarn::ControllerLane::pitchBend;
    int number = -1;
    int channel = 1;
    juce::String name;

    /** The empty lane a phrase carries for this type. */
    tarn::ControllerLane toLane() const;
    static ControllerType fromLane (const tarn::ControllerLane& lane);

    /** The same key as the lane's: type, channel and, for control changes, number. */
    bool hasSameKeyAs (const ControllerType& other) const noexcept;

    /** Type 0 or 1, channel 1..16, number 0..127 for a control change and -1 for pitch bend:
        the lane the serialised phrase reads back. A control change numbered outside 0..127
        has no controller (-1) and sends nothing. */
    ControllerType sanitised() const noexcept;

    bool operator== (const ControllerType& other) const noexcept;
    bool operator!= (const ControllerType& other) const noexcept { return ! operator== (other); }
};

using ControllerTypeList = std::vector<ControllerType>;

/** The lanes of a list, in order, without points. [any thread] */
std::vector<tarn::ControllerLane> toLanes (const ControllerTypeList& types);

/** The controller-type list as the state tree keeps it: "controller_types" with one
    "controller_type" child per lane, in lane order. */
namespace ControllerTypeTree
{
inline const juce::Identifier typesType { "controller_types" };
inline const juce::Identifier typeType { "controller_type" };

juce::ValueTree write (const ControllerTypeList& types);

/** Every entry is brought into a usable range; an entry whose key an earlier entry already
        has is dropped (a phrase holds one lane per key), so the list never holds more than
        one entry per possible key. Other children are ignored. */
ControllerTypeList read (const juce::ValueTree& node);
} // namespace ControllerTypeTree
