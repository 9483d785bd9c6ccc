#include "PlaybackTree.h"

#include <source/processor/ParameterIds.h>
#include <tarn/processor/TarnAudioProcessor.h>

namespace
{
const juce::Identifier swingAmountId { ParameterIds::swingAmount }, lockToKeyId { ParameterIds::lockToKey },
    keyswitchEnableId { ParameterIds::keyswitchEnable }, keyswitchRangeId { ParameterIds::keyswitchRange };

std::optional<double> readNumber (const juce::ValueTree& node, const juce::Identifier& id)
{
    const auto* value = node.getPropertyPointer (id);

    if (value == nullptr || value->isVoid() || value->isObject() || value->isArray())
        return std::nullopt;

    const auto number = value->isString() ? value->toString().getDoubleValue() : (double) *value;

    if (! std::isfinite (number))
        return std::nullopt;

    return juce::jlimit (-1.0e6, 1.0e6, number);
}
} // namespace

ParameterSnapshot ParameterSnapshot::capture (const tarn::AudioProcessor& processor)
{
    ParameterSnapshot snapshot;
    snapshot.swingAmount = processor.getRawParameterValue (ParameterIds::swingAmount);
    snapshot.lockToKey = processor.getRawParameterValue (ParameterIds::lockToKey);
    snapshot.keyswitchEnable = processor.getRawParameterValue (ParameterIds::keyswitchEnable);
    snapshot.keyswitchRange = processor.getRawParameterValue (ParameterIds::keyswitchRange);
    return snapshot;
}

void ParameterSnapshot::applyTo (tarn::AudioProcessor& processor) const
{
    // Out-of-range values are pulled into range by the parameters themselves.
    processor.setRawParameterValueNotifyingHost (ParameterIds::swingAmount, swingAmount);
    processor.setRawParameterValueNotifyingHost (ParameterIds::lockToKey, lockToKey);
    processor.setRawParameterValueNotifyingHost (ParameterIds::keyswitchEnable, keyswitchEnable);
    processor.setRawParameterValueNotifyingHost (ParameterIds::keyswitchRange, keyswitchRange);
}

std::optional<ParameterSnapshot> ParameterSnapshot::fromPlaybackNode (const juce::ValueTree& playback)
{
    const auto swing = readNumber (playback, swingAmountId);
    const auto lock = readNumber (playback, lockToKeyId);
    const auto enable = readNumber (playback, keyswitchEnableId);
    const auto range = readNumber (playback, keyswitchRangeId);

    if (! swing || ! lock || ! enable || ! range)
        return std::nullopt;

    return ParameterSnapshot { (float) *swing, (float) *lock, (float) *enable, (float) *range };
}

void ParameterSnapshot::writeInto (juce::ValueTree& playback) const
{
    playback.setProperty (swingAmountId, swingAmount, nullptr);
    playback.setProperty (lockToKeyId, lockToKey, nullptr);
    playback.setProperty (keyswitchEnableId, keyswitchEnable, nullptr);
    playback.setProperty (keyswitchRangeId, keyswitchRange, nullptr);
}

namespace PlaybackTree
{
juce::ValueTree write (const KeySignature& key, int swingGridChoice, const ParameterSnapshot& parameters)
{
    juce::ValueTree playback (playbackType);
    playback.appendChild (key.toValueTree(), nullptr);
    playback.appendChild (juce::ValueTree (swingType).setProperty (rateId, swingGridChoice, nullptr), nullptr);
    parameters.writeInto (playback);
    return playback;
}

std::optional<int> readSwingRate (const juce::ValueTree& playback)
{
    const auto swing = playback.getChildWithName (swingType);

    if (const auto rate = readNumber (swing, rateId))
        return (int) *rate;

    return std::nullopt;
}
} // namespace PlaybackTree
