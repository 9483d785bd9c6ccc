#include "ValueEditing.h"

#include <algorithm>
#include <cmath>

namespace tarn::ValueEditing
{

Bounds boundsOf (ValueEditorMode mode) noexcept
{
    switch (mode)
    {
        case ValueEditorMode::velocity: return { 1, 127 };
        case ValueEditorMode::chance: return { 0, 100 };
        case ValueEditorMode::transpose: return { -24, 24 };
        case ValueEditorMode::octave: return { -4, 4 };
    }

    return {};
}

int valueAt (ValueEditorMode mode, double y, double height) noexcept
{
    const auto bounds = boundsOf (mode);
    const auto proportion = 1.0 - std::clamp (y / std::max (1.0, height), 0.0, 1.0);
    return (int) std::lround (bounds.lowest + proportion * (bounds.highest - bounds.lowest));
}

double yOf (ValueEditorMode mode, int value, double height) noexcept
{
    const auto bounds = boundsOf (mode);
    const auto proportion = (double) (std::clamp (value, bounds.lowest, bounds.highest) - bounds.lowest)
                            / std::max (1, bounds.highest - bounds.lowest);
    return (1.0 - proportion) * height;
}

std::pair<int, int> rangeOf (const SequenceNote& note, ValueEditorMode mode) noexcept
{
    switch (mode)
    {
        case ValueEditorMode::velocity: return { note.velocityMin, note.velocityMax };
        case ValueEditorMode::chance: return { note.chance, note.chance };
        case ValueEditorMode::transpose: return { note.transposeMin, note.transposeMax };
        case ValueEditorMode::octave: return { note.octaveMin, note.octaveMax };
    }

    return {};
}

End endNearest (const SequenceNote& note, ValueEditorMode mode, bool rangeMode, int value) noexcept
{
    if (! rangeMode || ! SequenceEditing::modeHasRange (mode))
        return End::both;

    const auto [lowest, highest] = rangeOf (note, mode);

    // Above the middle of the range takes the maximum, so a collapsed range opens upwards
    // when dragged up and downwards when dragged down.
    return value * 2 >= lowest + highest ? End::maximum : End::minimum;
}

void setValue (SequenceNote& note, ValueEditorMode mode, End end, int value) noexcept
{
    const auto bounds = boundsOf (mode);
    value = std::clamp (value, bounds.lowest, bounds.highest);

    const auto apply = [end, value] (int& minimum, int& maximum)
    {
        if (end == End::both)
        {
            minimum = maximum = value;
        }
        else if (end == End::minimum)
        {
            minimum = value;
            maximum = std::max (maximum, value);
        }
        else
        {
            maximum = value;
            minimum = std::min (minimum, value);
        }
    };

    switch (mode)
    {
        case ValueEditorMode::velocity: apply (note.velocityMin, note.velocityMax); break;
        case ValueEditorMode::chance: note.chance = value; break;
        case ValueEditorMode::transpose: apply (note.transposeMin, note.transposeMax); break;
        case ValueEditorMode::octave: apply (note.octaveMin, note.octaveMax); break;
    }
}

SequenceEdit withValues (const Sequence& sequence, const NoteSelection& selection, ValueEditorMode mode, End end, const std::vector<std::pair<int, int>>& values)
{
    SequenceEdit result;
    result.sequence = sequence;
    result.selection = selection;

    for (const auto& [position, value] : values)
    {
        if (position < 0 || position >= (int) result.sequence.notes.size())
            continue;

        auto& note = result.sequence.notes[(size_t) position];
        const auto before = note;
        setValue (note, mode, end, value);

        if (note != before)
            result.outcome = EditOutcome::changed;
    }

    return result;
}

} // namespace tarn::ValueEditing
