#include "GridSize.h"

namespace tarn
{
namespace
{
    int log2OfDivision (int division) noexcept
    {
        int power = 0;

        while ((1 << power) < division)
            ++power;

        return power;
    }

    std::array<GridSize, 24> buildAll() noexcept
    {
        std::array<GridSize, 24> sizes;
        size_t i = 0;

        for (int division = 1; division <= 128; division *= 2)
            for (auto kind : { GridSize::straight, GridSize::dotted, GridSize::triplet })
                sizes[i++] = GridSize (division, kind);

        return sizes;
    }
} // namespace

GridSize::GridSize() noexcept
    : GridSize (16, straight)
{
}

GridSize::GridSize (int divisionToUse, int kindToUse) noexcept
    : division (divisionToUse)
    , kind (kindToUse)
{
    identifier = 100 + log2OfDivision (division) + (kind == dotted ? 10 : (kind == triplet ? 20 : 0));
    ticks = 3840 / division;

    if (kind == dotted)
        ticks = ticks + ticks / 2;
    else if (kind == triplet)
        ticks = ticks - ticks / 3;
}

juce::String GridSize::getName() const
{
    return "1/" + juce::String (division) + (kind == dotted ? "d" : (kind == triplet ? "t" : ""));
}

const std::array<GridSize, 24>& GridSize::all() noexcept
{
    static const auto sizes = buildAll();
    return sizes;
}

bool GridSize::isValidIdentifier (int id) noexcept
{
    for (const auto& size : all())
        if (size.identifier == id)
            return true;

    return false;
}

GridSize GridSize::fromIdentifier (int id) noexcept
{
    for (const auto& size : all())
        if (size.identifier == id)
            return size;

    return {};
}

} // namespace tarn
