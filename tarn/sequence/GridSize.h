#pragma once

#include <juce_core/juce_core.h>

#include <array>

namespace tarn
{

/** A note value: the editor's grid and the rate of a note's repeats. */
struct GridSize
{
    enum Kind
    {
        straight = 1,
        dotted = 2,
        triplet = 4
    };

    /** 1/16 straight, the default wherever a grid is missing or unknown. */
    GridSize() noexcept;
    GridSize (int division, int kind) noexcept;

    int division = 16; // 1 .. 128, whole note to 128th
    int kind = straight;
    int identifier = 104;
    int ticks = 240;

    juce::String getName() const;

    /** The grid with this identifier, or 1/16 for an identifier that is not one. */
    static GridSize fromIdentifier (int identifier) noexcept;

    static bool isValidIdentifier (int identifier) noexcept;

    /** All 24 grid sizes: for each division from 1/1 to 1/128, straight, dotted and triplet. */
    static const std::array<GridSize, 24>& all() noexcept;

    bool operator== (const GridSize& other) const noexcept { return identifier == other.identifier; }
    bool operator!= (const GridSize& other) const noexcept { return ! operator== (other); }
};

} // namespace tarn
