#include "MutationSettings.h"

#include <source/processor/ParameterIds.h>

#include <juce_audio_processors/juce_audio_processors.h>

namespace
{
int readWhole (const juce::AudioProcessorValueTreeState& parameters, const char* id, int fallback)
{
    if (const auto* value = parameters.getRawParameterValue (id))
        return juce::roundToInt (value->load());

    return fallback;
}
} // namespace

MutationSettings MutationSettings::clamped() const noexcept
{
    auto result = *this;
    result.chance = juce::jlimit (0, 100, chance);
    result.timing = juce::jlimit (0, 2, timing);
    result.pitch = juce::jlimit (0, 3, pitch);
    result.length = juce::jlimit (0, 50, length);
    result.velocity = juce::jlimit (0, 32, velocity);
    return result;
}

MutationSettings MutationSettings::fromParameters (const juce::AudioProcessorValueTreeState& parameters)
{
    namespace id = ParameterIds;
    const MutationSettings defaults;
    MutationSettings s;

    s.chance = readWhole (parameters, id::mutationNotesChanged, defaults.chance);
    s.timing = readWhole (parameters, id::mutationTiming, defaults.timing);
    s.pitch = readWhole (parameters, id::mutationPitch, defaults.pitch);
    s.length = readWhole (parameters, id::mutationLength, defaults.length);
    s.velocity = readWhole (parameters, id::mutationVelocity, defaults.velocity);

    return s.clamped();
}
