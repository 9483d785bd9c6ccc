#include "RowLoopDrag.h"

#include "GridGeometry.h"

#include <algorithm>
#include <cmath>

namespace tarn
{

RowLoopDrag::RowLoopDrag (const Sequence& baseToUse, int rowToUse, double tick, double edgeTolerance, bool snapping, const GridSize& gridToUse)
    : base (baseToUse)
    , row (juce::jlimit (0, Sequence::numRows - 1, rowToUse))
    , pressTick (tick)
    , atPress (effectiveLoop (baseToUse, row))
    , grid (gridToUse)
{
    part = partAt (atPress, base.getLength(), tick, edgeTolerance);
    pressedAt = GridTicks::pointerTick (tick, snapping, grid, base.getLength());
}

RowLoop RowLoopDrag::effectiveLoop (const Sequence& sequence, int row)
{
    if (row >= 0 && row < Sequence::numRows && sequence.loops[(size_t) row].isSet())
        return sequence.loops[(size_t) row];

    return { 0, sequence.getLength() };
}

RowLoopDrag::Part RowLoopDrag::partAt (RowLoop loop, int length, double tick, double edgeTolerance) noexcept
{
    // A row without a region of its own has no edges to take: the whole-phrase loop it plays
    // is not drawn, so a drag anywhere on it, its ends included, draws the region dragged over.
    if (loop.start <= 0 && loop.end >= length)
        return Part::newRegion;

    const auto toStart = std::abs (tick - loop.start), toEnd = std::abs (tick - loop.end);

    // Between two close edges the nearer one wins.
    if (toEnd <= edgeTolerance && toEnd <= toStart)
        return Part::endEdge;

    if (toStart <= edgeTolerance)
        return Part::startEdge;

    const auto inside = tick > loop.start && tick < loop.end;
    return inside ? Part::region : Part::newRegion;
}

int RowLoopDrag::shortestLoop (bool snapping, const GridSize& grid, int length) noexcept
{
    return snapping ? std::max (1, std::min (grid.ticks, length)) : 1;
}

RowLoop RowLoopDrag::withEndAt (RowLoop loop, double tick, bool snapping, const GridSize& grid, int length) noexcept
{
    const auto shortest = shortestLoop (snapping, grid, length);
    loop.start = std::clamp (loop.start, 0, std::max (0, length - shortest));
    loop.end = std::clamp (GridTicks::pointerTick (tick, snapping, grid, length), std::min (loop.start + shortest, length), length);
    return loop;
}

RowLoop RowLoopDrag::withStartAt (RowLoop loop, double tick, bool snapping, const GridSize& grid, int length) noexcept
{
    const auto shortest = shortestLoop (snapping, grid, length);
    loop.end = std::clamp (loop.end, std::min (shortest, length), length);
    loop.start = std::clamp (GridTicks::pointerTick (tick, snapping, grid, length), 0, std::max (0, loop.end - shortest));
    return loop;
}

RowLoop RowLoopDrag::movedTo (RowLoop loop, double startTick, bool snapping, const GridSize& grid, int length) noexcept
{
    const auto loopLength = std::clamp (loop.end - loop.start, 1, std::max (1, length));
    const auto start = snapping ? GridTicks::snap (startTick, grid, length) : (int) std::floor (startTick);
    loop.start = std::clamp (start, 0, std::max (0, length - loopLength));
    loop.end = loop.start + loopLength;
    return loop;
}

RowLoop RowLoopDrag::drawn (double fromTick, double toTick, bool snapping, const GridSize& grid, int length) noexcept
{
    const auto a = GridTicks::pointerTick (fromTick, snapping, grid, length);
    const auto b = GridTicks::pointerTick (toTick, snapping, grid, length);
    const auto shortest = shortestLoop (snapping, grid, length);

    RowLoop loop { std::min (a, b), std::max (a, b) };

    if (loop.end - loop.start < shortest)
    {
        loop.end = std::min (loop.start + shortest, length);
        loop.start = std::max (0, loop.end - shortest);
    }

    return loop;
}

SequenceEdit RowLoopDrag::update (double pointerTick, bool snapping) const
{
    SequenceEdit result;
    result.sequence = base;
    const auto length = base.getLength();
    RowLoop loop;

    switch (part)
    {
        case Part::startEdge: loop = withStartAt (atPress, pointerTick, snapping, grid, length); break;
        case Part::endEdge: loop = withEndAt (atPress, pointerTick, snapping, grid, length); break;
        case Part::region: loop = movedTo (atPress, atPress.start + (pointerTick - pressTick), snapping, grid, length); break;
        case Part::newRegion: loop = drawn (pressedAt, pointerTick, snapping, grid, length); break;
    }

    result.sequence.loops[(size_t) row] = loop;
    result.sequence.normalise();
    result.outcome = result.sequence.loops[(size_t) row] != base.loops[(size_t) row] ? EditOutcome::changed : EditOutcome::unchanged;
    return result;
}

} // namespace tarn
