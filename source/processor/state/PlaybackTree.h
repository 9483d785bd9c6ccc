#pragma once

#include <source/processor/KeySignature.h>

#include <juce_data_structures/juce_data_structures.h>

#include <optional>

namespace tarn
{
class AudioProcessor;
}

/** The four performance parameters kept under "playback": swing, key lock, keyswitching on
    and the keyswitch octave. A plain value of raw parameter values. */
struct ParameterSnapshot
{
    float swingAmount = 0.0f;
    float lockToKey = 0.0f;
    float keyswitchEnable = 1.0f;
    float keyswitchRange = 2.0f;

    /** The processor's current values. [any thread] */
    static ParameterSnapshot capture (const tarn::AudioProcessor& processor);

    /** Sets the four parameters, telling the host. [message thread] */
    void applyTo (tarn::AudioProcessor& processor) const;

    /** The values kept as properties of a "playback" node; none unless all four are there
        as finite numbers. */
    static std::optional<ParameterSnapshot> fromPlaybackNode (const juce::ValueTree& playback);
    void writeInto (juce::ValueTree& playback) const;

    bool operator== (const ParameterSnapshot&) const noexcept = default;
};

/** "playback": the key signature, the swing grid choice and the parameter snapshot. */
namespace PlaybackTree
{
inline const juce::Identifier playbackType { "playback" };
inline const juce::Identifier keySignatureType { "key_signature" };
inline const juce::Identifier swingType { "swing" };
inline const juce::Identifier rateId { "rate" };

juce::ValueTree write (const KeySignature& key, int swingGridChoice, const ParameterSnapshot& parameters);

/** "swing" > "rate", as a whole number; none when the node or the number is missing. */
std::optional<int> readSwingRate (const juce::ValueTree& playback);
} // namespace PlaybackTree
