#pragma once

#include <juce_core/juce_core.h>

#include <optional>

namespace tarn
{

/** A phrase length as the length box shows it: bars, beats and sixteenths of the phrase's
    time signature. A plain value. [any thread] */
struct BarsBeatsSixteenths
{
    int bars = 1, beats = 0, sixteenths = 0;

    /** Ticks: bars × numerator × b + beats × b + sixteenths × b / 4 with b = 4 / denominator
        × 960, each product in single precision and cut to a whole number; limited to one
        tick … the longest phrase. */
    int toTicks (int numerator, int denominator) const noexcept;

    /** The length in bars, beats and sixteenths; what does not fill a sixteenth is dropped. */
    static BarsBeatsSixteenths fromTicks (int ticks, int numerator, int denominator) noexcept;

    /** "2.1.0". */
    juce::String toString() const;

    /** "2.1.0", "2.1", "2" (missing parts are 0); nothing for text that is not that, or
        for negative numbers. */
    static std::optional<BarsBeatsSixteenths> fromString (const juce::String&);

    /** Carries sixteenths into beats and beats into bars, and takes away what goes below 0. */
    BarsBeatsSixteenths normalised (int numerator) const noexcept;

    bool operator== (const BarsBeatsSixteenths& other) const noexcept
    {
        return bars == other.bars && beats == other.beats && sixteenths == other.sixteenths;
    }
};

/** The length a phrase takes when its time signature changes: as many bars of the new one
    when it was a whole number of bars (a bar of 4/4 becomes a bar of 3/4, so the phrase keeps
    in step with a song in the new metre), else the length as it was; never past the longest
    phrase. [any thread] */
int lengthInTimeSignature (int length, int fromNumerator, int fromDenominator, int toNumerator, int toDenominator) noexcept;

} // namespace tarn
