#pragma once

#include <tarn/sequence/Sequence.h>

/** What a phrase becomes when the row table it plays through changes shape. Plain value
    transformations, the result normalised. [any thread] */
namespace RowRenumbering
{
/** The notes on `row` are gone, notes on higher rows move down one row, and the row loop
    regions move with their rows (the deleted row's region is gone). */
tarn::Sequence withoutRow (const tarn::Sequence& phrase, int row);

/** Row `from` moved to `to`: its notes and loop region go to `to`, and the rows in between
    (with their notes and regions) shift by one towards `from`. */
tarn::Sequence withRowMoved (const tarn::Sequence& phrase, int from, int to);

/** Where a note on `row` goes when row `from` moves to `to`. */
int movedRow (int row, int from, int to) noexcept;
} // namespace RowRenumbering
