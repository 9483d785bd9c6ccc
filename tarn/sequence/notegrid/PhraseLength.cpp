#include "PhraseLength.h"

#include <tarn/sequence/Sequence.h>

#include <algorithm>
#include <cmath>

namespace tarn
{
namespace
{
    constexpr int sixteenthsPerBeat = 4;

    /** A time signature the program accepts, or 4/4. */
    std::pair<int, int> usable (int numerator, int denominator) noexcept
    {
        if (Sequence::isValidTimeSignature (numerator, denominator))
            return { numerator, denominator };

        return { 4, 4 };
    }

    float beatTicks (int denominator) noexcept
    {
        return 4.0f / (float) denominator * (float) Ticks::perQuarter;
    }
} // namespace

int BarsBeatsSixteenths::toTicks (int numerator, int denominator) const noexcept
{
    const auto [n, d] = usable (numerator, denominator);
    const auto b = beatTicks (d);

    // Whole numbers of bars past the longest phrase would overflow the products.
    const auto limitedBars = std::clamp (bars, 0, Sequence::maxLength);
    const auto limitedBeats = std::clamp (beats, 0, Sequence::maxLength);
    const auto limitedSixteenths = std::clamp (sixteenths, 0, Sequence::maxLength);

    const auto total = (double) std::trunc ((float) limitedBars * (float) n * b)
                       + (double) std::trunc ((float) limitedBeats * b)
                       + (double) std::trunc ((float) limitedSixteenths * b / 4.0f);

    return (int) std::clamp (total, 1.0, (double) Sequence::maxLength);
}

BarsBeatsSixteenths BarsBeatsSixteenths::fromTicks (int ticks, int numerator, int denominator) noexcept
{
    const auto [n, d] = usable (numerator, denominator);
    const auto b = beatTicks (d);
    const auto bar = std::max (1, (int) std::trunc ((float) n * b));
    const auto beat = std::max (1, (int) std::trunc (b));
    const auto sixteenth = std::max (1, (int) std::trunc (b / 4.0f));

    ticks = std::max (0, ticks);
    BarsBeatsSixteenths result;
    result.bars = ticks / bar;
    ticks -= result.bars * bar;
    result.beats = ticks / beat;
    ticks -= result.beats * beat;
    result.sixteenths = ticks / sixteenth;
    return result;
}

juce::String BarsBeatsSixteenths::toString() const
{
    return juce::String (bars) + "." + juce::String (beats) + "." + juce::String (sixteenths);
}

std::optional<BarsBeatsSixteenths> BarsBeatsSixteenths::fromString (const juce::String& text)
{
    const auto trimmed = text.trim();

    if (trimmed.isEmpty() || ! trimmed.containsOnly ("0123456789."))
        return std::nullopt;

    juce::StringArray parts;
    parts.addTokens (trimmed, ".", {});

    if (parts.size() > 3)
        return std::nullopt;

    int numbers[3] = { 0, 0, 0 };

    for (int i = 0; i < parts.size(); ++i)
    {
        // Long runs of digits would overflow: anything past the longest phrase is as good.
        const auto part = parts[i].substring (0, 7);
        numbers[i] = part.isEmpty() ? 0 : part.getIntValue();
    }

    return BarsBeatsSixteenths { numbers[0], numbers[1], numbers[2] };
}

BarsBeatsSixteenths BarsBeatsSixteenths::normalised (int numerator) const noexcept
{
    const auto perBar = (juce::int64) std::max (1, numerator) * sixteenthsPerBeat;
    auto total = ((juce::int64) bars * std::max (1, numerator) + beats) * sixteenthsPerBeat + sixteenths;
    total = std::max ((juce::int64) 0, total);

    BarsBeatsSixteenths result;
    result.bars = (int) std::min ((juce::int64) Sequence::maxLength, total / perBar);
    total %= perBar;
    result.beats = (int) (total / sixteenthsPerBeat);
    result.sixteenths = (int) (total % sixteenthsPerBeat);
    return result;
}

int lengthInTimeSignature (int length, int fromNumerator, int fromDenominator, int toNumerator, int toDenominator) noexcept
{
    const auto [fromN, fromD] = usable (fromNumerator, fromDenominator);
    const auto [toN, toD] = usable (toNumerator, toDenominator);
    const auto fromBar = Ticks::perBar (fromN, fromD), toBar = Ticks::perBar (toN, toD);

    if (length <= 0 || length % fromBar != 0)
        return length;

    const auto bars = std::min (length / fromBar, Sequence::maxLength / toBar);
    return std::max (1, bars) * toBar;
}

} // namespace tarn
