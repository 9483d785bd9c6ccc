#pragma once

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace tarn
{

/** Which notes of a sequence are selected, by their positions in Sequence::notes.

    Positions only mean something for the sequence they were taken from. Normalisation
    re-sorts the notes, so every editing operation that adds, removes or moves notes hands
    back the selection that names the same notes in its result. Positions outside the
    sequence are ignored by every operation.

    A plain value, kept and used on the message thread by the note grid.
*/
class NoteSelection
{
public:
    NoteSelection() = default;

    NoteSelection (std::initializer_list<int> positionsToSelect)
    {
        for (auto position : positionsToSelect)
            add (position);
    }

    /** Every note of a sequence that holds numNotes notes. */
    static NoteSelection allOf (int numNotes)
    {
        NoteSelection selection;
        selection.positions.reserve ((size_t) std::max (0, numNotes));

        for (int i = 0; i < numNotes; ++i)
            selection.positions.push_back (i);

        return selection;
    }

    /** The positions whose flag is set. */
    static NoteSelection fromFlags (const std::vector<bool>& flags)
    {
        NoteSelection selection;

        for (size_t i = 0; i < flags.size(); ++i)
            if (flags[i])
                selection.positions.push_back ((int) i);

        return selection;
    }

    /** One flag per note of a sequence of numNotes notes; positions beyond it are dropped. */
    std::vector<bool> toFlags (int numNotes) const
    {
        std::vector<bool> flags ((size_t) std::max (0, numNotes), false);

        for (auto position : positions)
            if (position >= 0 && position < numNotes)
                flags[(size_t) position] = true;

        return flags;
    }

    void add (int position)
    {
        const auto it = std::lower_bound (positions.begin(), positions.end(), position);

        if (it == positions.end() || *it != position)
            positions.insert (it, position);
    }

    void remove (int position)
    {
        const auto it = std::lower_bound (positions.begin(), positions.end(), position);

        if (it != positions.end() && *it == position)
            positions.erase (it);
    }

    void clear() noexcept { positions.clear(); }

    bool contains (int position) const noexcept
    {
        return std::binary_search (positions.begin(), positions.end(), position);
    }

    bool isEmpty() const noexcept { return positions.empty(); }
    int size() const noexcept { return (int) positions.size(); }

    /** Ascending, without duplicates. */
    const std::vector<int>& getPositions() const noexcept { return positions; }

    bool operator== (const NoteSelection& other) const noexcept { return positions == other.positions; }
    bool operator!= (const NoteSelection& other) const noexcept { return ! operator== (other); }

private:
    std::vector<int> positions;
};

} // namespace tarn
