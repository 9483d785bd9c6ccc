#include "NoteGridEdit.h"

#include <algorithm>
#include <numeric>

namespace tarn
{

NoteGridEdit::NoteGridEdit (const Sequence& source, const NoteSelection& selection)
    : sequence (source)
    , selected (selection.toFlags ((int) source.notes.size()))
{
}

void NoteGridEdit::addNote (const SequenceNote& note, bool isSelected)
{
    sequence.notes.push_back (note);
    selected.push_back (isSelected);
}

SequenceEdit NoteGridEdit::finish (bool changed) const
{
    std::vector<size_t> order (sequence.notes.size());
    std::iota (order.begin(), order.end(), size_t { 0 });
    std::stable_sort (order.begin(), order.end(), [this] (size_t a, size_t b)
                      { return sequence.notes[a].timestamp < sequence.notes[b].timestamp; });

    std::vector<SequenceNote> sortedNotes;
    std::vector<bool> sortedFlags;
    sortedNotes.reserve (order.size());
    sortedFlags.reserve (order.size());

    for (auto i : order)
    {
        sortedNotes.push_back (sequence.notes[i]);
        sortedFlags.push_back (selected[i]);
    }

    SequenceEdit result;
    result.sequence = sequence; // its own copy of the notes is replaced just below
    result.sequence.notes = std::move (sortedNotes);
    result.sequence.normalise();
    result.selection = NoteSelection::fromFlags (sortedFlags);
    result.outcome = changed ? EditOutcome::changed : EditOutcome::unchanged;
    return result;
}

SequenceNote makeGridNote (int row, int start, int length, int velocity) noexcept
{
    SequenceNote note;
    note.number = row;
    note.timestamp = start;
    note.length = length;
    note.velocityMin = note.velocityMax = velocity;
    return note;
}

} // namespace tarn
