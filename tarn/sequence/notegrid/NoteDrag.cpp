#include "NoteDrag.h"

#include "GridGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarn
{

NoteDrag::NoteDrag (const Sequence& baseToUse, const NoteSelection& selectionToUse, int draggedNoteToUse, Kind kindToUse,
                    double startTickToUse, int startRowToUse, const GridSize& gridToUse, RowRange rowsToUse)
    : base (baseToUse)
    , selection (selectionToUse)
    , draggedNote (draggedNoteToUse)
    , kind (kindToUse)
    , startTick (startTickToUse)
    , startRow (startRowToUse)
    , grid (gridToUse)
    , rows (rowsToUse)
{
    const auto numNotes = (int) base.notes.size();

    if (draggedNote >= 0 && draggedNote < numNotes)
        selection.add (draggedNote);
    else
        draggedNote = -1;

    earliestStart = std::numeric_limits<int>::max();
    latestEnd = std::numeric_limits<int>::min();
    lowestRow = std::numeric_limits<int>::max();
    highestRow = std::numeric_limits<int>::min();

    for (auto position : selection.getPositions())
    {
        if (position < 0 || position >= numNotes)
            continue;

        const auto& note = base.notes[(size_t) position];
        earliestStart = std::min (earliestStart, note.timestamp);
        latestEnd = std::max (latestEnd, note.getEnd());
        lowestRow = std::min (lowestRow, note.number);
        highestRow = std::max (highestRow, note.number);
    }
}

int NoteDrag::pitchChange (int pointerRow) const noexcept
{
    if (kind != Kind::move || draggedNote < 0)
        return 0;

    const auto change = pointerRow - startRow;

    if (! rows.contains (lowestRow + change) || ! rows.contains (highestRow + change))
        return 0;

    return change;
}

int NoteDrag::moveChange (double rawChange, bool snapping) const noexcept
{
    const auto length = base.getLength();
    const auto& dragged = base.notes[(size_t) draggedNote];
    auto change = (int) std::lround (rawChange);

    if (snapping)
        change = GridTicks::snap (dragged.timestamp + rawChange, grid, length) - dragged.timestamp;

    // No selected note may start before 0 or end after the phrase; a selection that already
    // pokes out may still move back in, but not further out.
    const auto lowest = std::min (0, -earliestStart);
    const auto highest = std::max (0, length - latestEnd);
    return std::clamp (change, lowest, highest);
}

int NoteDrag::resizeChange (double rawChange, bool snapping) const noexcept
{
    const auto& dragged = base.notes[(size_t) draggedNote];
    const auto edge = kind == Kind::resizeEnd ? dragged.getEnd() : dragged.timestamp;

    if (! snapping)
        return (int) std::lround (rawChange);

    return GridTicks::snap (edge + rawChange, grid, base.getLength()) - edge;
}

int NoteDrag::timeChange (double pointerTick, bool snapping) const noexcept
{
    if (draggedNote < 0)
        return 0;

    const auto rawChange = pointerTick - startTick;
    return kind == Kind::move ? moveChange (rawChange, snapping) : resizeChange (rawChange, snapping);
}

SequenceEdit NoteDrag::update (double pointerTick, int pointerRow, bool snapping) const
{
    NoteGridEdit edit (base, selection);

    if (draggedNote < 0)
        return edit.finish (false);

    const auto change = timeChange (pointerTick, snapping);
    const auto rowChange = pitchChange (pointerRow);
    const auto length = base.getLength();
    const auto shortest = snapping ? std::max (1, grid.ticks) : shortestFreeNote;
    bool changed = false;

    for (auto position : selection.getPositions())
    {
        auto& note = edit.sequence.notes[(size_t) position];
        const auto before = note;

        switch (kind)
        {
            case Kind::move:
                note.timestamp += change;
                note.number += rowChange;
                break;

            case Kind::resizeEnd:
            {
                // Never past the phrase end, never below the shortest note (unless the
                // phrase leaves no room for it after the note's start).
                const auto room = std::max (1, length - note.timestamp);
                note.length = std::min (std::max (before.length + change, shortest), room);
                break;
            }

            case Kind::resizeStart:
            {
                const auto end = before.getEnd();
                const auto latestStart = std::max (0, end - shortest);
                note.timestamp = std::clamp (before.timestamp + change, 0, latestStart);
                note.length = end - note.timestamp;
                break;
            }
        }

        changed = changed || note != before;
    }

    return edit.finish (changed);
}

} // namespace tarn
