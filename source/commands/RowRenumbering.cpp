#include "RowRenumbering.h"

#include <algorithm>

namespace RowRenumbering
{
int movedRow (int row, int from, int to) noexcept
{
    if (row == from)
        return to;

    if (from < to && row > from && row <= to)
        return row - 1;

    if (to < from && row >= to && row < from)
        return row + 1;

    return row;
}

tarn::Sequence withoutRow (const tarn::Sequence& phrase, int row)
{
    auto result = phrase;
    auto& notes = result.notes;
    notes.erase (std::remove_if (notes.begin(), notes.end(), [row] (const tarn::SequenceNote& n)
                                 { return n.number == row; }),
                 notes.end());

    for (auto& note : notes)
        if (note.number > row)
            --note.number;

    if (juce::isPositiveAndBelow (row, tarn::Sequence::numRows))
    {
        auto& loops = result.loops;
        std::move (loops.begin() + row + 1, loops.end(), loops.begin() + row);
        loops.back().clear();
    }

    result.normalise();
    return result;
}

tarn::Sequence withRowMoved (const tarn::Sequence& phrase, int from, int to)
{
    auto result = phrase;

    for (auto& note : result.notes)
        note.number = movedRow (note.number, from, to);

    // The regions follow the same permutation, as far as the 128 rows a phrase has reach.
    if (juce::isPositiveAndBelow (from, tarn::Sequence::numRows) && juce::isPositiveAndBelow (to, tarn::Sequence::numRows))
    {
        auto& loops = result.loops;

        if (from < to)
            std::rotate (loops.begin() + from, loops.begin() + from + 1, loops.begin() + to + 1);
        else
            std::rotate (loops.begin() + to, loops.begin() + from, loops.begin() + from + 1);
    }

    result.normalise();
    return result;
}
} // namespace RowRenumbering
