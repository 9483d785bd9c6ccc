#include "MutationSettings.h"

#include "ParameterReads.h"

#include <source/processor/ParameterIds.h>

#include <juce_audio_processors/juce_audio_processors.h>

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

    s.chance = ParameterReads::readWhole (parameters, id::mutationNotesChanged, defaults.chance);
    s.timing = ParameterReads::readWhole (parameters, id::mutationTiming, defaults.timing);
    s.pitch = ParameterReads::readWhole (parameters, id::mutationPitch, defaults.pitch);
    s.length = ParameterReads::readWhole (parameters, id::mutationLength, defaults.length);
    s.velocity = ParameterReads::readWhole (parameters, id::mutationVelocity, defaults.velocity);

    return s.clamped();
}
