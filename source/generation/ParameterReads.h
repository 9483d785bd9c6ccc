#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Reads of the generation and mutation settings from the parameters; a parameter that does
    not exist reads as the fallback. [any thread] */
namespace ParameterReads
{
inline float readRaw (const juce::AudioProcessorValueTreeState& parameters, const char* id, float fallback)
{
    if (const auto* value = parameters.getRawParameterValue (id))
        return value->load();

    return fallback;
}

/** Whole-number settings are stored as floats: the nearest whole number. */
inline int readWhole (const juce::AudioProcessorValueTreeState& parameters, const char* id, int fallback)
{
    return juce::roundToInt (readRaw (parameters, id, (float) fallback));
}
} // namespace ParameterReads
