#pragma once

#include <tarn/sequence/Sequence.h>

#include <vector>

namespace tarn
{

/** What differs between two versions of a phrase, so a view repaints only that.
    [message thread] */
struct PhraseDifference
{
    struct NoteExtent
    {
        int start = 0, end = 0, row = 0;
    };

    /** Notes that are in one version and not (exactly so) in the other, both versions of a
        changed note included. */
    std::vector<NoteExtent> notes;

    /** Rows whose loop region changed. */
    std::vector<int> loopRows;

    bool lanesChanged = false;

    /** Length or time signature: everything drawn against time moves. */
    bool timingChanged = false;

    bool isEmpty() const noexcept { return notes.empty() && loopRows.empty() && ! lanesChanged && ! timingChanged; }

    static PhraseDifference between (const Sequence& before, const Sequence& after);
};

} // namespace tarn
