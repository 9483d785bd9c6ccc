#include "GenerationSettings.h"

#include "ParameterReads.h"

#include <source/processor/ParameterIds.h>

#include <juce_audio_processors/juce_audio_processors.h>

int GenerationSettings::getVariationBound() const noexcept
{
    const auto steps = juce::roundToInt (6.0f * lengthVariation / 100.0f);

    // Any variation at all lets a note grow by one step, even when it rounds to none.
    if (lengthVariation > 0.0f && steps == 0)
        return 2;

    return std::max (steps + 1, 0);
}

GenerationSettings GenerationSettings::clamped() const noexcept
{
    const auto percent = [] (int value)
    { return juce::jlimit (0, 100, value); };
    const auto percentFloat = [] (float value)
    { return std::isfinite (value) ? juce::jlimit (0.0f, 100.0f, value) : 0.0f; };

    auto result = *this;
    result.polyphony = (Polyphony) juce::jlimit (0, 2, (int) polyphony);
    result.mode = (Mode) juce::jlimit (0, 3, (int) mode);
    result.lengthIndex = juce::jlimit (0, 5, lengthIndex);
    result.lengthVariation = percentFloat (lengthVariation);
    result.density = percent (density);
    result.chordDensity = percentFloat (chordDensity);
    result.chanceMin = percent (chanceMin);
    result.chanceMax = percent (chanceMax);
    result.velocityMin = juce::jlimit (1, 127, velocityMin);
    result.velocityMax = juce::jlimit (1, 127, velocityMax);
    result.transposeMin = juce::jlimit (-24, 24, transposeMin);
    result.transposeMax = juce::jlimit (-24, 24, transposeMax);
    result.transposeChance = percent (transposeChance);
    result.octaveMin = juce::jlimit (-4, 4, octaveMin);
    result.octaveMax = juce::jlimit (-4, 4, octaveMax);
    result.octaveChance = percent (octaveChance);
    return result;
}

GenerationSettings GenerationSettings::fromParameters (const juce::AudioProcessorValueTreeState& parameters)
{
    namespace id = ParameterIds;
    const GenerationSettings defaults;
    GenerationSettings s;

    s.polyphony = (Polyphony) ParameterReads::readWhole (parameters, id::genNotePolyphony, (int) defaults.polyphony);
    s.mode = (Mode) ParameterReads::readWhole (parameters, id::genNoteMode, (int) defaults.mode);
    s.lengthIndex = ParameterReads::readWhole (parameters, id::genNoteLength, defaults.lengthIndex);
    s.lengthVariation = ParameterReads::readRaw (parameters, id::genNoteLengthVariation, defaults.lengthVariation);
    s.density = ParameterReads::readWhole (parameters, id::genNoteDensity, defaults.density);
    s.chordDensity = ParameterReads::readRaw (parameters, id::genChordDensity, defaults.chordDensity);
    s.chanceMin = ParameterReads::readWhole (parameters, id::genNoteChanceMin, defaults.chanceMin);
    s.chanceMax = ParameterReads::readWhole (parameters, id::genNoteChanceMax, defaults.chanceMax);
    s.velocityMin = ParameterReads::readWhole (parameters, id::genVelocityMin, defaults.velocityMin);
    s.velocityMax = ParameterReads::readWhole (parameters, id::genVelocityMax, defaults.velocityMax);
    s.transposeMin = ParameterReads::readWhole (parameters, id::genTransposeMin, defaults.transposeMin);
    s.transposeMax = ParameterReads::readWhole (parameters, id::genTransposeMax, defaults.transposeMax);
    s.transposeChance = ParameterReads::readWhole (parameters, id::genTransposeChance, defaults.transposeChance);
    s.octaveMin = ParameterReads::readWhole (parameters, id::genOctaveMin, defaults.octaveMin);
    s.octaveMax = ParameterReads::readWhole (parameters, id::genOctaveMax, defaults.octaveMax);
    s.octaveChance = ParameterReads::readWhole (parameters, id::genOctaveChance, defaults.octaveChance);

    return s.clamped();
}
