#include "GridGeometry.h"

#include <algorithm>
#include <cmath>

namespace tarn
{
namespace
{
    constexpr double mostPixelsPerTick = 40.0 / 30.0; // a 1/128 step at 40 pixels
}

//==============================================================================
double TimeAxis::pixelsPerTick() const noexcept
{
    return std::max (1, width) / std::max (1.0, visibleTicks);
}

double TimeAxis::tickAt (double x) const noexcept
{
    return firstTick + x / std::max (1, width) * visibleTicks;
}

double TimeAxis::xOf (double tick) const noexcept
{
    return (tick - firstTick) * pixelsPerTick();
}

double TimeAxis::minimumVisibleTicks (int widthInPixels) noexcept
{
    return std::max (1, widthInPixels) / mostPixelsPerTick;
}

double TimeAxis::maximumVisibleTicks (int length) noexcept
{
    return std::max (1, length);
}

TimeAxis TimeAxis::zoomedTo (double ticks, double anchorX, int length) const noexcept
{
    const auto anchorTick = tickAt (anchorX);
    const auto lowest = minimumVisibleTicks (width);
    const auto highest = std::max (lowest, maximumVisibleTicks (length));

    auto result = *this;
    result.visibleTicks = std::clamp (ticks, lowest, highest);
    result.firstTick = anchorTick - anchorX / std::max (1, width) * result.visibleTicks;
    return result.scrolledTo (result.firstTick, length);
}

TimeAxis TimeAxis::scrolledTo (double tick, int length) const noexcept
{
    auto result = *this;
    result.firstTick = std::clamp (tick, 0.0, std::max (0.0, length - visibleTicks));
    return result;
}

//==============================================================================
int RowAxis::rowAt (double y) const noexcept
{
    const auto fromTop = (int) std::floor ((y - stackTop + scrollY) / std::max (1.0, rowHeight));
    return numRows - 1 - fromTop;
}

double RowAxis::yOf (int row) const noexcept
{
    return stackTop + (numRows - 1 - row) * rowHeight - scrollY;
}

double RowAxis::stackTopIn (double viewHeight) const noexcept
{
    return std::max (0.0, viewHeight - totalHeight());
}

double RowAxis::maximumScroll (double viewHeight) const noexcept
{
    return std::max (0.0, totalHeight() - viewHeight);
}

double RowAxis::fittedRowHeight (int rows, double viewHeight, double minimumHeight, double maximumHeight) noexcept
{
    if (rows <= 0)
        return maximumHeight;

    return std::clamp (std::floor (viewHeight / rows), minimumHeight, std::max (minimumHeight, maximumHeight));
}

//==============================================================================
namespace GridTicks
{
    int snap (double tick, const GridSize& grid, int length) noexcept
    {
        const auto step = std::max (1, grid.ticks);
        const auto line = std::floor ((tick + step / 2) / step) * step;
        return (int) std::clamp (line, 0.0, (double) std::max (0, length));
    }

    int cellStart (double tick, const GridSize& grid) noexcept
    {
        return cellIndex (tick, grid) * std::max (1, grid.ticks);
    }

    int cellIndex (double tick, const GridSize& grid) noexcept
    {
        return (int) std::floor (tick / std::max (1, grid.ticks));
    }

    int pointerTick (double tick, bool snapping, const GridSize& grid, int length) noexcept
    {
        if (snapping)
            return snap (tick, grid, length);

        return (int) std::clamp (std::floor (tick), 0.0, (double) std::max (0, length));
    }
} // namespace GridTicks

} // namespace tarn
