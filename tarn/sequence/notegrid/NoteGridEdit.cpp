#include "NoteGridEdit.h"

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
    auto sortedNotes = sequence.notes;
    auto sortedFlags = selected;
    SequenceEditing::sortByStart (sortedNotes, sortedFlags);

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
