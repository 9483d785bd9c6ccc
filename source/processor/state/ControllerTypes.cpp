#include "ControllerTypes.h"

#include <bitset>

namespace
{
const juce::Identifier typeId { "type" }, channelId { "channel" }, numberId { "number" }, nameId { "name" };

int readInt (const juce::ValueTree& node, const juce::Identifier& id, int defaultValue)
{
    const auto& value = node.getProperty (id);

    if (value.isVoid())
        return defaultValue;

    const auto number = (double) value;
    return std::isfinite (number) ? (int) juce::jlimit (-1.0e6, 1.0e6, number) : defaultValue;
}

/** 16 channels of 128 control changes, then 16 channels of pitch bend, then 16 channels of
    control changes without a controller. */
constexpr size_t numKeys = 16 * 128 + 16 + 16;

size_t keyIndex (const ControllerType& sanitised) noexcept
{
    const auto channel = (size_t) (sanitised.channel - 1);

    if (sanitised.type != tarn::ControllerLane::controlChange)
        return 16 * 128 + channel;

    if (sanitised.number < 0)
        return 16 * 128 + 16 + channel;

    return channel * 128 + (size_t) sanitised.number;
}
} // namespace

tarn::ControllerLane ControllerType::toLane() const
{
    tarn::ControllerLane lane;
    lane.type = type;
    lane.number = number;
    lane.channel = channel;
    lane.name = name;
    return lane;
}

ControllerType ControllerType::fromLane (const tarn::ControllerLane& lane)
{
    return ControllerType { lane.type, lane.number, lane.channel, lane.name };
}

bool ControllerType::hasSameKeyAs (const ControllerType& other) const noexcept
{
    if (type != other.type || channel != other.channel)
        return false;

    return type != tarn::ControllerLane::controlChange || number == other.number;
}

ControllerType ControllerType::sanitised() const noexcept
{
    ControllerType result = *this;
    result.type = type == tarn::ControllerLane::controlChange ? tarn::ControllerLane::controlChange
                                                              : tarn::ControllerLane::pitchBend;
    result.channel = juce::jlimit (1, 16, channel);
    // Clamped or wrapped, a number from elsewhere would send a controller nobody chose, and
    // -1 or 255 would send 127: Poly Mode On, which also ends every note on the receiver.
    result.number = result.type == tarn::ControllerLane::controlChange && juce::isPositiveAndBelow (number, 128) ? number : -1;
    return result;
}

bool ControllerType::operator== (const ControllerType& other) const noexcept
{
    return type == other.type && number == other.number && channel == other.channel && name == other.name;
}

std::vector<tarn::ControllerLane> toLanes (const ControllerTypeList& types)
{
    std::vector<tarn::ControllerLane> lanes;
    lanes.reserve (types.size());

    for (const auto& type : types)
        lanes.push_back (type.toLane());

    return lanes;
}

namespace ControllerTypeTree
{
juce::ValueTree write (const ControllerTypeList& types)
{
    juce::ValueTree node (typesType);

    for (const auto& type : types)
    {
        juce::ValueTree child (typeType);
        child.setProperty (typeId, type.type, nullptr);
        child.setProperty (channelId, type.channel, nullptr);

        if (type.type == tarn::ControllerLane::controlChange)
            child.setProperty (numberId, type.number, nullptr);

        if (type.name.isNotEmpty())
            child.setProperty (nameId, type.name, nullptr);

        node.appendChild (child, nullptr);
    }

    return node;
}

ControllerTypeList read (const juce::ValueTree& node)
{
    ControllerTypeList types;
    std::bitset<numKeys> seen;

    for (const auto& child : node)
    {
        if (! child.hasType (typeType))
            continue;

        ControllerType type;
        type.type = readInt (child, typeId, tarn::ControllerLane::pitchBend);
        type.channel = readInt (child, channelId, 1);
        type.number = readInt (child, numberId, -1);
        type.name = child.getProperty (nameId).toString();
        type = type.sanitised();

        const auto key = keyIndex (type);

        if (seen[key])
            continue;

        seen[key] = true;
        types.push_back (type);
    }

    return types;
}
} // namespace ControllerTypeTree
