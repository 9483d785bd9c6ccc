#pragma once

#include <juce_core/juce_core.h>

namespace juce
{
class AudioProcessorValueTreeState;
}

/** The generation panel's settings for one run, read once at its start so a run never sees
    a setting change half way. */
struct GenerationSettings
{
    enum class Polyphony
    {
        mono = 0, // one note at a time
        poly = 1, // one independent walk per unlocked row
        chords = 2 // one walk, each note with companions on other rows
    };

    enum class Mode
    {
        random = 0, // the whole phrase is drawn
        response = 1, // the second half repeats the first half's rhythm on new rows
        invert = 2, // the second half mirrors the first half's rows
        reverse = 3 // the second half plays the first half backwards
    };

    static constexpr int maxLengthExponent = 6; // notes are 120 * 2^0 .. 2^6 ticks

    Polyphony polyphony = Polyphony::poly;
    Mode mode = Mode::random;
    int lengthIndex = 1; // 0 "1/32" .. 5 "1/1"
    float lengthVariation = 0.0f; // percent
    int density = 10; // percent chance of a note on each step of a walk
    float chordDensity = 10.0f; // percent of the other unlocked rows that join a chord
    int chanceMin = 100, chanceMax = 100;
    int velocityMin = 80, velocityMax = 100;
    int transposeMin = -12, transposeMax = 12, transposeChance = 0;
    int octaveMin = -1, octaveMax = 1, octaveChance = 0;

    /** How many exponents a note length may add to the base: 1 means none. [any thread] */
    int getVariationBound() const noexcept;

    /** Every value brought into its parameter's range. [any thread] */
    GenerationSettings clamped() const noexcept;

    /** A snapshot of the g_* parameters (raw values, whole numbers rounded to the nearest,
        halves to even); a missing parameter keeps its default. [message thread] */
    static GenerationSettings fromParameters (const juce::AudioProcessorValueTreeState&);
};
