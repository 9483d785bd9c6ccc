#pragma once

#include <juce_core/juce_core.h>

#include <vector>

/** One row: how a phrase note on this row turns the notes held at the input into output
    pitches. Row i answers phrase note number i. */
struct CadenziumModifier
{
    enum Type
    {
        pitch = 0, // held notes by pitch, lowest first; value 16 picks the highest
        velocity = 1, // held notes by velocity, quietest first; value 8 picks the loudest
        timing = 2, // held notes in the order pressed; value 8 picks the latest
        fixed = 3, // one fixed note: value is its pitch
        random = 4, // one held note at random
        all = 5 // every held note
    };

    static constexpr int highestPitchValue = 16;
    static constexpr int lastVelocityOrTimingValue = 8;
    static constexpr int numTypes = 6;

    /** A phrase has one loop region per row, so the row table never grows beyond this. */
    static constexpr int maxRows = 128;

    int transpose = 0;
    int octave = 0;
    int channel = 1;
    int type = pitch;
    int value = 0;
    juce::String name;
    int colour = 0;
    bool muted = false;
    bool generationLock = false;

    /** The name shown for the row: the user's name, else a label from type and value
        ("Lowest", "Pitch 2", "Loudest", "E3", "Random", "All"), followed by " (Ch n)"
        when the row plays on channel 2 or above. */
    juce::String getLabel() const;

    /** The label from type and value alone. */
    static juce::String getTypeLabel (int type, int value);

    /** The range a value can have for a type: 0..16 for Pitch, 0..8 for Velocity and
        Timing, 0..127 for Fixed, 0 for the others. */
    static juce::Range<int> getValueRange (int type) noexcept;

    /** Brings every field into the range playback can use. */
    void sanitise() noexcept;

    bool operator== (const CadenziumModifier&) const noexcept;
    bool operator!= (const CadenziumModifier& other) const noexcept { return ! operator== (other); }
};

using RowList = std::vector<CadenziumModifier>;
